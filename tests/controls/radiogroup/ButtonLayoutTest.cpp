#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/radiogroup/ButtonLayout.h"

namespace se {
namespace {

using vcl::Bounds;
using vcl::TRect;

struct Case {
    std::string name;
    int count, columns, width, height, line;
    std::vector<TRect> expected;
};

class RadioButtonLayout : public ::testing::TestWithParam<Case> {};

TEST_P(RadioButtonLayout, FillsColumnsTopToBottom) {
    const Case& c = GetParam();
    EXPECT_EQ(RadioGroupButtonRects(c.count, c.columns, c.width, c.height, c.line), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RadioButtonLayout,
    ::testing::Values(
        // The main window's language chooser.
        Case{"LanguageChooser", 2, 1, 105, 97, 13, {Bounds(8, 14, 95, 39), Bounds(8, 53, 95, 39)}},
        Case{"ThreeInTwoColumns", 3, 2, 200, 100, 13,
             {Bounds(8, 14, 95, 41), Bounds(8, 55, 95, 41), Bounds(103, 14, 95, 41)}},
        // The remainder of the free height is split above the first row.
        Case{"RemainderCentresTheRows", 3, 1, 100, 101, 13,
             {Bounds(8, 15, 90, 27), Bounds(8, 42, 90, 27), Bounds(8, 69, 90, 27)}},
        Case{"NoButtons", 0, 1, 100, 100, 13, {}}),
    [](const auto& info) { return info.param.name; });

TEST(RadioButtonLayoutMirrored, RightToLeftMirrorsColumnsInTheClientWidth) {
    const auto rects = RadioGroupButtonRects(2, 2, 200, 100, 13, true, 200);
    EXPECT_EQ(rects[0].Left, 200 - 8 - 95);
    EXPECT_EQ(rects[1].Left, 200 - 103 - 95);
}

}  // namespace
}  // namespace se
