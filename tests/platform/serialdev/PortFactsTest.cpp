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

    fs::path Write(const fs::path& relative, const std::string& text) const {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
        return path;
    }
    void Link(const fs::path& relative, const fs::path& target) const {
        fs::create_directories((root_ / relative).parent_path());
        fs::create_symlink(target, root_ / relative);
    }

    TempFolder folder_{"velmo-portfacts"};
    const fs::path root_ = folder_.Path();
};

TEST_F(FakeTree, TheLatencyTimerOfTheDeviceTheLinksLeadTo) {
    const std::string sys = (root_ / "sys").string();
    Write("sys/class/tty/ttyUSB0/device/latency_timer", "16\n");
    Write("sys/class/tty/ttyUSB1/device/latency_timer", "unknown\n");
    Write("sys/class/tty/ttyS0/device/uevent", "");
    const fs::path usb0 = Write("dev/ttyUSB0", "");
    Link("dev/serial/by-id/usb-FTDI_FT232R-if00-port0", "../../ttyUSB0");

    EXPECT_EQ(AdapterLatencyTimer(usb0, sys), 16);
    EXPECT_EQ(AdapterLatencyTimer(root_ / "dev/serial/by-id/usb-FTDI_FT232R-if00-port0", sys), 16);
    EXPECT_EQ(AdapterLatencyTimer("/dev/ttyUSB1", sys), std::nullopt);  // not a number
    EXPECT_EQ(AdapterLatencyTimer("/dev/ttyS0", sys), std::nullopt);    // no such setting
    EXPECT_EQ(AdapterLatencyTimer("/dev/ttyACM9", sys), std::nullopt);  // no such device
}

TEST_F(FakeTree, TheLowestOtherProcessWithTheDeviceOpen) {
    const std::string proc = (root_ / "proc").string();
    const fs::path usb0 = Write("dev/ttyUSB0", "");
    const fs::path usb1 = Write("dev/ttyUSB1", "");
    const std::string self = std::to_string(getpid());
    Link("proc/" + self + "/fd/3", usb0);  // this process: never its own holder
    Write("proc/" + self + "/comm", "modbus_tests\n");
    Link("proc/12/fd/0", "/dev/null");
    Link("proc/12/fd/1", "socket:[4242]");
    Write("proc/12/comm", "bash\n");
    fs::create_directories(root_ / "proc/20");  // its descriptors are not ours to read
    Link("proc/4000/fd/5", usb0);
    Write("proc/4000/comm", "minicom\n");
    Link("proc/5000/fd/7", usb0);
    Link("proc/6000/fd/9", usb1);  // no comm to read
    Link("proc/self", "4000");
    Write("proc/uptime", "1.0 1.0\n");
    Link("ports/COM3", usb0);

    const std::optional<TDeviceHolder> holder = FindDeviceHolder(usb0, proc);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->pid, 4000);
    EXPECT_EQ(holder->name, "minicom");
    ASSERT_TRUE(FindDeviceHolder(root_ / "ports/COM3", proc));
    EXPECT_EQ(FindDeviceHolder(root_ / "ports/COM3", proc)->pid, 4000);
    ASSERT_TRUE(FindDeviceHolder(usb1, proc));
    EXPECT_EQ(FindDeviceHolder(usb1, proc)->name, "");
    EXPECT_EQ(FindDeviceHolder((root_ / "dev/ttyUSB2").string(), proc), std::nullopt);
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
        if (write(ready[1], "", 1) != 1) _exit(1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    const bool holding = read(ready[0], &byte, 1) == 1;
    close(ready[0]);

    std::vector<std::string> lines;
    {
        ScopedSerialDiagnosticSink sink([&](const std::string& line) { lines.push_back(line); });
        const std::optional<TDeviceHolder> holder = FindDeviceHolder(pty.SlavePath());
        HANDLE port = CreateFileA("COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        ASSERT_TRUE(holding);
        ASSERT_TRUE(holder);
        EXPECT_EQ(holder->pid, child);
        EXPECT_EQ(holder->name, "velmo-holder");
        EXPECT_EQ(port, INVALID_HANDLE_VALUE);
    }
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "COM5 -> " + pty.SlavePath() + ": cannot open the port: held by another program (velmo-holder, pid " +
                            std::to_string(child) + ")");
    EXPECT_EQ(FindDeviceHolder(pty.SlavePath()), std::nullopt);
}

TEST(DescribeOpenFailure, AHolderIsNamedWhereKnown) {
    PortOpenReport report;
    report.reason = PortOpenReport::Reason::Held;
    report.device = "/dev/ttyUSB0";
    const std::string line = "COM1 -> /dev/ttyUSB0: cannot open the port: held by another program";
    EXPECT_EQ(DescribeOpenFailure(1, report), line);
    report.holder = TDeviceHolder{1234, ""};
    EXPECT_EQ(DescribeOpenFailure(1, report), line + " (pid 1234)");
}

}  // namespace
}  // namespace vcl
