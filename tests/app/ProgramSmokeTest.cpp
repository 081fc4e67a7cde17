// The real program on a private X server (Xvfb), driven by xdotool as a person would drive it:
// COM1 leads over a pseudo-terminal to the libmodbus slave; the port is opened, the start-up frame
// sent, the slave answers and the reply shows in the window. Then a 125-register read at 9600 baud
// from a slave whose line takes a quarter second over the reply: shown whole, its CRC checked;
// F12 then opens the bus monitor beside the main window with every exchange logged. Then at
// VELMO_SCALE=2, as on a high-density laptop: the window carries the desktop id as its X11 class,
// every pixel is a 2 x 2 block, and the port box's drop-down list opens right under the box.
// Screenshots land in build/screenshots.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/draw/Png.h"
#include "tests/peers/PacedSlave.h"
#include "tests/peers/SlaveProcess.h"
#include "tests/platform/serialdev/PtyPair.h"
#include "tests/support/GuiTest.h"
#include "tests/support/RealScreen.h"

namespace {

using vcl::testing_support::CaptureScreen;
using vcl::testing_support::PrivateXServer;
using vcl::testing_support::RunningProgram;
using vcl::testing_support::RunProgram;
using vcl::testing_support::ClickAt;
using vcl::testing_support::Xdotool;

int Differing(const vcl::PixelSection& a, const vcl::PixelSection& b, int left, int top, int width, int height) {
    int n = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) n += a.At(x, y) != b.At(x, y);
    }
    return n;
}

// 2 x 2 blocks of the area that are not one colour.
int MixedBlocks(const vcl::PixelSection& shot, const vcl::TRect& area) {
    int mixed = 0;
    for (int y = area.Top; y < area.Bottom; y += 2) {
        for (int x = area.Left; x < area.Right; x += 2) {
            const uint32_t p = shot.At(x, y);
            mixed += shot.At(x + 1, y) != p || shot.At(x, y + 1) != p || shot.At(x + 1, y + 1) != p;
        }
    }
    return mixed;
}

void SaveArea(const vcl::PixelSection& shot, const vcl::TRect& area, const std::string& name) {
    vcl::PixelSection part(area.Width(), area.Height());
    for (int y = 0; y < area.Height(); ++y) std::copy_n(shot.Row(area.Top + y) + area.Left, area.Width(), part.Row(y));
    vcl::SavePng(part, vcl::testing_support::ScreenshotDirectory() + "/" + name);
}

TEST(ProgramSmoke, UnderXvfbThePortOpensTheFrameGoesOutAndTheSlavesReplyShows) {
    PrivateXServer server;
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);

    vcl::pty::ScratchConfig config;
    vcl::pty::PtyPair ours, theirs;
    config.MapPort(1, ours.SlavePath());
    vcl::pty::PtyBridge bridge(ours.Master(), theirs.Master());
    vcl::peers::SlaveProcess slave({vcl::peers::ModbusSlavePath(), theirs.SlavePath(), "115200", "1", "0x01=0x4148",
                                    "0x02=0x0000", "0x03=0x0001", "0x04=0x0002"});
    ASSERT_EQ(slave.ReadLine(), "ready");

    RunningProgram program({VELMO_PROGRAM}, {});
    ASSERT_TRUE(program.Running());
    bool window = false;
    for (int i = 0; i < 200 && !window; ++i) {
        window = RunProgram({"xdotool", "search", "--name", "Modbus RTU"}) == 0;
        if (!window) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    ASSERT_TRUE(window) << "the window never appeared";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // No window manager: the client area is where the window is, centred on the 1024 x 768 screen.
    const int left = (1024 - 572) / 2, top = (768 - 601) / 2;
    auto clickAt = [&](int x, int y) {
        ASSERT_EQ(RunProgram({"xdotool", "mousemove", std::to_string(left + x), std::to_string(top + y), "click", "1"}), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    };

    vcl::PixelSection before;
    ASSERT_TRUE(CaptureScreen(server.Display(), before));
    vcl::SavePng(before, vcl::testing_support::ScreenshotDirectory() + "/program-xvfb-start.png");
    clickAt(112 + 384 + 32, 8 + 56 + 12);   // the port button
    clickAt(8 + 488 + 29, 112 + 78 + 12);   // send
    EXPECT_EQ(vcl::peers::ParseServed(slave.ReadLine()).function, 0x03);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    vcl::PixelSection after;
    ASSERT_TRUE(CaptureScreen(server.Display(), after));
    vcl::SavePng(after, vcl::testing_support::ScreenshotDirectory() + "/program-xvfb-reply.png");

    // The reply memo, the received CRC fields and the status bar's first panel now show text.
    EXPECT_GT(Differing(before, after, left + 16, top + 328, 440, 20), 50);
    EXPECT_GT(Differing(before, after, left + 488, top + 344, 60, 20), 10);
    EXPECT_GT(Differing(before, after, left + 2, top + 581, 148, 18), 20);
    EXPECT_TRUE(program.Stop()) << "SIGTERM did not end the program";
}

// Dark pixels (text) in an area of the screen.
int Dark(const vcl::PixelSection& shot, int left, int top, int width, int height) {
    int n = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) n += (shot.At(x, y) & 0xFFFFFF) < 0x404040;
    }
    return n;
}

