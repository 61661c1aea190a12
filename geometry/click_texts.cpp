#include "geometry/click_texts.h"

#include <cmath>

#include "core/numbers.h"

namespace korven {

namespace {

// A signed coordinate in 5 characters: +12345 keeps "12345", -5 is "   -5".
std::string signed_field(int value) { return right_align(signed_text(value), 5); }

// The distance without its sign position, at most 6 characters.
std::string distance_text(int dx, int dy)
{
    const double distance = std::sqrt(static_cast<double>(dx) * dx + static_cast<double>(dy) * dy);
    return real_text(distance).substr(1, 6);
}

// The angle in degrees, kept in single precision, as 8 characters at most
// with "+" in the sign position when it is not negative. dx is not 0.
std::string angle_text(int dx, int dy)
{
    float angle = static_cast<float>(std::atan(static_cast<double>(dy) / dx) * 180 / 3.14159265);
    if (dx < 0) angle = dy > 0 ? angle + 180.0f : angle - 180.0f;
    std::string text = real_text(angle).substr(0, 8);
    if (angle >= 0) text[0] = '+';
    return text;
}

std::string component_text(int value) { return right_align(number_text(value), 3, " "); }

}  // namespace

std::string measure_from_text(int x, int y) { return "from(" + signed_field(x) + "," + signed_field(y) + ")"; }

std::string measure_text(int dx, int dy)
{
    // Appended piece by piece: "(" + a temporary string trips a false
    // -Wrestrict alarm of GCC 12.
    std::string moved = "(";
    moved += signed_field(dx) + "," + signed_field(dy) + ")[";
    if (dx == 0 && dy == 0) return moved + "0,---degree]";
    if (dx == 0) return moved + display_text(dy) + (dy > 0 ? ",+90degree]" : ",-90degree]");
    return moved + distance_text(dx, dy) + "," + angle_text(dx, dy) + "degree]";
}

std::string colour_readout_text(Colour colour)
{
    return std::string(26, ' ') + "(RGB)=(" + component_text(red_of(colour)) + "," +
           component_text(green_of(colour)) + "," + component_text(blue_of(colour)) + ")";
}

}  // namespace korven
