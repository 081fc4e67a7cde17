#pragma once
// TSeCustomPressControl: the windowed base of the controls a user presses, the push button and the
// option controls (check box, radio button, and so the group box's caption check box). It holds
// the press once: a left press in progress (Tracking), the pressed look (Pressed) that the mouse
// and the Space key set, the focus a press takes, and the release that completes it over the
// control. A subclass paints the look and says what a completed press does (Activate). The kinds
// differ only where their rules say so.

#include <cstdint>

#include "controls/foundation/CustomControl.h"

namespace se {

struct TSePressRules {
    // The pressed look follows the pointer while the left button is held (the push button);
    // otherwise it holds until the release.
    bool lookFollowsPointer = false;
    // The option controls' release: any mouse release ends the press the look shows (Space's too)
    // and acts at once, before the toolkit's own mouse-up handling, so OnMouseUp sees the new
    // value; the right and bottom edges still count as inside; the press holds the control set's
    // counted capture until then. Otherwise only the release of the left press ends it, after the
    // toolkit's handling, and acts inside the control's size.
    bool releaseActsFirst = false;
    // The option controls' Space: it presses after the toolkit's key-down handling, Alt or not; its
    // release acts before the look is released; and no key release goes on to the toolkit (OnKeyUp
    // never fires). Otherwise Space without Alt presses before the toolkit hears of it, and its
    // release shows the control released, acts and goes on as key 0.
    bool spaceActsFirst = false;
};

class TSeCustomPressControl : public TSeCustomControl {
public:
    TSeCustomPressControl(vcl::TComponent* AOwner, const TSePressRules& rules);

    // The left button went down on the control and has not been released.
    bool Tracking() const { return tracking_; }
    // The control shows pressed.
    bool Pressed() const { return pressed_; }

protected:
    // What a completed press does: the push button clicks, an option control takes its next value.
    virtual void Activate() = 0;
    // Stores the look without repainting (a stored state).
    void StorePressed(bool value) { pressed_ = value; }

    void MouseDown(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void MouseMove(vcl::TShiftState shift, int x, int y) override;
    void MouseUp(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, vcl::TShiftState shift) override;
    void KeyUp(uint16_t& key, vcl::TShiftState shift) override;

private:
    // Stores the look and repaints.
    void ShowPressed(bool value);
    // A release at (x, y) completes the press.
    bool ReleasedInside(int x, int y) const;
    void EndMousePress(int x, int y);

    TSePressRules rules_;
    bool tracking_ = false;
    bool pressed_ = false;
};

}  // namespace se
