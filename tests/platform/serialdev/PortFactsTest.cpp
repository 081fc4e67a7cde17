// What the monitor tells of a port: the adapter's latency timer from a fake sysfs tree, and the
// program holding a pty, a real process.

#include "platform/serialdev/PortFacts.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/serialdev/CommApi.h"
#include "platform/serialdev/SerialDiagnostics.h"
#include "tests/platform/serialdev/PtyPair.h"
#include "tests/support/TempFolder.h"

namespace vcl {
namespace {

namespace fs = std::filesystem;

TEST(AdapterLatencyTimer, OfTheDeviceTheLinksLeadTo) {
    const TempFolder folder("velmo-sysfs");
    const std::string root = fs::canonical(folder.Path()), sys = root + "/sys";
    for (const auto& [tty, text] : {std::pair{"ttyUSB0", "16\n"}, {"ttyUSB1", "unknown\n"}}) {
        fs::create_directories(sys + "/class/tty/" + tty + "/device");
        std::ofstream(sys + "/class/tty/" + tty + "/device/latency_timer") << text;
    }
    fs::create_directories(sys + "/class/tty/ttyS0/device");
    fs::create_directories(root + "/dev/serial/by-id");
    std::ofstream(root + "/dev/ttyUSB0").close();
    fs::create_symlink("../../ttyUSB0", root + "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    EXPECT_EQ(AdapterLatencyTimer(root + "/dev/ttyUSB0", sys), 16);
    EXPECT_EQ(AdapterLatencyTimer(root + "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0", sys), 16);
    for (const char* device : {"/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyACM9"}) {
        EXPECT_EQ(AdapterLatencyTimer(device, sys), std::nullopt) << device;
    }
}

// This process has the pty open too (the pair keeps a descriptor), but is never its own holder.
TEST(FindDeviceHolder, TheOpeningFailureOfAHeldPortNamesTheProgram) {
    pty::PtyPair pty;
    pty::ScratchConfig config;
    config.MapPort(5, pty.SlavePath());
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
        if (fd < 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) _exit(1);
        prctl(PR_SET_NAME, "velmo-holder");
        if (write(ready[1], "", 1) == 1) pause();
        _exit(1);
    }
    close(ready[1]);
    char byte = 0;
    const bool holding = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    std::vector<std::string> lines;
    const std::optional<TDeviceHolder> holder = FindDeviceHolder(pty.SlavePath());
    {
        ScopedSerialDiagnosticSink sink([&](const std::string& line) { lines.push_back(line); });
        EXPECT_EQ(CreateFileA("COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(holding);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->pid, child);
    EXPECT_EQ(holder->name, "velmo-holder");
    const std::string pid = std::to_string(child);
    EXPECT_EQ(lines, std::vector<std::string>{"COM5 -> " + pty.SlavePath() +
                                              ": cannot open the port: held by another program (velmo-holder, pid " +
                                              pid + ")"});
    EXPECT_EQ(FindDeviceHolder(pty.SlavePath()), std::nullopt);
}

}  // namespace
}  // namespace vcl
