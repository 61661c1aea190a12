#include "geometry/kernel_path.h"

#include "geometry/column_sums.h"
#include "geometry/quarter_turn.h"

namespace korven {

std::vector<CodePath> geometry_paths_here()
{
    if (column_sums::has_vector_rows() && quarter_turn::has_vector_turn())
        return {CodePath::avx2, CodePath::portable};
    return {CodePath::portable};
}

}  // namespace korven
