// A profile becomes one of the screen conversion's two forms: matrix and
// curves read from a matrix-shaper profile's tags, checked against
// LittleCMS's own transform, or else a grid of colours that transform gives.
#include "files/colour_profile.h"

#include <lcms2.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

namespace korven {

namespace {

// LittleCMS objects, released in the reverse order of their making. Each
// call works in a context of its own, whose error handler says nothing, so
// calls on several threads never share state and bad bytes print nothing.
struct ContextRelease {
    void operator()(cmsContext context) const { cmsDeleteContext(context); }
};
struct ProfileRelease {
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};
struct TransformRelease {
    void operator()(void* transform) const { cmsDeleteTransform(transform); }
};
struct CurveRelease {
    void operator()(cmsToneCurve* curve) const { cmsFreeToneCurve(curve); }
};
using Context = std::unique_ptr<std::remove_pointer_t<cmsContext>, ContextRelease>;
using Profile = std::unique_ptr<void, ProfileRelease>;
using Transform = std::unique_ptr<void, TransformRelease>;
using Curve = std::unique_ptr<cmsToneCurve, CurveRelease>;

void say_nothing(cmsContext, cmsUInt32Number, const char*) {}

Context quiet_context()
{
    Context context(cmsCreateContext(nullptr, nullptr));
    if (context) cmsSetLogErrorHandlerTHR(context.get(), say_nothing);
    return context;
}

constexpr cmsTagSignature colorant_tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag};
constexpr cmsTagSignature curve_tags[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};

// How far primaries, white and curves may stray from sRGB's and still be
// sRGB: the differences between the sRGB profiles in circulation, and well
// under a level of difference on screen.
constexpr double srgb_tolerance = 0.002;

// Whether the profile's perceptual conversion is its matrix and curves,
// and all of them can be read.
bool plain_matrix_shaper(cmsHPROFILE profile)
{
    if (!cmsIsMatrixShaper(profile) || cmsIsCLUT(profile, INTENT_PERCEPTUAL, LCMS_USED_AS_INPUT)) return false;
    for (int channel = 0; channel < 3; ++channel)
        if (!cmsReadTag(profile, colorant_tags[channel]) || !cmsReadTag(profile, curve_tags[channel])) return false;
    return true;
}

const cmsCIEXYZ& colorant(cmsHPROFILE profile, int channel)
{
    return *static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, colorant_tags[channel]));
}

const cmsToneCurve* tone_curve(cmsHPROFILE profile, int channel)
{
    return static_cast<const cmsToneCurve*>(cmsReadTag(profile, curve_tags[channel]));
}

// The media white as LittleCMS takes it: D50 when absent, and for version 2
// display profiles, which stored the display's own white there.
cmsCIEXYZ media_white(cmsHPROFILE profile)
{
    const auto* white = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, cmsSigMediaWhitePointTag));
    const bool v2_display = cmsGetEncodedICCversion(profile) < 0x4000000 &&
                            cmsGetDeviceClass(profile) == cmsSigDisplayClass;
    return white && !v2_display ? *white : *cmsD50_XYZ();
}

bool close_to(double a, double b) { return std::fabs(a - b) <= srgb_tolerance; }  // false for NaN
bool close_to(const cmsCIEXYZ& a, const cmsCIEXYZ& b)
{
    return close_to(a.X, b.X) && close_to(a.Y, b.Y) && close_to(a.Z, b.Z);
}

// Whether `profile` is sRGB by what it does, whatever it is called.
bool is_srgb(cmsHPROFILE profile, cmsHPROFILE srgb)
{
    if (!plain_matrix_shaper(profile) || !close_to(media_white(profile), media_white(srgb))) return false;
    for (int channel = 0; channel < 3; ++channel) {
        if (!close_to(colorant(profile, channel), colorant(srgb, channel))) return false;
        for (int step = 0; step <= 256; ++step) {
            const float x = static_cast<float>(step) / 256.0f;
            if (!close_to(cmsEvalToneCurveFloat(tone_curve(profile, channel), x),
                          cmsEvalToneCurveFloat(tone_curve(srgb, channel), x)))
                return false;
        }
    }
    return true;
}

