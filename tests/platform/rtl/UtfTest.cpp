#include <gtest/gtest.h>

#include "platform/rtl/Utf.h"

namespace rtl {
namespace {

TEST(Utf, RoundTripsEveryScriptTheWindowShows) {
    const std::string texts[] = {"", "COM1", "通讯端口设置", "串     口：", "115.2Kbps    ", "a😀b"};
    for (const auto& text : texts) EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf8ToUtf16("通讯"), u"通讯");
    EXPECT_EQ(Utf8ToUtf16("😀").size(), 2u) << "a surrogate pair";
}

TEST(Utf, MalformedInputBecomesReplacementCharacters) {
    struct Case {
        std::string bytes;
        std::u16string wide;
    };
    const Case cases[] = {
        {"\xFF", u"\uFFFD"},
        {"a\xE4\xB8", u"a\uFFFD"},          // truncated sequence
        {"\xC0\x80", u"\uFFFD"},            // overlong form of NUL
        {"\xED\xA0\x80", u"\uFFFD"},        // encoded surrogate
        {"\x80z", u"\uFFFDz"},
    };
    for (const auto& c : cases) EXPECT_EQ(Utf8ToUtf16(c.bytes), c.wide);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xDC00)) + u"x"), "\xEF\xBF\xBDx");
}

TEST(Utf, ShortenedCutsAtWholeCharactersAndMarksTheCut) {
    EXPECT_EQ(Shortened("", 3), "");
    EXPECT_EQ(Shortened("abc", 3), "abc");
    EXPECT_EQ(Shortened("abcd", 3), "abc…");
    EXPECT_EQ(Shortened("通讯端口", 3), "通讯端…") << "three characters, not three bytes";
    EXPECT_EQ(Shortened("a😀bc", 2), "a😀…");
}

}  // namespace
}  // namespace rtl
