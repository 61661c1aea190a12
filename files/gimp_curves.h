#pragma once
// GIMP's two plain-text curves files, read into the one curve DRAW uses (see
// curve_file.h); and the line-by-line reading our own curve files share.
//
// The older file ("# GIMP Curves File"): five lines after the first, one per
// channel (value, red, green, blue, alpha), each of 17 points "x y" of whole
// numbers 0..255, "-1 -1" for a point not used. The curve of a channel runs
// smoothly through its points (monotone_curve.h).
//
// The newer file, GIMP's Curves tool settings ("# GIMP curves tool settings"):
// parenthesised settings, `#` comments. Read are `(linear yes|no)` or `(trc
// linear|non-linear|perceptual)`, and per channel `(channel value|red|...)`
// followed by its `(curve ...)`, which holds `(curve-type smooth|free)`,
// `(n-points N)`, `(points 2N x y ...)`, `(point-types N smooth|corner ...)`,
// `(n-samples M)` and `(samples M s0 ... )` with samples 0..1; every other
// setting is passed over. The curve's level k is sample i * 255, rounded,
// where i is the sample nearest input level curve_point_input(k), i = input
// * (M - 1) / 255 rounded (the input itself for the usual M = 256). Curves on
// linear light are refused: DRAW's levels are the photo's own, gamma-encoded.
//
// Of the channels, DRAW uses one: the value curve (mode all) unless it is the
// identity, else the first of red, green and blue that is not; alpha never.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "files/curve_file.h"

namespace korven {

inline constexpr std::string_view gimp_curves_file_line = "# GIMP Curves File";
inline constexpr std::string_view gimp_curves_settings_line = "# GIMP curves tool settings";

// The text of each kind of GIMP curves file, its first line included.
CurveFileRead read_gimp_curves_file(std::string_view text);
CurveFileRead read_gimp_curves_settings(std::string_view text);

// The curves of the channels value, red, green and blue.
using GimpChannelCurves = std::array<CurveLevels, 4>;

// The one curve DRAW uses of GIMP's channel curves, with a notice naming the
// changed curves left out.
CurveFileRead curve_of_gimp_channels(const GimpChannelCurves& channels);

// Line-by-line reading of curve files.

// The lines of a text one at a time, numbered from 1, each without its line
// end (\n or \r\n) and trailing blanks.
class TextLines {
public:
    explicit TextLines(std::string_view text) : rest_(text) {}
    // The next line, or none at the end of the text.
    std::optional<std::string_view> next();
    std::size_t number() const { return number_; }  // of the line last given

private:
    std::string_view rest_;
    std::size_t number_ = 0;
};

// The next word of `line` at or after `at` (blanks are spaces and tabs), or
// "" when none is left; `at` moves past it.
std::string_view next_word(std::string_view line, std::size_t& at);

// A whole number written plainly (digits, an optional leading -), if in
// `lowest`..`highest`.
std::optional<int> whole_number(std::string_view word, int lowest, int highest);

// A word of the file quoted for a message, cut short if long, with
// unprintable bytes shown as `?`.
std::string quoted(std::string_view word);

// A refusal of a curve file's text that names the line.
CurveFileRead refused_at(std::size_t line, const std::string& what);

}  // namespace korven
