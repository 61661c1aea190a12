#pragma once
// The code paths of the geometry kernels: AVX2 loops where the processor has
// them, and the plain loops every processor runs. Both give identical pictures.

#include <vector>

#include "core/code_path.h"

namespace korven {

// The paths this processor runs, fastest first; `portable` always ends the list.
std::vector<CodePath> geometry_paths_here();

// Whether a kernel asked for `path` runs its AVX2 loops.
bool runs_vector_loops(CodePath path);

}  // namespace korven
