#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "platform/draw/FontCache.h"
#include "platform/draw/TextLayout.h"
#include "tests/platform/draw/DrawTestSupport.h"

namespace vcl {
namespace {

using test::kWhite;
using test::TestCanvas;

// Advances of a made-up font: 5 pixels a character, 2 for a space, 10 for an ideograph.
int FakeAdvance(char32_t c) {
    if (c == U' ') return 2;
    return IsIdeographic(c) ? 10 : 5;
}

std::vector<std::u32string> Lines(std::u32string_view text, unsigned format, int width, int tabStop = 40) {
    std::vector<std::u32string> out;
    for (const TextLine& line : LayoutText(text, format, width, FakeAdvance, tabStop)) out.push_back(line.text);
    return out;
}

TEST(TextLayout, WordBreaking) {
    struct Case {
        std::u32string text;
        int width;
        std::vector<std::u32string> lines;
    };
    const Case cases[] = {
        // "aaa bbb" is 5 * 6 + 2 = 32 wide.
        {U"aaa bbb ccc", 32, {U"aaa bbb", U"ccc"}},
        {U"aaa bbb ccc", 31, {U"aaa", U"bbb", U"ccc"}},
        // A word wider than the rectangle stays whole.
        {U"abcdefgh ij", 20, {U"abcdefgh", U"ij"}},
        // Blanks at a break disappear.
        {U"aa    bb", 12, {U"aa", U"bb"}},
        // Ideographs break without spaces.
        {U"通讯调试程式", 35, {U"通讯调", U"试程式"}},
        {U"Modbus 通讯", 41, {U"Modbus", U"通讯"}},
        {U"Modbus 通讯", 42, {U"Modbus 通", U"讯"}},
        // Line breaks always break, in all three spellings.
        {U"a\r\nb\nc\rd", 100, {U"a", U"b", U"c", U"d"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Lines(c.text, DT_WORDBREAK, c.width), c.lines) << c.width;
}

TEST(TextLayout, SingleLineIgnoresBreaks) {
    EXPECT_EQ(Lines(U"aaa bbb\nccc", DT_SINGLELINE | DT_WORDBREAK, 10).size(), 1u);
    EXPECT_EQ(Lines(U"aaa bbb ccc", 0, 10).size(), 1u);
}

TEST(TextLayout, PrefixCharacters) {
    const auto laid = LayoutText(U"&Open && &close&", 0, 1000, FakeAdvance, 40);
    ASSERT_EQ(laid.size(), 1u);
    EXPECT_EQ(laid[0].text, U"Open & close");
    std::vector<size_t> underlined;
    for (size_t i = 0; i < laid[0].underline.size(); ++i)
        if (laid[0].underline[i]) underlined.push_back(i);
    EXPECT_EQ(underlined, (std::vector<size_t>{0, 7}));
    const auto plain = LayoutText(U"&Open && &close&", DT_NOPREFIX, 1000, FakeAdvance, 40);
    EXPECT_EQ(plain[0].text, U"&Open && &close&");
    EXPECT_EQ(LayoutText(U"&", 0, 1000, FakeAdvance, 40)[0].width, 0);
    const auto hidden = LayoutText(U"&Open", DT_HIDEPREFIX, 1000, FakeAdvance, 40);
    EXPECT_EQ(hidden[0].text, U"Open");
    EXPECT_FALSE(hidden[0].underline[0]);
}

TEST(TextLayout, TabsExpandToStops) {
    const auto laid = LayoutText(U"ab\tc\td", DT_EXPANDTABS, 1000, FakeAdvance, 40);
    EXPECT_EQ(laid[0].x, (std::vector<int>{0, 5, 10, 40, 45, 80}));
    EXPECT_EQ(laid[0].width, 85);
}

TEST(TextLayout, EndEllipsisKeepsTheLongestFittingStart) {
    // "abc..." is 30 wide; "abcd..." would be 35.
    EXPECT_EQ(Lines(U"abcdefgh", DT_END_ELLIPSIS, 34), (std::vector<std::u32string>{U"abc..."}));
    EXPECT_EQ(Lines(U"abcdefgh", DT_END_ELLIPSIS, 40), (std::vector<std::u32string>{U"abcdefgh"}));
    EXPECT_EQ(Lines(U"abcdefgh", DT_END_ELLIPSIS, 3), (std::vector<std::u32string>{U"..."}));
    EXPECT_TRUE(LayoutText(U"", 0, 10, FakeAdvance, 40).empty());
}

// The real default font, drawn into pixels.
class DefaultFont : public ::testing::Test {
protected:
    TestCanvas canvas{200, 60};
    void SetUp() override { SetBkMode(canvas.Dc(), TRANSPARENT); }
    int Advance(char16_t c) {
        int width = 0;
        GetCharWidth32W(canvas.Dc(), c, c, &width);
        return width;
    }
    // Bounding box of the pixels that are not white.
    TRect Inked() const {
        TRect box;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                if (canvas.At(x, y) != kWhite) box = UnionRect(box, TRect{x, y, x + 1, y + 1});
        return box;
    }
};

TEST_F(DefaultFont, ResolvesToTheClassicBitmapFaceAtItsThirteenPixelStrike) {
    const auto font = SelectedFont(canvas.Dc());
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(font->FamilyName(), "MS Sans Serif");
    EXPECT_EQ(font->PixelSize(), 11);
    EXPECT_EQ(font->StrikeHeight(), 13);
    // The classic 8-point line box, from the strike.
    TEXTMETRIC metrics;
    ASSERT_TRUE(GetTextMetrics(canvas.Dc(), &metrics));
    EXPECT_EQ(metrics.tmAscent, 11);
    EXPECT_EQ(metrics.tmDescent, 2);
    EXPECT_EQ(metrics.tmHeight, 13);
    EXPECT_EQ(metrics.tmInternalLeading, 2);
}

TEST_F(DefaultFont, CalcRectOfOneLineIsTheLineHeightAndTheAdvanceSum) {
    const std::u16string text = u"Modbus RTU";
    int sum = 0;
    for (char16_t c : text) sum += Advance(c);
    TRect r{10, 5, 200, 60};
    const int height = DrawTextW(canvas.Dc(), text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(height, 13);
    EXPECT_EQ(r, (TRect{10, 5, 10 + sum, 18}));
    TSize extent;
    GetTextExtentPoint32W(canvas.Dc(), text.c_str(), -1, &extent);
    EXPECT_EQ(extent, (TSize{sum, 13}));
    GetTextExtentPoint32A(canvas.Dc(), "Modbus RTU", -1, &extent);
    EXPECT_EQ(extent.cx, sum);
    EXPECT_EQ(canvas.Count(kWhite), 200 * 60);  // measuring draws nothing
}

TEST_F(DefaultFont, WordBreakWrapsInsideTheWidth) {
    const std::u16string text = u"Open the port before sending a request";
    TRect r{0, 0, 80, 0};
    const int height = DrawTextW(canvas.Dc(), text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_GT(height, 13);
    EXPECT_EQ(height % 13, 0);
    EXPECT_LE(r.Right, 80);
    TRect draw{0, 0, 80, 60};
    DrawTextW(canvas.Dc(), text.c_str(), -1, &draw, DT_WORDBREAK);
    EXPECT_LE(Inked().Right, 80);
    EXPECT_GT(Inked().Bottom, 26);
}

TEST_F(DefaultFont, AmpersandsAndAccelerators) {
    TRect a{0, 0, 200, 0}, b{0, 0, 200, 0}, c{0, 0, 200, 0};
    DrawTextW(canvas.Dc(), u"A&&B", -1, &a, DT_CALCRECT);
    DrawTextW(canvas.Dc(), u"A&B", -1, &b, DT_CALCRECT | DT_NOPREFIX);
    DrawTextW(canvas.Dc(), u"A&B", -1, &c, DT_CALCRECT);
    EXPECT_EQ(a.Right, b.Right);
    EXPECT_EQ(c.Right, Advance(u'A') + Advance(u'B'));
    // "&x" underlines x: ink appears below the baseline under B only.
    TRect r{0, 0, 200, 30};
    DrawTextW(canvas.Dc(), u"A&x", -1, &r, 0);
    const int belowBaseline = 11 + 1;
    int underlined = 0;
    for (int x = 0; x < 200; ++x) underlined += canvas.At(x, belowBaseline) != kWhite;
    EXPECT_EQ(underlined, Advance(u'x'));
    for (int x = 0; x < Advance(u'A'); ++x) EXPECT_EQ(canvas.At(x, belowBaseline), kWhite);
}

TEST_F(DefaultFont, ChineseCaptionDrawsThroughTheCjkFallback) {
    // The classic face itself has no such glyph.
    FT_Library library;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    FT_Face face;
    ASSERT_EQ(FT_New_Face(library, "/usr/share/wine/fonts/ms_sans_serif.ttf", 0, &face), 0);
    EXPECT_EQ(FT_Get_Char_Index(face, U'通'), 0u);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    EXPECT_EQ(SelectedFont(canvas.Dc())->FallbackFamilyName(), "WenQuanYi Zen Hei Sharp");

    TRect r{0, 0, 200, 30};
    DrawTextW(canvas.Dc(), u"通讯调试", -1, &r, DT_SINGLELINE);
    const TRect box = Inked();
    EXPECT_GT(canvas.Width() * canvas.Height() - canvas.Count(kWhite), 60);
    EXPECT_GE(box.Width(), 4 * 8);
    EXPECT_LE(box.Bottom, 13);
    EXPECT_GE(Advance(u'通'), 10);
}

TEST_F(DefaultFont, TextTakesTheTextColourAndStaysInsideItsRectangle) {
    SetTextColor(canvas.Dc(), RGB(255, 0, 0));
    TRect r{20, 10, 40, 23};
    DrawTextW(canvas.Dc(), u"WWWWWWWW", -1, &r, DT_SINGLELINE);
    EXPECT_EQ(Inked(), IntersectRect(Inked(), r));
    // Text pixels are the text colour blended over white: full red, equal green and blue.
    int inked = 0;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const uint32_t p = canvas.At(x, y);
            if (p == kWhite) continue;
            ++inked;
            EXPECT_EQ(p >> 16, 0xFFFFu);
            EXPECT_EQ((p >> 8) & 0xFF, p & 0xFF);
        }
    }
    EXPECT_GT(inked, 20);
    canvas.Clear(kWhite);
    DrawTextW(canvas.Dc(), u"WWWWWWWW", -1, &r, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(Inked().Right, 40);
}

TEST_F(DefaultFont, VerticalCentringAndRightAlignment) {
    TRect r{0, 0, 100, 33};
    const int result = DrawTextW(canvas.Dc(), u"H", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    // The line starts (33 - 13) / 2 = 10 down; the result reaches its bottom.
    EXPECT_EQ(result, 23);
    const TRect box = Inked();
    EXPECT_GE(box.Top, 10);
    EXPECT_LE(box.Bottom, 23);
    EXPECT_LE(box.Right, 100);
    EXPECT_GE(box.Left, 100 - Advance(u'H'));
    TRect empty{0, 0, 100, 33};
    EXPECT_EQ(DrawTextW(canvas.Dc(), u"", -1, &empty, DT_CALCRECT), 0);
    EXPECT_EQ(empty, (TRect{0, 0, 0, 0}));
}

TEST_F(DefaultFont, OpaqueBackgroundFillsTheTextCell) {
    SetBkMode(canvas.Dc(), OPAQUE);
    SetBkColor(canvas.Dc(), RGB(0, 0, 255));
    TextOutW(canvas.Dc(), 5, 5, u"ab", 2);
    const int width = Advance(u'a') + Advance(u'b');
    EXPECT_EQ(canvas.At(5, 5), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(5 + width - 1, 5 + 12), 0xFF0000FFu);
    EXPECT_EQ(canvas.At(5 + width, 5), kWhite);
    EXPECT_EQ(canvas.At(5, 18), kWhite);
}

TEST(Fonts, ClassicNamesMapToMetricCompatibleFaces) {
    EXPECT_EQ(FontFamilyCandidates("MS Sans Serif"),
              (std::vector<std::string>{"MS Sans Serif", "Liberation Sans", "DejaVu Sans"}));
    EXPECT_EQ(FontFamilyCandidates("Arial").front(), "Liberation Sans");
    EXPECT_EQ(FontFamilyCandidates("Courier New").front(), "Liberation Mono");
    EXPECT_EQ(FontFamilyCandidates("宋体").front(), "WenQuanYi Micro Hei");
    EXPECT_EQ(FontFamilyCandidates("DejaVu Serif").front(), "DejaVu Serif");
    LOGFONT bold;
    bold.lfHeight = -11;
    bold.lfWeight = FW_BOLD;
    bold.lfFaceName = "MS Sans Serif";
    LOGFONT regular = bold;
    regular.lfWeight = FW_NORMAL;
    EXPECT_GE(ResolveFont(bold)->Advance(U'W'), ResolveFont(regular)->Advance(U'W'));
    EXPECT_EQ(ResolveFont(regular), ResolveFont(regular));
    const auto families = EnumerateFontFamilies();
    EXPECT_TRUE(std::any_of(families.begin(), families.end(),
                            [](const FontFamilyInfo& f) { return f.name == "Liberation Mono" && f.fixedPitch; }));
}

}  // namespace
}  // namespace vcl
