#pragma once
// TSeGraphicControl: the window-less base of the control set (the label, the scroll bar). It
// paints on its parent through the same pipeline as TSeCustomControl, without the border ring and
// with Width and Height as its sizes: override PaintFace and draw text with PaintFont.

#include "controls/foundation/Blending.h"
#include "controls/foundation/PaintBuffer.h"
#include "controls/foundation/Types.h"
#include "controls/surface/Bitmap.h"
#include "platform/toolkit/CustomControl.h"

namespace se {

class TSeGraphicControl : public vcl::TGraphicControl {
public:
    explicit TSeGraphicControl(vcl::TComponent* AOwner);
    ~TSeGraphicControl() override;

    // Performance and Transparent, besides the toolkit's.
    const vcl::TStoredProperties& StoredProperties() const override;

    TSePerformance Performance() const { return performance_; }
    // Ignored while Blending is on and the value is kspNoBuffer.
    void SetPerformance(TSePerformance value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    TSeBlending& Blending() { return blending_; }
    const TSeBlending& Blending() const { return blending_; }
    // Copies Enabled and Value; enabling it on a kspNoBuffer control makes it kspDoubleBuffer.
    void SetBlending(const TSeBlending& value);

    bool MouseInside() const { return mouseInside_; }
    vcl::TFont& PaintFont() { return paintFont_; }

    // Paints the parent's background into dc so that the parent's pixel at this control lands on
    // dc's pixel (0, 0); nothing while the parent has no window.
    void CopyParentBackground(vcl::HDC dc);

    void Loaded() override;

    vcl::TNotifyEvent OnMouseEnter;
    vcl::TNotifyEvent OnMouseLeave;

protected:
    void Paint() override;
    // Base: fill the client area with Color unless Transparent.
    virtual void PaintFace();
    virtual void MouseEnter();
    virtual void MouseLeave();
    void CMMouseEnter(vcl::TMessage& message) override;
    void CMMouseLeave(vcl::TMessage& message) override;

    TseBitmap& BlendBuffer() { return blendBuffer_; }

private:
    TseBitmap blendBuffer_;
    bool transparent_ = false;
    bool mouseInside_ = false;
    vcl::TFont paintFont_;
    TSePerformance performance_ = kspNoBuffer;
    TSeBlending blending_;
};

}  // namespace se
