#pragma once
// TControlCanvas: the canvas of a control. While the control paints, its handle is the paint DC;
// asked for at any other time it gets a DC for the control on demand (the window's own, or the
// parent's moved and clipped to a window-less control), which is released again once the message
// that used it has been handled.

#include "platform/draw/Canvas.h"
#include "platform/window/Window.h"

namespace vcl {

class TControl;

class TControlCanvas : public TCanvas {
public:
    TControlCanvas() = default;
    ~TControlCanvas() override;

    TControl* Control() const { return control_; }
    void SetControl(TControl* value);
    // Gives back a DC got on demand; the canvas has no handle afterwards.
    void FreeHandle();

protected:
    void CreateHandle() override;

private:
    TControl* control_ = nullptr;
    HDC deviceContext_ = nullptr;
    HWND windowHandle_ = nullptr;
};

// Releases the DCs control canvases got on demand, except those of canvases locked for painting.
void FreeDeviceContexts();
// How many on-demand DCs are held now.
int HeldDeviceContexts();

}  // namespace vcl
