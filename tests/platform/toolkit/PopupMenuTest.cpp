// The context-menu hook of controls and the toolkit's popup menu, driven like a user would from
// inside the menu's own modal loop.

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "ControlsFixture.h"
#include "platform/draw/Color.h"
#include "platform/toolkit/Caption.h"
#include "platform/toolkit/Menus.h"

namespace vcl {
namespace {

using testing_support::EventLog;
using Menus = testing_support::ControlsTest;

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// A focusable control with no context-menu handling of its own.
class Field : public TCustomControl {
public:
    Field(TWinControl* parent, TRect bounds) : TCustomControl(parent) {
        SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        SetTabStop(true);
        SetParent(parent);
    }
};

class Mark : public TGraphicControl {
public:
    Mark(TWinControl* parent, TRect bounds) : TGraphicControl(parent) {
        SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        SetParent(parent);
    }
};

TPopupMenu* NewMenu(TComponent* owner, const std::string& name, EventLog* log) {
    auto* menu = new TPopupMenu(owner);
    menu->SetName(name);
    for (const char* caption : {"&Undo", "-", "Cu&t", "&Copy", "&Paste"}) {
        menu->Items()->Add(caption, [log, menu](TObject* sender) {
            log->push_back(StripAccelChars(std::string_view(static_cast<TMenuItem*>(sender)->Caption())) +
                           (menu->WindowHandle() ? " while open" : ""));
        });
    }
    menu->Items()->Items(0)->SetEnabled(false);
    menu->OnClose = [log](TObject*) { log->push_back("closed"); };
    return menu;
}

TEST_F(Menus, AContextMenuRequestOpensTheRightMenuAtTheRightPlace) {
    TForm* form = NewForm({100, 100, 500, 400});
    auto* field = new Field(form, {10, 10, 110, 40});
    auto* plain = new Field(form, {10, 60, 110, 90});
    auto* mark = new Mark(form, {200, 10, 260, 30});
    auto* bare = new Mark(form, {200, 60, 260, 80});
    TPopupMenu* formMenu = NewMenu(form, "formMenu", &log_);
    TPopupMenu* fieldMenu = NewMenu(form, "fieldMenu", &log_);
    TPopupMenu* markMenu = NewMenu(form, "markMenu", &log_);
    form->SetPopupMenu(formMenu);
    field->SetPopupMenu(fieldMenu);
    mark->SetPopupMenu(markMenu);
    Pump();

    struct Case {
        const char* how;
        std::function<void()> request;
        TPopupMenu* expected;
        TPoint at;  // screen
    };
    const Case cases[] = {
        {"right click on the field", [&] { screen_.ClickAt(field->Handle(), {30, 12}, TMouseButton::Right); }, fieldMenu,
         {140, 122}},
        {"menu key with the field focused", [&] { field->SetFocus(); screen_.PressKey(VK_APPS); }, fieldMenu, {110, 110}},
        {"Shift+F10 with the field focused", [&] { field->SetFocus(); screen_.PressKey(VK_F10, ssShift); }, fieldMenu,
         {110, 110}},
        {"right click on a window-less control", [&] { screen_.ClickAt(form->Handle(), {205, 15}, TMouseButton::Right); },
         markMenu, {305, 115}},
        {"a control without a menu: its parent's", [&] { screen_.ClickAt(plain->Handle(), {5, 5}, TMouseButton::Right); },
         formMenu, {115, 165}},
        {"menu key on a control without a menu", [&] { plain->SetFocus(); screen_.PressKey(VK_APPS); }, formMenu,
         {100, 100}},
        {"a window-less control without a menu", [&] { screen_.ClickAt(form->Handle(), {205, 65}, TMouseButton::Right); },
         formMenu, {305, 165}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        TPopupMenu* opened = nullptr;
        TPoint at{-100, -100};
        WhileWaiting({[&] {
            for (TPopupMenu* menu : {formMenu, fieldMenu, markMenu}) {
                if (menu->WindowHandle()) opened = menu;
            }
            if (opened) at = GetWindowRect(opened->WindowHandle()).TopLeft();
            screen_.PressKey(VK_ESCAPE);
        }});
        c.request();
        Pump();
        EXPECT_EQ(opened, c.expected);
        EXPECT_EQ(at, c.at);
        const TControl* owner = opened == formMenu ? static_cast<TControl*>(form)
                                : opened == markMenu ? static_cast<TControl*>(mark)
                                                     : static_cast<TControl*>(field);
        if (opened) {
            EXPECT_EQ(opened->PopupComponent(), owner);
        }
        EXPECT_EQ(opened ? opened->WindowHandle() : nullptr, nullptr) << "closed again";
    }
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "closed"), 7);
    delete bare;
}

TEST_F(Menus, PointerAndKeysPickItemsAfterTheMenuClosed) {
    TForm* form = NewForm({100, 100, 500, 400});
    TPopupMenu* menu = NewMenu(form, "menu", &log_);
    int formClicks = 0;
    form->OnMouseDown = [&](TObject*, TMouseButtonKind, TShiftState, int, int) { ++formClicks; };
    const auto centre = [&](int index) { return Centre(menu->ItemRect(index)); };
    const auto clickItem = [&](int index, TMouseButton button = TMouseButton::Left) {
        return [&, index, button] { screen_.ClickAt(menu->WindowHandle(), centre(index), button); };
    };
    const auto key = [&](uint16_t k) { return [&, k] { screen_.PressKey(k); }; };
    struct Case {
        const char* how;
        std::vector<std::function<void()>> steps;
        EventLog expected;
    };
    const Case cases[] = {
        {"click on Copy", {clickItem(3)}, {"closed", "Copy"}},
        {"right button on Cut", {clickItem(2, TMouseButton::Right)}, {"closed", "Cut"}},
        {"a disabled item stays open", {clickItem(0), key(VK_ESCAPE)}, {"closed"}},
        {"so does a separator", {clickItem(1), key(VK_ESCAPE)}, {"closed"}},
        {"a click outside closes", {[&] { screen_.ClickAt(form->Handle(), {350, 250}); }}, {"closed"}},
        {"Down goes over the separator", {key(VK_DOWN), key(VK_DOWN), key(VK_RETURN)}, {"closed", "Cut"}},
        {"Up goes round to the last", {key(VK_UP), key(VK_RETURN)}, {"closed", "Paste"}},
        {"Enter on the disabled item does nothing", {key(VK_DOWN), key(VK_RETURN), key(VK_ESCAPE)}, {"closed"}},
        {"the accelerator picks", {[&] { screen_.TypeText("t"); }}, {"closed", "Cut"}},
        {"in either case", {[&] { screen_.TypeText("P"); }}, {"closed", "Paste"}},
        {"cancel mode closes", {[&] { SendMessage(menu->WindowHandle(), WM_CANCELMODE); }}, {"closed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        log_.clear();
        WhileWaiting(c.steps);
        menu->Popup(150, 150);
        Pump();
        EXPECT_EQ(log_, c.expected);
        EXPECT_EQ(menu->WindowHandle(), nullptr);
        EXPECT_EQ(GetCapture(), nullptr);
    }
    EXPECT_EQ(formClicks, 0) << "the click that closed the menu went nowhere else";
}

TEST_F(Menus, HoverHighlightsAndTheMenuIsPaintedInTheClassicLook) {
    TForm* form = NewForm({100, 100, 500, 400});
    TPopupMenu* menu = NewMenu(form, "menu", &log_);
    PixelSection shot;
    int hot = -2;
    TRect undo, copy, line;
    WhileWaiting({[&] { screen_.MoveMouseTo(menu->WindowHandle(), Centre(menu->ItemRect(3))); },
                  [&] {
                      hot = menu->HotIndex();
                      undo = menu->ItemRect(0);
                      copy = menu->ItemRect(3);
                      line = menu->ItemRect(1);
                      SaveScreenshot("popup_menu.png", menu->WindowHandle());
                      shot = screen_.Screenshot(menu->WindowHandle());
                      screen_.MoveMouseTo(menu->WindowHandle(), {-20, -20});
                  },
                  [&] {
                      EXPECT_EQ(menu->HotIndex(), -1) << "outside the menu nothing is highlighted";
                      screen_.PressKey(VK_ESCAPE);
                  }});
    menu->Popup(150, 150);
    ASSERT_EQ(hot, 3);
    ASSERT_FALSE(shot.Empty());
    // Text may be smoothed: a pixel counts for a colour when every channel is within 24 of it.
    const auto count = [&](TRect r, TColor color) {
        const COLORREF want = ColorToRGB(color);
        int n = 0;
        for (int y = r.Top; y < r.Bottom; ++y) {
            for (int x = r.Left; x < r.Right; ++x) {
                const COLORREF got = PixelToRgb(shot.At(x, y));
                n += std::abs(GetRValue(got) - GetRValue(want)) <= 24 && std::abs(GetGValue(got) - GetGValue(want)) <= 24 &&
                     std::abs(GetBValue(got) - GetBValue(want)) <= 24;
            }
        }
        return n;
    };
    const int area = copy.Width() * copy.Height();
    EXPECT_GT(count(copy, clHighlight), area * 3 / 4) << "the bar fills the row";
    EXPECT_GT(count(copy, clHighlightText), 4) << "its text in the highlight text colour";
    EXPECT_EQ(count(copy, clMenuText), 0);
    EXPECT_GT(count(undo, clBtnShadow), 4) << "disabled text in the shadow colour";
    EXPECT_GT(count(undo, clBtnHighlight), 4) << "with its highlight under it";
    EXPECT_EQ(count(undo, clMenuText), 0);
    EXPECT_EQ(count(line, clBtnShadow), line.Width() - 2) << "one engraved separator line";
    EXPECT_EQ(count({0, 0, shot.Width(), 1}, clBtnFace), shot.Width() - 1) << "the raised frame's top row";
}

TEST_F(Menus, TheMenuStaysOnTheWorkArea) {
    screen_.SetMonitors({TMonitorInfo{{0, 0, 1024, 768}, {0, 0, 1024, 740}, true}});
    TForm* form = NewForm({100, 100, 500, 400});
    TPopupMenu* menu = NewMenu(form, "menu", &log_);
    TRect near;
    TRect corner;
    WhileWaiting({[&] {
                      near = GetWindowRect(menu->WindowHandle());
                      screen_.PressKey(VK_ESCAPE);
                  },
                  [&] {
                      corner = GetWindowRect(menu->WindowHandle());
                      screen_.PressKey(VK_ESCAPE);
                  }});
    menu->Popup(300, 200);
    menu->Popup(1020, 735);
    EXPECT_EQ(near.TopLeft(), (TPoint{300, 200}));
    EXPECT_EQ(corner.Right, 1020) << "flipped to the left of the point";
    EXPECT_EQ(corner.Bottom, 735) << "and above it";
    EXPECT_EQ(corner.Width(), near.Width());
}

TEST_F(Menus, AControlForgetsADestroyedMenu) {
    TForm* form = NewForm({100, 100, 500, 400});
    auto* field = new Field(form, {10, 10, 110, 40});
    TPopupMenu* menu = NewMenu(form, "menu", &log_);
    field->SetPopupMenu(menu);
    delete menu;
    EXPECT_EQ(field->PopupMenu(), nullptr);
    screen_.ClickAt(field->Handle(), {5, 5}, TMouseButton::Right);
    Pump();  // nothing opens: without steps a waiting menu loop would fail the test
}

TEST_F(Menus, AMenuDestroyedWhileOpenClosesWithoutTouchingIt) {
    TForm* form = NewForm({100, 100, 500, 400});
    auto* field = new Field(form, {10, 10, 110, 40});
    TPopupMenu* menu = NewMenu(form, "menu", &log_);
    field->SetPopupMenu(menu);
    // A timer or a message handled inside the menu's loop frees it.
    WhileWaiting({[&] { delete menu; }});
    screen_.ClickAt(field->Handle(), {5, 5}, TMouseButton::Right);
    Pump();
    EXPECT_EQ(field->PopupMenu(), nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(log_, EventLog{}) << "no close or click from a menu that is gone";
}

}  // namespace
}  // namespace vcl
