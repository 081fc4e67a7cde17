#include "platform/toolkit/ImageList.h"

#include <algorithm>

#include "platform/draw/Color.h"

namespace vcl {
namespace {

// Pixels darker than this form the engraved shape; light ones (a glyph's white face) drop out.
constexpr int kShapeThreshold = 192;

int Luminance(uint32_t pixel) {
    const COLORREF c = PixelToRgb(pixel);
    return (GetRValue(c) * 30 + GetGValue(c) * 59 + GetBValue(c) * 11) / 100;
}

}  // namespace

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::~TCustomImageList() { Destroying(); }

void TCustomImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    images_.clear();
    Change();
}

int TCustomImageList::Add(const TBitmap& image) { return AddPieces(image, image.Transparent(), image.TransparentColor()); }

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor) { return AddPieces(image, true, maskColor); }

int TCustomImageList::AddPieces(const TBitmap& image, bool masked, TColor maskColor) {
    if (image.Empty()) return -1;
    const int first = Count();
    // A strip gives one image per Width columns; a narrower or shorter image is placed top-left.
    const int pieces = std::max(1, image.Width() / width_);
    for (int piece = 0; piece < pieces; ++piece) {
        auto cell = std::make_unique<TBitmap>(width_, height_);
        const int sourceX = piece * width_;
        const int columns = std::min(width_, image.Width() - sourceX);
        const int rows = std::min(height_, image.Height());
        const uint32_t fill = masked ? RgbToPixel(ColorToRGB(maskColor)) : 0;
        for (int y = 0; y < height_; ++y) {
            uint32_t* row = cell->ScanLine(y);
            std::fill(row, row + width_, fill);
            if (y < rows) std::copy_n(image.ScanLine(y) + sourceX, columns, row);
        }
        if (masked) {
            cell->SetTransparentColor(maskColor);
            cell->SetTransparent(true);
        }
        images_.push_back(std::move(cell));
    }
    Change();
    return first;
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    images_.erase(images_.begin() + index);
    Change();
}

void TCustomImageList::Clear() {
    if (images_.empty()) return;
    images_.clear();
    Change();
}

bool TCustomImageList::GetBitmap(int index, TBitmap& target) const {
    if (index < 0 || index >= Count()) return false;
    target.Assign(*images_[static_cast<size_t>(index)]);
    return true;
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) const {
    if (index < 0 || index >= Count()) return;
    const TBitmap& image = *images_[static_cast<size_t>(index)];
    if (enabled) {
        image.Draw(canvas, {x, y, x + width_, y + height_});
        return;
    }
    DrawShape(canvas, x + 1, y + 1, image, clBtnHighlight);
    DrawShape(canvas, x, y, image, clBtnShadow);
}

void TCustomImageList::DrawShape(TCanvas& canvas, int x, int y, const TBitmap& image, TColor color) const {
    const COLORREF mask = ColorToRGB(image.TransparentColor());
    const COLORREF ink = ColorToRGB(color);
    // The key must differ from the ink.
    const COLORREF key = ink == RGB(0, 0, 0) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    TBitmap shape(width_, height_);
    for (int row = 0; row < height_; ++row) {
        const uint32_t* source = image.ScanLine(row);
        uint32_t* target = shape.ScanLine(row);
        for (int column = 0; column < width_; ++column) {
            const uint32_t pixel = source[column];
            const bool transparent = image.Transparent() && PixelToRgb(pixel) == mask;
            const bool inside = !transparent && Luminance(pixel) < kShapeThreshold;
            target[column] = RgbToPixel(inside ? ink : key);
        }
    }
    shape.SetTransparentColor(static_cast<TColor>(key));
    shape.SetTransparent(true);
    shape.Draw(canvas, {x, y, x + width_, y + height_});
}

void TCustomImageList::Change() { Fire(OnChange, this); }

}  // namespace vcl
