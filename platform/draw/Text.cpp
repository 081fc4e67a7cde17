#include "platform/draw/Text.h"

#include <algorithm>
#include <cstring>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/FontCache.h"
#include "platform/draw/TextLayout.h"
#include "platform/rtl/Utf.h"

namespace vcl {
namespace {

DeviceContext* Valid(HDC dc) { return IsDeviceContext(dc) ? dc : nullptr; }

std::u32string Decode(std::u16string_view text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) out.push_back(rtl::NextCodePoint(text, i));
    return out;
}

std::u32string Decode(std::string_view text) {
    std::u32string out;
    for (size_t i = 0; i < text.size();) out.push_back(rtl::NextCodePoint(text, i));
    return out;
}

std::u16string_view Wide(const char16_t* text, int count) {
    if (text == nullptr) return {};
    if (count >= 0) return {text, static_cast<size_t>(count)};
    return std::u16string_view(text);
}

std::string_view Narrow(const char* text, int count) {
    if (text == nullptr) return {};
    if (count >= 0) return {text, static_cast<size_t>(count)};
    return std::string_view(text);
}

const FontInstance& FontOf(DeviceContext& dc) {
    FontObject* font = dc.State().font;
    if (font->instance == nullptr) font->instance = ResolveFont(font->logFont);
    return *font->instance;
}

int Width(const FontInstance& font, const std::u32string& text) {
    int width = 0;
    for (char32_t c : text) width += font.Advance(c);
    return width;
}

// Draws characters along a baseline (device coordinates) from pen positions relative to x. With
// wholePixels, grey coverage is thresholded, so every pixel is either the colour or untouched.
void DrawRun(DeviceContext& dc, const FontInstance& font, int x, int baseline, const std::u32string& text,
             const std::vector<int>& positions, uint32_t pixel, bool wholePixels = false) {
    std::vector<uint8_t> thresholded;
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph& glyph = font.GlyphFor(text[i]);
        if (glyph.coverage.empty()) continue;
        const uint8_t* mask = glyph.coverage.data();
        if (wholePixels && !glyph.bilevel) {
            thresholded.resize(glyph.coverage.size());
            std::transform(glyph.coverage.begin(), glyph.coverage.end(), thresholded.begin(),
                           [](uint8_t a) { return static_cast<uint8_t>(a >= 128 ? 255 : 0); });
            mask = thresholded.data();
        }
        const int left = x + positions[i] + glyph.left;
        const int top = baseline - glyph.top;
        dc.BlendMask(TRect{left, top, left + glyph.width, top + glyph.height}, mask, glyph.width, pixel);
    }
}

void DrawLines(DeviceContext& dc, const FontInstance& font, int x, int baseline, int width, const Ink& ink) {
    const int thickness = font.LineThickness();
    if (font.Underline()) {
        const int y = baseline + font.UnderlineOffset();
        dc.Fill(TRect{x, y, x + width, y + thickness}, ink);
    }
    if (font.StrikeOut()) {
        const int y = baseline - font.StrikeOutOffset();
        dc.Fill(TRect{x, y, x + width, y + thickness}, ink);
    }
}

std::vector<int> Positions(const FontInstance& font, const std::u32string& text, const int* dx) {
    std::vector<int> positions;
    int x = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        positions.push_back(x);
        x += dx != nullptr ? dx[i] : font.Advance(text[i]);
    }
    positions.push_back(x);
    return positions;
}

