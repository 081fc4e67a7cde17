#include <gtest/gtest.h>

#include "ControlsFixture.h"

namespace vcl {
namespace {

using testing_support::EventLog;
using testing_support::ProbeControl;
using testing_support::ProbeGraphic;
using Mouse = testing_support::ControlsTest;

TEST_F(Mouse, EnteringAChildTellsEveryAncestorWhichChildPassedItOn) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* group = new ProbeControl(form, "group", &log_, {10, 10, 210, 210});
    auto* label = new ProbeGraphic(group, "label", &log_, {20, 20, 80, 33});
    auto* edit = new ProbeControl(group, "edit", &log_, {20, 50, 120, 71});
    log_.clear();
    screen_.MoveMouse(15, 15);  // onto the group
    Pump();
    EXPECT_EQ(log_, (EventLog{"group:mouse enter"}));
    log_.clear();
    screen_.MoveMouse(35, 35);  // onto the label inside it
    Pump();
    EXPECT_EQ(log_, (EventLog{"group:mouse leave", "label:mouse enter", "group:enter via child"}));
    EXPECT_EQ(Application->MouseControl(), label);
    log_.clear();
    screen_.MoveMouse(35, 65);  // label to edit: both are inside the group
    Pump();
    EXPECT_EQ(log_, (EventLog{"label:mouse leave", "group:leave via child", "edit:mouse enter", "group:enter via child"}));
    EXPECT_EQ(Application->MouseControl(), edit);
    log_.clear();
    screen_.MoveMouse(390, 290);  // out to the form
    screen_.MoveMouse(500, 500);  // and off every window
    Pump();
    EXPECT_EQ(log_, (EventLog{"edit:mouse leave", "group:leave via child"}));
    EXPECT_EQ(Application->MouseControl(), nullptr);
}

TEST_F(Mouse, AControlDestroyedUnderThePointerIsForgotten) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* edit = new ProbeControl(form, "edit", &log_, {0, 0, 100, 100});
    screen_.MoveMouse(10, 10);
    Pump();
    ASSERT_EQ(Application->MouseControl(), edit);
    delete edit;
    EXPECT_EQ(Application->MouseControl(), nullptr);
    screen_.MoveMouse(20, 20);
    Pump();
    EXPECT_EQ(Application->MouseControl(), form);
}

TEST_F(Mouse, AWindowlessControlCapturesThroughItsParent) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* bar = new ProbeGraphic(form, "bar", &log_, {10, 10, 30, 110});
    std::vector<std::string> events;
    bar->OnMouseDown = [&](TObject*, TMouseButtonKind, TShiftState, int x, int y) {
        events.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    bar->OnMouseMove = [&](TObject*, TShiftState, int x, int y) {
        events.push_back("move " + std::to_string(x) + "," + std::to_string(y));
    };
    bar->OnMouseUp = [&](TObject*, TMouseButtonKind, TShiftState, int x, int y) {
        events.push_back("up " + std::to_string(x) + "," + std::to_string(y));
    };
    bar->OnClick = [&](TObject*) { events.push_back("click"); };
    screen_.MoveMouse(15, 20);
    screen_.PressButton();
    Pump();
    EXPECT_TRUE(bar->MouseCapture());
    EXPECT_EQ(GetCapture(), form->Handle());
    EXPECT_EQ(GetCaptureControl(), bar);
    screen_.MoveMouse(200, 150);  // far outside the bar: still the bar's, in its coordinates
    screen_.ReleaseButton();
    Pump();
    EXPECT_FALSE(bar->MouseCapture());
    // Released outside: no click.
    EXPECT_EQ(events, (std::vector<std::string>{"move 5,10", "down 5,10", "move 190,140", "up 190,140"}));
    events.clear();
    screen_.MoveMouse(20, 20);
    screen_.Click();
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"move 10,10", "down 10,10", "click", "up 10,10"}));
}

TEST_F(Mouse, DoubleClicksFireOnDblClickAfterTheFirstClick) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* edit = new ProbeControl(form, "edit", &log_, {0, 0, 100, 30});
    std::vector<std::string> events;
    edit->OnClick = [&](TObject*) { events.push_back("click"); };
    edit->OnDblClick = [&](TObject*) { events.push_back("double"); };
    edit->OnMouseDown = [&](TObject*, TMouseButtonKind, TShiftState shift, int, int) {
        events.push_back((shift & ssDouble) ? "down double" : "down");
    };
    screen_.DoubleClickAt(edit->Handle(), {5, 5});
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"down", "click", "double", "down double"}));
}

TEST_F(Mouse, EachControlShowsItsOwnCursorAndScreenCursorOverridesThem) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* edit = new ProbeControl(form, "edit", &log_, {0, 0, 100, 30});
    edit->SetCursor(crIBeam);
    auto* logo = new ProbeGraphic(form, "logo", &log_, {0, 100, 121, 133});
    logo->SetCursor(crHandPoint);
    struct Case {
        TPoint at;
        TCursorShape shape;
    };
    const Case cases[] = {{{5, 5}, TCursorShape::IBeam}, {{5, 110}, TCursorShape::Hand}, {{300, 200}, TCursorShape::Arrow}};
    for (const Case& c : cases) {
        screen_.MoveMouse(c.at.X, c.at.Y);
        Pump();
        EXPECT_EQ(screen_.Cursor(), c.shape) << c.at.X << "," << c.at.Y;
    }
    Screen().SetCursor(crHourGlass);
    screen_.MoveMouse(6, 6);
    Pump();
    EXPECT_EQ(screen_.Cursor(), TCursorShape::Wait);
    Screen().SetCursor(crDefault);
}

TEST_F(Mouse, ContextMenuRequestsReachTheControlUnderThePoint) {
    TForm* form = NewForm({100, 100, 500, 400});
    auto* edit = new ProbeControl(form, "edit", &log_, {0, 0, 100, 30});
    auto* label = new ProbeGraphic(form, "label", &log_, {0, 50, 100, 63});
    edit->SetFocus();
    log_.clear();
    screen_.MoveMouse(110, 110);
    screen_.Click(TMouseButton::Right);
    screen_.MoveMouse(110, 155);
    screen_.Click(TMouseButton::Right);
    screen_.PressKey(VK_APPS);  // from the keyboard: the focused control, no point
    Pump();
    (void)label;
    EXPECT_EQ(log_, (EventLog{"edit:mouse enter", "edit:context menu 110,110", "edit:mouse leave", "label:mouse enter",
                              "label:context menu", "edit:context menu -1,-1"}));
}

TEST_F(Mouse, DisabledControlsGetNoClicks) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* button = new ProbeControl(form, "button", &log_, {0, 0, 100, 30});
    int clicks = 0;
    int formDowns = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->OnMouseDown = [&](TObject*, TMouseButtonKind, TShiftState, int, int) { ++formDowns; };
    button->SetEnabled(false);
    screen_.MoveMouse(5, 5);
    screen_.Click();
    Pump();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(formDowns, 1);
    button->SetEnabled(true);
    screen_.Click();
    Pump();
    EXPECT_EQ(clicks, 1);
}

}  // namespace
}  // namespace vcl
