#pragma once
// TSeGraphicControl: the window-less base of the control set (the label, the scroll bar). It
// paints on its parent through the same pipeline as TSeCustomControl, without the border ring and
// with Width and Height as its sizes: override PaintFace and draw text with PaintFont.

#include "controls/foundation/PaintBuffer.h"
#include "controls/foundation/PaintSettings.h"
#include "controls/foundation/Types.h"
#include "platform/toolkit/CustomControl.h"

namespace se {

class TSeGraphicControl : public TSePaintSettings<vcl::TGraphicControl> {
public:
    explicit TSeGraphicControl(vcl::TComponent* AOwner);
    ~TSeGraphicControl() override;

    // Paints the parent's background into dc so that the parent's pixel at this control lands on
    // dc's pixel (0, 0); nothing while the parent has no window.
    void CopyParentBackground(vcl::HDC dc);

    void Loaded() override;

protected:
    void Paint() override;
    // Base: fill the client area with Color unless Transparent.
    virtual void PaintFace();
};

}  // namespace se
