#include "platform/toolkit/Image.h"

#include "platform/runtime/StoredProperties.h"
#include "platform/toolkit/Logo.h"

namespace vcl {

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), picture_(std::make_unique<TPicture>()) {
    picture_->OnChange = [this](TObject*) { PictureChanged(); };
    SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { picture_->OnChange = nullptr; }

const TStoredProperties& TImage::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TImage>(&TGraphicControl::StoredProperties(), {
        {"Picture.Data", [](auto& i, auto& v) {
             if (v.Ident() != "VelmoLogo") v.Fail("unknown picture");
             const std::unique_ptr<TBitmap> logo = CreateLogoBitmap();
             i.Picture().SetGraphic(logo.get());
         }},
    });
    return table;
}

void TImage::SetCenter(bool value) {
    if (value == center_) return;
    center_ = value;
    Invalidate();
}

void TImage::SetStretch(bool value) {
    if (value == stretch_) return;
    stretch_ = value;
    Invalidate();
}

void TImage::SetAutoSize(bool value) {
    if (value == autoSize_) return;
    autoSize_ = value;
    PictureChanged();
}

void TImage::PictureChanged() {
    if (autoSize_ && picture_->Width() > 0 && picture_->Height() > 0) {
        SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
    }
    // The old picture may have covered more than the new one.
    InvalidateArea(BoundsRect());
}

TRect TImage::DestRect() const {
    if (stretch_) return ClientRect();
    const int w = picture_->Width();
    const int h = picture_->Height();
    if (center_) {
        const int x = (Width() - w) / 2;
        const int y = (Height() - h) / 2;
        return {x, y, x + w, y + h};
    }
    return {0, 0, w, h};
}

void TImage::Paint() {
    const TGraphic* graphic = picture_->Graphic();
    if (!graphic || graphic->Empty()) return;
    Canvas()->StretchDraw(DestRect(), *graphic);
}

}  // namespace vcl
