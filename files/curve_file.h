#pragma once
// Curve files: our own `.kcurve` text format, which keeps one tone curve and
// its mode, and the two plain-text formats of GIMP's Curves tool, read into
// the one curve DRAW can use. Pure reading and writing; nothing is shown.
//
// A `.kcurve` file, version 1 (blank lines and text from `#` to the end of a
// line are ignored):
//
//     KORVEN curve 1
//     mode all              (or red, green, blue)
//     levels 0 8 16 ... 255 (33 whole numbers from 0 to 255, on one or more lines)
//
// Level k is the output for input level curve_point_input(k). Each key comes
// once, in any order; lines may end in CRLF. A file of another version
// ("KORVEN curve 2") is refused rather than misread. GIMP's files are
// described in gimp_curves.h.

#include <optional>
#include <string>
#include <string_view>

#include "files/file_result.h"
#include "files/tone_curve.h"

namespace korven {

// The ending of our curve files.
inline constexpr std::string_view curve_file_ending = ".kcurve";

struct CurveFileRead {
    std::optional<ToneCurve> curve;  // none: the file is refused
    std::string error;               // why it was refused, naming the line: "line 4: ..."
    std::string notice;              // what the user should know of a curve read (curves left out), or ""
};

// Reads a curve from the text of a `.kcurve` file or of either GIMP curves
// file, told apart by their first line.
CurveFileRead read_curve_text(std::string_view text);

// Reads the curve file at `path`; a file that cannot be read, or is too large
// to be a curve file, is refused with the reason.
CurveFileRead read_curve_file(const std::string& path);

// The text of a `.kcurve` file holding `curve`.
std::string curve_file_text(const ToneCurve& curve);

// Writes `curve` as a `.kcurve` file through a temporary file and a rename.
FileResult save_curve_file(const ToneCurve& curve, const std::string& path);

}  // namespace korven
