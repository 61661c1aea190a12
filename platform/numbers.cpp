#include "platform/numbers.h"

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
        // Too large saturates; too small is zero. Tell them apart by the exponent sign.
        const std::string_view rest(first, static_cast<std::size_t>(last - first));
        const auto e = rest.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < rest.size() && rest[e + 1] == '-';
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
