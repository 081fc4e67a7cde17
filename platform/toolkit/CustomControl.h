#pragma once
// The two controls that paint themselves through a canvas: TGraphicControl (no window; painted on
// its parent's DC after the parent paints itself, origin moved to the control and clip narrowed to
// it) and TCustomControl (a window of its own; its canvas is the window's paint DC). Both call the
// virtual Paint with Canvas ready, its font the control's Font; the base fills the client area
// with Color.

#include <memory>

#include "platform/toolkit/ControlCanvas.h"
#include "platform/toolkit/WinControl.h"

namespace vcl {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);
    ~TGraphicControl() override;

    TCanvas* Canvas() { return canvas_.get(); }
    void WndProc(TMessage& message) override;

protected:
    virtual void Paint();
    // wParam carries the parent's DC, already moved and clipped to this control.
    virtual void WMPaint(TMessage& message);
    void CMFontChanged(TMessage& message) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas* Canvas() { return canvas_.get(); }

protected:
    virtual void Paint();
    void PaintWindow(HDC dc) override;
    void CMFontChanged(TMessage& message) override;

private:
    std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace vcl
