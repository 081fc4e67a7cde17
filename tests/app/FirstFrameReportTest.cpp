// The real program tells a launcher when its first frame is on the screen (the start-up
// benchmark's clock), once, and only when asked through VELMO_REPORT_FIRST_FRAME.

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <string>

#include "tests/support/RealScreen.h"

namespace {

using vcl::testing_support::PrivateXServer;
using vcl::testing_support::RunningProgram;

TEST(FirstFrameReport, TheProgramReportsItsFirstFrameOnceWithTheCpuTimeUsed) {
    PrivateXServer server;
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    constexpr int kReportFd = 5;
    RunningProgram program({VELMO_PROGRAM},
                           {"DISPLAY=" + server.Display(), "VELMO_REPORT_FIRST_FRAME=" + std::to_string(kReportFd)},
                           kReportFd);
    ASSERT_TRUE(program.Running());
    const std::string line = program.ReadLine(std::chrono::seconds(20));
    std::smatch cpu;
    ASSERT_TRUE(std::regex_match(line, cpu, std::regex("first-frame cpu-us=([0-9]+)"))) << "'" << line << "'";
    EXPECT_GT(std::stoll(cpu[1]), 0);
    // The caret blinks on (the window presents again), but the report was the first frame's alone.
    EXPECT_EQ(program.ReadLine(std::chrono::milliseconds(1500)), "");
    EXPECT_TRUE(program.Stop());
}

}  // namespace
