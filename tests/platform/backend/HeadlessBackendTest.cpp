#include <gtest/gtest.h>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/draw/Gdi.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/window/Input.h"
#include "platform/window/WindowSystem.h"

namespace vcl {
namespace {

class Headless : public ::testing::Test {
protected:
    void SetUp() override {
        MessageQueue().Reset();
        WindowSystem().SetBackend(&screen_);
        previous_ = SetProcessMessagesHandler(PumpWaitingMessages);
    }
    void TearDown() override {
        WindowSystem().SetBackend(nullptr);
        SetProcessMessagesHandler(std::move(previous_));
        MessageQueue().Reset();
    }

    HWND Filled(TRect bounds, uint32_t pixel, uint32_t exStyle = 0, uint32_t style = WS_OVERLAPPEDWINDOW) {
        TCreateParams p;
        p.Style = style | WS_VISIBLE;
        p.ExStyle = exStyle;
        p.X = bounds.Left;
        p.Y = bounds.Top;
        p.Width = bounds.Width();
        p.Height = bounds.Height();
        p.WndProc = [this, pixel](HWND w, TMessage& m) {
            if (m.Msg == WM_PAINT) {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(w, ps);
                HBRUSH brush = CreateSolidBrush(PixelToRgb(pixel));
                const TRect client = GetClientRect(w);
                FillRect(dc, &client, brush);
                DeleteObject(brush);
                EndPaint(w, ps);
                return;
            }
            if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) events_.push_back({w, m.Msg, m.LParam});
            DefWindowProc(w, m);
        };
        return CreateWindowEx(p);
    }

