#include <gtest/gtest.h>

#include "platform/window/SystemMetrics.h"
#include "WindowFixture.h"

namespace vcl {
namespace {

using Input = testing_support::WindowTest;

const std::vector<UINT> kMouse{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                               WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MOUSEWHEEL, WM_MOUSELEAVE};

TEST_F(Input, PointerMessagesGoToTheWindowUnderThePointerInItsClientCoordinates) {
    HWND top = TopLevel({100, 100, 400, 400}, kMouse);
    HWND child = Child(top, {50, 60, 150, 160}, kMouse);
    Pump();
    log_.clear();
    screen_.MoveMouse(160, 170);  // (60, 70) in top, (10, 10) in child
    screen_.Click(TMouseButton::Right);
    screen_.MoveMouse(110, 110);
    Pump();
    ASSERT_EQ(log_.size(), 5u);
    EXPECT_EQ(log_[0].window, child);
    EXPECT_EQ(log_[0].message, WM_MOUSEMOVE);
    EXPECT_EQ(log_[0].lParam, MAKELPARAM(10, 10));
    EXPECT_EQ(log_[1].message, WM_RBUTTONDOWN);
    EXPECT_EQ(log_[1].wParam, MK_RBUTTON);
    EXPECT_EQ(log_[2].message, WM_RBUTTONUP);
    EXPECT_EQ(log_[2].wParam, 0u);
    // Leaving the child for the form tells the child first.
    EXPECT_EQ(log_[3].window, child);
    EXPECT_EQ(log_[3].message, WM_MOUSELEAVE);
    EXPECT_EQ(log_[4].window, top);
    EXPECT_EQ(log_[4].lParam, MAKELPARAM(10, 10));
    EXPECT_EQ(GetCursorPos(), (TPoint{110, 110}));
}

TEST_F(Input, TheCaptureWindowGetsEveryPointerMessageUntilReleased) {
    HWND top = TopLevel({0, 0, 300, 300}, kMouse);
    HWND holder = Child(top, {10, 10, 60, 60}, {WM_MOUSEMOVE, WM_LBUTTONUP, WM_CAPTURECHANGED});
    HWND other = Child(top, {100, 100, 200, 200}, kMouse);
    Pump();
    log_.clear();
    SetCapture(holder);
    EXPECT_EQ(GetCapture(), holder);
    screen_.MoveMouse(150, 150);  // over other, but captured
    screen_.Click();
    Pump();
    ASSERT_GE(log_.size(), 2u);
    EXPECT_EQ(log_[0].window, holder);
    EXPECT_EQ(log_[0].lParam, MAKELPARAM(140, 140));  // client coordinates may lie outside
    EXPECT_EQ(Of(WM_LBUTTONUP).size(), 1u);
    EXPECT_EQ(Of(WM_LBUTTONUP)[0].window, holder);
    for (const auto& l : log_) EXPECT_NE(l.window, other);
    log_.clear();
    SetCapture(other);  // the old holder is told
    ASSERT_EQ(Of(WM_CAPTURECHANGED).size(), 1u);
    EXPECT_EQ(Of(WM_CAPTURECHANGED)[0].window, holder);
    EXPECT_EQ(Of(WM_CAPTURECHANGED)[0].lParam, reinterpret_cast<LPARAM>(other));
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    // Destroying the holder releases it too.
    SetCapture(holder);
    DestroyWindow(holder);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(Input, RoutingHappensWhenTheQueueReachesTheEvent) {
    // A capture taken by the button-down handler applies to the move injected with it.
    HWND top = TopLevel({0, 0, 300, 300});
    HWND button = Child(top, {0, 0, 50, 50}, {WM_MOUSEMOVE});
    HWND far = Child(top, {200, 200, 250, 250}, {WM_MOUSEMOVE});
    button->SetWindowProc([inner = button->WindowProc()](HWND w, TMessage& m) {
        if (m.Msg == WM_LBUTTONDOWN) SetCapture(w);
        inner(w, m);
    });
    Pump();
    screen_.MoveMouse(10, 10);
    screen_.PressButton();
    screen_.MoveMouse(220, 220);
    log_.clear();
    Pump();
    ASSERT_FALSE(Of(WM_MOUSEMOVE).empty());
    EXPECT_EQ(Of(WM_MOUSEMOVE).back().window, button);
    for (const auto& l : log_) EXPECT_NE(l.window, far);
}

TEST_F(Input, DisabledWindowsGetNoInputAndAModalOwnerNoneAtAll) {
    HWND top = TopLevel({0, 0, 300, 300}, {WM_LBUTTONDOWN});
    HWND child = Child(top, {0, 0, 100, 100}, {WM_LBUTTONDOWN, WM_KEYDOWN});
    Pump();
    EnableWindow(child, false);
    log_.clear();
    screen_.MoveMouse(10, 10);
    screen_.Click();
    Pump();
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0].window, top);  // through the disabled child to its parent
    EXPECT_EQ(SetFocus(child), nullptr);
    EXPECT_NE(GetFocus(), child);
    // A disabled top-level (a modal box is open over it) takes neither pointer nor keys.
    EnableWindow(child, true);
    SetFocus(child);
    EnableWindow(top, false);
    log_.clear();
    screen_.Click();
    screen_.PressKey('A');
    Pump();
    EXPECT_TRUE(log_.empty());
}

TEST_F(Input, DoubleClicksNeedTheSameWindowButtonPlaceAndTime) {
    TopLevel({0, 0, 300, 300}, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN});
    Pump();
    struct Step {
        int advanceMs;
        TPoint at;
        TMouseButton button;
        UINT expected;
    };
    // The double-click time is 500 ms and the rectangle 4 x 4 pixels around the first press.
    const Step steps[] = {
        {0, {10, 10}, TMouseButton::Left, WM_LBUTTONDOWN},
        {500, {12, 12}, TMouseButton::Left, WM_LBUTTONDBLCLK},
        {10, {12, 12}, TMouseButton::Left, WM_LBUTTONDOWN},      // a third press starts over
        {501, {12, 12}, TMouseButton::Left, WM_LBUTTONDOWN},     // too late
        {10, {15, 12}, TMouseButton::Left, WM_LBUTTONDOWN},      // too far
        {10, {15, 12}, TMouseButton::Right, WM_RBUTTONDOWN},     // another button
        {10, {15, 12}, TMouseButton::Left, WM_LBUTTONDOWN},
    };
    for (const Step& s : steps) {
        screen_.VirtualClock().AdvanceMilliseconds(static_cast<uint64_t>(s.advanceMs));
        screen_.MoveMouse(s.at.X, s.at.Y);
        log_.clear();
        screen_.Click(s.button);
        Pump();
        ASSERT_EQ(log_.size(), 1u);
        EXPECT_EQ(log_[0].message, s.expected) << s.advanceMs << " ms at " << s.at.X;
    }
}

