#include "platform/draw/Pen.h"

#include "platform/draw/GdiObjects.h"
#include "platform/draw/Graphic.h"
#include "platform/rtl/Exception.h"

namespace vcl {
namespace {

template <typename T>
bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

}  // namespace

TPen::~TPen() {
    if (handle_ != nullptr) DeleteObject(handle_);
}

void TPen::SetColor(TColor value) {
    if (Store(color_, value)) Changed();
}

void TPen::SetWidth(int value) {
    if (value < 1) value = 1;
    if (Store(width_, value)) Changed();
}

void TPen::SetStyle(TPenStyle value) {
    if (Store(style_, value)) Changed();
}

void TPen::SetMode(TPenMode value) {
    // The mode is applied to the device context, not to the pen object.
    if (Store(mode_, value)) Fire(OnChange, this);
}

int TPen::Rop2() const {
    static constexpr int kModes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                     R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                     R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                     R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
    return kModes[mode_];
}

HPEN TPen::Handle() {
    if (handle_ == nullptr) {
        static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        handle_ = CreatePen(kStyles[style_], width_, ColorToRGB(color_));
    }
    return handle_;
}

void TPen::Assign(const TPersistent& source) {
    const auto* pen = dynamic_cast<const TPen*>(&source);
    if (pen == nullptr) throw rtl::EConvertError("Cannot assign this object to a TPen");
    if (color_ == pen->color_ && width_ == pen->width_ && style_ == pen->style_ && mode_ == pen->mode_) return;
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    Changed();
}

void TPen::Changed() {
    if (handle_ != nullptr) DeleteObject(handle_);
    handle_ = nullptr;
    Fire(OnChange, this);
}

TBrush::~TBrush() {
    if (handle_ != nullptr) DeleteObject(handle_);
}

void TBrush::SetColor(TColor value) {
    // Giving a hollow brush a colour makes it solid, as the toolkit always did.
    if (value == color_ && style_ != bsClear) return;
    color_ = value;
    if (style_ == bsClear) style_ = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (Store(style_, value)) Changed();
}

void TBrush::SetBitmap(TBitmap* value) {
    if (Store(bitmap_, value)) Changed();
}

HBRUSH TBrush::Handle() {
    if (handle_ != nullptr) return handle_;
    if (bitmap_ != nullptr && !bitmap_->Empty()) {
        handle_ = CreatePatternBrush(bitmap_->Handle());
    } else if (style_ == bsClear) {
        LOGBRUSH hollow;
        hollow.lbStyle = BS_NULL;
        handle_ = CreateBrushIndirect(&hollow);
    } else if (style_ == bsSolid) {
        handle_ = CreateSolidBrush(ColorToRGB(color_));
    } else {
        handle_ = CreateHatchBrush(style_ - bsHorizontal, ColorToRGB(color_));
    }
    return handle_;
}

void TBrush::Assign(const TPersistent& source) {
    const auto* brush = dynamic_cast<const TBrush*>(&source);
    if (brush == nullptr) throw rtl::EConvertError("Cannot assign this object to a TBrush");
    if (color_ == brush->color_ && style_ == brush->style_ && bitmap_ == brush->bitmap_) return;
    color_ = brush->color_;
    style_ = brush->style_;
    bitmap_ = brush->bitmap_;
    Changed();
}

void TBrush::Changed() {
    if (handle_ != nullptr) DeleteObject(handle_);  // the shared hollow brush refuses, as it should
    handle_ = nullptr;
    Fire(OnChange, this);
}

}  // namespace vcl
