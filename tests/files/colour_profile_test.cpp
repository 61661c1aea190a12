// The conversion a colour-managed view shows: against LittleCMS's own 8-bit
// transform for wide-gamut and table-based profiles, and no conversion where
// none is wanted or none can be made.
#include "files/colour_profile.h"

#include <gtest/gtest.h>
#include <lcms2.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace korven {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes saved(cmsHPROFILE profile)
{
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    Bytes bytes(size);
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    return bytes;
}

cmsHPROFILE opened(const Bytes& bytes)
{
    return cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size()));
}

// P3 primaries with D65 white and the sRGB curve.
Bytes display_p3_bytes()
{
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    const double srgb_curve[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgb_curve);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    const Bytes bytes = saved(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(curve);
    return bytes;
}

// Adobe RGB's Lab, with a* and b* turned a little so that no matrix
// describes it: a 17-point table, the only conversion in the profile.
int twisted_adobe_lab(const cmsUInt16Number in[], cmsUInt16Number out[], void* to_lab)
{
    cmsDoTransform(to_lab, in, out, 1);
    out[1] = static_cast<cmsUInt16Number>((out[1] * 7 + out[2]) / 8);
    return TRUE;
}

Bytes table_based_bytes()
{
    cmsHPROFILE adobe = opened(adobe_rgb_profile_bytes());
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    cmsHTRANSFORM to_lab = cmsCreateTransform(adobe, TYPE_RGB_16, lab, TYPE_Lab_16, INTENT_RELATIVE_COLORIMETRIC,
                                              cmsFLAGS_NOOPTIMIZE);
    cmsStage* table = cmsStageAllocCLut16bit(nullptr, 17, 3, 3, nullptr);
    cmsStageSampleCLut16bit(table, twisted_adobe_lab, to_lab, 0);
    cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 3, 3);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));
    cmsPipelineInsertStage(pipeline, cmsAT_END, table);
    cmsPipelineInsertStage(pipeline, cmsAT_END, cmsStageAllocToneCurves(nullptr, 3, nullptr));

    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 4.3);
    cmsSetDeviceClass(profile, cmsSigDisplayClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    cmsWriteTag(profile, cmsSigAToB0Tag, pipeline);
    cmsWriteTag(profile, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipelineFree(pipeline);
    cmsDeleteTransform(to_lab);
    cmsCloseProfile(lab);
    cmsCloseProfile(adobe);
    return saved(profile);
}

// Every colour of the 17-level grid, every grey and random colours.
std::vector<Colour> spread_of_colours()
{
    std::vector<Colour> colours;
    const auto level = [](int step) { return std::min(step * 16, 255); };
    for (int r = 0; r <= 16; ++r)
        for (int g = 0; g <= 16; ++g)
            for (int b = 0; b <= 16; ++b) colours.push_back(rgb(level(r), level(g), level(b)));
    for (int level = 0; level < 256; ++level) colours.push_back(rgb(level, level, level));
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) colours.push_back(random() & 0xFFFFFF);
    return colours;
}

// Converts a picture just large enough to be shared with a helper thread,
// its rows apart in memory and its top bytes set, on every code path, and
// compares every pixel with LittleCMS's own 8-bit transform from `reference`.
void expect_littlecms_colours(const ScreenConversion& conversion, const Bytes& reference, const std::string& name)
{
    const std::vector<Colour> colours = spread_of_colours();
    std::vector<Colour> expected(colours.size(), 0);
    cmsHPROFILE from = opened(reference);
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHTRANSFORM transform = cmsCreateTransform(from, TYPE_RGBA_8, srgb, TYPE_RGBA_8, INTENT_PERCEPTUAL, 0);
    ASSERT_TRUE(transform) << name;
    cmsDoTransform(transform, colours.data(), expected.data(), static_cast<cmsUInt32Number>(colours.size()));
    cmsDeleteTransform(transform);
    cmsCloseProfile(srgb);
    cmsCloseProfile(from);

    constexpr int width = 1030, height = 1024, stride = 1037;
    constexpr Colour outside = 0xFF123456;
    std::vector<Colour> original(stride * height, outside);
    const auto colour_at = [&](int x, int y) { return (y * width + x) % static_cast<int>(colours.size()); };
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) original[y * stride + x] = colours[colour_at(x, y)] | 0xA5000000;
    std::vector<Colour> first_path;
    for (const CodePath path : paths_here(ScreenConversion::vector_paths())) {
        std::vector<Colour> memory = original;
        conversion.convert({memory.data(), width, height, stride}, path);
        if (first_path.empty()) first_path = memory;
        else EXPECT_TRUE(memory == first_path) << name << " on " << code_path_name(path);
    }

    int wrong = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < stride; ++x) {
            const Colour got = first_path[y * stride + x];
            if (x >= width) {
                wrong += got != outside;
                continue;
            }
            const Colour want = expected[colour_at(x, y)];
            const bool right = got >> 24 == 0 && std::abs(red_of(got) - red_of(want)) <= 2 &&
                               std::abs(green_of(got) - green_of(want)) <= 2 &&
                               std::abs(blue_of(got) - blue_of(want)) <= 2;
            if (!right && ++wrong <= 3)
                ADD_FAILURE() << name << ": " << std::hex << colours[colour_at(x, y)] << " became " << got
                              << ", LittleCMS gives " << want;
        }
    EXPECT_EQ(wrong, 0) << name;
}

