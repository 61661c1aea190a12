#include "core/code_path.h"

#include <algorithm>

namespace korven {

std::string_view code_path_name(CodePath path)
{
    switch (path) {
    case CodePath::fastest: return "fastest";
    case CodePath::avx512: return "avx512";
    case CodePath::avx2: return "avx2";
    case CodePath::portable: return "portable";
    }
    return "unknown";
}

bool processor_runs(CodePath path)
{
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    // Asked once; the first question may come before static constructors
    // have set up the processor's feature bits, hence the explicit init.
    static const bool avx512 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512dq") && __builtin_cpu_supports("avx512vl") &&
               __builtin_cpu_supports("avx512vbmi");
    }();
    static const bool avx2 = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    if (path == CodePath::avx512) return avx512;
    if (path == CodePath::avx2) return avx2;
#endif
    return path == CodePath::fastest || path == CodePath::portable;
}

std::vector<CodePath> paths_here(std::span<const CodePath> vector_paths)
{
    std::vector<CodePath> paths;
    for (const CodePath path : vector_paths)
        if (processor_runs(path)) paths.push_back(path);
    paths.push_back(CodePath::portable);
    return paths;
}

namespace {

CodePath fastest_allowed = CodePath::fastest;  // no limit

int speed_rank(CodePath path)
{
    switch (path) {
    case CodePath::avx512: return 2;
    case CodePath::avx2: return 1;
    default: return 0;
    }
}

bool may_run_as_fastest(CodePath path)
{
    return processor_runs(path) &&
           (fastest_allowed == CodePath::fastest || speed_rank(path) <= speed_rank(fastest_allowed));
}

}  // namespace

void limit_fastest_code_path(CodePath path) { fastest_allowed = path; }

CodePath path_to_run(CodePath wanted, std::span<const CodePath> vector_paths)
{
    if (wanted == CodePath::fastest) {
        const auto first = std::ranges::find_if(vector_paths, may_run_as_fastest);
        return first != vector_paths.end() ? *first : CodePath::portable;
    }
    const bool kernel_has = std::ranges::find(vector_paths, wanted) != vector_paths.end();
    return kernel_has && processor_runs(wanted) ? wanted : CodePath::portable;
}

}  // namespace korven
