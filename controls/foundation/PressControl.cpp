#include "controls/foundation/PressControl.h"

#include "controls/surface/WindowServices.h"
#include "platform/window/Input.h"

namespace se {

using namespace vcl;

TSeCustomPressControl::TSeCustomPressControl(TComponent* AOwner, const TSePressRules& rules)
    : TSeCustomControl(AOwner), rules_(rules) {}

void TSeCustomPressControl::ShowPressed(bool value) {
    pressed_ = value;
    Invalidate();
}

bool TSeCustomPressControl::ReleasedInside(int x, int y) const {
    if (rules_.releaseActsFirst) return x >= 0 && x <= Width() && y >= 0 && y <= Height();
    return x >= 0 && y >= 0 && x < CachedWidth() && y < CachedHeight();
}

void TSeCustomPressControl::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) {
    TSeCustomControl::MouseDown(button, shift, x, y);
    // The window system brings no press to a disabled control.
    if (button != mbLeft || !Enabled()) return;
    if (!HasState(csDesigning) && CanFocus() && !Focused()) SetFocus();
    if (rules_.releaseActsFirst) CaptureMouse(Handle());
    tracking_ = true;
    ShowPressed(true);
}

void TSeCustomPressControl::MouseMove(TShiftState shift, int x, int y) {
    TSeCustomControl::MouseMove(shift, x, y);
    if (!tracking_ || !rules_.lookFollowsPointer) return;
    const TRect client = ClientRect();
    const bool inside = x >= 0 && x < client.Width() && y >= 0 && y < client.Height();
    if (inside != pressed_) ShowPressed(inside);
}

void TSeCustomPressControl::MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) {
    if (rules_.releaseActsFirst) {
        if (pressed_) EndMousePress(x, y);
        TSeCustomControl::MouseUp(button, shift, x, y);
        return;
    }
    TSeCustomControl::MouseUp(button, shift, x, y);
    if (tracking_) EndMousePress(x, y);
}

void TSeCustomPressControl::EndMousePress(int x, int y) {
    tracking_ = false;
    // Repainted before acting: a handler that raises still leaves the control drawn released.
    ShowPressed(false);
    if (rules_.releaseActsFirst) ReleaseMouse();
    if (ReleasedInside(x, y)) Activate();
}

void TSeCustomPressControl::KeyDown(uint16_t& key, TShiftState shift) {
    if (rules_.spaceActsFirst) {
        TSeCustomControl::KeyDown(key, shift);
        if (key == VK_SPACE) ShowPressed(true);
        return;
    }
    if (key == VK_SPACE && !(shift & ssAlt)) ShowPressed(true);
    TSeCustomControl::KeyDown(key, shift);
}

void TSeCustomPressControl::KeyUp(uint16_t& key, TShiftState shift) {
    if (rules_.spaceActsFirst) {
        if (key != VK_SPACE) return;
        Activate();
        ShowPressed(false);
        return;
    }
    if (key == VK_SPACE) {
        ShowPressed(false);
        key = 0;
        // Whether or not the press was seen.
        Activate();
    }
    TSeCustomControl::KeyUp(key, shift);
}

}  // namespace se