using Matrix = std::array<std::array<double, 3>, 3>;

// Columns: the colorants' XYZ.
Matrix colorant_matrix(cmsHPROFILE profile)
{
    Matrix m{};
    for (int channel = 0; channel < 3; ++channel) {
        const cmsCIEXYZ& xyz = colorant(profile, channel);
        m[0][channel] = xyz.X;
        m[1][channel] = xyz.Y;
        m[2][channel] = xyz.Z;
    }
    return m;
}

Matrix inverse(const Matrix& m)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            // The cofactor of m[j][i] over the determinant.
            const int a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
            r[i][j] = (m[a][c] * m[b][d] - m[a][d] * m[b][c]) / det;
        }
    return r;
}

// The matrix-shaper form from the profile's curves and colorants and sRGB's
// inverse curve, the numbers LittleCMS itself joins for such a conversion.
std::optional<ScreenConversion> matrix_shaper_conversion(cmsHPROFILE profile, cmsHPROFILE srgb)
{
    ScreenConversion::MatrixShaper numbers;
    for (int channel = 0; channel < 3; ++channel)
        for (int level = 0; level < 256; ++level)
            numbers.linear[channel][level] =
                cmsEvalToneCurveFloat(tone_curve(profile, channel), static_cast<float>(level) / 255.0f);
    const Matrix to_srgb = inverse(colorant_matrix(srgb));
    const Matrix from_profile = colorant_matrix(profile);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double sum = 0;
            for (int k = 0; k < 3; ++k) sum += to_srgb[i][k] * from_profile[k][j];
            numbers.matrix[i][j] = static_cast<float>(sum);
        }
    const Curve encode(cmsReverseToneCurve(tone_curve(srgb, 0)));
    if (!encode) return std::nullopt;
    numbers.encode = [&encode](float light) { return cmsEvalToneCurveFloat(encode.get(), light); };
    return ScreenConversion::matrix_shaper(numbers);
}

std::uint16_t grid_level(int point) { return static_cast<std::uint16_t>((point * 65535 + 16) / 32); }
static_assert(ScreenConversion::grid_points == 33);

// Any profile's conversion, sampled on the grid by LittleCMS's transform.
ScreenConversion grid_conversion(cmsHTRANSFORM exact)
{
    constexpr int points = ScreenConversion::grid_points;
    std::vector<ScreenConversion::GridNode> inputs, nodes(points * points * points);
    inputs.reserve(nodes.size());
    for (int r = 0; r < points; ++r)
        for (int g = 0; g < points; ++g)
            for (int b = 0; b < points; ++b) inputs.push_back({grid_level(r), grid_level(g), grid_level(b)});
    cmsDoTransform(exact, inputs.data(), nodes.data(), static_cast<cmsUInt32Number>(nodes.size()));
    return ScreenConversion::grid(nodes);
}

// Whether `conversion` gives LittleCMS's own colours within a level, on
// colours spread over the whole cube and every grey: the matrix-shaper form
// reads the profile's tags itself, and must show what the transform would.
bool agrees(const ScreenConversion& conversion, cmsHTRANSFORM exact)
{
    std::vector<Colour> colours;
    const auto level = [](int step) { return std::min(step * 32, 255); };
    for (int r = 0; r <= 8; ++r)
        for (int g = 0; g <= 8; ++g)
            for (int b = 0; b <= 8; ++b) colours.push_back(rgb(level(r), level(g), level(b)));
    for (int grey = 0; grey < 256; ++grey) colours.push_back(rgb(grey, grey, grey));
    std::vector<ScreenConversion::GridNode> inputs, outputs(colours.size());
    for (const Colour c : colours)
        inputs.push_back({static_cast<std::uint16_t>(red_of(c) * 257), static_cast<std::uint16_t>(green_of(c) * 257),
                          static_cast<std::uint16_t>(blue_of(c) * 257)});
    cmsDoTransform(exact, inputs.data(), outputs.data(), static_cast<cmsUInt32Number>(colours.size()));
    const int count = static_cast<int>(colours.size());
    conversion.convert({colours.data(), count, 1, count});
    for (std::size_t i = 0; i < colours.size(); ++i) {
        const int levels[3] = {red_of(colours[i]), green_of(colours[i]), blue_of(colours[i])};
        for (int k = 0; k < 3; ++k)
            if (std::abs(levels[k] - (outputs[i][k] * 255 + 32767) / 65535) > 1) return false;
    }
    return true;
}

