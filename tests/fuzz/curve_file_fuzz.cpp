// The curve file readers on any text: each gives a curve or a reason naming
// the line, never both; a curve's levels are 0..255, it reads back from the
// `.kcurve` text written of it, and only GIMP's files leave curves out.
#include <string>
#include <string_view>

#include "files/curve_file.h"
#include "tests/fuzz/fuzz_entry.h"

namespace {

using namespace korven;
using fuzz::require;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const CurveFileRead read = read_curve_text(text);
    if (!read.curve) {
        require(read.error.starts_with("line ") && read.error.find(": ") != std::string::npos,
                "a refusal does not name the line");
        // Words of the file are shown cut short: a message stays a line long.
        require(read.error.size() < 200, "a refusal is too long to show");
        require(read.notice.empty(), "a refusal has a notice");
        return 0;
    }
    require(read.error.empty(), "a curve read has an error");
    for (const std::int16_t level : read.curve->levels) require(level >= 0 && level <= 255, "a level is out of range");
    require(read.notice.empty() || text.starts_with("# GIMP"), "a curve of our own has a notice");
    require(read.notice.size() < 200, "a notice is too long to show");

    const CurveFileRead again = read_curve_text(curve_file_text(*read.curve));
    require(again.curve == read.curve && again.error.empty() && again.notice.empty(),
            "the curve does not read back from its own text");
    return 0;
}
