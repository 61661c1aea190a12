// Real-world JPEG files: baseline, progressive, arithmetic-coded, and one
// photo stored in each of the eight orientations a camera records.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

using JpegFiles = DisplayTest;

// Mean absolute difference per channel between two pictures of one size.
double mean_difference(const Picture& a, const Picture& b)
{
    EXPECT_EQ(a.width(), b.width());
    EXPECT_EQ(a.height(), b.height());
    if (a.width() != b.width() || a.height() != b.height()) return 255;
    double sum = 0;
    for (std::size_t i = 0; i < a.pixels().size(); ++i) {
        const Colour p = a.pixels()[i], q = b.pixels()[i];
        sum += std::abs(red_of(p) - red_of(q)) + std::abs(green_of(p) - green_of(q)) +
               std::abs(blue_of(p) - blue_of(q));
    }
    return sum / (3.0 * static_cast<double>(a.pixels().size()));
}

Picture mirrored(const Picture& picture)
{
    Picture result(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) result.at(x, y) = picture.at(picture.width() - 1 - x, y);
    return result;
}

TEST_F(JpegFiles, BaselineAndProgressiveFilesLoad)
{
    load(copy_testdata("jpeg/testorig.jpg", "testorig.jpg"));
    const Picture reference = state().pictures[original_slot];
    ASSERT_EQ(reference.width(), 227);
    ASSERT_EQ(reference.height(), 149);
    for (const std::string name : {"testimgint", "testimgp"}) {
        load(copy_testdata("jpeg/" + name + ".jpg", name + ".jpg"));
        EXPECT_TRUE(messages().empty()) << name;
        EXPECT_EQ(text("EDIT1"), path(name + ".bmp"));
        EXPECT_LT(mean_difference(state().pictures[original_slot], reference), 4.0) << name;
    }
}

TEST_F(JpegFiles, ArithmeticCodedFileLoadsOrIsRefusedCleanly)
{
    load_picture(coordinate_picture(30, 20), "good.bmp");
    const LoadState before = load_state();
    const std::string file = copy_testdata("jpeg/testimgari.jpg", "testimgari.jpg");
    load(file);
    if (messages().empty()) {
        EXPECT_EQ(state().shown_width, 227);
        EXPECT_EQ(state().shown_height, 149);
    } else {
        EXPECT_EQ(load_state(), before);
        EXPECT_EQ(messages().size(), 1u);
        EXPECT_NE(messages().front().find(file), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(path("testimgari.bmp")));
    }
}

TEST_F(JpegFiles, EveryStoredOrientationComesOutUpright)
{
    load(copy_testdata("jpeg/Landscape_1.jpg", "Landscape_1.jpg"));
    const Picture upright = state().pictures[original_slot];
    ASSERT_EQ(upright.width(), 1800);
    ASSERT_EQ(upright.height(), 1200);
    // The measure tells a turned or mirrored photo apart from an upright one.
    const double wrong_way = mean_difference(mirrored(upright), upright);
    for (int n = 2; n <= 8; ++n) {
        const std::string name = "Landscape_" + std::to_string(n);
        load(copy_testdata("jpeg/" + name + ".jpg", name + ".jpg"));
        EXPECT_TRUE(messages().empty()) << name;
        EXPECT_EQ(state().shown_width, 1800) << name;
        EXPECT_EQ(state().shown_height, 1200) << name;
        const double difference = mean_difference(state().pictures[original_slot], upright);
        EXPECT_LT(difference, wrong_way / 4) << name << " differs by " << difference << ", mirrored by "
                                             << wrong_way;
    }
}

}  // namespace
}  // namespace korven::test
