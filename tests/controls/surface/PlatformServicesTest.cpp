// The surface's window services on a running window system (headless): capture, keyboard repeat,
// monitors and the shared buffer come from the backend's screen and settings.

#include <gtest/gtest.h>

#include "controls/surface/SharedBuffer.h"
#include "controls/surface/WindowServices.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/window/Input.h"
#include "platform/window/WindowSystem.h"

namespace se {
namespace {

class PlatformServicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        vcl::MessageQueue().Reset();
        vcl::WindowSystem().SetBackend(&screen_);
    }
    void TearDown() override {
        vcl::WindowSystem().SetBackend(nullptr);
        vcl::MessageQueue().Reset();
    }

    vcl::HWND Window(const TRect& bounds) {
        vcl::TCreateParams p;
        p.Style = vcl::WS_OVERLAPPEDWINDOW | vcl::WS_VISIBLE;
        p.X = bounds.Left;
        p.Y = bounds.Top;
        p.Width = bounds.Width();
        p.Height = bounds.Height();
        return vcl::CreateWindowEx(p);
    }

    vcl::THeadlessBackend screen_{1280, 800};
};

TEST_F(PlatformServicesTest, KeyRepeatFollowsTheUsersKeyboardSettings) {
    vcl::TInputSettings settings;
    settings.KeyboardDelay = 2;
    settings.KeyboardSpeed = 0;
    screen_.SetInputSettings(settings);
    // 200 + 200 * 2; 1000 / (1 * 2.3) = 434.8.
    EXPECT_EQ(KeyRepeatDelay(), 600);
    EXPECT_EQ(KeyRepeatInterval(), 435);
}

TEST_F(PlatformServicesTest, CountedCaptureHoldsTheWindowSystemsCapture) {
    vcl::HWND a = Window({0, 0, 100, 100});
    vcl::HWND b = Window({200, 0, 300, 100});
    CaptureMouse(a);
    CaptureMouse(b);
    EXPECT_EQ(vcl::GetCapture(), a);
    ReleaseMouse();
    EXPECT_EQ(vcl::GetCapture(), a);
    ReleaseMouse();
    EXPECT_EQ(vcl::GetCapture(), nullptr);
    // A window that took the capture meanwhile keeps it.
    CaptureMouse(a);
    vcl::SetCapture(b);
    ReleaseMouse();
    EXPECT_EQ(vcl::GetCapture(), b);
}

TEST_F(PlatformServicesTest, MonitorsWorkAreaAndWindowBoundsComeFromTheScreen) {
    // One monitor: the desktop work area.
    screen_.SetMonitors({{{0, 0, 1280, 800}, {0, 0, 1280, 770}, true}});
    EXPECT_EQ(MonitorRect(TPoint{5000, 10}, true), (TRect{0, 0, 1280, 770}));
    EXPECT_EQ(MonitorRect(TPoint{5000, 10}, false), (TRect{0, 0, 1280, 800}));
    screen_.SetMonitors({{{0, 0, 1280, 800}, {0, 0, 1280, 770}, true}, {{1280, 0, 2304, 768}, {1280, 0, 2304, 740}, false}});
    EXPECT_EQ(MonitorRect(TPoint{2000, 10}, true), (TRect{1280, 0, 2304, 740}));
    EXPECT_EQ(MonitorRect(TPoint{10, 10}, false), (TRect{0, 0, 1280, 800}));
    // A window lying mostly on the second monitor.
    vcl::HWND w = Window({1200, 100, 1500, 200});
    EXPECT_EQ(WindowServices().WindowBounds(w), (TRect{1200, 100, 1500, 200}));
    EXPECT_EQ(MonitorRect(static_cast<WindowHandle>(w), false), (TRect{1280, 0, 2304, 768}));
}

TEST_F(PlatformServicesTest, TheSharedBufferTakesTheRealScreenAndTheStandInReturnsWithoutIt) {
    // The only test of this program that touches the shared buffer.
    ASSERT_TRUE(SharedBuffer().Empty());
    EXPECT_EQ(SizedSharedBuffer().Width(), 1280 + 500);
    EXPECT_EQ(SizedSharedBuffer().Height(), 800 + 500);
    vcl::WindowSystem().SetBackend(nullptr);
    // The stand-in remembers any capture; the window system would refuse a non-window.
    int notAWindow = 0;
    WindowServices().SetCapture(&notAWindow);
    EXPECT_EQ(WindowServices().GetCapture(), &notAWindow);
    WindowServices().ReleaseCapture();
}

}  // namespace
}  // namespace se
