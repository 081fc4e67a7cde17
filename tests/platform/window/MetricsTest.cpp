#include <gtest/gtest.h>

#include "platform/window/SystemMetrics.h"
#include "WindowFixture.h"

namespace vcl {
namespace {

using Metrics = testing_support::WindowTest;

TEST_F(Metrics, ScreenAndMonitorsComeFromTheBackend) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    screen_.SetMonitors({{{0, 0, 800, 600}, {0, 0, 800, 570}, true}, {{800, 0, 2080, 1024}, {800, 0, 2080, 1024}, false}});
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 800);
    EXPECT_EQ(GetSystemMetrics(SM_CMONITORS), 2);
    EXPECT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), 2080);
    EXPECT_EQ(GetWorkArea(), (TRect{0, 0, 800, 570}));
    TMonitorInfo info;
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({900, 10}, MONITOR_DEFAULTTONULL), info));
    EXPECT_EQ(info.Bounds.Left, 800);
    EXPECT_EQ(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONULL), 0u);
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({5000, 10}, MONITOR_DEFAULTTONEAREST), info));
    EXPECT_EQ(info.Bounds.Left, 800);
    ASSERT_TRUE(GetMonitorInfo(MonitorFromPoint({-50, -50}, MONITOR_DEFAULTTOPRIMARY), info));
    EXPECT_TRUE(info.Primary);
    // The monitor that holds most of a rectangle.
    ASSERT_TRUE(GetMonitorInfo(MonitorFromRect({700, 0, 1000, 100}, MONITOR_DEFAULTTONULL), info));
    EXPECT_EQ(info.Bounds.Left, 800);
    TRect work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.Bottom, 570);
}

TEST_F(Metrics, InputSettingsAndClassicSizes) {
    TInputSettings settings;
    settings.KeyboardDelay = 2;
    settings.KeyboardSpeed = 40;  // beyond the platform's range
    settings.DoubleClickTime = 300;
    screen_.SetInputSettings(settings);
    int value = 0;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &value, 0));
    EXPECT_EQ(value, 2);
    ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &value, 0));
    EXPECT_EQ(value, 31);
    EXPECT_EQ(GetDoubleClickTime(), 300u);
    EXPECT_FALSE(SystemParametersInfo(0x9999, 0, &value, 0));
    EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 16);
    EXPECT_EQ(GetSystemMetrics(SM_CYVTHUMB), 16);
}

}  // namespace
}  // namespace vcl
