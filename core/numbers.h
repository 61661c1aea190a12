#pragma once
// The number and text conventions every handler shares: lenient reading of a
// field, rounding of reals into whole numbers, and the fixed-width texts.

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>

namespace korven {

// Reads the longest leading decimal number: blanks, optional sign, digits,
// optional fraction, optional exponent. Text without digits reads as 0; hex,
// "inf" and "nan" are not numbers. Always finite (overflow saturates).
double read_number(std::string_view text);

// Round to nearest, halves away from zero, for a value known to lie inside
// the int range. No branches, so loops over many values vectorise; every
// other rounding to nearest is this one with the range handled first.
template <typename Real>
constexpr int round_in_range(Real value)
{
    static_assert(std::is_floating_point_v<Real>);
    // The largest Real below one half, added with the value's sign, then cut
    // toward zero: the addition's own rounding settles every half the right
    // way (checked for every float in the int range).
    constexpr Real below_half = Real(0.5) - std::numeric_limits<Real>::epsilon() / 4;
    return static_cast<int>(value + (value < 0 ? -below_half : below_half));
}

// Round to nearest, halves away from zero. NaN gives 0; values beyond the int
// range saturate, so no real ever becomes an undefined integer.
int round_to_int(double value);

// The same, saturated to the 16-bit range of sizes, offsets and zoom values.
std::int16_t round_to_int16(double value);

// INT: the largest whole number not above `value` (saturated like round_to_int).
int floor_to_int(double value);

// A whole number as text with its sign position: " 17", "-17".
std::string number_text(long long value);

// Display text: the number without its sign position ("17"; -5 gives "5").
std::string display_text(long long value);

// Signed text: the sign position shown as "+" for non-negative numbers ("+7", "-7").
std::string signed_text(long long value);

// `prefix` put in front, then only the last `width` characters kept.
std::string right_align(std::string_view text, std::size_t width,
                        std::string_view prefix = "   ");

// A real number with its sign position and never an exponent form, with up to
// `decimals` digits after the point and trailing zeros dropped (" 12.5", "-0.25").
std::string real_text(double value, int decimals = 6);

}  // namespace korven
