// The real program under Xvfb at VELMO_SCALE=2, as on a high-density laptop: the window carries
// the desktop id as its X11 class, shows at twice its size with every pixel a 2 x 2 block, and the
// port box's drop-down list opens right under the box, scaled the same way. Screenshots land in
// build/screenshots.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/draw/Png.h"
#include "tests/support/GuiTest.h"
#include "tests/support/RealScreen.h"

namespace {

using vcl::PixelSection;
using vcl::TRect;
using vcl::testing_support::CaptureScreen;
using vcl::testing_support::PrivateXServer;
using vcl::testing_support::RunningProgram;
using vcl::testing_support::RunProgram;

PixelSection Crop(const PixelSection& shot, const TRect& area) {
    PixelSection part(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y) {
        for (int x = 0; x < area.Width(); ++x) part.Set(x, y, shot.At(area.Left + x, area.Top + y));
    }
    return part;
}

// 2 x 2 blocks of the area that are not one colour.
int MixedBlocks(const PixelSection& shot, const TRect& area) {
    int mixed = 0;
    for (int y = area.Top; y < area.Bottom; y += 2) {
        for (int x = area.Left; x < area.Right; x += 2) {
            const uint32_t p = shot.At(x, y);
            mixed += shot.At(x + 1, y) != p || shot.At(x, y + 1) != p || shot.At(x + 1, y + 1) != p;
        }
    }
    return mixed;
}

int Differing(const PixelSection& a, const PixelSection& b, const TRect& area) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) n += a.At(x, y) != b.At(x, y);
    }
    return n;
}

TEST(ProgramSmoke, AtScale2TheWindowIsSharpAndTheDropDownOpensUnderItsBox) {
    // 800 x 650 of 1x pixels: room for the 572 x 601 window, centred at (114, 24).
    PrivateXServer server(1600, 1300);
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    setenv("DISPLAY", server.Display().c_str(), 1);
    constexpr int kReportFd = 5;
    RunningProgram program({VELMO_PROGRAM},
                           {"DISPLAY=" + server.Display(), "VELMO_SCALE=2", "VELMO_REPORT_FIRST_FRAME=" + std::to_string(kReportFd)},
                           kReportFd);
    ASSERT_TRUE(program.Running());
    ASSERT_NE(program.ReadLine(std::chrono::seconds(20)), "") << "no first frame";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(RunProgram({"xdotool", "search", "--class", VELMO_DESKTOP_ID}), 0) << "no window of class " << VELMO_DESKTOP_ID;

    const TRect window = vcl::Bounds(2 * 114, 2 * 24, 2 * 572, 2 * 601);
    PixelSection before;
    ASSERT_TRUE(CaptureScreen(server.Display(), before));
    vcl::SavePng(Crop(before, window), vcl::testing_support::ScreenshotDirectory() + "/program-xvfb-scale2.png");
    EXPECT_EQ(MixedBlocks(before, window), 0);
    // The window is there, at its place: the form's silver face left of the panels.
    EXPECT_EQ(before.At(window.Left + 2 * 4, window.Top + 2 * 300) & 0xFFFFFFu, 0xC0C0C0u);

    // The port box at (184, 32) x (97, 23) of the client area; its arrow opens the list.
    ASSERT_EQ(RunProgram({"xdotool", "mousemove", std::to_string(window.Left + 2 * 272), std::to_string(window.Top + 2 * 43),
                          "click", "1"}),
              0);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    PixelSection open;
    ASSERT_TRUE(CaptureScreen(server.Display(), open));
    vcl::SavePng(Crop(open, window), vcl::testing_support::ScreenshotDirectory() + "/program-xvfb-scale2-dropdown.png");
    const TRect list = vcl::Bounds(window.Left + 2 * 184, window.Top + 2 * 55, 2 * 97, 2 * 100);
    EXPECT_GT(Differing(before, open, list), list.Width() * list.Height() / 3) << "no list under the box";
    // Its left edge is the box's: nothing changed just left of it.
    EXPECT_EQ(Differing(before, open, vcl::Bounds(list.Left - 8, list.Top, 8, list.Height())), 0);
    EXPECT_EQ(MixedBlocks(open, window), 0);
    EXPECT_TRUE(program.Stop());
}

}  // namespace
