// The rotation kernel against its slow version, and the turns it must make exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "geometry/rotate_sheared.h"
#include "geometry/kernel_path.h"
#include "tests/geometry/geometry_reference.h"

namespace korven {
namespace {

Picture rotated(const Picture& source, float angle, CodePath path = CodePath::fastest)
{
    const RotationPlan plan = plan_rotation(angle, source.width(), source.height());
    Picture target(plan.width(), plan.height());
    rotate_sheared(source.view(), target.view(), plan, path);
    return target;
}

TEST(RotateSheared, EqualsTheStepByStepVersionInEveryBranchWithNothingFallingOff)
{
    // Both signs of every quarter, the table's edges, exact turns and tiny tilts.
    const float angles[] = {10, 350, 60, 100, 150, 200, 250, 290, 45, 315, 46, 135, 225, 44.5f,
                            90, 180, 270, 0.3f, 359.7f, 30, 89.6f, 1};
    const std::vector<std::pair<int, int>> sizes = {{1, 1}, {1, 9}, {9, 1}, {2, 2}, {7, 13}, {13, 7},
                                                    {17, 17}, {40, 10}, {10, 97}, {100, 400}};
    std::mt19937 random(7);
    for (const auto& [width, height] : sizes) {
        const Picture source = reference::random_picture(random, width, height);
        for (const float angle : angles) {
            int dropped = -1;
            const Picture expected = reference::rotate(source, angle, &dropped);
            for (const CodePath path : geometry_paths_here())
                ASSERT_EQ(rotated(source, angle, path), expected) << width << "x" << height << " by " << angle;
            ASSERT_EQ(dropped, 0) << width << "x" << height << " by " << angle;
        }
    }
}

TEST(RotateSheared, ALargePictureSharedWithAHelperThreadComesOutTheSame)
{
    std::mt19937 random(13);
    const Picture source = reference::random_picture(random, 1031, 1019);
    for (const float angle : {90.0f, 100.0f, 200.0f})
        for (const CodePath path : geometry_paths_here())
            ASSERT_EQ(rotated(source, angle, path), reference::rotate(source, angle)) << angle;
}

TEST(RotateSheared, QuarterAndHalfTurnsMoveEveryPixelExactly)
{
    std::mt19937 random(9);
    for (const auto& [width, height] : {std::pair{40, 10}, {10, 1000}, {1, 5}, {640, 480}}) {
        const Picture source = reference::random_picture(random, width, height);
        const Picture quarter = rotated(source, 90), half = rotated(source, 180), three = rotated(source, 270);
        ASSERT_EQ(quarter.width(), height);
        ASSERT_EQ(quarter.height(), width);
        ASSERT_EQ(half.width(), width);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const Colour c = source.at(x, y);
                ASSERT_EQ(quarter.at(height - 1 - y, x), c);  // the top-left pixel lands top-right
                ASSERT_EQ(half.at(width - 1 - x, height - 1 - y), c);
                ASSERT_EQ(three.at(y, width - 1 - x), c);
            }
    }
}

// Along every row and every column the tilted picture is one unbroken run:
// no pixel inside it is left black.
void expect_no_holes(const Picture& picture)
{
    const auto unbroken = [](auto pixel, int length) {
        int first = length, last = -1;
        for (int i = 0; i < length; ++i) {
            if (pixel(i) == 0) continue;
            first = std::min(first, i);
            last = i;
        }
        for (int i = first; i <= last; ++i)
            if (pixel(i) == 0) return false;
        return true;
    };
    for (int y = 0; y < picture.height(); ++y)
        ASSERT_TRUE(unbroken([&](int x) { return picture.at(x, y); }, picture.width())) << "row " << y;
    for (int x = 0; x < picture.width(); ++x)
        ASSERT_TRUE(unbroken([&](int y) { return picture.at(x, y); }, picture.height())) << "column " << x;
}

TEST(RotateSheared, TiltsGrowThePictureAndFillEveryHole)
{
    std::mt19937 random(11);
    const Picture square = reference::random_picture(random, 100, 100);
    const Picture wide = reference::random_picture(random, 64, 40);

    const Picture ten = rotated(square, 10);  // 100 x tan(10 degrees) = 17.6
    EXPECT_EQ(ten.width(), 118);
    EXPECT_EQ(ten.height(), 118);
    expect_no_holes(ten);

    const Picture forty_five = rotated(wide, 45);
    EXPECT_EQ(forty_five.width(), 104);
    EXPECT_EQ(forty_five.height(), 104);
    expect_no_holes(forty_five);
    expect_no_holes(rotated(wide, 315));
    expect_no_holes(rotated(wide, 100));

    // 46 degrees: one quarter turn and 44 degrees back.
    const RotationPlan plan = plan_rotation(46, 64, 40);
    EXPECT_EQ(plan.quarter_turns, 1);
    EXPECT_EQ(plan.turn_sign, -1);
    EXPECT_FLOAT_EQ(plan.residual_angle, 44);
}

TEST(ReduceAngle, KeepsOneTurnAndGivesZeroForWholeTurns)
{
    EXPECT_EQ(reduce_angle(-90), 270);
    EXPECT_EQ(reduce_angle(450), 90);
    EXPECT_EQ(reduce_angle(-450.5), 269.5f);
    for (const double whole_turns : {0.0, 360.0, 720.0, -360.0, -1e-12, 359.99999999})
        EXPECT_EQ(reduce_angle(whole_turns), 0) << whole_turns;
    const float huge = reduce_angle(1e300);
    EXPECT_TRUE(huge >= 0 && huge < 360);
}

}  // namespace
}  // namespace korven
