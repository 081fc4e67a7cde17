#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/draw/ColorNames.h"

namespace vcl {
namespace {

TEST(ColorNames, TheTableStartsWithTheSixteenBasicColoursAndNamesAreUnique) {
    const auto& colors = StandardColors();
    ASSERT_GE(colors.size(), 16u);
    EXPECT_STREQ(colors[0].name, "clBlack");
    EXPECT_STREQ(colors[15].name, "clWhite");
    EXPECT_EQ(colors[9].value, clRed);
    std::set<std::string> names;
    for (const NamedColor& c : colors) EXPECT_TRUE(names.insert(c.name).second) << c.name;
}

TEST(ColorNames, NamesAndNumbersConvertBothWays) {
    EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
    EXPECT_EQ(ColorToString(static_cast<TColor>(RGB(1, 2, 3))), "$00030201");
    EXPECT_EQ(StringToColor("CLBTNFACE"), clBtnFace);
    EXPECT_EQ(StringToColor("$000000FF"), clRed);
    EXPECT_EQ(StringToColor("255"), clRed);
    EXPECT_EQ(StringToColor("clNoSuchColour"), std::nullopt);
    EXPECT_EQ(StringToColor("$"), std::nullopt);
    EXPECT_EQ(StringToColor("12x"), std::nullopt);
    for (const NamedColor& c : StandardColors()) EXPECT_EQ(StringToColor(ColorToString(c.value)), c.value);
}

}  // namespace
}  // namespace vcl
