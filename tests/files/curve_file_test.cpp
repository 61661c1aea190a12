// Curve files: our own read back as written, GIMP's two kinds read into the
// one curve DRAW uses, and every broken file refused naming its line.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "files/curve_file.h"
#include "files/monotone_curve.h"

namespace korven {
namespace {

namespace fs = std::filesystem;

std::string words_of(const CurveLevels& levels, int count = curve_points)
{
    std::string text;
    for (int k = 0; k < count; ++k) text += " " + std::to_string(levels[k]);
    return text;
}

const std::string identity_words = words_of(identity_levels());

void expect_refused(const std::string& text, const std::string& error)
{
    const CurveFileRead read = read_curve_text(text);
    EXPECT_FALSE(read.curve) << text;
    EXPECT_EQ(read.error, error) << text;
}

TEST(CurveFile, OurCurvesReadBackAndBrokenOnesAreRefusedNamingTheLine)
{
    ToneCurve curve{identity_levels(), DrawMode::green};
    curve.levels[0] = 255;
    curve.levels[20] = 3;
    const CurveFileRead read = read_curve_text(curve_file_text(curve));
    EXPECT_EQ(read.curve, curve);
    EXPECT_EQ(read.error + read.notice, "");

    // Written by hand: comments, blank lines, CRLF, blanks at the ends, levels over lines.
    const CurveFileRead handmade = read_curve_text("# mine\r\n\r\n  KORVEN curve 1 # v1\r\nmode blue \r\nlevels" +
                                                   words_of(identity_levels(), 10) + "\r\n\t" +
                                                   identity_words.substr(words_of(identity_levels(), 10).size()) +
                                                   " # the last\r\n");
    EXPECT_EQ(handmade.curve, (ToneCurve{identity_levels(), DrawMode::blue})) << handmade.error;

    const std::string head = "KORVEN curve 1\nmode all\n";
    const std::string one_short = words_of(identity_levels(), 32);
    for (const auto& [text, error] : std::vector<std::pair<std::string, std::string>>{
             {"", "line 1: not a curve file (it should start with \"KORVEN curve 1\")"},
             {"# a curve\nmode all\n", "line 2: not a curve file (it should start with \"KORVEN curve 1\")"},
             {"KORVEN curve 2\n", "line 1: version 2 of the curve format is not known"},
             {"KORVEN curve 1\nmode purple\n", "line 2: the mode must be all, red, green or blue, not \"purple\""},
             {"KORVEN curve 1\nmode\n", "line 2: the mode must be all, red, green or blue"},
             {head + "levels 0 8\n16 300" + one_short, "line 4: \"300\" is not a level from 0 to 255"},
             {head + "levels 0 8 1.5\n", "line 3: \"1.5\" is not a level from 0 to 255"},
             {head + "levels -1\n", "line 3: \"-1\" is not a level from 0 to 255"},
             {head + "levels\n" + one_short + "\n\n# end\n", "line 4: 32 levels, where a curve has 33"},
             {head + "levels" + identity_words + " 255\nmode all\n", "line 3: 34 levels, where a curve has 33"},
             {head + "levels" + identity_words + "\nmode red\n", "line 4: the mode is given twice"},
             {head + "levels" + identity_words + "\nlevels 0\n", "line 4: the levels are given twice"},
             {head + "colour red\n", "line 3: \"colour\" is not a setting of a curve file; only mode and levels are"},
             {head + "17\n", "line 3: \"17\" is not a setting of a curve file; only mode and levels are"},
             {"KORVEN curve 1\nlevels" + identity_words + "\n", "line 2: the file has no mode"},
             {head + "\n", "line 3: the file has no levels"},
         })
        expect_refused(text, error);
}

TEST(CurveFile, OurCurvesAreSavedAndReadFromDiskOrTheFileIsRefused)
{
    std::string name = (fs::temp_directory_path() / "korven-curves-XXXXXX").string();
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    const fs::path folder = name;
    const ToneCurve curve{identity_levels(), DrawMode::red};
    ASSERT_TRUE(save_curve_file(curve, (folder / "a.kcurve").string()).ok);
    EXPECT_EQ(read_curve_file((folder / "a.kcurve").string()).curve, curve);
    EXPECT_FALSE(save_curve_file(curve, (folder / "none" / "a.kcurve").string()).ok);

    std::ofstream((folder / "large.kcurve").string()) << std::string((1 << 20) + 1, '#');
    for (const auto& [file, reason] : {std::pair{"large.kcurve", "the file is too large to be a curve file"},
                                       {"missing.kcurve", "the file does not exist"},
                                       {"", "the file cannot be read"}}) {
        const CurveFileRead read = read_curve_file((folder / file).string());
        EXPECT_FALSE(read.curve);
        EXPECT_EQ(read.error, reason);
    }
    fs::remove_all(folder);
}

TEST(CurveFile, PointsAreJoinedByAMonotoneCurveThatNeverOvershoots)
{
    const CurvePoint bend[] = {{0, 0}, {128, 200}, {255, 255}};
    const CurveLevels levels = monotone_curve_levels(bend);
    // At input 64, halfway along the first piece: the mean of its ends plus an
    // eighth of its width times the difference of its tangents, the slope
    // 200/128 at 0 and at 128 the mean of both slopes: 100 + 16 (1.5625 - 0.99779).
    EXPECT_EQ(levels[8], 109);
    EXPECT_EQ(levels[0], 0);
    EXPECT_EQ(levels[16], 200);
    EXPECT_EQ(levels[32], 255);
    EXPECT_TRUE(std::is_sorted(levels.begin(), levels.end()));

    // A steep step up, a plateau and a fall: each piece stays between its two
    // points, the ends keep theirs.
    const CurvePoint zigzag[] = {{8, 60}, {96, 70}, {104, 200}, {192, 210}, {248, 40}};
    const CurveLevels turned = monotone_curve_levels(zigzag);
    for (int k = 0; k < curve_points; ++k) {
        const int x = curve_point_input(k);
        const auto after = std::find_if(std::begin(zigzag), std::end(zigzag), [x](auto p) { return p.input > x; });
        const int low = after == std::begin(zigzag) ? after->output : std::prev(after)->output;
        const int high = after == std::end(zigzag) ? std::prev(after)->output : after->output;
        EXPECT_GE(turned[k], std::min(low, high)) << x;
        EXPECT_LE(turned[k], std::max(low, high)) << x;
    }
    EXPECT_EQ(monotone_curve_levels({}), identity_levels());
    const CurvePoint one[] = {{90, 70}};
    CurveLevels constant;
    constant.fill(70);
    EXPECT_EQ(monotone_curve_levels(one), constant);
}

// A channel line of GIMP's older file: the points, then -1 -1 up to 17.
std::string old_channel(const std::vector<std::pair<int, int>>& points)
{
    std::string line;
    for (const auto& [x, y] : points) line += std::to_string(x) + " " + std::to_string(y) + " ";
    for (std::size_t i = points.size(); i < 17; ++i) line += "-1 -1 ";
    return line + "\n";
}

TEST(CurveFile, GimpOlderFilesGiveOneCurveAndSayWhichWereLeftOut)
{
    const std::string straight = old_channel({{0, 0}, {255, 255}});
    const std::string bend = old_channel({{255, 255}, {0, 0}, {128, 200}});  // in any order
    const std::string lift = old_channel({{0, 20}, {255, 235}});
    const std::string head = "# GIMP Curves File\n";

    const CurveFileRead value = read_curve_text(head + bend + straight + straight + lift + lift);
    ASSERT_TRUE(value.curve) << value.error;
    EXPECT_EQ(value.curve->mode, DrawMode::all);
    EXPECT_EQ(value.curve->levels, monotone_curve_levels(std::vector<CurvePoint>{{0, 0}, {128, 200}, {255, 255}}));
    EXPECT_EQ(value.notice, "The blue curve of the file was left out: one curve is used, the value curve.");

    const CurveFileRead red = read_curve_text(head + straight + bend + straight + lift + lift);
    ASSERT_TRUE(red.curve) << red.error;
    EXPECT_EQ(red.curve->mode, DrawMode::red);
    EXPECT_EQ(red.curve->levels[16], 200);
    EXPECT_EQ(red.notice, "The blue curve of the file was left out: one curve is used, the red curve.");

    const CurveFileRead three = read_curve_text(head + lift + bend + straight + bend + straight);
    EXPECT_EQ(three.notice, "The red and blue curves of the file were left out: one curve is used, the value curve.");
    const CurveFileRead none = read_curve_text(head + old_channel({}) + straight + straight + straight + lift);
    EXPECT_EQ(none.curve, (ToneCurve{identity_levels(), DrawMode::all}));
    EXPECT_EQ(none.notice, "");

    const std::string four = straight + straight + straight + straight;
    for (const auto& [text, error] : std::vector<std::pair<std::string, std::string>>{
             {head + straight + straight + "0 0 300 1" + straight.substr(11),
              "line 4: \"300\" is not a level from 0 to 255, nor -1 for a point not used"},
             {head + straight + straight.substr(4),
              "line 3: 32 numbers, where a channel has 34 (17 points of two levels)"},
             {head + old_channel({{0, 0}, {128, 9}, {128, 200}}), "line 2: two points stand at input level 128"},
             {head + old_channel({{0, 0}, {-1, 7}}),
              "line 2: the point \"-1 7\" is half not used; a point not used is \"-1 -1\""},
             {head + four,
              "line 5: the file ends after 4 channel lines, where it has five (value, red, green, blue and alpha)"},
             {head + four + straight + straight, "line 7: the file has more than five channel lines"},
         })
        expect_refused(text, error);
}

// A channel of GIMP's Curves tool settings, from its samples.
std::string settings_channel(std::string_view name, const std::vector<double>& samples)
{
    std::string text = "(channel " + std::string(name) + ")\n(curve\n    (curve-type smooth)\n    (n-points 2)\n"
                       "    (points 4 0 0 1 1)\n    (point-types 2 smooth smooth)\n    (n-samples " +
                       std::to_string(samples.size()) + ")\n    (samples " + std::to_string(samples.size());
    for (const double sample : samples) text += " " + std::to_string(sample);
    return text + "))\n";
}

TEST(CurveFile, GimpSettingsFilesGiveTheCurveOfTheirSamples)
{
    std::vector<double> straight, halved;
    for (int i = 0; i < 256; ++i) {
        straight.push_back(i / 255.0);
        halved.push_back(i / 510.0);
    }
    const std::string head = "# GIMP curves tool settings\n\n(time 0)\n";
    const std::string rest = settings_channel("red", straight) + settings_channel("green", halved) +
                             settings_channel("blue", straight) + settings_channel("alpha", halved) +
                             "\n# end of curves tool settings\n";
    const std::string value = settings_channel("value", straight);

    // Settings this program has no use for are passed over, however nested.
    const CurveFileRead green = read_curve_text(head + "(trc non-linear)\n(clip (a (b \"c)\\\")\" ((d)))))\n" +
                                                value + rest);
    ASSERT_TRUE(green.curve) << green.error;
    EXPECT_EQ(green.curve->mode, DrawMode::green);
    for (int k = 0; k < curve_points; ++k) EXPECT_EQ(green.curve->levels[k], k == 32 ? 128 : 4 * k) << k;
    EXPECT_EQ(green.notice, "");

    // Three samples: the nearest of input levels 0, 127.5 and 255.
    const CurveFileRead few = read_curve_text(head + "(linear no)\n" + settings_channel("value", {0, 0.2, 1}));
    ASSERT_TRUE(few.curve) << few.error;
    EXPECT_EQ(few.curve->mode, DrawMode::all);
    const CurveLevels& levels = few.curve->levels;
    EXPECT_EQ(std::vector<int>({levels[7], levels[8], levels[23], levels[24]}), std::vector<int>({0, 51, 51, 255}));

    const std::string linear = "the curves work on linear light, which this program does not use";
    const std::string samples_line = "    (samples 256 0.000000";  // line 12, the value curve's samples
    const auto broken = [&](std::string_view from, std::string_view to) {
        std::string text = head + "(trc perceptual)\n" + value + rest;
        return text.replace(text.find(from), from.size(), to);
    };
    for (const auto& [text, error] : std::vector<std::pair<std::string, std::string>>{
             {head + "(linear yes)\n" + value, "line 4: " + linear},
             {head + "(trc\n linear)\n" + value, "line 5: " + linear},
             {broken(samples_line, "    (samples 256 1.5"), "line 12: \"1.5\" is not a sample from 0 to 1"},
             {broken(samples_line, "    (samples 256 nan"), "line 12: \"nan\" is not a sample from 0 to 1"},
             {broken(samples_line, "    (samples 256 1e999"), "line 12: \"1e999\" is not a sample from 0 to 1"},
             {broken(samples_line, "    (samples 255 0"), "line 12: 256 samples, where the file says 255"},
             {broken(samples_line, "    (samples 256 0 0"), "line 12: 257 samples, where the file says 256"},
             {broken("(n-samples 256)", "(n-samples 300)"), "line 12: 256 samples, where the curve has 300"},
             {broken("(channel red)", "(channel luminance)"),
              "line 13: the channel must be value, red, green, blue or alpha, not \"luminance\""},
             {broken("(channel red)", "(channel red"), "line 14: \"(\" does not belong here"},
             {broken("(time 0)", "(time 0"), "line 3: a parenthesis opened here is not closed"},
             {broken("(time 0)", "(time 0))"), "line 3: a closing parenthesis has nothing to close"},
             {broken("(time 0)", "time"), "line 3: \"time\" stands outside any setting"},
             {broken("(time 0)", "(time \"0)"), "line 3: a quoted text is not closed"},
             {broken("(points 4 0 0 1 1)", "(points 4 0 0 1 2)"),
              "line 9: \"2\" is not a point coordinate from -1 to 1"},
             {head + "(channel red)\n(curve (curve-type free))\n", "line 5: the curve has no samples"},
         })
        expect_refused(text, error);
}

}  // namespace
}  // namespace korven
