// Which scale the desktop's announcements lead to, in their order of precedence.

#include <gtest/gtest.h>

#include "platform/backend/sdl/DesktopScale.h"

namespace vcl {
namespace {

struct ScaleCase {
    const char* name;
    TScaleSources sources;
    TDisplayScale expected;
};

class DesktopScale : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(DesktopScale, FollowsTheFirstSourceThatSaysSomething) {
    EXPECT_EQ(ChooseScale(GetParam().sources), GetParam().expected);
}

const char* const kHighDpi = "Xft.antialias:\t1\nXft.dpi:\t192\nXft.hinting:\t1\n";

INSTANTIATE_TEST_SUITE_P(
    Sources, DesktopScale,
    ::testing::Values(
        ScaleCase{"NothingSaid", {}, {1, 1}},
        ScaleCase{"XftDpi96", {.XResources = "Xft.dpi:\t96\n"}, {1, 1}},
        ScaleCase{"XftDpiJustBelowTwo", {.XResources = "Xft.dpi: 143.9"}, {1, 1}},
        ScaleCase{"XftDpi144", {.XResources = "Xcursor.size: 48\nXft.dpi:\t144\n"}, {2, 2}},
        ScaleCase{"XftDpi192AmongOthers", {.XResources = kHighDpi}, {2, 2}},
        ScaleCase{"XftDpi240", {.XResources = "Xft.dpi:240"}, {3, 3}},
        ScaleCase{"XftDpiUnreadable", {.XResources = "Xft.dpi:\thigh\n"}, {1, 1}},
        ScaleCase{"SomeOtherDpi", {.XResources = "Emacs.Xft.dpi:\t192\n"}, {1, 1}},
        ScaleCase{"GdkScaleOverXft", {.GdkScale = "1", .XResources = kHighDpi}, {1, 1}},
        ScaleCase{"GdkScale2", {.GdkScale = "2"}, {2, 2}},
        ScaleCase{"GdkScaleNotANumber", {.GdkScale = "2x", .XResources = kHighDpi}, {2, 2}},
        ScaleCase{"OwnScaleOverEverything", {.VelmoScale = "1", .GdkScale = "2", .XResources = kHighDpi}, {1, 1}},
        ScaleCase{"OwnScale3", {.VelmoScale = "3"}, {3, 3}},
        ScaleCase{"OwnScaleZeroIgnored", {.VelmoScale = "0", .GdkScale = "2"}, {2, 2}},
        // A scaled Wayland output: window units are points, the drawable holds two pixels a point.
        ScaleCase{"WaylandOutput2", {.DrawableRatio = 2, .GdkScale = "1"}, {1, 2}},
        ScaleCase{"WaylandOwnScaleIsAMultipleOfTheOutput", {.VelmoScale = "3", .DrawableRatio = 2}, {1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vcl
