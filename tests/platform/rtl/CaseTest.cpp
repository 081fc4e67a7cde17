#include <gtest/gtest.h>

#include "platform/rtl/Case.h"

namespace rtl {
namespace {

TEST(WideCase, MapsEveryScriptWithCaseAndLeavesTheRestAlone) {
    struct Case {
        std::u16string lower;
        std::u16string upper;
    };
    const Case cases[] = {
        {u"com1 port", u"COM1 PORT"},
        {u"àéîõüçñ", u"ÀÉÎÕÜÇÑ"},            // Latin-1
        {u"ąčęłńśžő", u"ĄČĘŁŃŚŽŐ"},          // Latin Extended-A
        {u"αβγδω", u"ΑΒΓΔΩ"},                // Greek
        {u"привет ёж", u"ПРИВЕТ ЁЖ"},        // Cyrillic
        {u"ａｂｃ", u"ＡＢＣ"},                 // full-width Latin
        {u"通讯端口 123 !?", u"通讯端口 123 !?"},  // no case
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WideUpperCase(c.lower), c.upper);
        EXPECT_EQ(WideLowerCase(c.upper), c.lower);
    }
}

TEST(WideCase, KeepsSurrogatesAndLengthIntact) {
    const std::u16string pair = u"a😀b";
    EXPECT_EQ(WideUpperCase(pair), u"A😀B");
    const std::u16string lone = std::u16string(u"x") + char16_t(0xD800) + u"y";
    const std::u16string upper = WideUpperCase(lone);
    ASSERT_EQ(upper.size(), 3u);
    EXPECT_EQ(upper[1], char16_t(0xD800)) << "a lone surrogate passes through unchanged";
    // The German sharp s has no one-character upper case: it stays, so lengths never change.
    EXPECT_EQ(WideUpperCase(u"straße"), u"STRAßE");
}

TEST(WideCase, ComparesIgnoringCase) {
    EXPECT_TRUE(WideSameText(u"Ёлка", u"ёЛКА"));
    EXPECT_FALSE(WideSameText(u"Ёлка", u"Елка"));
    EXPECT_EQ(ToUpper(U'ÿ'), U'Ÿ');
    EXPECT_EQ(ToLower(U'İ'), U'i');
}

}  // namespace
}  // namespace rtl
