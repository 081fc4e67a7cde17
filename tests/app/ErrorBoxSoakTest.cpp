// The real program under Xvfb, bare and under a window manager (twm), through hundreds of error
// boxes opened and closed in a row as a person does it: a digit typed past the integer range of
// the start address and the box closed with its OK button, bursts closed by Return and Escape,
// and the open button pressed on a missing port. The program must live through all of it, say
// nothing about X errors, and still answer.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "tests/platform/serialdev/PtyPair.h"
#include "tests/support/RealScreen.h"

namespace {

using namespace vcl::testing_support;

const std::string kMainWindow = "Modbus RTU";
const std::string kBox = "^Velmo Modbus-RTU$";

class ErrorBoxSoak : public ::testing::TestWithParam<const char*> {
protected:
    // Waits for the box; false when none came.
    bool BoxShows(ScreenWindow& box) {
        box = WaitForWindow(display_, kBox);
        return box.Id != 0;
    }
    ::testing::AssertionResult BoxGoes() {
        if (WaitForNoWindow(display_, kBox)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the box stayed";
    }

    std::string display_;
};

std::string Contents(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_P(ErrorBoxSoak, HundredsOfBoxesInARowLeaveTheProgramAliveAndAnswering) {
    PrivateXServer server;
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    display_ = server.Display();
    setenv("DISPLAY", display_.c_str(), 1);
    const std::string manager = GetParam();
    std::unique_ptr<RunningProgram> windowManager;
    if (!manager.empty()) {
        if (RunProgram({"sh", "-c", "command -v " + manager}) != 0) GTEST_SKIP() << manager << " is not installed";
        windowManager = std::make_unique<RunningProgram>(std::vector<std::string>{manager}, std::vector<std::string>{});
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }
    vcl::pty::ScratchConfig config;
    config.MapPort(1, "/dev/velmo-no-such-device");
    const std::string errors = "/tmp/velmo_soak_" + std::to_string(getpid()) + ".err";
    RunningProgram program({VELMO_PROGRAM}, {"SDL_VIDEODRIVER=x11"}, -1, errors);
    ScreenWindow main = WaitForWindow(display_, kMainWindow, std::chrono::seconds(20));
    ASSERT_NE(main.Id, 0u) << "the window never appeared";
    // A window manager frames the window once it shows, a moment later on a busy machine: the
    // place counts once it holds still.
    for (ScreenWindow before{}; before.Left != main.Left || before.Top != main.Top;) {
        before = main;
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        main = FindWindow(display_, kMainWindow);
    }

    // Nine more digits still fit an integer; each one after that raises the box.
    ASSERT_TRUE(ClickAt(main, 188, 162));
    ASSERT_TRUE(Xdotool({"key", "End"}));
    ASSERT_TRUE(Xdotool({"type", "111111111"}));
    ScreenWindow box;
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(Xdotool({"type", "1"}));
        ASSERT_TRUE(BoxShows(box)) << "no box for digit " << i + 1;
        ASSERT_TRUE(ClickAt(box, box.Width / 2, box.Height - 20));
        ASSERT_TRUE(BoxGoes()) << "box " << i + 1;
    }
    for (const char* key : {"Return", "Escape"}) {
        for (int i = 0; i < 20; ++i) {
            ASSERT_TRUE(Xdotool({"type", "1"}));
            ASSERT_TRUE(BoxShows(box)) << key << " burst, box " << i + 1;
            ASSERT_TRUE(Xdotool({"key", key}));
            ASSERT_TRUE(BoxGoes()) << key << " burst, box " << i + 1;
        }
    }
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(ClickAt(main, 112 + 384 + 32, 8 + 56 + 12));
        ASSERT_TRUE(BoxShows(box)) << "no box for opening " << i + 1;
        ASSERT_TRUE(ClickAt(box, box.Width / 2, box.Height - 20));
        ASSERT_TRUE(BoxGoes()) << "opening " << i + 1;
    }

    // Still there, and it answers: one more digit in the field gives one more box.
    ASSERT_TRUE(program.Alive());
    ASSERT_TRUE(ClickAt(main, 188, 162));
    ASSERT_TRUE(Xdotool({"key", "End"}));
    ASSERT_TRUE(Xdotool({"type", "1"}));
    ASSERT_TRUE(BoxShows(box));
    ASSERT_TRUE(Xdotool({"key", "Return"}));
    EXPECT_TRUE(BoxGoes());
    EXPECT_TRUE(program.Alive());
    EXPECT_TRUE(program.Stop());
    const std::string said = Contents(errors);
    std::remove(errors.c_str());
    EXPECT_EQ(said.find("X error"), std::string::npos) << said;
}

INSTANTIATE_TEST_SUITE_P(WindowManagers, ErrorBoxSoak, ::testing::Values("", "twm"),
                         [](const auto& info) { return std::string(*info.param ? info.param : "none"); });

}  // namespace
