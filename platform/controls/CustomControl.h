#pragma once
// The two controls that paint themselves: TGraphicControl (no window, painted by its parent after
// the parent paints itself) and TCustomControl (a window of its own). Both call the virtual Paint
// with a paint target at hand; the base fills the client area with Color.

#include "platform/controls/WinControl.h"
#include "platform/window/Paint.h"

namespace vcl {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* AOwner);

    // Valid during Paint only: the parent's back buffer at the control's origin, clipped.
    const TPaintTarget* PaintTarget() const { return paintTarget_; }
    void WndProc(TMessage& message) override;

protected:
    virtual void Paint();
    // Fills a rectangle (client coordinates) inside what is being painted.
    void FillRect(const TRect& rect, TColor color) const;
    virtual void WMPaint(TMessage& message);

private:
    const TPaintTarget* paintTarget_ = nullptr;
};

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);

    const TPaintTarget* PaintTarget() const { return paintTarget_; }

protected:
    virtual void Paint();
    void FillRect(const TRect& rect, TColor color) const;
    void PaintWindow(const TPaintTarget& target) override;

private:
    const TPaintTarget* paintTarget_ = nullptr;
};

}  // namespace vcl