TEST_F(Input, KeysGoToTheFocusWithTheModifierStateOfTheirTime) {
    HWND top = TopLevel({0, 0, 300, 300});
    HWND edit = Child(top, {0, 0, 100, 20}, {WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_SYSKEYDOWN, WM_SYSCHAR});
    std::vector<bool> shiftAtKey;
    edit->SetWindowProc([&, inner = edit->WindowProc()](HWND w, TMessage& m) {
        if (m.Msg == WM_KEYDOWN && m.WParam == 'B') shiftAtKey.push_back(GetKeyState(VK_SHIFT) < 0);
        inner(w, m);
    });
    SetFocus(edit);
    Pump();
    log_.clear();
    screen_.PressKey('B', ssShift);
    screen_.PressKey('B');
    Pump();
    // The key state is that of the message being handled, not of the keyboard now.
    EXPECT_EQ(shiftAtKey, (std::vector<bool>{true, false}));
    EXPECT_GE(GetKeyState(VK_SHIFT), 0);
    for (const auto& l : log_) EXPECT_EQ(l.window, edit);
}

TEST_F(Input, TranslationTypesControlCharactersAndAltLetters) {
    HWND top = TopLevel({0, 0, 300, 300});
    HWND edit = Child(top, {0, 0, 100, 20}, {WM_CHAR, WM_SYSCHAR});
    SetFocus(edit);
    Pump();
    struct Case {
        uint16_t key;
        TShiftState modifiers;
        UINT message;
        WPARAM ch;
    };
    const Case cases[] = {
        {VK_RETURN, 0, WM_CHAR, 13}, {VK_TAB, 0, WM_CHAR, 9},      {VK_ESCAPE, 0, WM_CHAR, 27},
        {VK_BACK, 0, WM_CHAR, 8},    {'C', ssCtrl, WM_CHAR, 3},    {'Z', ssCtrl, WM_CHAR, 26},
        {'F', ssAlt, WM_SYSCHAR, 'f'}, {'F', ssAlt | ssShift, WM_SYSCHAR, 'F'}, {'7', ssAlt, WM_SYSCHAR, '7'},
    };
    for (const Case& c : cases) {
        log_.clear();
        screen_.PressKey(c.key, c.modifiers);
        Pump();
        ASSERT_EQ(log_.size(), 1u) << c.key;
        EXPECT_EQ(log_[0].message, c.message) << c.key;
        EXPECT_EQ(log_[0].wParam, c.ch) << c.key;
    }
    // Plain keys type nothing by themselves: the text arrives separately, one code point each.
    log_.clear();
    screen_.PressKey('Q');
    screen_.TypeText("q中");
    Pump();
    ASSERT_EQ(log_.size(), 2u);
    EXPECT_EQ(log_[0].wParam, WPARAM{'q'});
    EXPECT_EQ(log_[1].wParam, WPARAM{0x4E2D});
}