    struct Event {
        HWND window;
        UINT message;
        LPARAM lParam;
    };
    THeadlessBackend screen_;
    std::vector<Event> events_;

private:
    TProcessMessagesHandler previous_;
};

TEST_F(Headless, TheScreenShowsWhatWasPresentedInStackingOrder) {
    HWND low = Filled({0, 0, 100, 100}, 0xFF0000FFu);
    HWND high = Filled({50, 50, 150, 150}, 0xFF00FF00u);
    ProcessPendingMessages();
    PixelSection shot = screen_.Screenshot();
    EXPECT_EQ(shot.At(25, 25), 0xFF0000FFu);
    EXPECT_EQ(shot.At(75, 75), 0xFF00FF00u);   // the later window is on top
    EXPECT_EQ(shot.At(200, 200), 0xFF3A6EA5u); // the desktop
    SetActiveWindow(low);                       // raising it brings it forward
    shot = screen_.Screenshot();
    EXPECT_EQ(shot.At(75, 75), 0xFF0000FFu);
    ShowWindow(low, SW_HIDE);
    EXPECT_EQ(screen_.Screenshot().At(25, 25), 0xFF3A6EA5u);
    (void)high;
}

TEST_F(Headless, PaintingReachesTheScreenOnlyWhenPresented) {
    HWND w = Filled({0, 0, 40, 40}, 0xFF112233u);
    ProcessPendingMessages();
    const int presents = screen_.PresentCount(w);
    // Drawing into the back buffer outside a paint shows once the queue is idle again.
    HDC dc = GetDC(w);
    const TRect corner{0, 0, 10, 10};
    FillRect(dc, &corner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(w, dc);
    EXPECT_EQ(screen_.Screenshot(w).At(5, 5), 0xFF112233u);
    ProcessPendingMessages();
    EXPECT_EQ(screen_.Screenshot(w).At(5, 5), 0xFFFFFFFFu);
    EXPECT_EQ(screen_.PresentCount(w), presents + 1);
}

TEST_F(Headless, APressedButtonKeepsReportingThePointerEvenOutsideEveryWindow) {
    HWND left = Filled({0, 0, 100, 100}, 0xFF000000u);
    HWND right = Filled({200, 0, 300, 100}, 0xFF000000u);
    ProcessPendingMessages();
    screen_.MoveMouse(10, 10);
    screen_.PressButton();
    // Without capture the window under the pointer gets it, as on the platform.
    screen_.MoveMouse(250, 50);
    ProcessPendingMessages();
    ASSERT_EQ(events_.size(), 3u);
    EXPECT_EQ(events_[2].window, right);
    EXPECT_EQ(events_[2].lParam, MAKELPARAM(50, 50));
    // With capture even a pointer off every window still arrives while the button is held.
    SetCapture(left);
    screen_.MoveMouse(500, 400);
    screen_.ReleaseButton();
    ProcessPendingMessages();
    ASSERT_EQ(events_.size(), 5u);
    EXPECT_EQ(events_[3].window, left);
    EXPECT_EQ(events_[3].message, WM_MOUSEMOVE);
    EXPECT_EQ(events_[3].lParam, MAKELPARAM(500, 400));
    EXPECT_EQ(events_[4].message, WM_LBUTTONUP);
    // Released and away from every window: nothing more arrives.
    ReleaseCapture();
    screen_.MoveMouse(600, 500);
    ProcessPendingMessages();
    EXPECT_EQ(events_.size(), 5u);
}

TEST_F(Headless, ATopMostPopupStaysAboveAndLeavesTheKeyboardAlone) {
    HWND main = Filled({0, 0, 300, 300}, 0xFF0000FFu);
    HWND popup = Filled({10, 10, 60, 60}, 0xFFFF0000u, WS_EX_TOPMOST | WS_EX_NOACTIVATE, WS_POPUP);
    HWND later = Filled({0, 0, 100, 100}, 0xFF00FF00u);
    ProcessPendingMessages();
    EXPECT_EQ(screen_.Screenshot().At(20, 20), 0xFFFF0000u);
    EXPECT_EQ(screen_.Stacking().front(), screen_.NativeOf(popup));
    EXPECT_TRUE(screen_.NativeOf(popup)->Popup());
    EXPECT_FALSE(screen_.NativeOf(main)->Popup());
    EXPECT_EQ(GetActiveWindow(), later);
}

TEST_F(Headless, ModifiersStayHeldUntilReleased) {
    std::vector<TShiftState> seen;
    TCreateParams p;
    p.Style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    p.Width = p.Height = 50;
    p.WndProc = [&](HWND w, TMessage& m) {
        if (m.Msg == WM_KEYDOWN && m.WParam == 'A') seen.push_back(GetShiftState());
        DefWindowProc(w, m);
    };
    HWND w = CreateWindowEx(p);
    SetFocus(w);
    screen_.KeyDown(VK_CONTROL);
    screen_.PressKey('A');
    screen_.PressKey('A', ssShift);
    screen_.KeyUp(VK_CONTROL);
    screen_.PressKey('A');
    ProcessPendingMessages();
    EXPECT_EQ(seen, (std::vector<TShiftState>{ssCtrl, static_cast<TShiftState>(ssCtrl | ssShift), 0}));
    EXPECT_EQ(screen_.Modifiers(), 0);
}

TEST_F(Headless, WaitingWithoutHelpStallsAndAnIdleHandlerCanMoveTimeOn) {
    EXPECT_THROW(WaitMessage(), EWaitStalled);
    int calls = 0;
    screen_.SetIdleHandler([&] {
        ++calls;
        return false;  // did nothing
    });
    EXPECT_THROW(WaitMessage(), EWaitStalled);
    HWND w = Filled({0, 0, 10, 10}, 0);
    ProcessPendingMessages();
    SetTimer(w, 1, 250);
    screen_.SetIdleHandler([&] {
        screen_.VirtualClock().AdvanceMilliseconds(250);
        return true;
    });
    TMsg msg;
    ASSERT_TRUE(GetMessage(msg));
    EXPECT_EQ(msg.Message, WM_TIMER);
    EXPECT_EQ(GetTickCount(), 250u);
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace vcl
