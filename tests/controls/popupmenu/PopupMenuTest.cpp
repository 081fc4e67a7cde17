#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "controls/popupmenu/PopupMenu.h"
#include "controls/popupmenu/PopupWindow.h"
#include "platform/runtime/Timer.h"
#include "platform/toolkit/Application.h"
#include "platform/window/Input.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;
using vcl::testing_support::GuiTest;

// A focusable control that logs the keys reaching it.
class KeyLog : public TCustomControl {
public:
    explicit KeyLog(TComponent* owner) : TCustomControl(owner) {
        SetTabStop(true);
        OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); };
        OnKeyPress = [this](TObject*, char32_t& key) { chars.push_back(key); };
    }
    std::vector<uint16_t> keys;
    std::vector<char32_t> chars;

protected:
    void WMGetDlgCode(TMessage& m) override { m.Result = DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTCHARS; }
};

// The open menu windows, first level first.
std::vector<TSePopupWindow*> MenuWindows() {
    std::vector<TSePopupWindow*> windows;
    for (HWND top : GetTopLevelWindows()) {
        if (auto* w = dynamic_cast<TSePopupWindow*>(top->Object()); w && IsWindowVisible(top)) windows.push_back(w);
    }
    const auto depth = [](TSePopupWindow* w) {
        int d = 0;
        for (TSePopupView* v = w->View().ParentView(); v; v = v->ParentView()) ++d;
        return d;
    };
    std::sort(windows.begin(), windows.end(), [&](auto* a, auto* b) { return depth(a) < depth(b); });
    return windows;
}

class PopupMenuTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = NewForm({100, 100, 500, 400});
        target_ = new KeyLog(form_);
        target_->SetParent(form_);
        target_->SetBounds(10, 10, 100, 30);
        Pump();
        target_->SetFocus();
        // The pointer rests on the form, away from every menu the tests open.
        screen_.MoveMouse(105, 395);
        Pump();
        menu_ = new TSeCustomPopupMenu(form_);
    }

    TSeCustomItem* AddItem(TSeCustomItem& parent, const std::u16string& caption, const std::string& name = "") {
        auto* item = new TSeCustomItem(form_);
        item->SetCaption(caption);
        const std::string label = name.empty() ? std::string(caption.begin(), caption.end()) : name;
        item->OnClick = [this, label](TObject*) {
            log_.push_back(label + (MenuWindows().empty() && !menu_->IsOpen() ? "" : " (menu still open)"));
        };
        parent.Add(item);
        return item;
    }

    // The edit field's menu: six commands and two separators.
    void BuildEditMenu() {
        for (const char16_t* caption : {u"&Undo", u"-", u"Cu&t", u"&Copy", u"&Paste", u"&Delete", u"-", u"Select &All"}) {
            AddItem(menu_->Items(), caption);
        }
    }

    // Opens the menu at (x, y) and runs one step per idle call until the menu has closed; the
    // steps inject input or advance the clock.
    void PopupWith(int x, int y, std::vector<std::function<void()>> steps) {
        size_t next = 0;
        screen_.SetIdleHandler([&]() {
            if (next >= steps.size()) return false;
            steps[next++]();
            return true;
        });
        menu_->Popup(x, y);
        screen_.SetIdleHandler(nullptr);
        EXPECT_EQ(next, steps.size()) << "the menu closed before every step ran";
    }

    TRect WindowRect(size_t level = 0) {
        const auto windows = MenuWindows();
        return level < windows.size() ? GetWindowRect(windows[level]->Handle()) : TRect{};
    }

    // Centre of a child item of the given level, in screen coordinates.
    TPoint ItemCentre(size_t level, int index) {
        const auto windows = MenuWindows();
        TSePopupView& view = windows.at(level)->View();
        const TRect r = view.Item().Items(index)->ItemRect();
        return vcl::ClientToScreen(view.Handle(), {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    }

    void MoveTo(TPoint p) { screen_.MoveMouse(p.X, p.Y); }

    TForm* form_ = nullptr;
    KeyLog* target_ = nullptr;
    TSeCustomPopupMenu* menu_ = nullptr;
    std::vector<std::string> log_;
};

TEST_F(PopupMenuTest, OpensAtThePointWithTheEditMenuSizeAndLeavesTheActivationAlone) {
    BuildEditMenu();
    TRect bounds;
    HWND active = nullptr;
    bool noActivate = false;
    PopupWith(200, 150, {[&] {
        bounds = WindowRect();
        active = GetActiveWindow();
        noActivate = (GetWindowExStyle(MenuWindows().at(0)->Handle()) & WS_EX_NOACTIVATE) != 0;
        screen_.PressKey(VK_ESCAPE);
    }});
    EXPECT_EQ(bounds.Left, 200);
    EXPECT_EQ(bounds.Top, 150);
    EXPECT_EQ(bounds.Height(), 156);
    EXPECT_EQ(active, form_->Handle());
    EXPECT_TRUE(noActivate);
    EXPECT_TRUE(log_.empty());
    EXPECT_TRUE(MenuWindows().empty());
    EXPECT_TRUE(target_->keys.empty()) << "Escape reached the window below";
}

TEST_F(PopupMenuTest, FlipsAwayFromTheMonitorEdges) {
    BuildEditMenu();
    int w = 0, h = 0;
    PopupWith(10, 10, {[&] {
        w = WindowRect().Width();
        h = WindowRect().Height();
        screen_.PressKey(VK_ESCAPE);
    }});
    struct Case {
        TPoint at;
        TPoint expected;
    };
    const Case cases[] = {
        {{1020, 100}, {1020 - w, 100}},     // right edge: opens to the left of the point
        {{100, 760}, {100, 760 - h}},       // bottom edge: opens above
        {{1023, 767}, {1023 - w, 767 - h}}, // the corner: up and to the left
        {{0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        TRect bounds;
        PopupWith(c.at.X, c.at.Y, {[&] {
            bounds = WindowRect();
            screen_.PressKey(VK_ESCAPE);
        }});
        EXPECT_EQ(bounds.Left, c.expected.X) << c.at.X << "," << c.at.Y;
        EXPECT_EQ(bounds.Top, c.expected.Y) << c.at.X << "," << c.at.Y;
    }
}

TEST_F(PopupMenuTest, MenuOnASecondMonitorLeftOfTheFirstUsesNegativeCoordinates) {
    screen_.SetMonitors({TMonitorInfo{{0, 0, 1024, 768}, {0, 0, 1024, 740}, true},
                        TMonitorInfo{{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}, false}});
    BuildEditMenu();
    TRect bounds;
    PopupWith(-300, 900, {[&] {
        bounds = WindowRect();
        screen_.PressKey(VK_ESCAPE);
    }});
    EXPECT_EQ(bounds.Left, -300);
    EXPECT_EQ(bounds.Top, 900 - 156);
}

TEST_F(PopupMenuTest, KeysMoveChooseAndRunTheClickAfterTheMenuHasGone) {
    struct Case {
        std::vector<uint16_t> keys;
        std::string typed;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{VK_RETURN}, "", {"&Undo"}},
        {{VK_DOWN, VK_RETURN}, "", {"Cu&t"}},                 // the separator is skipped
        {{VK_UP, VK_RETURN}, "", {"Select &All"}},            // wraps from the first to the last
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, "", {"&Undo"}},  // round
        {{}, "p", {"&Paste"}},                                // accelerator
        {{}, "A", {"Select &All"}},
        {{VK_ESCAPE}, "", {}},
        {{VK_MENU}, "", {}},
        {{VK_TAB, VK_SPACE, VK_ESCAPE}, "", {}},
    };
    BuildEditMenu();
    for (const Case& c : cases) {
        log_.clear();
        std::vector<std::function<void()>> steps;
        for (uint16_t key : c.keys) steps.push_back([this, key] { screen_.PressKey(key); });
        if (!c.typed.empty()) steps.push_back([this, &c] { screen_.TypeText(c.typed); });
        PopupWith(300, 200, steps);
        EXPECT_TRUE(log_.empty()) << "a click ran inside Popup";
        Pump();
        EXPECT_EQ(log_, c.expected);
    }
    EXPECT_TRUE(target_->keys.empty());
    EXPECT_TRUE(target_->chars.empty());
}

TEST_F(PopupMenuTest, DisabledItemsCanBeHighlightedButNotChosen) {
    BuildEditMenu();
    menu_->Items().Items(0)->SetEnabled(false);
    PopupWith(300, 200, {
        [&] { MoveTo(ItemCentre(0, 0)); },
        [&] { screen_.Click(); },
        [&] { screen_.PressKey(VK_RETURN); },
        [&] {
            EXPECT_EQ(MenuWindows().size(), 1u) << "pressing a disabled item closed the menu";
            MoveTo(ItemCentre(0, 3));
        },
        [&] { screen_.Click(); },
    });
    Pump();
    EXPECT_EQ(log_, std::vector<std::string>{"&Copy"});
}

TEST_F(PopupMenuTest, HoverHighlightsAndAClickOutsideEndsTheMenu) {
    BuildEditMenu();
    int highlighted = -2;
    PopupWith(300, 200, {
        [&] { MoveTo(ItemCentre(0, 4)); },
        [&] {
            highlighted = MenuWindows().at(0)->View().HighlightIndex();
            MoveTo(ItemCentre(0, 1));  // a separator keeps the highlight where it was
        },
        [&] {
            EXPECT_EQ(MenuWindows().at(0)->View().HighlightIndex(), 4);
            screen_.MoveMouse(150, 300);  // on the form, outside the menu
        },
        [&] { screen_.Click(); },
    });
    Pump();
    EXPECT_EQ(highlighted, 4);
    EXPECT_TRUE(log_.empty());
    EXPECT_TRUE(MenuWindows().empty());
}

TEST_F(PopupMenuTest, UpAndDownOverALevelWithNothingToStopOnEndAfterOneRound) {
    AddItem(menu_->Items(), u"-");
    AddItem(menu_->Items(), u"Hidden")->SetVisible(false);
    AddItem(menu_->Items(), u"-");
    int highlighted = 0;
    PopupWith(300, 200, {
        [&] { screen_.PressKey(VK_DOWN); },
        [&] { screen_.PressKey(VK_UP); },
        [&] {
            highlighted = MenuWindows().at(0)->View().HighlightIndex();
            screen_.PressKey(VK_ESCAPE);
        },
    });
    EXPECT_EQ(highlighted, -1);
}

TEST_F(PopupMenuTest, SubmenusOpenAfterTheDelayAndCloseLevelByLevel) {
    AddItem(menu_->Items(), u"First");
    TSeCustomItem* more = AddItem(menu_->Items(), u"&More");
    AddItem(*more, u"Inner one");
    AddItem(*more, u"Inner two");
    AddItem(menu_->Items(), u"Last");
    int dropDowns = 0;
    more->OnBeforeDropDown = [&](TObject*) { ++dropDowns; };
    std::vector<size_t> levels;
    const auto count = [&] { levels.push_back(MenuWindows().size()); };
    TRect parent, sub;
    PopupWith(300, 200, {
        [&] { MoveTo(ItemCentre(0, 1)); },
        [&] {
            count();  // 1: not yet
            Advance(kSubmenuDelay / 2);
        },
        [&] {
            count();  // 1: still not
            Advance(kSubmenuDelay);
        },
        [&] {
            count();  // 2: open
            parent = WindowRect(0);
            sub = WindowRect(1);
            MoveTo(ItemCentre(0, 2));  // another item of the first level closes it
        },
        [&] {
            count();  // 1
            screen_.PressKey(VK_UP);
        },
        [&] { screen_.PressKey(VK_RIGHT); },
        [&] {
            count();  // 2: Right opens at once
            screen_.PressKey(VK_LEFT);
        },
        [&] {
            count();  // 1: Left closes the submenu only
            screen_.PressKey(VK_RIGHT);
        },
        [&] { screen_.PressKey(VK_ESCAPE); },
        [&] {
            count();  // 1: Escape closes one level
            screen_.PressKey(VK_RIGHT);
        },
        [&] { screen_.PressKey(VK_DOWN); },
        [&] { screen_.PressKey(VK_RETURN); },
    });
    Pump();
    EXPECT_EQ(levels, (std::vector<size_t>{1, 1, 2, 1, 2, 1, 1}));
    // Beside the item that opened it: at its top-right corner.
    EXPECT_EQ(sub.Left, parent.Right - kMenuFrame);
    EXPECT_EQ(sub.Top, parent.Top + kMenuFrame + DefaultItemHeight());
    EXPECT_GE(dropDowns, 4);
    EXPECT_EQ(log_, std::vector<std::string>{"Inner two"});
}

TEST_F(PopupMenuTest, ALevelTallerThanTheScreenScrollsBetweenArrowStrips) {
    screen_.SetMonitors({TMonitorInfo{{0, 0, 1024, 300}, {0, 0, 1024, 300}, true}});
    for (int i = 0; i < 30; ++i) AddItem(menu_->Items(), u"Item " + std::u16string(1, static_cast<char16_t>(u'A' + i)));
    TRect bounds;
    std::vector<int> first, highlight;
    const auto note = [&] {
        TSePopupView& view = MenuWindows().at(0)->View();
        first.push_back(view.FirstShown());
        highlight.push_back(view.HighlightIndex());
    };
    int shown = 0;
    PopupWith(10, 10, {
        [&] {
            bounds = WindowRect();
            shown = MenuWindows().at(0)->View().ShownCount();
            // Onto the bottom strip: every 100 ms the next item, the shown ones following it.
            TSePopupView& view = MenuWindows().at(0)->View();
            MoveTo(vcl::ClientToScreen(view.Handle(), {20, view.Height() - 4}));
        },
        [&] { Advance(static_cast<uint32_t>(kScrollInterval) * static_cast<uint32_t>(shown + 2)); },
        [&] {
            note();
            MoveTo(ItemCentre(0, MenuWindows().at(0)->View().HighlightIndex()));  // off the strip: it stops
        },
        [&] { Advance(1000); },
        [&] {
            note();
            screen_.PressKey(VK_ESCAPE);
        },
    });
    EXPECT_LE(bounds.Height(), 300);
    EXPECT_EQ(bounds.Top, 10);
    ASSERT_GT(shown, 5);
    ASSERT_LT(shown, 30);
    // shown + 2 ticks from the first item: the highlight ran two past the first screenful.
    EXPECT_EQ(highlight.at(0), shown + 2);
    EXPECT_EQ(first.at(0), 3);
    EXPECT_EQ(highlight.at(1), highlight.at(0));
    EXPECT_EQ(first.at(1), first.at(0));
}

TEST_F(PopupMenuTest, AnItemFreedBeforeItsClickRunsIsSkipped) {
    BuildEditMenu();
    TSeCustomItem* paste = menu_->Items().Items(4);
    PopupWith(300, 200, {[&] { screen_.TypeText("p"); }});
    delete paste;
    Pump();
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(menu_->Items().Count(), 7);
}

TEST_F(PopupMenuTest, InputPumpedByATimerTickIsStillTheMenus) {
    BuildEditMenu();
    // A poll timer that dispatches waiting messages from its tick, like the serial component's.
    TTimer timer(nullptr);
    timer.SetInterval(100);
    int ticks = 0;
    timer.SetOnTimer([&](TObject*) {
        ++ticks;
        Application->ProcessMessages();
    });
    timer.SetEnabled(true);
    PopupWith(300, 200, {
        [&] {
            screen_.PressKey(VK_DOWN);
            Advance(100);  // the tick takes the key
        },
        [&] {
            EXPECT_EQ(MenuWindows().at(0)->View().HighlightIndex(), 2);
            screen_.PressKey(VK_ESCAPE);
            Advance(100);
        },
    });
    timer.SetEnabled(false);
    Pump();
    EXPECT_GE(ticks, 2);
    EXPECT_TRUE(target_->keys.empty()) << "a key leaked to the focused window";
    EXPECT_TRUE(log_.empty());
}

TEST_F(PopupMenuTest, OpeningAnotherMenuClosesTheFirst) {
    BuildEditMenu();
    TSeCustomPopupMenu other(nullptr);
    auto* only = new TSeCustomItem(nullptr);
    only->SetCaption(u"Other");
    only->OnClick = [&](TObject*) { log_.push_back("Other"); };
    other.Items().Add(only);
    bool firstClosed = false;
    PopupWith(300, 200, {[&] {
        screen_.SetIdleHandler([&] {
            firstClosed = !menu_->IsOpen() || MenuWindows().size() == 1;
            screen_.PressKey(VK_RETURN);
            screen_.SetIdleHandler(nullptr);
            return true;
        });
        other.Popup(50, 50);
    }});
    Pump();
    EXPECT_TRUE(firstClosed);
    EXPECT_EQ(log_, std::vector<std::string>{"Other"});
}

TEST_F(PopupMenuTest, OptionsClampAndMapTheDirection) {
    TSePopupMenuOptions options;
    int changes = 0;
    options.OnChange = [&](TObject*) { ++changes; };
    options.Blending().SetValue(300);
    options.Shadow().SetSize(50);
    options.Animation().SetTime(10);
    options.Animation().SetResolution(11);
    options.Animation().SetTileCount(0);
    EXPECT_EQ(options.Blending().Value(), 255);
    EXPECT_EQ(options.Shadow().Size(), 20);
    EXPECT_EQ(options.Animation().Time(), 50);
    EXPECT_EQ(options.Animation().Resolution(), 10);
    EXPECT_EQ(options.Animation().TileCount(), 1);
    EXPECT_EQ(changes, 4);  // the tile count was already 1
    options.Shadow().SetEnabled(true);
    options.Shadow().SetSize(0);
    EXPECT_FALSE(options.Shadow().Enabled());
    const std::pair<TSeDirection, TSeDirection> directions[] = {
        {kdNone, kdNone}, {kdNoRotate, kdNone}, {kdRotate90, kdRotate90}, {kdRotate180, kdRotate180}, {kdRotate270, kdRotate270}};
    for (const auto& [set, read] : directions) {
        options.Animation().SetDirection(set);
        EXPECT_EQ(options.Animation().Direction(), read);
    }
    TSePopupMenuOptions copy;
    int copyChanges = 0;
    copy.OnChange = [&](TObject*) { ++copyChanges; };
    copy.Assign(options);
    EXPECT_EQ(copyChanges, 1);
    EXPECT_EQ(copy.Animation().Direction(), kdRotate270);
    EXPECT_EQ(copy.Blending().Value(), 255);
}

TEST_F(PopupMenuTest, AMenuWithoutVisibleItemsDoesNotOpen) {
    AddItem(menu_->Items(), u"Hidden")->SetVisible(false);
    int popups = 0;
    menu_->OnPopup = [&](TObject*) { ++popups; };
    menu_->Popup(100, 100);  // would stall on the idle handler if it opened
    EXPECT_EQ(popups, 1);
}

}  // namespace
}  // namespace se