std::shared_ptr<const ScreenConversion> conversion_to_srgb(cmsContext context, cmsHPROFILE profile)
{
    if (!profile || cmsGetColorSpace(profile) != cmsSigRgbData) return nullptr;
    const cmsProfileClassSignature kind = cmsGetDeviceClass(profile);
    if (kind == cmsSigLinkClass || kind == cmsSigAbstractClass || kind == cmsSigNamedColorClass) return nullptr;
    const Profile srgb(cmsCreate_sRGBProfileTHR(context));
    if (!srgb || is_srgb(profile, srgb.get())) return nullptr;
    // Every step in floating point and no shortcuts: the colours the fast
    // forms are made from, or checked against.
    const Transform exact(cmsCreateTransformTHR(context, profile, TYPE_RGB_16, srgb.get(), TYPE_RGB_16,
                                                INTENT_PERCEPTUAL, cmsFLAGS_NOOPTIMIZE | cmsFLAGS_NOCACHE));
    if (!exact) return nullptr;
    if (plain_matrix_shaper(profile)) {
        auto conversion = matrix_shaper_conversion(profile, srgb.get());
        if (conversion && agrees(*conversion, exact.get()))
            return std::make_shared<const ScreenConversion>(std::move(*conversion));
    }
    return std::make_shared<const ScreenConversion>(grid_conversion(exact.get()));
}

Profile adobe_rgb_profile(cmsContext context)
{
    const cmsCIExyY white{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries{{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
    const Curve gamma(cmsBuildGamma(context, 563.0 / 256.0));
    if (!gamma) return nullptr;
    cmsToneCurve* curves[3] = {gamma.get(), gamma.get(), gamma.get()};
    return Profile(cmsCreateRGBProfileTHR(context, &white, &primaries, curves));
}

std::shared_ptr<const ScreenConversion> adobe_rgb_conversion()
{
    const Context context = quiet_context();
    if (!context) return nullptr;
    const Profile profile = adobe_rgb_profile(context.get());
    return conversion_to_srgb(context.get(), profile.get());
}

}  // namespace

std::shared_ptr<const ScreenConversion> screen_conversion_for(std::span<const std::uint8_t> icc_profile,
                                                              bool exif_says_adobe_rgb)
{
    if (icc_profile.empty()) {
        if (!exif_says_adobe_rgb) return nullptr;
        // The same for every photo: made once.
        static const std::shared_ptr<const ScreenConversion> adobe = adobe_rgb_conversion();
        return adobe;
    }
    if (icc_profile.size() > std::numeric_limits<cmsUInt32Number>::max()) return nullptr;
    const Context context = quiet_context();
    if (!context) return nullptr;
    const Profile profile(cmsOpenProfileFromMemTHR(context.get(), icc_profile.data(),
                                                   static_cast<cmsUInt32Number>(icc_profile.size())));
    return conversion_to_srgb(context.get(), profile.get());
}

std::vector<std::uint8_t> adobe_rgb_profile_bytes()
{
    const Context context = quiet_context();
    if (!context) return {};
    const Profile profile = adobe_rgb_profile(context.get());
    if (!profile) return {};
    if (cmsMLU* description = cmsMLUalloc(context.get(), 1)) {
        cmsMLUsetASCII(description, "en", "US", "Compatible with Adobe RGB (1998)");
        cmsWriteTag(profile.get(), cmsSigProfileDescriptionTag, description);
        cmsMLUfree(description);
    }
    cmsUInt32Number size = 0;
    if (!cmsSaveProfileToMem(profile.get(), nullptr, &size)) return {};
    std::vector<std::uint8_t> bytes(size);
    if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size)) return {};
    bytes.resize(size);
    return bytes;
}

}  // namespace korven
