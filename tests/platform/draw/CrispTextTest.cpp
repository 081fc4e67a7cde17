#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "platform/draw/FontCache.h"
#include "tests/platform/draw/DrawTestSupport.h"

namespace vcl {
namespace {

using test::kBlack;
using test::kWhite;
using test::TestCanvas;

using PixelSet = std::set<std::pair<int, int>>;

uint32_t SystemPixel(int index) { return RgbToPixel(GetSysColor(index)); }

LOGFONT Described(int height, const std::string& face = "MS Sans Serif", int weight = FW_NORMAL) {
    LOGFONT font;
    font.lfHeight = height;
    font.lfWeight = weight;
    font.lfFaceName = face;
    return font;
}

// A font made for one DC and let go with it.
class FontSelection {
public:
    FontSelection(HDC dc, const LOGFONT& font) : dc_(dc), font_(CreateFontIndirect(&font)) {
        previous_ = SelectObject(dc_, font_);
    }
    ~FontSelection() {
        SelectObject(dc_, previous_);
        DeleteObject(font_);
    }
    FontSelection(const FontSelection&) = delete;
    FontSelection& operator=(const FontSelection&) = delete;

private:
    HDC dc_;
    HFONT font_;
    HFONT previous_ = nullptr;
};

// The main window's captions, Latin and Chinese.
const char16_t* const kCaptions[] = {u"Velmo Modbus-RTU", u"打开串口", u"通讯端口", u"波特率", u"Open Port",
                                     u"数据位 8 停止位 1", u"（校验）：無"};

TEST(ClassicFont, StrikesAndLineBoxes) {
    struct Case {
        int height;
        const char* family;
        int strike;  // 0: outlines
        int ascent, descent, internalLeading;
        int chineseStrike;
    };
    const Case cases[] = {
        {-11, "MS Sans Serif", 13, 11, 2, 2, 12},
        {0, "MS Sans Serif", 13, 11, 2, 2, 12},
        {13, "MS Sans Serif", 13, 11, 2, 2, 12},  // a positive height is the cell
        {-13, "MS Sans Serif", 16, 13, 3, 3, 0},
        {16, "MS Sans Serif", 16, 13, 3, 3, 0},
        {-16, "MS Sans Serif", 20, 16, 4, 4, 0},
        // Beyond the largest strike the stand-in keeps the classic proportions.
        {-24, "Liberation Sans", 0, 24, 6, 6, 0},
    };
    for (const Case& c : cases) {
        const auto font = ResolveFont(Described(c.height));
        const TEXTMETRIC& metrics = font->Metrics();
        SCOPED_TRACE(c.height);
        EXPECT_EQ(font->FamilyName(), c.family);
        EXPECT_EQ(font->StrikeHeight(), c.strike);
        EXPECT_EQ(metrics.tmAscent, c.ascent);
        EXPECT_EQ(metrics.tmDescent, c.descent);
        EXPECT_EQ(metrics.tmHeight, c.ascent + c.descent);
        EXPECT_EQ(metrics.tmInternalLeading, c.internalLeading);
        EXPECT_EQ(font->PixelSize(), c.ascent + c.descent - c.internalLeading);
        EXPECT_EQ(font->FallbackFamilyName(), "WenQuanYi Zen Hei Sharp");
        EXPECT_EQ(font->FallbackStrikeHeight(), c.chineseStrike);
        // Both faces come in whole pixels, strikes and outlines alike.
        EXPECT_TRUE(font->GlyphFor(U'W').bilevel);
        EXPECT_EQ(font->GlyphFor(U'通').bilevel, c.chineseStrike != 0);
    }
    EXPECT_EQ(ResolveFont(Described(-11))->Metrics().tmAveCharWidth, ResolveFont(Described(-11))->Advance(U'x'));
}

TEST(ClassicFont, StrikeBitsBecomeWholeCoverage) {
    // An "H": two stems on every row and one bar across; garbled bit rows would not give this.
    const Glyph& glyph = ResolveFont(Described(-11))->GlyphFor(U'H');
    ASSERT_GT(glyph.height, 5);
    int bars = 0;
    for (int y = 0; y < glyph.height; ++y) {
        int inked = 0;
        for (int x = 0; x < glyph.width; ++x) {
            const uint8_t a = glyph.coverage[static_cast<size_t>(y * glyph.width + x)];
            EXPECT_TRUE(a == 0 || a == 255) << int(a);
            inked += a == 255;
        }
        if (inked == glyph.width) {
            ++bars;
        } else {
            EXPECT_EQ(inked, 2) << "row " << y;
        }
    }
    EXPECT_EQ(bars, 1);
    EXPECT_EQ(glyph.top, glyph.height);  // standing on the baseline
}

TEST(ClassicFont, BoldWidensTheStrikeByOnePixel) {
    const auto regular = ResolveFont(Described(-11));
    const auto bold = ResolveFont(Described(-11, "MS Sans Serif", FW_BOLD));
    EXPECT_EQ(bold->FamilyName(), "MS Sans Serif");
    EXPECT_EQ(bold->Advance(U'H'), regular->Advance(U'H') + 1);
    EXPECT_EQ(bold->Metrics().tmHeight, 13);
    EXPECT_TRUE(bold->GlyphFor(U'H').bilevel);
}

// Captions on the button face, as the main window shows them.
class Captions : public ::testing::Test {
protected:
    static constexpr unsigned kFormat = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP;
    static constexpr int kTop = 10;

