#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "platform/serialdev/PortName.h"

namespace vcl {
namespace {

namespace fs = std::filesystem;

TEST(ParsePortName, AcceptsComNamesAloneAndAfterEitherDevicePrefix) {
    struct Case {
        const char* name;
        int number;
    };
    const Case accepted[] = {
        {"\\\\.\\\\COM1", 1},  {"\\\\.\\\\COM2", 2},   {"\\\\.\\\\COM10", 10},
        {"\\\\.\\\\COM255", 255}, {"\\\\.\\COM15", 15}, {"COM3", 3},
        {"com4", 4},           {"Com99", 99},
    };
    for (const Case& c : accepted) EXPECT_EQ(ParsePortName(c.name), c.number) << c.name;
}

TEST(ParsePortName, RefusesEverythingElse) {
    for (const char* name : {"", "COM", "COM0", "COM256", "COM1000", "COM01", "COM1x", "COM-1", " COM1",
                             "COM1 ", "LPT1", "/dev/ttyS0", "\\\\.\\\\", "\\\\.\\\\\\COM1", "\\\\COM1",
                             "\\\\.\\\\COM", "\\\\.\\\\COM+1"}) {
        EXPECT_EQ(ParsePortName(name), std::nullopt) << name;
    }
}

// A scratch file tree standing in for /dev, /sys/class/tty and the ports folder.
class PortTree : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmo-ports-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        folders_.ports = root_ + "/ports";
        folders_.dev = root_ + "/dev";
        folders_.sysClassTty = root_ + "/sys";
        fs::create_directories(folders_.ports);
        fs::create_directories(folders_.dev);
        fs::create_directories(folders_.sysClassTty);
    }

    void TearDown() override { fs::remove_all(root_); }

    void AddDevice(const std::string& name) const { std::ofstream(fs::path(folders_.dev) / name).put('\0'); }

    // An on-board UART's sysfs entry; type 0 is a placeholder with no chip behind it.
    void AddSysfsEntry(const std::string& name, bool withDevice, std::optional<int> type) const {
        const fs::path entry = fs::path(folders_.sysClassTty) / name;
        fs::create_directories(entry);
        if (withDevice) fs::create_directories(entry / "device");
        if (type) std::ofstream(entry / "type") << *type << '\n';
    }

    std::string Dev(const std::string& name) const { return (fs::path(folders_.dev) / name).string(); }

    std::string root_;
    PortFolders folders_;
};

TEST_F(PortTree, CountsUsbThenAcmThenRealUartsEachInNumericOrder) {
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS1", "ttyS2", "ttyS3", "ttyAMA0",
                             "tty0", "ttyUSBx", "ttyUSB", "ttyUSB03", "console"}) {
        AddDevice(name);
    }
    AddSysfsEntry("ttyS0", true, 4);         // a 16550A
    AddSysfsEntry("ttyS1", true, 0);         // placeholder
    AddSysfsEntry("ttyS2", false, 4);        // no device behind it
    AddSysfsEntry("ttyAMA0", true, std::nullopt);
    // ttyS3 has no sysfs entry at all.

    EXPECT_EQ(ResolvePortPath(1, folders_), Dev("ttyUSB2"));
    EXPECT_EQ(ResolvePortPath(2, folders_), Dev("ttyUSB10"));
    EXPECT_EQ(ResolvePortPath(3, folders_), Dev("ttyACM0"));
    EXPECT_EQ(ResolvePortPath(4, folders_), Dev("ttyS0"));
    EXPECT_EQ(ResolvePortPath(5, folders_), Dev("ttyAMA0"));
    EXPECT_EQ(ResolvePortPath(6, folders_), std::nullopt);
}

TEST_F(PortTree, PortsFolderEntryComesFirstAndLeavesTheOtherNumbersAlone) {
    AddDevice("ttyUSB0");
    AddDevice("ttyUSB1");
    const fs::path entry = fs::path(folders_.ports) / "COM1";
    fs::create_symlink(Dev("ttyUSB1"), entry);

    EXPECT_EQ(ResolvePortPath(1, folders_), entry.string());
    EXPECT_EQ(ResolvePortPath(2, folders_), Dev("ttyUSB1"));
}

TEST_F(PortTree, DanglingEntryDoesNotFallBackToAnotherDevice) {
    AddDevice("ttyUSB0");
    const fs::path entry = fs::path(folders_.ports) / "COM1";
    fs::create_symlink(root_ + "/unplugged", entry);
    EXPECT_EQ(ResolvePortPath(1, folders_), entry.string());
}

TEST_F(PortTree, NoDevicesAndNumbersOutOfRangeResolveToNothing) {
    EXPECT_EQ(ResolvePortPath(1, folders_), std::nullopt);
    AddDevice("ttyUSB0");
    EXPECT_EQ(ResolvePortPath(0, folders_), std::nullopt);
    EXPECT_EQ(ResolvePortPath(256, folders_), std::nullopt);
    folders_.dev = root_ + "/missing";
    EXPECT_EQ(ResolvePortPath(1, folders_), std::nullopt);
}

// Sets or clears an environment variable for the scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (saved_) {
            setenv(name_, saved_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(PortFolders, PortsFolderFollowsTheConfigHome) {
    const ScopedEnv home("HOME", "/home/tester");
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(PortFolders::FromEnvironment().ports, "/cfg/velmo-modbus/ports");
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(PortFolders::FromEnvironment().ports, "/home/tester/.config/velmo-modbus/ports");
    }
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
        EXPECT_EQ(PortFolders::FromEnvironment().ports, "/home/tester/.config/velmo-modbus/ports");
    }
    const PortFolders live = PortFolders::FromEnvironment();
    EXPECT_EQ(live.dev, "/dev");
    EXPECT_EQ(live.sysClassTty, "/sys/class/tty");
}

}  // namespace
}  // namespace vcl
