#pragma once
// The toolkit pen and brush: descriptions with a change notification that turn into drawing
// objects on demand. The object is remade after every change.

#include "platform/draw/Color.h"
#include "platform/draw/GdiTypes.h"
#include "platform/runtime/Object.h"

namespace vcl {

class TBitmap;

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : uint8_t {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};

class TPen : public TPersistent {
public:
    TPen() = default;
    ~TPen() override;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int Width() const { return width_; }
    void SetWidth(int value);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode value);
    // The mix mode (R2_) of Mode.
    int Rop2() const;

    HPEN Handle();
    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    HPEN handle_ = nullptr;
};

enum TBrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TPersistent {
public:
    TBrush() = default;
    ~TBrush() override;

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle value);
    // A pattern brush from the bitmap's top-left 8 x 8 pixels; the bitmap is not owned and is
    // copied when the handle is made. Null goes back to Style and Color.
    TBitmap* Bitmap() const { return bitmap_; }
    void SetBitmap(TBitmap* value);

    HBRUSH Handle();
    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;

private:
    void Changed();

    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    TBitmap* bitmap_ = nullptr;
    HBRUSH handle_ = nullptr;
};

}  // namespace vcl