    // Pixels of the canvas that are not the fill.
    static PixelSet Inked(const TestCanvas& canvas, uint32_t fill) {
        PixelSet inked;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                if (canvas.At(x, y) != fill) inked.insert({x, y});
        return inked;
    }
    static PixelSet Where(const TestCanvas& canvas, uint32_t value) {
        PixelSet found;
        for (int y = 0; y < canvas.Height(); ++y)
            for (int x = 0; x < canvas.Width(); ++x)
                if (canvas.At(x, y) == value) found.insert({x, y});
        return found;
    }
    static void Draw(TestCanvas& canvas, const LOGFONT& font, const char16_t* caption, bool disabled) {
        FontSelection selection(canvas.Dc(), font);
        SetBkMode(canvas.Dc(), TRANSPARENT);
        SetTextColor(canvas.Dc(), RGB(0, 0, 0));
        TRect r{4, kTop, canvas.Width(), kTop + 13};
        if (disabled) {
            DrawDisabledTextW(canvas.Dc(), caption, -1, &r, kFormat);
        } else {
            DrawTextW(canvas.Dc(), caption, -1, &r, kFormat);
        }
    }
};

TEST_F(Captions, GlyphsAreWholePixelsInsideTheThirteenPixelLine) {
    const uint32_t face = SystemPixel(COLOR_BTNFACE);
    for (const char16_t* caption : kCaptions) {
        SCOPED_TRACE(std::u16string(caption).size());
        TestCanvas canvas(160, 40, face);
        Draw(canvas, Described(-11), caption, false);
        const PixelSet inked = Inked(canvas, face);
        ASSERT_GT(inked.size(), 20u);
        EXPECT_EQ(Where(canvas, kBlack), inked) << "grey text pixels";
        for (const auto& [x, y] : inked) {
            EXPECT_GE(y, kTop);
            EXPECT_LT(y, kTop + 13);
        }
        TSize extent;
        FontSelection selection(canvas.Dc(), Described(-11));
        GetTextExtentPoint32W(canvas.Dc(), caption, -1, &extent);
        EXPECT_EQ(extent.cy, 13);
    }
}

TEST_F(Captions, LatinAndChineseShareTheBaseline) {
    const uint32_t face = SystemPixel(COLOR_BTNFACE);
    TestCanvas latin(60, 40, face), chinese(60, 40, face);
    Draw(latin, Described(-11), u"H", false);
    Draw(chinese, Described(-11), u"口", false);
    int latinBottom = 0, chineseBottom = 0, chineseTop = 40;
    for (const auto& [x, y] : Inked(latin, face)) latinBottom = std::max(latinBottom, y);
    for (const auto& [x, y] : Inked(chinese, face)) {
        chineseBottom = std::max(chineseBottom, y);
        chineseTop = std::min(chineseTop, y);
    }
    EXPECT_EQ(latinBottom, kTop + 11 - 1);  // the last row above the baseline
    EXPECT_GE(chineseBottom, latinBottom);
    EXPECT_LE(chineseBottom, latinBottom + 1);
    EXPECT_GE(chineseTop, kTop);
}

TEST_F(Captions, DisabledTextIsTheSameMasksInHighlightThenShadow) {
    struct Case {
        LOGFONT font;
        const char16_t* caption;
    };
    std::vector<Case> cases;
    for (const char16_t* caption : kCaptions) cases.push_back({Described(-11), caption});
    // Outlines in grey levels: thresholded for the disabled look only.
    cases.push_back({Described(-16, "Arial"), u"Open Port 打开串口"});
    cases.push_back({Described(-13), u"通讯端口 Open"});
    const uint32_t face = SystemPixel(COLOR_BTNFACE);
    const uint32_t highlight = SystemPixel(COLOR_BTNHIGHLIGHT);
    const uint32_t shadow = SystemPixel(COLOR_BTNSHADOW);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font.lfFaceName + " " + std::to_string(c.font.lfHeight));
        // The glyph masks: black text over white, where at least half covered.
        TestCanvas reference(200, 40, kWhite);
        Draw(reference, c.font, c.caption, false);
        PixelSet mask;
        for (const auto& [x, y] : Inked(reference, kWhite))
            if ((reference.At(x, y) & 0xFF) <= 127) mask.insert({x, y});
        PixelSet shifted;
        for (const auto& [x, y] : mask)
            if (!mask.count({x + 1, y + 1})) shifted.insert({x + 1, y + 1});