TEST(ColourProfile, WideGamutAndTableBasedProfilesShowLittleCmsColours)
{
    const Bytes adobe = adobe_rgb_profile_bytes();
    const Bytes p3 = display_p3_bytes();
    const Bytes table_based = table_based_bytes();
    struct Case {
        std::string name;
        std::shared_ptr<const ScreenConversion> conversion;
        const Bytes& reference;
        bool by_grid;
    };
    const Case cases[] = {
        {"Adobe RGB profile", screen_conversion_for(adobe, false), adobe, false},
        {"EXIF Adobe RGB", screen_conversion_for({}, true), adobe, false},
        {"P3", screen_conversion_for(p3, true), p3, false},
        {"table-based", screen_conversion_for(table_based, false), table_based, true},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.conversion) << c.name;
        EXPECT_EQ(c.conversion->uses_grid(), c.by_grid) << c.name;
        expect_littlecms_colours(*c.conversion, c.reference, c.name);
    }

    // A grid of the colours themselves gives every colour back exactly.
    std::vector<ScreenConversion::GridNode> nodes;
    for (int r = 0; r < 33; ++r)
        for (int g = 0; g < 33; ++g)
            for (int b = 0; b < 33; ++b) {
                const auto level = [](int point) { return static_cast<std::uint16_t>((point * 65535 + 16) / 32); };
                nodes.push_back({level(r), level(g), level(b)});
            }
    std::vector<Colour> colours = spread_of_colours();
    const std::vector<Colour> original = colours;
    ScreenConversion::grid(nodes).convert({colours.data(), static_cast<int>(colours.size()), 1, 0});
    EXPECT_EQ(colours, original);
}

TEST(ColourProfile, SrgbMissingUnreadableAndNonRgbProfilesGiveNoConversion)
{
    // sRGB under another name, and as the version 2 display profiles in
    // photos have it: curves as tables, the display's D65 as media white.
    const auto srgb_named = [](const char* name, double version) {
        cmsHPROFILE srgb = cmsCreate_sRGBProfile();
        cmsMLU* description = cmsMLUalloc(nullptr, 1);
        cmsMLUsetASCII(description, "en", "US", name);
        cmsWriteTag(srgb, cmsSigProfileDescriptionTag, description);
        cmsMLUfree(description);
        cmsSetProfileVersion(srgb, version);
        if (version < 4) {
            const cmsCIEXYZ d65{0.9505, 1.0, 1.0890};
            cmsWriteTag(srgb, cmsSigMediaWhitePointTag, &d65);
        }
        return saved(srgb);
    };

    // CMYK, grey and Lab: the colour space alone rules them out.
    cmsHPROFILE cmyk = cmsCreateProfilePlaceholder(nullptr);
    cmsSetDeviceClass(cmyk, cmsSigOutputClass);
    cmsSetColorSpace(cmyk, cmsSigCmykData);
    cmsSetPCS(cmyk, cmsSigLabData);
    cmsPipeline* to_lab = cmsPipelineAlloc(nullptr, 4, 3);
    cmsPipelineInsertStage(to_lab, cmsAT_END, cmsStageAllocCLut16bit(nullptr, 2, 4, 3, nullptr));
    cmsWriteTag(cmyk, cmsSigAToB0Tag, to_lab);
    cmsPipelineFree(to_lab);

    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 2.2);
    const Bytes grey = saved(cmsCreateGrayProfile(cmsD50_xyY(), gamma));
    cmsFreeToneCurve(gamma);

    const Bytes adobe = adobe_rgb_profile_bytes();
    Bytes garbage(3000);
    std::mt19937 random(11);
    for (auto& byte : garbage) byte = static_cast<std::uint8_t>(random());
    Bytes wrong_header = adobe;
    wrong_header[36] = 'x';  // the file signature

    testing::internal::CaptureStderr();
    EXPECT_FALSE(screen_conversion_for({}, false));
    EXPECT_FALSE(screen_conversion_for(srgb_named("Camera colours", 4.3), true));
    EXPECT_FALSE(screen_conversion_for(srgb_named("Old camera colours", 2.1), false));
    EXPECT_FALSE(screen_conversion_for(saved(cmyk), false));
    EXPECT_FALSE(screen_conversion_for(grey, false));
    EXPECT_FALSE(screen_conversion_for(saved(cmsCreateLab4Profile(nullptr)), false));
    EXPECT_FALSE(screen_conversion_for(garbage, true));
    EXPECT_FALSE(screen_conversion_for(wrong_header, false));
    // Cut in the header, in the tag list, and in the colorants and in the curves.
    for (const std::size_t kept : {1, 128, 200, 500, 560})
        EXPECT_FALSE(screen_conversion_for(std::span(adobe).first(kept), false)) << kept;

    // Damaged profiles give a conversion or none, but never a fault.
    for (int round = 0; round < 300; ++round) {
        Bytes damaged = adobe;
        for (int i = 0; i < 4; ++i) damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
        if (const auto conversion = screen_conversion_for(damaged, false)) {
            Colour colours[] = {0, 0xFFFFFF, 0x123456};
            conversion->convert({colours, 3, 1, 3});
        }
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
}  // namespace korven
