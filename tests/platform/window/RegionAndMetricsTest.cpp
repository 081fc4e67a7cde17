#include <gtest/gtest.h>

#include "platform/window/Region.h"
#include "platform/window/SystemMetrics.h"
#include "WindowFixture.h"

namespace vcl {
namespace {

// Counts the pixels of a region one by one, independently of how it stores its rectangles.
long long CountPixels(const TRegion& region, const TRect& within) {
    long long n = 0;
    for (int y = within.Top; y < within.Bottom; ++y) {
        for (int x = within.Left; x < within.Right; ++x) n += region.Contains({x, y});
    }
    return n;
}

TEST(Region, OperationsMatchPixelCounts) {
    struct Case {
        const char* name;
        std::vector<TRect> add;
        std::vector<TRect> subtract;
        TRect intersect;
        long long pixels;  // counted by hand
    };
    const TRect everything{-100, -100, 100, 100};
    const Case cases[] = {
        {"overlap counted once", {{0, 0, 10, 10}, {5, 5, 15, 15}}, {}, everything, 100 + 100 - 25},
        {"hole in the middle", {{0, 0, 10, 10}}, {{3, 3, 7, 7}}, everything, 100 - 16},
        {"subtract everything", {{0, 0, 10, 10}}, {{-1, -1, 11, 11}}, everything, 0},
        {"cut to a band", {{0, 0, 10, 10}, {20, 0, 30, 10}}, {}, {5, 2, 25, 4}, 2 * 5 * 2},
        {"empty rectangles ignored", {{5, 5, 5, 9}, {0, 0, 2, 2}}, {{8, 8, 8, 8}}, everything, 4},
        {"contained adds nothing", {{0, 0, 10, 10}, {2, 2, 4, 4}}, {}, everything, 100},
    };
    for (const Case& c : cases) {
        TRegion r;
        for (const TRect& a : c.add) r.Add(a);
        for (const TRect& s : c.subtract) r.Subtract(s);
        r.Intersect(c.intersect);
        EXPECT_EQ(CountPixels(r, everything), c.pixels) << c.name;
        EXPECT_EQ(r.Area(), c.pixels) << c.name << ": rectangles overlap";
    }
}

TEST(Region, BoundsAndOffset) {
    TRegion r({0, 0, 10, 10});
    r.Add({20, 5, 30, 8});
    EXPECT_EQ(r.Bounds(), (TRect{0, 0, 30, 10}));
    r.Offset(3, -2);
    EXPECT_EQ(r.Bounds(), (TRect{3, -2, 33, 8}));
    TRegion other({0, 0, 25, 25});
    r.Intersect(other);
    // (3, 0, 13, 8) and (23, 3, 25, 6) remain.
    EXPECT_EQ(r.Area(), 10 * 8 + 2 * 3);
    EXPECT_TRUE(TRegion().Bounds().IsEmpty());
}

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
