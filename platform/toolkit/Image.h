#pragma once
// TImage: shows a picture at the control's top left, centred (Center) or stretched over the whole
// control (Stretch); clicks raise OnClick and the pointer shows the control's Cursor. AutoSize
// sizes the control to the picture.

#include <memory>

#include "platform/draw/Graphic.h"
#include "platform/toolkit/CustomControl.h"

namespace vcl {

class TImage : public TGraphicControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    // Picture.Data, besides the control's: the only picture a stored form can name is the
    // program's logo (VelmoLogo), compiled in.
    const TStoredProperties& StoredProperties() const override;

    TPicture& Picture() { return *picture_; }
    void SetPicture(const TPicture& value) { picture_->Assign(value); }
    bool Center() const { return center_; }
    void SetCenter(bool value);
    bool Stretch() const { return stretch_; }
    void SetStretch(bool value);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    // Where the picture lands in the client area.
    TRect DestRect() const;

protected:
    void Paint() override;

private:
    void PictureChanged();

    std::unique_ptr<TPicture> picture_;
    bool center_ = false;
    bool stretch_ = false;
    bool autoSize_ = false;
};

}  // namespace vcl