bool OutputText(HDC handle, int x, int y, unsigned options, const TRect* rect, const std::u32string& text,
                const int* dx) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr) return false;
    const FontInstance& font = FontOf(*dc);
    const TEXTMETRIC& metrics = font.Metrics();
    const unsigned align = dc->State().textAlign;
    if (align & TA_UPDATECP) {
        x = dc->State().penPos.X;
        y = dc->State().penPos.Y;
    }
    const std::vector<int> positions = Positions(font, text, dx);
    const int width = positions.back();
    TPoint pen = dc->ToDevice(TPoint{x, y});
    if ((align & TA_CENTER) == TA_CENTER) {
        pen.X -= width / 2;
    } else if (align & TA_RIGHT) {
        pen.X -= width;
    }
    int top = pen.Y;
    if ((align & TA_BASELINE) == TA_BASELINE) {
        top = pen.Y - metrics.tmAscent;
    } else if (align & TA_BOTTOM) {
        top = pen.Y - metrics.tmHeight;
    }
    const COLORREF bk = dc->State().bkColor;
    if (rect != nullptr && (options & ETO_OPAQUE)) dc->Fill(dc->ToDevice(*rect), dc->ColorInk(bk));
    if (rect != nullptr && (options & ETO_CLIPPED)) dc->SetExtraClip(dc->ToDevice(*rect));
    if (dc->State().bkMode == OPAQUE) dc->Fill(TRect{pen.X, top, pen.X + width, top + metrics.tmHeight}, dc->ColorInk(bk));
    const uint32_t pixel = RgbToPixel(dc->State().textColor);
    DrawRun(*dc, font, pen.X, top + metrics.tmAscent, text, positions, pixel);
    DrawLines(*dc, font, pen.X, top + metrics.tmAscent, width, dc->ColorInk(dc->State().textColor));
    dc->SetExtraClip(std::nullopt);
    if (align & TA_UPDATECP) {
        const bool right = (align & TA_CENTER) == TA_RIGHT;
        dc->MutableState().penPos.X = right ? x - width : x + width;
    }
    return true;
}

// One coat of text: its colour and its offset from the laid-out position.
struct Coat {
    COLORREF color;
    TPoint offset;
};

// Formatted text in the text colour, or (disabled) in the classic engraved coats.
int FormatText(HDC handle, const std::u32string& text, TRect* rect, unsigned format, bool disabled = false) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr || rect == nullptr) return 0;
    const FontInstance& font = FontOf(*dc);
    const TEXTMETRIC& metrics = font.Metrics();
    const int lineHeight = metrics.tmHeight + ((format & DT_EXTERNALLEADING) ? metrics.tmExternalLeading : 0);
    const int tabStop = ((format & DT_TABSTOP) ? static_cast<int>((format >> 8) & 0xFF) : 8) * metrics.tmAveCharWidth;
    const std::vector<TextLine> lines = LayoutText(text, format, rect->Width(),
                                                   [&font](char32_t c) { return font.Advance(c); }, tabStop);
    int widest = 0;
    for (const TextLine& line : lines) widest = std::max(widest, line.width);
    const int height = static_cast<int>(lines.size()) * lineHeight;
    if (format & DT_CALCRECT) {
        rect->Right = rect->Left + widest;
        rect->Bottom = rect->Top + height;
        return height;
    }
    int y = rect->Top;
    if (format & DT_SINGLELINE) {
        if (format & DT_VCENTER) {
            y = rect->Top + (rect->Height() - height) / 2;
        } else if (format & DT_BOTTOM) {
            y = rect->Bottom - height;
        }
    }
    if ((format & DT_NOCLIP) == 0) dc->SetExtraClip(dc->ToDevice(*rect));
    const Ink background = dc->ColorInk(dc->State().bkColor);
    std::vector<Coat> coats{{dc->State().textColor, TPoint{0, 0}}};
    if (disabled) {
        coats = {{GetSysColor(COLOR_BTNHIGHLIGHT), TPoint{1, 1}}, {GetSysColor(COLOR_BTNSHADOW), TPoint{0, 0}}};
    }
    for (size_t i = 0; i < lines.size(); ++i) {
        const TextLine& line = lines[i];
        int x = rect->Left;
        if (format & DT_CENTER) {
            x = rect->Left + (rect->Width() - line.width) / 2;
        } else if (format & DT_RIGHT) {
            x = rect->Right - line.width;
        }
        const TPoint pen = dc->ToDevice(TPoint{x, y + static_cast<int>(i) * lineHeight});
        if (dc->State().bkMode == OPAQUE) dc->Fill(TRect{pen.X, pen.Y, pen.X + line.width, pen.Y + lineHeight}, background);
        for (const Coat& coat : coats) {
            const int left = pen.X + coat.offset.X;
            const int baseline = pen.Y + coat.offset.Y + metrics.tmAscent;
            const Ink ink = dc->ColorInk(coat.color);
            DrawRun(*dc, font, left, baseline, line.text, line.x, RgbToPixel(coat.color), disabled);
            DrawLines(*dc, font, left, baseline, line.width, ink);
            for (size_t k = 0; k < line.text.size(); ++k) {
                if (!line.underline[k]) continue;
                const int underlineY = baseline + font.UnderlineOffset();
                const int start = left + line.x[k];
                dc->Fill(TRect{start, underlineY, start + font.Advance(line.text[k]), underlineY + font.LineThickness()},
                         ink);
            }
        }
    }
    dc->SetExtraClip(std::nullopt);
    if ((format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM))) return y - rect->Top + height;
    return height;
}

}  // namespace

