#pragma once
// Our texts are UTF-8 std::strings; Qt's are QStrings. Only platform/ includes this.

#include <QString>

#include <string_view>

namespace fe::detail {

inline QString qt(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace fe::detail
