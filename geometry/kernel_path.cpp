#include "geometry/kernel_path.h"

namespace korven {

namespace {

constexpr CodePath vector_paths[] = {CodePath::avx2};

}  // namespace

std::vector<CodePath> geometry_paths_here() { return paths_here(vector_paths); }

bool runs_vector_loops(CodePath path) { return path_to_run(path, vector_paths) == CodePath::avx2; }

}  // namespace korven
