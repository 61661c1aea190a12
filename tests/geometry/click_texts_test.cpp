// The texts of measuring and of the colour readout.
#include <gtest/gtest.h>

#include <string>

#include "geometry/click_texts.h"

namespace korven {
namespace {

TEST(ClickTexts, MeasureTextsGiveDistanceAndAngleWithoutExponents)
{
    EXPECT_EQ(measure_text(3, 4), "(   +3,   +4)[5,+53.1301degree]");
    EXPECT_EQ(measure_text(0, -5), "(   +0,   -5)[5,-90degree]");
    EXPECT_EQ(measure_text(0, 12), "(   +0,  +12)[12,+90degree]");
    EXPECT_EQ(measure_text(-3, 0), "(   -3,   +0)[3,-180degree]");
    EXPECT_EQ(measure_text(-3, 3), "(   -3,   +3)[4.2426,+135degree]");
    EXPECT_EQ(measure_text(0, 0), "(   +0,   +0)[0,---degree]");
    // Far points keep the last five characters of a coordinate.
    EXPECT_EQ(measure_text(12345, 1234).substr(0, 14), "(12345,+1234)[");
    EXPECT_EQ(measure_text(1, -1234).substr(0, 14), "(   +1,-1234)[");
    // Tiny angles and long distances are written out, never as 1.9E-03.
    EXPECT_EQ(measure_text(30000, 1), "(30000,   +1)[30000.,+0.00191degree]");
    EXPECT_EQ(measure_from_text(5, 123), "from(   +5, +123)");
    EXPECT_EQ(measure_from_text(-1, 12345), "from(   -1,12345)");
}

TEST(ClickTexts, ColourReadoutRightAlignsEachComponent)
{
    EXPECT_EQ(colour_readout_text(rgb(0, 128, 255)), std::string(26, ' ') + "(RGB)=(  0,128,255)");
    EXPECT_EQ(colour_readout_text(rgb(7, 42, 0)), std::string(26, ' ') + "(RGB)=(  7, 42,  0)");
}

}  // namespace
}  // namespace korven
