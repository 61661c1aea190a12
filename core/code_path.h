#pragma once
// Which machine code a kernel runs. A kernel with vector code takes the
// fastest path this processor offers; tests and benchmarks force each path in
// turn, and every path gives the same result. A forced path the kernel or the
// processor lacks runs the plain loops every processor runs.

#include <span>
#include <string_view>
#include <vector>

namespace korven {

enum class CodePath {
    fastest,
    avx512,    // AVX-512 F, BW, DQ, VL and VBMI
    avx2,      // AVX2
    portable,  // plain loops the compiler may vectorise for the build's own target
};

// "fastest", "avx512", "avx2" or "portable", as benchmarks and test messages name them.
std::string_view code_path_name(CodePath path);

// Whether this processor has the instructions of `path` (`fastest` and `portable`: always).
bool processor_runs(CodePath path);

// The paths a kernel with vector code for `vector_paths` (fastest first) runs
// on this processor, fastest first; `portable` always ends the list.
std::vector<CodePath> paths_here(std::span<const CodePath> vector_paths);

// The path such a kernel takes when asked for `wanted`: `fastest` becomes the
// first of `vector_paths` this processor runs; a path the kernel lacks or the
// processor cannot run becomes `portable`.
CodePath path_to_run(CodePath wanted, std::span<const CodePath> vector_paths);

// From now on in this process, `fastest` goes no faster than `path`
// (`fastest` again lifts the limit): for measuring whole commands, which
// ask for `fastest`, on each path. Set before any kernel runs.
void limit_fastest_code_path(CodePath path);

}  // namespace korven
