#pragma once
// Which machine code a kernel runs. A kernel with vector code takes the
// fastest path this processor offers; tests and benchmarks force each path in
// turn, and every path gives the same result. A forced path the kernel or the
// processor lacks runs the plain loops every processor runs.

#include <string_view>

namespace korven {

enum class CodePath { fastest, avx512, avx2, portable };

// "fastest", "avx512", "avx2" or "portable", as benchmarks and test messages name them.
std::string_view code_path_name(CodePath path);

}  // namespace korven
