#pragma once
// The code paths of the geometry kernels: AVX2 loops where the processor has
// them, and the plain loops every processor runs. Both give identical pictures.

#include <vector>

#include "platform/code_path.h"

namespace korven {

// The paths this processor runs, fastest first; `portable` is always there.
std::vector<CodePath> geometry_paths_here();

// Whether `path` asks for the vector loops (every path but `portable`; the
// kernel still falls back to the plain loops where the processor lacks AVX2).
constexpr bool wants_vector_loops(CodePath path) { return path != CodePath::portable; }

}  // namespace korven
