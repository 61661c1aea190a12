// The lenient number reader on any text, against a plain reading of the same
// prefix by the C library; and the texts built from the number it reads: the
// whole-number texts read back as the number, real texts never take an
// exponent form, and the clicked-point texts keep their fixed shape.
#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "geometry/click_texts.h"
#include "core/numbers.h"
#include "tests/fuzz/fuzz_entry.h"

namespace {

using namespace korven;
using fuzz::require;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The number at the start of `text` as the fields promise to read it: blanks,
// sign, digits with an optional fraction, an optional exponent with digits;
// no digits reads 0, and beyond the double range saturates.
double plain_reading(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    const std::size_t start = at;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
    std::size_t digits = 0;
    for (; at < text.size() && is_digit(text[at]); ++at) ++digits;
    if (at < text.size() && text[at] == '.')
        for (++at; at < text.size() && is_digit(text[at]); ++at) ++digits;
    if (digits == 0) return 0;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t e = at + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && is_digit(text[e])) {
            at = e;
            while (at < text.size() && is_digit(text[at])) ++at;
        }
    }
    const std::string prefix(text.substr(start, at - start));
    const double value = std::strtod(prefix.c_str(), nullptr);
    if (std::isinf(value)) return std::copysign(DBL_MAX, value);
    return value;
}

// Round to nearest, halves away from zero, saturated: what round_to_int promises.
long long plain_rounding(double value, long long lowest, long long highest)
{
    const double rounded = std::round(value);
    if (rounded <= static_cast<double>(lowest)) return lowest;
    if (rounded >= static_cast<double>(highest)) return highest;
    return static_cast<long long>(rounded);
}

void check_whole_number_texts(int whole)
{
    require(read_number(number_text(whole)) == whole, "number_text does not read back");
    require(read_number(signed_text(whole)) == whole, "signed_text does not read back");
    require(read_number(display_text(whole)) == std::abs(static_cast<double>(whole)),
            "display_text does not read back as the number without its sign");
    require(right_align(signed_text(whole), 5).size() == 5, "a right-aligned field is not 5 wide");
}

void check_real_text(double value)
{
    const std::string text = real_text(value);
    require(text.find_first_of("eEn") == std::string::npos, "real_text took an exponent or nan form");
    require(text[0] == ' ' || text[0] == '-', "real_text has no sign position");
    const double back = read_number(text);
    require(std::abs(back - value) <= 5e-7 + std::abs(value) * 1e-15, "real_text does not read back");
}

// The texts of a measurement and of a clicked point, for differences of
// 16-bit picture points, as the clicks produce them.
void check_click_texts(int dx, int dy)
{
    const std::string from = measure_from_text(dx, dy);
    require(from.size() == 17, "the first measuring point's text is not 17 wide");
    const std::string moved = measure_text(dx, dy);
    require(moved.rfind("degree]") == moved.size() - 7, "a measure text does not end in degree]");
    require(moved.find_first_of("eEn") == moved.size() - 6, "a measure text holds an exponent or nan form");
    require(moved.size() <= 14 + 6 + 1 + 8 + 7, "a measure text is too long");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = read_number(text);
    const double expected = plain_reading(text);
    require(std::isfinite(value), "a field read as infinite or nan");
    // A number too small for a normal double may read as 0.
    require(value == expected || (std::abs(expected) < DBL_MIN && value == 0),
            "the field reads otherwise than its number");

    const int whole = round_to_int(value);
    require(whole == plain_rounding(value, INT_MIN, INT_MAX), "round_to_int does not round to nearest");
    require(round_to_int16(value) == plain_rounding(value, -32768, 32767), "round_to_int16 does not round");
    require(floor_to_int(value) == plain_rounding(std::floor(value), INT_MIN, INT_MAX),
            "floor_to_int is not INT");
    check_whole_number_texts(whole);
    check_real_text(value);
    const int difference = static_cast<int>(plain_rounding(value, -65535, 65535));
    check_click_texts(difference, 65535 - std::abs(difference) - 1);
    check_click_texts(0, difference);
    return 0;
}
