#include "core/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace korven {

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Length of the run of digits starting at `pos`.
std::size_t digits_from(std::string_view text, std::size_t pos)
{
    std::size_t end = pos;
    while (end < text.size() && is_digit(text[end])) ++end;
    return end - pos;
}

// Whether a number (digits, optional fraction, optional exponent; not 0) lies
// below 1: the power of ten of its first significant digit is negative. Both
// parts count, so 0.000...1 is small and 999...9e-5 with many nines is large.
bool below_one(std::string_view number)
{
    const std::size_t e = std::min(number.find_first_of("eE"), number.size());
    const std::string_view mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first_digit = mantissa.find_first_not_of("0.");
    if (first_digit == std::string_view::npos) return true;  // all zeros
    // The power of ten of the first significant digit, before the exponent.
    long long power = first_digit < point ? static_cast<long long>(point - first_digit) - 1
                                          : -static_cast<long long>(first_digit - point);
    // The exponent, saturated far beyond any double.
    long long exponent = 0;
    std::size_t at = e + 1;
    const bool negative = at < number.size() && number[at] == '-';
    if (at < number.size() && (number[at] == '-' || number[at] == '+')) ++at;
    for (; at < number.size() && is_digit(number[at]); ++at)
        exponent = std::min(exponent * 10 + (number[at] - '0'), 1'000'000'000LL);
    power += negative ? -exponent : exponent;
    return power < 0;
}

}  // namespace

double read_number(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t start = pos;
    std::size_t mantissa_digits = digits_from(text, pos);
    pos += mantissa_digits;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fraction = digits_from(text, pos + 1);
        mantissa_digits += fraction;
        pos += 1 + fraction;
    }
    if (mantissa_digits == 0) return 0.0;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t exp_pos = pos + 1;
        if (exp_pos < text.size() && (text[exp_pos] == '+' || text[exp_pos] == '-')) ++exp_pos;
        const std::size_t exp_digits = digits_from(text, exp_pos);
        if (exp_digits > 0) pos = exp_pos + exp_digits;
    }

    double value = 0.0;
    const char* first = text.data() + start;
    const char* last = text.data() + pos;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // Too large saturates; too small is zero.
        const bool tiny = below_one({first, static_cast<std::size_t>(last - first)});
        value = tiny ? 0.0 : std::numeric_limits<double>::max();
    } else if (ec != std::errc()) {
        value = 0.0;
    }
    (void)ptr;
    return negative ? -value : value;
}

int round_to_int(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return round_in_range(value);
}

std::int16_t round_to_int16(double value)
{
    const int whole = round_to_int(value);
    if (whole > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    if (whole < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    return static_cast<std::int16_t>(whole);
}

int floor_to_int(double value) { return round_to_int(std::floor(value)); }

std::string number_text(long long value)
{
    std::string digits = std::to_string(value);
    return value < 0 ? digits : " " + digits;
}

std::string display_text(long long value) { return number_text(value).substr(1); }

std::string signed_text(long long value)
{
    std::string text = number_text(value);
    if (text[0] == ' ') text[0] = '+';
    return text;
}

std::string right_align(std::string_view text, std::size_t width, std::string_view prefix)
{
    std::string joined;
    joined.reserve(prefix.size() + text.size());
    joined.append(prefix).append(text);
    return joined.size() > width ? joined.substr(joined.size() - width) : joined;
}

std::string real_text(double value, int decimals)
{
    if (!std::isfinite(value)) value = 0.0;
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    std::string text = buffer;
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    if (text == "-0") text = "0";
    return text[0] == '-' ? text : " " + text;
}

}  // namespace korven
