#include <gtest/gtest.h>

#include "platform/toolkit/Caption.h"

namespace vcl {
namespace {

TEST(Caption, AmpersandRuleGivesShownTextAcceleratorAndItsPlace) {
    struct Case {
        std::u16string caption;
        std::u16string shown;
        char32_t accel;
        int index;
    };
    const Case cases[] = {
        {u"&OK", u"OK", U'O', 0},
        {u"Save &As", u"Save As", U'A', 5},
        {u"Fish && &Chips", u"Fish & Chips", U'C', 7},
        {u"R&&D", u"R&D", 0, -1},
        {u"Trailing&", u"Trailing", 0, -1},
        {u"打开串口(&O)", u"打开串口(O)", U'O', 5},
        {u"&通讯", u"通讯", U'通', 0},
        {u"", u"", 0, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.caption.begin(), c.caption.end()));
        EXPECT_EQ(StripAccelChars(c.caption), c.shown);
        EXPECT_EQ(AcceleratorOf(c.caption), c.accel);
        EXPECT_EQ(AcceleratorIndex(c.caption), c.index);
    }
}

TEST(Caption, KeysMatchTheAcceleratorIgnoringCase) {
    EXPECT_TRUE(IsAccel(U'o', "打开串口(&O)"));
    EXPECT_TRUE(IsAccel(U'O', "&ok"));
    EXPECT_TRUE(IsAccel(U'ж', u"&Жук"));
    EXPECT_FALSE(IsAccel(U'k', "&ok"));
    EXPECT_FALSE(IsAccel(U'&', "R&&D"));
    EXPECT_FALSE(IsAccel(0, "Plain"));
    EXPECT_EQ(WideCaption("通讯端口"), u"通讯端口");
    EXPECT_EQ(StripAccelChars(std::string_view("&Yes && no")), "Yes & no");
}

}  // namespace
}  // namespace vcl
