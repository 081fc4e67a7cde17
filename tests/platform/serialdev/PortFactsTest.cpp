// What the monitor tells of a port: the adapter's latency timer from a sysfs tree, and the other
// program holding a device, from a fake /proc tree and from a real process holding a pty.

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

class FakeTree : public ::testing::Test {
protected:
    // A file below the root with the text; a symlink to target instead when link is set.
    std::string Put(const std::string& relative, const std::string& text, bool link = false) const {
        const fs::path path = root_ + "/" + relative;
        fs::create_directories(path.parent_path());
        if (link) {
            fs::create_symlink(text, path);
        } else {
            std::ofstream(path) << text;
        }
        return path.string();
    }

    TempFolder folder_{"velmo-portfacts"};
    const std::string root_ = folder_.Path();
};

TEST_F(FakeTree, TheLatencyTimerOfTheDeviceTheLinksLeadTo) {
    const std::string sys = root_ + "/sys";
    Put("sys/class/tty/ttyUSB0/device/latency_timer", "16\n");
    Put("sys/class/tty/ttyUSB1/device/latency_timer", "unknown\n");
    Put("sys/class/tty/ttyS0/device/uevent", "");
    const std::string usb0 = Put("dev/ttyUSB0", "");
    const std::string byId = Put("dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "../../ttyUSB0", true);
    EXPECT_EQ(AdapterLatencyTimer(usb0, sys), 16);
    EXPECT_EQ(AdapterLatencyTimer(byId, sys), 16);
    for (const char* device : {"/dev/ttyUSB1", "/dev/ttyS0", "/dev/ttyACM9"}) {
        EXPECT_EQ(AdapterLatencyTimer(device, sys), std::nullopt) << device;
    }
}

TEST_F(FakeTree, TheLowestOtherProcessWithTheDeviceOpen) {
    const std::string proc = root_ + "/proc";
    const std::string usb0 = Put("dev/ttyUSB0", "");
    const std::string self = std::to_string(getpid());
    Put("proc/" + self + "/fd/3", usb0, true);  // this process is never its own holder
    Put("proc/12/fd/1", "socket:[4242]", true);
    Put("proc/20/comm", "kworker\n");  // no descriptors we may read
    Put("proc/4000/fd/5", usb0, true);
    Put("proc/4000/comm", "minicom\n");
    Put("proc/5000/fd/7", usb0, true);
    Put("proc/self", "4000", true);
    const std::string port = Put("ports/COM3", usb0, true);
    for (const std::string& device : {usb0, port}) {
        const std::optional<TDeviceHolder> holder = FindDeviceHolder(device, proc);
        ASSERT_TRUE(holder) << device;
        EXPECT_EQ(holder->pid, 4000);
        EXPECT_EQ(holder->name, "minicom");
    }
    EXPECT_EQ(FindDeviceHolder(root_ + "/dev/ttyUSB1", proc), std::nullopt);
}

TEST(HeldPort, TheOpeningFailureNamesTheProgramHoldingThePty) {
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
    std::optional<TDeviceHolder> holder;
    {
        ScopedSerialDiagnosticSink sink([&](const std::string& line) { lines.push_back(line); });
        holder = FindDeviceHolder(pty.SlavePath());
        EXPECT_EQ(CreateFileA("COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    ASSERT_TRUE(holding);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->pid, child);
    EXPECT_EQ(holder->name, "velmo-holder");
    EXPECT_EQ(lines, std::vector<std::string>{"COM5 -> " + pty.SlavePath() +
                                              ": cannot open the port: held by another program (velmo-holder, pid " +
                                              std::to_string(child) + ")"});
    EXPECT_EQ(FindDeviceHolder(pty.SlavePath()), std::nullopt);
}

}  // namespace
}  // namespace vcl
