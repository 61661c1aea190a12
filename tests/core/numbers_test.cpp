#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/numbers.h"
#include "core/picture.h"

namespace korven {
namespace {

TEST(LenientReading, TakesTheLongestLeadingNumber)
{
    EXPECT_EQ(read_number("17"), 17.0);
    EXPECT_EQ(read_number("  -2.5e1xyz"), -25.0);
    EXPECT_EQ(read_number("+.5"), 0.5);
    EXPECT_EQ(read_number("3."), 3.0);
    EXPECT_EQ(read_number("12abc"), 12.0);
    EXPECT_EQ(read_number("1e"), 1.0);   // an exponent without digits is not part of it
    EXPECT_EQ(read_number("1e+"), 1.0);
    EXPECT_EQ(read_number("1.9"), 1.9);
}

TEST(LenientReading, TextWithoutDigitsReadsZeroAndNothingIsSpecial)
{
    for (const char* text : {"", "   ", "abc", "-", ".", "+.", "e5", "inf", "nan", "Infinity"})
        EXPECT_EQ(read_number(text), 0.0) << text;
    EXPECT_EQ(read_number("0x1A"), 0.0);  // never hex: the 'x' ends the number
}

TEST(LenientReading, HugeAndTinyExponentsStayFinite)
{
    EXPECT_TRUE(std::isfinite(read_number("1e99999")));
    EXPECT_GT(read_number("1e99999"), 1e300);
    EXPECT_LT(read_number("-1e99999"), -1e300);
    EXPECT_EQ(read_number("1e-99999"), 0.0);
    // Out of range by its digits, against the exponent's sign.
    EXPECT_EQ(read_number("0." + std::string(400, '0') + "1"), 0.0);
    EXPECT_EQ(read_number("0." + std::string(400, '0') + "1e+5"), 0.0);
    EXPECT_GT(read_number(std::string(400, '9') + "e-5"), 1e300);
    EXPECT_GT(read_number(std::string(400, '9') + "." + std::string(400, '0') + "1"), 1e300);
}

TEST(Rounding, HalvesGoAwayFromZeroAndNothingOverflows)
{
    EXPECT_EQ(round_to_int(2.5), 3);
    EXPECT_EQ(round_to_int(-2.5), -3);
    EXPECT_EQ(round_to_int(2.4999), 2);
    EXPECT_EQ(round_to_int(std::nan("")), 0);
    EXPECT_EQ(round_to_int(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(round_to_int(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(round_to_int16(40000.0), 32767);
    EXPECT_EQ(round_to_int16(-40000.0), -32768);
    EXPECT_EQ(floor_to_int(-0.5), -1);
    EXPECT_EQ(floor_to_int(119.9999), 119);
    // Just below a half, and halves near the ends of the range.
    EXPECT_EQ(round_to_int(0.49999999999999994), 0);
    EXPECT_EQ(round_to_int(-1.4999999999999998), -1);
    EXPECT_EQ(round_to_int(2147483646.5), 2147483647);
    EXPECT_EQ(round_to_int(-2147483647.5), -2147483647 - 1);
    EXPECT_EQ(round_in_range(0.49999997f), 0);
    EXPECT_EQ(round_in_range(-2.5f), -3);
    EXPECT_EQ(round_in_range(8388607.5f), 8388608);
}

TEST(Rounding, RealCoordinatesFallOnTheNearestPixelAndNaNNowhere)
{
    EXPECT_EQ(pixel_coordinate(451.5f), 452);
    EXPECT_EQ(pixel_coordinate(-0.5), -1);
    EXPECT_EQ(pixel_coordinate(-0.49), 0);
    EXPECT_LT(pixel_coordinate(std::nan("")), -40000);
    EXPECT_GT(pixel_coordinate(1e300), 40000);
    EXPECT_LT(pixel_coordinate(-1e300), -40000);
}

TEST(NumberTexts, SignPositionDisplayAndSignedForms)
{
    EXPECT_EQ(number_text(17), " 17");
    EXPECT_EQ(number_text(-17), "-17");
    EXPECT_EQ(display_text(17), "17");
    EXPECT_EQ(display_text(0), "0");
    EXPECT_EQ(display_text(-5), "5");  // the sign position is cut, also a minus
    EXPECT_EQ(signed_text(7), "+7");
    EXPECT_EQ(signed_text(0), "+0");
    EXPECT_EQ(signed_text(-7), "-7");
}

TEST(NumberTexts, RightAlignmentKeepsTheLastCharacters)
{
    EXPECT_EQ(right_align("+5", 5), "   +5");
    EXPECT_EQ(right_align("+12345", 5), "12345");
    EXPECT_EQ(right_align(" 5", 4, "  "), "   5");
    EXPECT_EQ(right_align(" 12345", 4, "  "), "2345");
}

TEST(NumberTexts, RealsNeverUseAnExponent)
{
    EXPECT_EQ(real_text(12.5), " 12.5");
    EXPECT_EQ(real_text(-0.25), "-0.25");
    EXPECT_EQ(real_text(3.0), " 3");
    EXPECT_EQ(real_text(1e-9), " 0");
    EXPECT_EQ(real_text(-1e-9), " 0");
    EXPECT_EQ(real_text(1e20).find('e'), std::string::npos);
    EXPECT_EQ(real_text(2.0 / 3.0, 4), " 0.6667");
}

}  // namespace
}  // namespace korven
