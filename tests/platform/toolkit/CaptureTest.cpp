// The control set's counted capture sits on the window layer's capture: whatever takes the capture
// away also ends the count, so a pressing control that goes away never leaves it stuck.

#include <gtest/gtest.h>

#include <functional>

#include "ControlsFixture.h"
#include "controls/surface/WindowServices.h"

namespace vcl {
namespace {

using Capture = testing_support::ControlsTest;

// Presses like a control of the set: captures on the left button, releases on its release.
class PressingControl : public TCustomControl {
public:
    PressingControl(TWinControl* parent, TRect bounds) : TCustomControl(parent) {
        SetControlStyle(ControlStyle() & ~csCaptureMouse);
        SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        SetParent(parent);
    }
    int Moves = 0;

protected:
    void MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) override {
        if (button == mbLeft) se::CaptureMouse(Handle());
        TCustomControl::MouseDown(button, shift, x, y);
    }
    void MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) override {
        if (button == mbLeft) se::ReleaseMouse();
        TCustomControl::MouseUp(button, shift, x, y);
    }
    void MouseMove(TShiftState shift, int x, int y) override {
        ++Moves;
        TCustomControl::MouseMove(shift, x, y);
    }
};

TEST_F(Capture, EveryWayOfLosingTheCaptureEndsTheCount) {
    struct Case {
        const char* how;
        std::function<void(PressingControl* pressed, TForm* form)> lose;
        bool formGone = false;
    };
    const Case cases[] = {
        {"destroyed while pressed", [](PressingControl* pressed, TForm*) { delete pressed; }},
        {"cancel mode", [](PressingControl* pressed, TForm*) { SendMessage(pressed->Handle(), WM_CANCELMODE); }},
        {"another window took it", [](PressingControl*, TForm* form) { SetCapture(form->Handle()); }},
        {"released behind its back", [](PressingControl*, TForm*) { ReleaseCapture(); }},
        {"hidden", [](PressingControl* pressed, TForm*) { pressed->Hide(); }},
        {"form closed", [](PressingControl*, TForm* form) { delete form; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TForm* form = NewForm({0, 0, 400, 300});
        auto* pressed = new PressingControl(form, {10, 10, 110, 40});
        Pump();
        screen_.MoveMouseTo(pressed->Handle(), {5, 5});
        screen_.PressButton();
        Pump();
        ASSERT_EQ(se::CaptureCount(), 1);
        ASSERT_EQ(GetCapture(), pressed->Handle());
        c.lose(pressed, form);
        EXPECT_EQ(se::CaptureCount(), 0);
        screen_.ReleaseButton();
        Pump();
        EXPECT_EQ(se::CaptureCount(), 0) << "a late release does not go negative";

        // The next press captures again, on a fresh control.
        TForm* next = NewForm({500, 0, 800, 300});
        auto* other = new PressingControl(next, {10, 10, 110, 40});
        Pump();
        screen_.MoveMouseTo(other->Handle(), {5, 5});
        screen_.PressButton();
        Pump();
        EXPECT_EQ(GetCapture(), other->Handle());
        EXPECT_EQ(se::CaptureCount(), 1);
        // Captured: moves far outside still reach it.
        const int moves = other->Moves;
        screen_.MoveMouse(900, 700);
        Pump();
        EXPECT_GT(other->Moves, moves);
        screen_.ReleaseButton();
        Pump();
        EXPECT_EQ(se::CaptureCount(), 0);
        EXPECT_EQ(GetCapture(), nullptr);
        delete next;
        if (!c.formGone) delete form;
    }
}

TEST_F(Capture, NestedPairsStillCaptureOnceAndReleaseOnce) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* a = new PressingControl(form, {10, 10, 110, 40});
    auto* b = new PressingControl(form, {10, 50, 110, 80});
    Pump();
    se::CaptureMouse(a->Handle());
    se::CaptureMouse(b->Handle());
    EXPECT_EQ(GetCapture(), a->Handle());
    se::ReleaseMouse();
    EXPECT_EQ(GetCapture(), a->Handle());
    EXPECT_EQ(se::CaptureCount(), 1);
    se::ReleaseMouse();
    EXPECT_EQ(GetCapture(), nullptr);
    // A control of the toolkit taking the capture for itself does not disturb a later count.
    b->SetMouseCapture(true);
    se::CaptureMouse(a->Handle());
    EXPECT_EQ(GetCapture(), a->Handle());
    EXPECT_FALSE(b->MouseCapture());
    se::ReleaseMouse();
    EXPECT_EQ(se::CaptureCount(), 0);
}

}  // namespace
}  // namespace vcl