TEST_F(Input, AltKeysAreSystemKeys) {
    HWND top = TopLevel({0, 0, 300, 300});
    HWND edit = Child(top, {0, 0, 100, 20}, {WM_KEYDOWN, WM_SYSKEYDOWN});
    SetFocus(edit);
    Pump();
    log_.clear();
    screen_.PressKey('X', ssAlt);
    screen_.PressKey(VK_F10);
    Pump();
    const std::vector<UINT> expected{WM_SYSKEYDOWN, WM_SYSKEYDOWN, WM_SYSKEYDOWN};  // Alt, Alt+X, F10
    EXPECT_EQ(Messages(), expected);
    EXPECT_TRUE(log_[1].lParam & KF_ALTDOWN_LPARAM);
}

TEST_F(Input, FocusChangesTellBothWindowsAboutEachOther) {
    HWND top = TopLevel({0, 0, 300, 300});
    HWND a = Child(top, {0, 0, 50, 20}, {WM_SETFOCUS, WM_KILLFOCUS});
    HWND b = Child(top, {0, 30, 50, 50}, {WM_SETFOCUS, WM_KILLFOCUS});
    SetFocus(a);
    log_.clear();
    EXPECT_EQ(SetFocus(b), a);
    ASSERT_EQ(log_.size(), 2u);
    EXPECT_EQ(log_[0].window, a);
    EXPECT_EQ(log_[0].message, WM_KILLFOCUS);
    EXPECT_EQ(log_[0].wParam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(log_[1].window, b);
    EXPECT_EQ(log_[1].message, WM_SETFOCUS);
    EXPECT_EQ(log_[1].wParam, reinterpret_cast<WPARAM>(a));
    log_.clear();
    SetFocus(b);  // no change, no messages
    EXPECT_TRUE(log_.empty());
    // Hiding the focused window takes the focus away.
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), nullptr);
    ASSERT_EQ(log_.size(), 1u);
    EXPECT_EQ(log_[0].message, WM_KILLFOCUS);
    EXPECT_EQ(SetFocus(b), nullptr);  // a hidden window cannot take it
    EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Input, ClickingActivatesATopLevelButNotANonActivatingPopup) {
    HWND main = TopLevel({0, 0, 300, 300}, {WM_ACTIVATE});
    HWND popup = TopLevel({400, 0, 500, 100}, {WM_ACTIVATE, WM_LBUTTONDOWN}, WS_EX_NOACTIVATE | WS_EX_TOPMOST);
    HWND other = TopLevel({600, 0, 700, 100}, {WM_ACTIVATE});
    EXPECT_EQ(GetActiveWindow(), other);
    Pump();
    log_.clear();
    screen_.MoveMouse(10, 10);
    screen_.Click();
    Pump();
    EXPECT_EQ(GetActiveWindow(), main);
    ASSERT_EQ(Of(WM_ACTIVATE).size(), 2u);
    EXPECT_EQ(Of(WM_ACTIVATE)[0].window, other);
    EXPECT_EQ(LOWORD(Of(WM_ACTIVATE)[0].wParam), WA_INACTIVE);
    EXPECT_EQ(Of(WM_ACTIVATE)[1].window, main);
    EXPECT_EQ(LOWORD(Of(WM_ACTIVATE)[1].wParam), WA_CLICKACTIVE);
    log_.clear();
    screen_.MoveMouse(410, 10);
    screen_.Click();
    Pump();
    EXPECT_EQ(GetActiveWindow(), main);  // the popup got its click without taking activation
    EXPECT_EQ(Of(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_TRUE(Of(WM_ACTIVATE).empty());
    // Focus given to a window inside it does activate it (a drop-down list taking the keyboard).
    HWND list = Child(popup, {0, 0, 100, 100});
    SetFocus(list);
    EXPECT_EQ(GetActiveWindow(), popup);
}

TEST_F(Input, ContextMenuRequestsCarryThePointOrMinusOneFromTheKeyboard) {
    HWND top = TopLevel({100, 100, 400, 400}, {WM_CONTEXTMENU});
    HWND child = Child(top, {10, 10, 110, 110}, {WM_CONTEXTMENU});
    SetFocus(child);
    Pump();
    log_.clear();
    screen_.MoveMouse(130, 140);
    screen_.Click(TMouseButton::Right);
    screen_.PressKey(VK_APPS);
    screen_.PressKey(VK_F10, ssShift);
    Pump();
    // Each request reaches the child and, unanswered, its parent.
    ASSERT_EQ(log_.size(), 6u);
    EXPECT_EQ(log_[0].window, child);
    EXPECT_EQ(log_[0].lParam, MAKELPARAM(130, 140));
    EXPECT_EQ(log_[0].wParam, reinterpret_cast<WPARAM>(child));
    EXPECT_EQ(log_[1].window, top);
    for (int i : {2, 4}) {
        EXPECT_EQ(log_[static_cast<size_t>(i)].window, child);
        EXPECT_EQ(GET_X_LPARAM(log_[static_cast<size_t>(i)].lParam), -1);
        EXPECT_EQ(GET_Y_LPARAM(log_[static_cast<size_t>(i)].lParam), -1);
    }
}

TEST_F(Input, WheelGoesToTheFocusAndUpToItsParents) {
    HWND top = TopLevel({0, 0, 300, 300}, {WM_MOUSEWHEEL});
    HWND list = Child(top, {0, 0, 100, 100}, {WM_MOUSEWHEEL});
    SetFocus(list);
    Pump();
    log_.clear();
    screen_.MoveMouse(200, 200);
    screen_.Wheel(-120);
    Pump();
    ASSERT_EQ(log_.size(), 2u);
    EXPECT_EQ(log_[0].window, list);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(log_[0].wParam), -120);
    EXPECT_EQ(log_[0].lParam, MAKELPARAM(200, 200));
    EXPECT_EQ(log_[1].window, top);
}

TEST_F(Input, NonClientHitsBecomeNonClientMessagesInScreenCoordinates) {
    HWND top = TopLevel({0, 0, 300, 300}, {WM_NCLBUTTONDOWN, WM_LBUTTONDOWN});
    HWND combo = Child(top, {10, 10, 110, 30}, {WM_NCLBUTTONDOWN, WM_LBUTTONDOWN});
    combo->SetWindowProc([inner = combo->WindowProc()](HWND w, TMessage& m) {
        if (m.Msg == WM_NCHITTEST) {
            const TPoint p = ScreenToClient(w, {GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)});
            m.Result = p.X >= 80 ? HTBORDER : HTCLIENT;  // a button at the right end
            return;
        }
        inner(w, m);
    });
    Pump();
    log_.clear();
    screen_.MoveMouse(100, 20);
    screen_.Click();
    screen_.MoveMouse(20, 20);
    screen_.Click();
    Pump();
    ASSERT_EQ(log_.size(), 2u);
    EXPECT_EQ(log_[0].message, WM_NCLBUTTONDOWN);
    EXPECT_EQ(log_[0].wParam, static_cast<WPARAM>(HTBORDER));
    EXPECT_EQ(log_[0].lParam, MAKELPARAM(100, 20));
    EXPECT_EQ(log_[1].message, WM_LBUTTONDOWN);
    EXPECT_EQ(log_[1].lParam, MAKELPARAM(10, 10));
    for (const auto& l : log_) EXPECT_EQ(l.window, combo);
}

