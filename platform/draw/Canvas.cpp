#include "platform/draw/Canvas.h"

#include "platform/draw/Gdi.h"
#include "platform/draw/Graphic.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Utf.h"

namespace vcl {

LOGFONT LogFontOf(const TFont& font) {
    LOGFONT log;
    log.lfHeight = font.Height();
    log.lfWeight = (font.Style() & fsBold) ? FW_BOLD : FW_NORMAL;
    log.lfItalic = (font.Style() & fsItalic) ? 1 : 0;
    log.lfUnderline = (font.Style() & fsUnderline) ? 1 : 0;
    log.lfStrikeOut = (font.Style() & fsStrikeOut) ? 1 : 0;
    log.lfCharSet = font.Charset();
    log.lfPitchAndFamily = font.Pitch() == fpFixed ? FIXED_PITCH : font.Pitch() == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH;
    log.lfFaceName = font.Name();
    return log;
}

TCanvas::TCanvas() {
    font_.OnChange = [this](TObject*) { state_ &= ~kFontValid; };
    pen_.OnChange = [this](TObject*) { state_ &= ~kPenValid; };
    brush_.OnChange = [this](TObject*) { state_ &= ~kBrushValid; };
}

TCanvas::~TCanvas() {
    Deselect();
    if (fontHandle_ != nullptr) DeleteObject(fontHandle_);
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == handle_) return;
    if (handle_ != nullptr) {
        Deselect();
        handle_ = nullptr;
    }
    if (dc == nullptr) return;
    handle_ = dc;
    MoveToEx(handle_, penPos_.X, penPos_.Y, nullptr);
}

HDC TCanvas::Handle() { return RequireState(kAllValid); }

HDC TCanvas::RequireState(unsigned wanted) {
    if (handle_ == nullptr) CreateHandle();
    if (handle_ == nullptr) return nullptr;
    const unsigned missing = wanted & ~state_;
    if (missing & kFontValid) {
        const LOGFONT description = LogFontOf(font_);
        HFONT made = CreateFontIndirect(&description);
        SelectObject(handle_, made);
        if (fontHandle_ != nullptr) DeleteObject(fontHandle_);
        fontHandle_ = made;
        SetTextColor(handle_, ColorToRGB(font_.Color()));
    }
    if (missing & kPenValid) {
        SelectObject(handle_, pen_.Handle());
        SetROP2(handle_, pen_.Rop2());
    }
    if (missing & kBrushValid) {
        SelectObject(handle_, brush_.Handle());
        // A solid brush also sets an opaque background for text and hatches, as the toolkit does.
        if (brush_.Style() == bsSolid && brush_.Bitmap() == nullptr) {
            SetBkColor(handle_, ColorToRGB(brush_.Color()));
            SetBkMode(handle_, OPAQUE);
        } else {
            SetBkColor(handle_, ~ColorToRGB(brush_.Color()) & 0x00FFFFFF);
            SetBkMode(handle_, TRANSPARENT);
        }
    }
    state_ |= missing;
    return handle_;
}

void TCanvas::Deselect() {
    if (handle_ != nullptr && state_ != 0) {
        SelectObject(handle_, static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
        SelectObject(handle_, static_cast<HPEN>(GetStockObject(BLACK_PEN)));
        SelectObject(handle_, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    state_ = 0;
}

void TCanvas::Refresh() { Deselect(); }

void TCanvas::SetPenPos(TPoint value) {
    penPos_ = value;
    if (handle_ != nullptr) MoveToEx(handle_, value.X, value.Y, nullptr);
}

void TCanvas::MoveTo(int x, int y) {
    if (HDC dc = RequireState(0)) MoveToEx(dc, x, y, nullptr);
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    HDC dc = RequireState(kPenValid | kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::LineTo(dc, x, y);
    penPos_ = {x, y};
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    HDC dc = RequireState(kPenValid | kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::Rectangle(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
    HDC dc = RequireState(kPenValid | kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::RoundRect(dc, left, top, right, bottom, cornerWidth, cornerHeight);
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    HDC dc = RequireState(kPenValid | kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::Ellipse(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    HDC dc = RequireState(kPenValid | kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::Polygon(dc, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    HDC dc = RequireState(kPenValid | kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::Polyline(dc, points.data(), static_cast<int>(points.size()));
    Changed();
}

void TCanvas::FillRect(const TRect& r) {
    HDC dc = RequireState(kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::FillRect(dc, &r, brush_.Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    HDC dc = RequireState(kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::FrameRect(dc, &r, brush_.Handle());
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    HDC dc = RequireState(kBrushValid);
    if (dc == nullptr) return;
    Changing();
    vcl::DrawFocusRect(dc, &r);
    Changed();
}

void TCanvas::TextOut(int x, int y, std::string_view text) { TextOut(x, y, rtl::Utf8ToUtf16(text)); }

void TCanvas::TextOut(int x, int y, std::u16string_view text) {
    HDC dc = RequireState(kFontValid | kBrushValid);
    if (dc == nullptr) return;
    Changing();
    TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
    TSize size;
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    MoveTo(x + size.cx, y);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, std::string_view text) {
    HDC dc = RequireState(kFontValid | kBrushValid);
    if (dc == nullptr) return;
    Changing();
    const std::u16string wide = rtl::Utf8ToUtf16(text);
    const unsigned options = ETO_CLIPPED | (brush_.Style() != bsClear ? ETO_OPAQUE : 0);
    ExtTextOutW(dc, x, y, options, &r, wide.data(), static_cast<int>(wide.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(std::string_view text) {
    TSize size;
    if (HDC dc = RequireState(kFontValid)) GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

TSize TCanvas::TextExtent(std::u16string_view text) {
    TSize size;
    if (HDC dc = RequireState(kFontValid)) GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty() || RequireState(0) == nullptr) return;
    Changing();
    graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic) {
    if (graphic.Empty() || RequireState(0) == nullptr) return;
    Changing();
    graphic.Draw(*this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& destination, TCanvas& source, const TRect& sourceRect) {
    HDC dc = RequireState(kBrushValid);
    HDC from = source.Handle();
    if (dc == nullptr || from == nullptr) return;
    Changing();
    StretchBlt(dc, destination.Left, destination.Top, destination.Width(), destination.Height(), from, sourceRect.Left,
               sourceRect.Top, sourceRect.Width(), sourceRect.Height(), copyMode_);
    Changed();
}

TColor TCanvas::Pixel(int x, int y) {
    HDC dc = RequireState(0);
    if (dc == nullptr) return clNone;
    const COLORREF color = GetPixel(dc, x, y);
    return color == CLR_INVALID ? clNone : static_cast<TColor>(color);
}

void TCanvas::SetPixel(int x, int y, TColor color) {
    HDC dc = RequireState(kPenValid);
    if (dc == nullptr) return;
    Changing();
    vcl::SetPixel(dc, x, y, ColorToRGB(color));
    Changed();
}

TRect TCanvas::ClipRect() {
    TRect r;
    if (HDC dc = RequireState(0)) GetClipBox(dc, &r);
    return r;
}

bool TCanvas::TryLock() {
    if (lockCount_ > 0) return false;
    Lock();
    return true;
}

void TCanvas::Assign(const TPersistent& source) {
    const auto* canvas = dynamic_cast<const TCanvas*>(&source);
    if (canvas == nullptr) throw rtl::EConvertError("Cannot assign this object to a TCanvas");
    font_.Assign(canvas->font_);
    pen_.Assign(canvas->pen_);
    brush_.Assign(canvas->brush_);
    copyMode_ = canvas->copyMode_;
}

}  // namespace vcl
