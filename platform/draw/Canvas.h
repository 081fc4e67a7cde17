#pragma once
// The toolkit canvas: a device context with a font, a pen and a brush that are selected into it
// when drawing needs them (asking for Handle selects all three), plus the toolkit's drawing
// calls. The canvas does not own its device context; subclasses may make one on demand.

#include <span>
#include <string>
#include <string_view>

#include "platform/draw/Font.h"
#include "platform/draw/GdiTypes.h"
#include "platform/draw/Pen.h"

namespace vcl {

class TGraphic;

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;

    // The DC with the font, pen and brush selected; null when there is none.
    HDC Handle();
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return handle_ != nullptr; }

    TFont& Font() { return font_; }
    void SetFont(const TFont& value) { font_.Assign(value); }
    TPen& Pen() { return pen_; }
    void SetPen(const TPen& value) { pen_.Assign(value); }
    TBrush& Brush() { return brush_; }
    void SetBrush(const TBrush& value) { brush_.Assign(value); }
    uint32_t CopyMode() const { return copyMode_; }
    void SetCopyMode(uint32_t rop) { copyMode_ = rop; }
    TPoint PenPos() const { return penPos_; }
    void SetPenPos(TPoint value);

    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
    void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
    void Ellipse(int left, int top, int right, int bottom);
    void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
    void Polygon(std::span<const TPoint> points);
    void Polyline(std::span<const TPoint> points);
    void FillRect(const TRect& r);
    void FrameRect(const TRect& r);
    void DrawFocusRect(const TRect& r);

    // Text in the system code page (UTF-8) or wide; TextOut moves the pen to the text's end.
    void TextOut(int x, int y, std::string_view text);
    void TextOut(int x, int y, std::u16string_view text);
    void TextRect(const TRect& r, int x, int y, std::string_view text);
    TSize TextExtent(std::string_view text);
    TSize TextExtent(std::u16string_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    void Draw(int x, int y, const TGraphic& graphic);
    void StretchDraw(const TRect& r, const TGraphic& graphic);
    void CopyRect(const TRect& destination, TCanvas& source, const TRect& sourceRect);

    TColor Pixel(int x, int y);
    void SetPixel(int x, int y, TColor color);
    TRect ClipRect();
    // Selects stock objects back, so the canvas's own objects can change or go.
    void Refresh();

    // A simple lock count: one GUI thread, nested painting marks itself.
    void Lock() { ++lockCount_; }
    void Unlock() {
        if (lockCount_ > 0) --lockCount_;
    }
    bool TryLock();
    int LockCount() const { return lockCount_; }

    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Called when Handle is asked for while there is none.
    virtual void CreateHandle() {}
    void Changing() { Fire(OnChanging, this); }
    void Changed() { Fire(OnChange, this); }

private:
    enum : unsigned { kFontValid = 1, kPenValid = 2, kBrushValid = 4, kAllValid = 7 };
    HDC RequireState(unsigned state);
    void Deselect();

    HDC handle_ = nullptr;
    unsigned state_ = 0;
    TFont font_;
    TPen pen_;
    TBrush brush_;
    HFONT fontHandle_ = nullptr;
    TPoint penPos_;
    uint32_t copyMode_ = 0x00CC0020;  // SRCCOPY
    int lockCount_ = 0;
};

// The drawing-object description of a toolkit font.
LOGFONT LogFontOf(const TFont& font);

}  // namespace vcl
