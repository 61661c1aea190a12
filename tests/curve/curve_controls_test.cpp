// The tone curve's sliders, fields and preset buttons, used as a person would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/driver.h"

namespace korven::test {
namespace {

std::string slider_of(int point) { return "VSCROLL" + std::to_string(point + 2); }
std::string field_of(int point) { return "EDIT" + std::to_string(point + 10); }

// What the 33 sliders and fields show, point by point.
struct CurveView {
    std::vector<int> positions;
    std::vector<std::string> texts;
};

CurveView curve_view()
{
    CurveView view;
    for (int k = 0; k < curve_points; ++k) {
        view.positions.push_back(slider(slider_of(k)));
        view.texts.push_back(text(field_of(k)));
    }
    return view;
}

// Point k shows `value` in its field and stands at 255 - value.
void expect_point(int k, int value)
{
    EXPECT_EQ(text(field_of(k)), std::to_string(value)) << "point " << k;
    EXPECT_EQ(slider(slider_of(k)), 255 - value) << "point " << k;
}

void expect_start_up_curve()
{
    for (int k = 0; k < curve_points; ++k) expect_point(k, k == 32 ? 255 : 8 * k);
}

void set_limits(std::string_view a, std::string_view lo, std::string_view b, std::string_view hi)
{
    retype("EDIT45", a);
    retype("EDIT3", lo);
    retype("EDIT46", b);
    retype("EDIT9", hi);
}

using CurvePoints = ProgramTest;

TEST_F(CurvePoints, DraggingASliderShowsItsValueInItsField)
{
    move_slider("VSCROLL7", 0);
    EXPECT_EQ(text("EDIT15"), "255");
    move_slider("VSCROLL7", 255);
    EXPECT_EQ(text("EDIT15"), "0");
    move_slider("VSCROLL7", 1);
    EXPECT_EQ(text("EDIT15"), "254");
    EXPECT_EQ(slider("VSCROLL7"), 1);

    // The first and the last point are wired to their own fields too.
    move_slider("VSCROLL2", 100);
    expect_point(0, 155);
    move_slider("VSCROLL34", 200);
    expect_point(32, 55);
}

TEST_F(CurvePoints, TypingIntoAFieldMovesItsSlider)
{
    retype("EDIT15", "300");
    EXPECT_EQ(slider("VSCROLL7"), 0);
    EXPECT_EQ(text("EDIT15"), "300");

    retype("EDIT15", "17");
    expect_point(5, 17);

    clear("EDIT15");
    EXPECT_EQ(slider("VSCROLL7"), 255);
    EXPECT_EQ(text("EDIT15"), "");

    retype("EDIT42", "999");
    EXPECT_EQ(slider("VSCROLL34"), 0);
    retype("EDIT10", "1");
    expect_point(0, 1);
}

TEST_F(CurvePoints, ChangingOnePointLeavesTheOthers)
{
    CurveView before = curve_view();
    move_slider("VSCROLL7", 30);
    retype("EDIT15", "60");
    CurveView after = curve_view();
    EXPECT_EQ(after.positions[5], 195);
    EXPECT_EQ(after.texts[5], "60");
    before.positions[5] = after.positions[5];
    before.texts[5] = after.texts[5];
    EXPECT_EQ(after.positions, before.positions);
    EXPECT_EQ(after.texts, before.texts);
}

using CurvePresets = ProgramTest;

TEST_F(CurvePresets, LayoutValuesGiveTheDocumentedCurves)
{
    move_slider("VSCROLL7", 0);
    retype("EDIT20", "3");
    click("BUTTON3");  // "Linear"
    expect_start_up_curve();

    click("BUTTON4");  // "log"
    expect_point(0, 0);
    expect_point(1, 17);
    expect_point(16, 169);
    expect_point(31, 252);
    expect_point(32, 255);

    click("BUTTON5");  // "exp"
    expect_point(0, 0);
    expect_point(1, 3);
    expect_point(16, 69);
    expect_point(31, 238);
    expect_point(32, 255);

    retype("EDIT2", "0");
    click("BUTTON4");
    expect_start_up_curve();
    click("BUTTON5");
    expect_start_up_curve();
}

TEST_F(CurvePresets, OnlyPointsBetweenTheLimitsChange)
{
    move_slider("VSCROLL2", 100);  // point 0 at 155
    retype("EDIT30", "300");       // point 20 typed beyond the range
    set_limits("20", "0", "100", "0");
    const CurveView before = curve_view();
    click("BUTTON3");
    const CurveView after = curve_view();
    for (int k = 0; k < curve_points; ++k) {
        if (k >= 3 && k <= 12) {
            expect_point(k, 0);
        } else {
            EXPECT_EQ(after.positions[k], before.positions[k]) << k;
            EXPECT_EQ(after.texts[k], before.texts[k]) << k;
        }
    }
}

TEST_F(CurvePresets, RefusedLimitsChangeNothing)
{
    retype("EDIT15", "300");
    const CurveView before = curve_view();
    const std::vector<std::vector<std::string>> refused = {
        {"100", "0", "100", "256"},  // a = b
        {"0", "-1", "256", "-1"},    // both outputs below 0
    };
    for (const auto& limits : refused) {
        set_limits(limits[0], limits[1], limits[2], limits[3]);
        for (const char* button : {"BUTTON3", "BUTTON4", "BUTTON5"}) {
            click(button);
            const CurveView after = curve_view();
            const std::string where = limits[0] + " " + limits[2] + " " + limits[1] + " " + button;
            EXPECT_EQ(after.positions, before.positions) << where;
            EXPECT_EQ(after.texts, before.texts) << where;
        }
    }
}

TEST_F(CurvePresets, LettersOrEmptyFieldsReadAsZero)
{
    retype("EDIT46", "abc");  // b = 0, not above a
    click("BUTTON3");
    expect_start_up_curve();

    retype("EDIT46", "256");
    retype("EDIT3", "x");
    clear("EDIT9");  // lo = hi = 0: a flat curve at 0
    click("BUTTON3");
    for (int k = 0; k < curve_points; ++k) expect_point(k, 0);

    set_limits("0", "0", "256", "256");
    retype("EDIT2", "zz");  // factor 0: the straight line
    click("BUTTON5");
    expect_start_up_curve();
    clear("EDIT2");
    click("BUTTON4");
    expect_start_up_curve();
}

TEST_F(CurvePresets, HugeFactorsGiveValidCurves)
{
    for (const char* factor : {"999999", "-99999", "1e9", "9e99"}) {
        retype("EDIT2", factor);
        click("BUTTON5");  // "exp": flat at lo, up to hi at b
        for (int k = 0; k < 32; ++k) expect_point(k, 0);
        expect_point(32, 255);
    }
}

}  // namespace
}  // namespace korven::test
