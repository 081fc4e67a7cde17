// What a container and its children are told: children coming and going, showing on the screen,
// new sizes, z-order changes and cursor changes under the pointer.

#include <gtest/gtest.h>

#include "ControlsFixture.h"

namespace vcl {
namespace {

using testing_support::EventLog;
using testing_support::ProbeControl;
using testing_support::ProbeGraphic;
using Notifications = testing_support::ControlsTest;

// Logs the notifications under test.
class Watcher : public ProbeControl {
public:
    using ProbeControl::ProbeControl;
    void WndProc(TMessage& m) override {
        switch (m.Msg) {
            case CM_CONTROLCHANGE:
                Note(std::string(m.LParam ? "inserted " : "removed ") + reinterpret_cast<TControl*>(m.WParam)->Name());
                break;
            case CM_SHOWINGCHANGED: Note(Showing() ? "showing" : "not showing"); break;
            case WM_SIZE:
                Note("size " + std::to_string(LOWORD(m.LParam)) + "x" + std::to_string(HIWORD(m.LParam)) + " reads " +
                     std::to_string(Width()) + "x" + std::to_string(Height()));
                break;
            default: break;
        }
        ProbeControl::WndProc(m);
    }
};

TEST_F(Notifications, AContainerHearsOfChildrenComingAndGoing) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* box = new Watcher(form, "box", &log_, {0, 0, 200, 200});
    log_.clear();
    auto* label = new ProbeGraphic(box, "label", &log_, {5, 5, 50, 18});
    auto* edit = new ProbeControl(box, "edit", &log_, {5, 30, 100, 51});
    label->SetParent(form);
    delete edit;
    EXPECT_EQ(log_, (EventLog{"box:inserted label", "box:inserted edit", "box:removed label", "box:removed edit"}));
    log_.clear();
    delete box;
    EXPECT_EQ(log_, EventLog{}) << "a container going away is not told of its own children";
}

TEST_F(Notifications, ShowingFollowsTheWindowAndEveryParent) {
    auto* form = new TForm(Application);
    form->SetBounds(0, 0, 400, 300);
    auto* outer = new Watcher(form, "outer", &log_, {0, 0, 200, 200});
    auto* inner = new Watcher(outer, "inner", &log_, {5, 5, 50, 50});
    log_.clear();
    form->HandleNeeded();
    EXPECT_FALSE(inner->Showing()) << "windows exist, but the form is not shown";
    EXPECT_EQ(log_, EventLog{});
    struct Step {
        const char* what;
        std::function<void()> act;
        EventLog expected;
    };
    const Step steps[] = {
        {"form shown", [&] { form->Show(); }, {"outer:showing", "inner:showing"}},
        {"inner hidden", [&] { inner->Hide(); }, {"inner:not showing"}},
        {"outer hidden", [&] { outer->Hide(); }, {"outer:not showing"}},
        {"inner shown inside the hidden outer", [&] { inner->Show(); }, {}},
        {"outer shown again", [&] { outer->Show(); }, {"outer:showing", "inner:showing"}},
        {"form hidden", [&] { form->Hide(); }, {"outer:not showing", "inner:not showing"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        log_.clear();
        step.act();
        Pump();
        std::erase_if(log_, [](const std::string& entry) { return entry.find("showing") == std::string::npos; });
        EXPECT_EQ(log_, step.expected);
    }
}

TEST_F(Notifications, ASizeHandlerReadsTheNewSize) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* panel = new Watcher(form, "panel", &log_, {0, 0, 100, 50});
    Pump();
    log_.clear();
    panel->SetBounds(10, 10, 120, 60);
    panel->SetAlign(alClient);  // the form's client area
    EXPECT_EQ(log_, (EventLog{"panel:size 120x60 reads 120x60", "panel:size 400x300 reads 400x300"}));
    log_.clear();
    screen_.ResizeNativeWindow(form->Handle(), 300, 200);
    Pump();
    EXPECT_EQ(log_, (EventLog{"panel:size 300x200 reads 300x200"}));
}

TEST_F(Notifications, ZOrderChangesReorderWindowedControlsAndTheirWindows) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* a = new ProbeControl(form, "a", &log_, {10, 10, 110, 110});
    auto* b = new ProbeControl(form, "b", &log_, {60, 60, 160, 160});
    Pump();
    const auto clickOverlap = [&] {
        TControl* hit = nullptr;
        a->OnClick = [&](TObject*) { hit = a; };
        b->OnClick = [&](TObject*) { hit = b; };
        screen_.ClickAt(form->Handle(), {80, 80});
        Pump();
        return hit;
    };
    EXPECT_EQ(clickOverlap(), b) << "the later child is on top";
    a->BringToFront();
    EXPECT_EQ(clickOverlap(), a);
    EXPECT_EQ(form->Controls(form->ControlCount() - 1), a);
    a->SendToBack();
    EXPECT_EQ(clickOverlap(), b);
    EXPECT_EQ(form->Controls(0), a);
    // The tab order is not the z-order.
    EXPECT_EQ(a->TabOrder(), 0);
}

TEST_F(Notifications, ACursorChangeShowsAtOnceUnderThePointer) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* edit = new ProbeControl(form, "edit", &log_, {10, 10, 110, 40});
    auto* label = new ProbeGraphic(form, "label", &log_, {10, 100, 110, 120});
    auto* away = new ProbeControl(form, "away", &log_, {200, 10, 300, 40});
    Pump();
    screen_.MoveMouseTo(edit->Handle(), {5, 5});
    Pump();
    ASSERT_EQ(screen_.Cursor(), TCursorShape::Arrow);
    edit->SetCursor(crIBeam);
    EXPECT_EQ(screen_.Cursor(), TCursorShape::IBeam) << "without moving the pointer";
    away->SetCursor(crHandPoint);
    EXPECT_EQ(screen_.Cursor(), TCursorShape::IBeam) << "a control elsewhere changes nothing now";
    screen_.MoveMouseTo(form->Handle(), {20, 105});
    Pump();
    label->SetCursor(crHandPoint);
    EXPECT_EQ(screen_.Cursor(), TCursorShape::Hand) << "a window-less control under the pointer too";
}

}  // namespace
}  // namespace vcl
