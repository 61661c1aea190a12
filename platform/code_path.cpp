#include "platform/code_path.h"

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

}  // namespace korven