TEST(ProgramSmoke, AtNineThousandSixHundredBaudA125RegisterReadIsShownWholeAndF12ShowsItInTheMonitor) {
    // Wide enough for the 900-pixel monitor right of the centred main window.
    PrivateXServer server(2400, 800);
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    setenv("DISPLAY", server.Display().c_str(), 1);
    vcl::pty::ScratchConfig config;
    vcl::pty::PtyPair ours, theirs;
    config.MapPort(1, ours.SlavePath());
    vcl::pty::PtyBridge bridge(ours.Master(), theirs.Master());
    vcl::peers::SlaveProcess slave({vcl::peers::PacedSlavePath(), theirs.SlavePath(), "9600", "1"});
    ASSERT_EQ(slave.ReadLine(), "ready");

    RunningProgram program({VELMO_PROGRAM}, {"SDL_VIDEODRIVER=x11"});
    const vcl::testing_support::ScreenWindow main =
        vcl::testing_support::WaitForWindow(server.Display(), "Modbus RTU", std::chrono::seconds(20));
    ASSERT_NE(main.Id, 0u) << "the window never appeared";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // Each click given time to be handled.
    const auto clickAt = [&](int x, int y) {
        ASSERT_TRUE(ClickAt(main, x, y));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    };
    clickAt(112 + 72 + 5, 8 + 56 + 10);  // the speed box, then six up from 115200 to 9600
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(Xdotool({"key", "Up"}));
    clickAt(8 + 216 + 36, 112 + 40 + 10);  // the length: 125 registers
    ASSERT_TRUE(Xdotool({"key", "End", "shift+Home"}));
    ASSERT_TRUE(Xdotool({"type", "125"}));
    clickAt(112 + 384 + 32, 8 + 56 + 12);  // open
    clickAt(8 + 488 + 29, 112 + 78 + 12);  // send
    EXPECT_EQ(slave.ReadLine(), "replied 255");
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    vcl::PixelSection shot;
    ASSERT_TRUE(CaptureScreen(server.Display(), shot));
    SaveArea(shot, vcl::Bounds(main.Left, main.Top, 572, 601), "program-xvfb-paced-9600.png");

    // Received and local CRC fields show the same bytes; the status bar's count, response time and
    // verdict panels all hold text.
    const int reply = main.Top + 312;
    for (const int row : {32, 72}) {
        int differing = 0;
        for (int y = 0; y < 21; ++y) {
            for (int x = 0; x < 65; ++x) {
                differing += shot.At(main.Left + 8 + 480 + x, reply + row + y) !=
                             shot.At(main.Left + 8 + 480 + x, reply + row + 80 + y);
            }
        }
        EXPECT_EQ(differing, 0) << "received and local CRC differ in row " << row;
    }
    EXPECT_GT(Dark(shot, main.Left + 8 + 480, reply + 32, 65, 21), 10) << "no received CRC";
    for (const int panel : {0, 1, 2}) EXPECT_GT(Dark(shot, main.Left + 150 * panel + 4, main.Top + 582, 140, 16), 20) << panel;

    // Two more exchanges, then F12: the monitor beside the main window with all three logged.
    for (int i = 0; i < 2; ++i) {
        clickAt(8 + 488 + 29, 112 + 78 + 12);
        EXPECT_EQ(slave.ReadLine(), "replied 255");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    ASSERT_TRUE(Xdotool({"key", "F12"}));
    // xdotool matches names in the C locale only: the monitor is the other window shown.
    vcl::testing_support::ScreenWindow monitor;
    for (int i = 0; i < 100 && monitor.Id == 0; ++i) {
        std::istringstream ids(vcl::testing_support::ProgramOutput({"xdotool", "search", "--onlyvisible", "--name", "."}));
        for (unsigned long id = 0; ids >> id;) {
            if (id != main.Id) vcl::testing_support::WindowGeometry(server.Display(), id, monitor), monitor.Id = id;
        }
        if (monitor.Id == 0) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_NE(monitor.Id, 0u) << "F12 did not open the monitor";
    EXPECT_GE(monitor.Left, main.Left + 572) << "beside the main window, not over it";
    EXPECT_EQ(monitor.Top, main.Top);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ASSERT_TRUE(CaptureScreen(server.Display(), shot));
    SaveArea(shot, vcl::Bounds(main.Left, main.Top, monitor.Left + 900 - main.Left, 601), "program-xvfb-bus-monitor.png");
    // Seven rows (the opening, three requests, three replies) under the header, then none.
    const int rows = monitor.Top + 70 + 16;
    EXPECT_GT(Dark(shot, monitor.Left + 4, rows, 880, 7 * 16), 7 * 100);
    EXPECT_EQ(Dark(shot, monitor.Left + 4, rows + 7 * 16 + 2, 880, 3 * 16), 0);
    EXPECT_TRUE(program.Stop());
}

TEST(ProgramSmoke, AtScale2TheWindowIsSharpAndTheDropDownOpensUnderItsBox) {
    // 800 x 650 of 1x pixels: room for the 572 x 601 window, centred at (114, 24).
    PrivateXServer server(1600, 1300);
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    setenv("DISPLAY", server.Display().c_str(), 1);
    constexpr int kReportFd = 5;
    RunningProgram program({VELMO_PROGRAM},
                           {"VELMO_SCALE=2", "VELMO_REPORT_FIRST_FRAME=" + std::to_string(kReportFd)}, kReportFd);
    ASSERT_NE(program.ReadLine(std::chrono::seconds(20)), "") << "no first frame";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(RunProgram({"xdotool", "search", "--class", VELMO_DESKTOP_ID}), 0) << "no window of class " << VELMO_DESKTOP_ID;

    const vcl::TRect window = vcl::Bounds(2 * 114, 2 * 24, 2 * 572, 2 * 601);
    vcl::PixelSection before, open;
    ASSERT_TRUE(CaptureScreen(server.Display(), before));
    SaveArea(before, window, "program-xvfb-scale2.png");
    EXPECT_EQ(MixedBlocks(before, window), 0);
    // The window is at its place: the form's silver face left of the panels.
    EXPECT_EQ(before.At(window.Left + 2 * 4, window.Top + 2 * 300) & 0xFFFFFFu, 0xC0C0C0u);

    // The port box's arrow, at (272, 43) of the client area, opens its list under the box's (184, 55).
    ASSERT_EQ(RunProgram({"xdotool", "mousemove", std::to_string(window.Left + 2 * 272), std::to_string(window.Top + 2 * 43),
                          "click", "1"}), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    ASSERT_TRUE(CaptureScreen(server.Display(), open));
    SaveArea(open, window, "program-xvfb-scale2-dropdown.png");
    const int left = window.Left + 2 * 184, top = window.Top + 2 * 55;
    EXPECT_GT(Differing(before, open, left, top, 2 * 97, 2 * 100), 2 * 97 * 2 * 100 / 3) << "no list under the box";
    EXPECT_EQ(Differing(before, open, left - 8, top, 8, 2 * 100), 0) << "the list is not in line with the box";
    EXPECT_EQ(MixedBlocks(open, window), 0);
    EXPECT_TRUE(program.Stop());
}

}  // namespace
