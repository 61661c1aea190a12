// On a real X server: a photo whose profile says its colours are wide-gamut
// is shown converted to sRGB, Ctrl+M shows its numbers as they are, and the
// click readout gives the file's numbers either way.
#include <gtest/gtest.h>

#include <lcms2.h>

#include <cstdlib>
#include <fstream>
#include <vector>

#include "files/colour_profile.h"
#include "files/png_file.h"
#include "geometry/click_texts.h"
#include "platform/testing.h"
#include "tests/display/picture_files.h"

namespace korven::test {
namespace {

// Saturated and pale colours, greys and near-blacks, all different.
Picture colourful_photo(int width, int height)
{
    Picture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.at(x, y) = rgb((x * 37 + y * 11) % 256, (x * 5 + y * 23) % 256, (x * y * 3 + 17) % 256);
    return picture;
}

// LittleCMS's own sRGB rendering of the picture's numbers read as colours of `profile`.
Picture lcms_srgb(const std::vector<std::uint8_t>& profile, const Picture& numbers)
{
    cmsHPROFILE source = cmsOpenProfileFromMem(profile.data(), static_cast<cmsUInt32Number>(profile.size()));
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = cmsCreateTransform(source, TYPE_RGBA_8, srgb, TYPE_RGBA_8, INTENT_PERCEPTUAL, 0);
    Picture shown(numbers.width(), numbers.height());
    cmsDoTransform(transform, numbers.pixels().data(), shown.pixels().data(),
                   static_cast<cmsUInt32Number>(numbers.pixels().size()));
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(source);
    for (Colour& colour : shown.pixels()) colour &= 0xFFFFFFu;
    return shown;
}

int largest_channel_difference(Colour a, Colour b)
{
    int largest = 0;
    for (int shift : {0, 8, 16})
        largest = std::max(largest, std::abs(int((a >> shift) & 255) - int((b >> shift) & 255)));
    return largest;
}

TEST_F(DisplayTest, AWideGamutPhotoIsShownInSrgbAndCtrlMShowsItsNumbers)
{
    const Picture photo = colourful_photo(120, 90);
    const std::vector<std::uint8_t> profile = adobe_rgb_profile_bytes();
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(encode_png(photo, profile, png));
    load(write_bytes("wide.png", std::vector<char>(png.begin(), png.end())));
    ASSERT_EQ(state().pictures[original_slot], photo);

    const fe::Window window = ui().FORM2;
    constexpr int origin = 14;  // the picture's first pixel on the window
    Picture shown = fe::testing::screen_shot(window);
    ASSERT_GE(shown.width(), origin + photo.width());
    const Picture expected_picture = lcms_srgb(profile, photo);
    int worst = 0, converted = 0;
    for (int y = 0; y < photo.height(); y += 3)
        for (int x = 0; x < photo.width(); x += 3) {
            const Colour expected = expected_picture.at(x, y);
            worst = std::max(worst, largest_channel_difference(shown.at(origin + x, origin + y), expected));
            converted += expected != photo.at(x, y);
        }
    EXPECT_LE(worst, 2);
    EXPECT_GT(converted, 1000);  // the conversion changes most colours

    press("Ctrl+M", window);
    shown = fe::testing::screen_shot(window);
    ASSERT_GE(shown.height(), origin + photo.height());
    for (int y = 0; y < photo.height(); ++y)
        for (int x = 0; x < photo.width(); ++x)
            ASSERT_EQ(shown.at(origin + x, origin + y), photo.at(x, y)) << x << ", " << y;

    // The readout gives the file's numbers, whatever the view shows.
    for (bool managed : {false, true}) {
        fe::testing::click_at(window, origin + 50, origin + 40);
        EXPECT_EQ(text("TEXT16"), colour_readout_text(photo.at(50, 40))) << managed;
        press("Ctrl+M", window);
    }
}

}  // namespace
}  // namespace korven::test
