#include "controls/surface/Primitives.h"

#include <algorithm>

#include "platform/draw/Gdi.h"
#include "platform/rtl/Utf.h"

namespace se {
namespace {

void SolidPen(TCanvas& canvas, TColor color) {
    canvas.Pen().SetStyle(vcl::psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(color);
}

void SolidBrush(TCanvas& canvas, TColor color) {
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetStyle(vcl::bsSolid);
    canvas.Brush().SetColor(color);
}

void Hollow(TCanvas& canvas) {
    canvas.Brush().SetBitmap(nullptr);
    canvas.Brush().SetStyle(vcl::bsClear);
}

int Channel(vcl::COLORREF color, int shift) { return static_cast<int>((color >> shift) & 0xFF); }

}  // namespace

void FillRectColor(TCanvas& canvas, const TRect& rect, TColor color) {
    SolidBrush(canvas, color);
    canvas.FillRect(rect);
}

void FrameRectColor(TCanvas& canvas, const TRect& rect, TColor color) {
    Hollow(canvas);
    SolidPen(canvas, color);
    canvas.Rectangle(rect);
}

void Draw3DFrame(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
    Hollow(canvas);
    SolidPen(canvas, topLeft);
    canvas.MoveTo(r.Left, r.Bottom - 2);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(r.Right - 1, r.Top);
    canvas.Pen().SetColor(bottomRight);
    canvas.MoveTo(r.Right - 1, r.Top);
    canvas.LineTo(r.Right - 1, r.Bottom - 1);
    canvas.LineTo(r.Left - 1, r.Bottom - 1);
}

void DrawBevelLines(TCanvas& canvas, TRect& r, TSeBevelSides sides, int width, TColor topLeft, TColor bottomRight) {
    SolidPen(canvas, topLeft);
    for (int i = 0; i < width; ++i) {
        if (sides & BevelSide(kbsLeft)) {
            canvas.Pen().SetColor(topLeft);
            canvas.MoveTo(r.Left, r.Top);
            canvas.LineTo(r.Left, r.Bottom);
        }
        if (sides & BevelSide(kbsTop)) {
            canvas.Pen().SetColor(topLeft);
            canvas.MoveTo(r.Left, r.Top);
            canvas.LineTo(r.Right, r.Top);
        }
        if (sides & BevelSide(kbsBottom)) {
            canvas.Pen().SetColor(bottomRight);
            canvas.MoveTo(r.Left, r.Bottom - 1);
            canvas.LineTo(r.Right, r.Bottom - 1);
        }
        if (sides & BevelSide(kbsRight)) {
            canvas.Pen().SetColor(bottomRight);
            canvas.MoveTo(r.Right - 1, r.Top);
            canvas.LineTo(r.Right - 1, r.Bottom);
        }
        if (sides & BevelSide(kbsLeft)) ++r.Left;
        if (sides & BevelSide(kbsTop)) ++r.Top;
        if (sides & BevelSide(kbsRight)) --r.Right;
        if (sides & BevelSide(kbsBottom)) --r.Bottom;
    }
}

void LineToColor(TCanvas& canvas, int x, int y, TColor color) {
    SolidPen(canvas, color);
    canvas.LineTo(x, y);
}

void DrawFocusRectColor(TCanvas& canvas, const TRect& rect, TColor color) {
    SolidBrush(canvas, color);
    canvas.DrawFocusRect(rect);
}

void FillRoundRectColor(TCanvas& canvas, const TRect& rect, int radius, TColor color) {
    SolidBrush(canvas, color);
    SolidPen(canvas, color);
    canvas.RoundRect(rect.Left, rect.Top, rect.Right, rect.Bottom, radius, radius);
}

void FillDitherPattern(TCanvas& canvas, TRect rect, TColor color1, TColor color2) {
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    if (rect.IsEmpty()) return;
    vcl::TBitmap pattern(8, 8);
    const uint32_t first = vcl::RgbToPixel(vcl::ColorToRGB(color1));
    const uint32_t second = vcl::RgbToPixel(vcl::ColorToRGB(color2));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern.ScanLine(y)[x] = (x % 2) == (y % 2) ? second : first;
    canvas.Brush().SetBitmap(&pattern);
    canvas.FillRect(rect);
    // The pattern bitmap goes with this call; the brush must not keep pointing at it.
    canvas.Brush().SetBitmap(nullptr);
}

void FillGradient(TCanvas& canvas, const TRect& rect, TColor color1, bool vertical, TColor color2) {
    const int extent = vertical ? rect.Height() : rect.Width();
    if (extent <= 0 || rect.IsEmpty()) return;
    const int bands = std::min(extent, 256);
    const vcl::COLORREF a = vcl::ColorToRGB(color1), b = vcl::ColorToRGB(color2);
    for (int i = 0; i < bands; ++i) {
        const int from = i * extent / bands, to = (i + 1) * extent / bands;
        auto mix = [&](int shift) {
            return bands == 1 ? Channel(a, shift) : Channel(a, shift) + (Channel(b, shift) - Channel(a, shift)) * i / (bands - 1);
        };
        const TColor color = static_cast<TColor>(vcl::RGB(static_cast<uint8_t>(mix(0)), static_cast<uint8_t>(mix(8)),
                                                          static_cast<uint8_t>(mix(16))));
        const TRect band = vertical ? TRect{rect.Left, rect.Top + from, rect.Right, rect.Top + to}
                                    : TRect{rect.Left + from, rect.Top, rect.Left + to, rect.Bottom};
        FillRectColor(canvas, band, color);
    }
}

void DrawIconCentered(TCanvas& canvas, const TRect& rect, const vcl::TGraphic& icon) {
    canvas.StretchDraw(CenterRect(TRect{0, 0, 16, 16}, rect), icon);
}

int DrawWideText(TCanvas& canvas, std::u16string_view text, TRect& rect, unsigned flags) {
    vcl::HDC dc = canvas.Handle();
    vcl::SetBkMode(dc, vcl::TRANSPARENT);
    return vcl::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect, flags);
}

int WideTextWidth(TCanvas& canvas, std::u16string_view text, unsigned flags) {
    vcl::HDC dc = canvas.Handle();
    if (flags == 0) {
        vcl::TSize size;
        vcl::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    const std::string narrow = rtl::Utf16ToUtf8(text);
    TRect r{0, 0, 0, 0};
    vcl::DrawTextA(dc, narrow.data(), static_cast<int>(narrow.size()), &r, flags | vcl::DT_CALCRECT);
    return r.Right;
}

int WideTextHeight(TCanvas& canvas, std::u16string_view text) {
    vcl::TSize size;
    vcl::GetTextExtentPoint32W(canvas.Handle(), text.data(), static_cast<int>(text.size()), &size);
    return size.cy;
}

std::u16string FitTextWithEllipsis(vcl::HDC dc, std::u16string_view text, int maxWidth) {
    auto width = [dc](std::u16string_view s) {
        vcl::TSize size;
        vcl::GetTextExtentPoint32W(dc, s.data(), static_cast<int>(s.size()), &size);
        return size.cx;
    };
    if (width(text) <= maxWidth) return std::u16string(text);
    std::u16string result;
    for (size_t i = 0; i < text.size();) {
        // A surrogate pair is one character and is never split.
        const size_t length = (text[i] >= 0xD800 && text[i] < 0xDC00 && i + 1 < text.size()) ? 2 : 1;
        const std::u16string candidate = result + std::u16string(text.substr(i, length));
        if (width(candidate + u"...") > maxWidth) break;
        result = candidate;
        i += length;
    }
    return result + u"...";
}

TRect CenterRect(const TRect& r, const TRect& bounds) {
    const TRect atOrigin = r.Offset(-r.Left, -r.Top);
    return atOrigin.Offset((bounds.Width() - r.Width()) / 2 + bounds.Left, (bounds.Height() - r.Height()) / 2 + bounds.Top);
}

TRect CenterRectVert(const TRect& r, const TRect& bounds) {
    const TRect atOrigin = r.Offset(-r.Left, -r.Top);
    return atOrigin.Offset(bounds.Left, (bounds.Height() - r.Height()) / 2 + bounds.Top);
}

}  // namespace se