TEST_F(Input, TheWindowUnderThePointerChoosesTheCursor) {
    HWND top = TopLevel({0, 0, 300, 300});
    HWND edit = Child(top, {0, 0, 100, 20});
    edit->SetWindowProc([](HWND w, TMessage& m) {
        if (m.Msg == WM_SETCURSOR && LOWORD(static_cast<uintptr_t>(m.LParam)) == HTCLIENT) {
            SetCursor(TCursorShape::IBeam);
            m.Result = 1;
            return;
        }
        DefWindowProc(w, m);
    });
    Pump();
    screen_.MoveMouse(10, 10);
    Pump();
    EXPECT_EQ(screen_.Cursor(), TCursorShape::IBeam);
    screen_.MoveMouse(10, 100);
    Pump();
    EXPECT_EQ(screen_.Cursor(), TCursorShape::Arrow);
}

TEST_F(Input, ACloseRequestFromTheWindowManagerClosesTheWindow) {
    HWND top = TopLevel({0, 0, 100, 100}, {WM_SYSCOMMAND, WM_CLOSE});
    screen_.RequestClose(top);
    Pump();
    EXPECT_FALSE(IsWindow(top));
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE}));
}

TEST_F(Input, AnInputMethodCompositionEndsInTypedCharacters) {
    HWND top = TopLevel({0, 0, 300, 300});
    HWND edit = Child(top, {0, 0, 100, 20},
                      {WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_CHAR});
    SetFocus(edit);
    Pump();
    log_.clear();
    screen_.Compose("zhong");
    Pump();
    EXPECT_EQ(ImmGetCompositionString(), "zhong");
    screen_.TypeText("中文");
    Pump();
    EXPECT_EQ(ImmGetResultString(), "中文");
    // The committed characters are posted while the result is handled, so they come before the
    // end of the composition, which is still waiting as input.
    const std::vector<UINT> expected{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_COMPOSITION,
                                     WM_CHAR, WM_CHAR, WM_IME_ENDCOMPOSITION};
    EXPECT_EQ(Messages(), expected);
    EXPECT_EQ(log_[3].wParam, WPARAM{0x4E2D});
    EXPECT_EQ(log_[4].wParam, WPARAM{0x6587});
    ImmSetCompositionWindow(edit, {2, 3, 50, 18});
    EXPECT_EQ(screen_.TextInputRect(), (TRect{2, 3, 50, 18}));
}

}  // namespace
}  // namespace vcl