        TestCanvas disabled(200, 40, face);
        Draw(disabled, c.font, c.caption, true);
        EXPECT_EQ(Where(disabled, shadow), mask);
        EXPECT_EQ(Where(disabled, highlight), shifted);
        EXPECT_EQ(Inked(disabled, face).size(), mask.size() + shifted.size());
    }
    // The enabled outline text keeps its grey levels.
    TestCanvas enabled(200, 40, kWhite);
    Draw(enabled, Described(-16, "Arial"), u"Open Port", false);
    const auto inked = Inked(enabled, kWhite);
    EXPECT_GT(inked.size(), Where(enabled, kBlack).size());
}

TEST_F(Captions, SheetOfTheMainWindowCaptions) {
    const uint32_t face = SystemPixel(COLOR_BTNFACE);
    TestCanvas sheet(440, 172, face);
    int y = 4;
    auto row = [&](const LOGFONT& font, const char16_t* text, bool disabled, int x = 4) {
        FontSelection selection(sheet.Dc(), font);
        SetBkMode(sheet.Dc(), TRANSPARENT);
        SetTextColor(sheet.Dc(), RGB(0, 0, 0));
        TRect r{x, y, sheet.Width(), y + 40};
        if (disabled) {
            DrawDisabledTextW(sheet.Dc(), text, -1, &r, DT_SINGLELINE);
        } else {
            DrawTextW(sheet.Dc(), text, -1, &r, DT_SINGLELINE);
        }
    };
    for (const bool disabled : {false, true}) {
        row(Described(-11), u"Velmo Modbus-RTU  &Open Port  打开串口  通讯端口  波特率", disabled);
        y += 16;
        row(Described(-11), u"数据位: 8   停止位: 1   校验: 无   Send  发送  清空接收区", disabled);
        y += 16;
        row(Described(-11, "MS Sans Serif", FW_BOLD), u"Bold 粗体 Caption", disabled);
        LOGFONT italic = Described(-11);
        italic.lfItalic = 1;
        row(italic, u"Italic Caption 斜体", disabled, 160);
        y += 16;
    }
    for (const int height : {-13, -16}) {
        row(Described(height), u"Velmo Modbus-RTU 打开串口", false);
        row(Described(height), u"通讯端口", true, 300);
        y += height == -13 ? 19 : 23;
    }
    row(Described(-11, "Arial"), u"Arial (outline) Open Port 打开串口", false);
    y += 16;
    row(Described(-11, "Arial"), u"Arial (outline) Open Port 打开串口", true);
    const std::string path = test::SaveSheet(sheet, "crisp_text");
    EXPECT_FALSE(path.empty());
}

}  // namespace
}  // namespace vcl
