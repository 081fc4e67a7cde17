// The real program ends cleanly: closed by its close button (exit code 0, nothing on standard
// error), and when its display goes away in the middle of the run (Xlib ends it with exit code 1
// while every window still exists). Built with the sanitizers, the same tests catch a use of freed
// memory or a leak on the way out (a report on standard error and another exit code); the only
// leaks let pass are those named by tests/lsan.supp, inside system libraries.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "tests/platform/serialdev/PtyPair.h"
#include "tests/support/RealScreen.h"

namespace {

using namespace vcl::testing_support;

std::string Contents(const std::string& path) {
    std::ifstream in(path);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::remove(path.c_str());
    return text;
}

const std::string kSuppressions = "LSAN_OPTIONS=suppressions=" VELMO_LSAN_SUPPRESSIONS ":print_suppressions=0";
constexpr int kReportFd = 5;

TEST(ProgramExit, ClosedByItsCloseButtonWithThePortOpenItEndsCleanly) {
    PrivateXServer server;
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    vcl::pty::ScratchConfig config;
    vcl::pty::PtyPair line;
    config.MapPort(1, line.SlavePath());
    const std::string errors = "/tmp/velmo_exit_" + std::to_string(getpid()) + ".err";
    RunningProgram program({VELMO_PROGRAM},
                           {"DISPLAY=" + server.Display(), "SDL_VIDEODRIVER=x11",
                            "VELMO_REPORT_FIRST_FRAME=" + std::to_string(kReportFd), kSuppressions},
                           kReportFd, errors);
    ASSERT_FALSE(program.ReadLine(std::chrono::seconds(60)).empty()) << "no first frame";
    const ScreenWindow main = WaitForWindow(server.Display(), "Modbus RTU");
    ASSERT_NE(main.Id, 0u);
    // The port opened (so closing has a port to close on the way out), then the close button.
    const std::string on = "DISPLAY=" + server.Display();
    ASSERT_EQ(RunProgram({"env", on, "xdotool", "mousemove", std::to_string(main.Left + 112 + 384 + 32),
                          std::to_string(main.Top + 8 + 56 + 12), "click", "1"}),
              0);
    ASSERT_TRUE(RequestClose(server.Display(), main.Id));
    EXPECT_EQ(program.WaitForExit(std::chrono::seconds(60)), 0);
    EXPECT_EQ(Contents(errors), "");
}

TEST(ProgramExit, WhenItsDisplayGoesAwayXlibEndsItWithoutAUseOfFreedMemory) {
    auto server = std::make_unique<PrivateXServer>();
    if (!server->Running()) GTEST_SKIP() << "no X server can be started here (" << server->Reason() << ")";
    const std::string errors = "/tmp/velmo_exit_gone_" + std::to_string(getpid()) + ".err";
    RunningProgram program({VELMO_PROGRAM},
                           {"DISPLAY=" + server->Display(), "SDL_VIDEODRIVER=x11",
                            "VELMO_REPORT_FIRST_FRAME=" + std::to_string(kReportFd), kSuppressions},
                           kReportFd, errors);
    ASSERT_FALSE(program.ReadLine(std::chrono::seconds(60)).empty()) << "no first frame";
    server.reset();
    EXPECT_EQ(program.WaitForExit(std::chrono::seconds(60)), 1);
    const std::string said = Contents(errors);
    EXPECT_EQ(said.find("Sanitizer"), std::string::npos) << said;
}

}  // namespace