std::shared_ptr<const FontInstance> SelectedFont(HDC handle) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr) return nullptr;
    FontOf(*dc);
    return dc->State().font->instance;
}

bool GetTextMetrics(HDC handle, TEXTMETRIC* metrics) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr || metrics == nullptr) return false;
    *metrics = FontOf(*dc).Metrics();
    return true;
}

bool GetTextExtentPoint32W(HDC handle, const char16_t* text, int count, TSize* size) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr || size == nullptr) return false;
    const FontInstance& font = FontOf(*dc);
    *size = TSize{Width(font, Decode(Wide(text, count))), font.Metrics().tmHeight};
    return true;
}

bool GetTextExtentPoint32A(HDC handle, const char* text, int count, TSize* size) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr || size == nullptr) return false;
    const FontInstance& font = FontOf(*dc);
    *size = TSize{Width(font, Decode(Narrow(text, count))), font.Metrics().tmHeight};
    return true;
}

bool GetCharWidth32W(HDC handle, unsigned first, unsigned last, int* widths) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr || widths == nullptr || last < first) return false;
    const FontInstance& font = FontOf(*dc);
    for (unsigned c = first; c <= last; ++c) widths[c - first] = font.Advance(c);
    return true;
}

bool TextOutW(HDC dc, int x, int y, const char16_t* text, int count) {
    return OutputText(dc, x, y, 0, nullptr, Decode(Wide(text, count)), nullptr);
}

bool TextOutA(HDC dc, int x, int y, const char* text, int count) {
    return OutputText(dc, x, y, 0, nullptr, Decode(Narrow(text, count)), nullptr);
}

bool ExtTextOutW(HDC dc, int x, int y, unsigned options, const TRect* rect, const char16_t* text, int count,
                 const int* dx) {
    return OutputText(dc, x, y, options, rect, Decode(Wide(text, count)), dx);
}

int DrawTextW(HDC dc, const char16_t* text, int count, TRect* rect, unsigned format) {
    return FormatText(dc, Decode(Wide(text, count)), rect, format);
}

int DrawTextA(HDC dc, const char* text, int count, TRect* rect, unsigned format) {
    return FormatText(dc, Decode(Narrow(text, count)), rect, format);
}

int DrawDisabledTextW(HDC dc, const char16_t* text, int count, TRect* rect, unsigned format) {
    return FormatText(dc, Decode(Wide(text, count)), rect, format, true);
}

int DrawDisabledTextA(HDC dc, const char* text, int count, TRect* rect, unsigned format) {
    return FormatText(dc, Decode(Narrow(text, count)), rect, format, true);
}

}  // namespace vcl
