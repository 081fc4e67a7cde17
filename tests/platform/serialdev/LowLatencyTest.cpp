// The low-latency request against a scripted driver: what it turns on, what it leaves alone, and
// that the driver ends as it was found.

#include "platform/serialdev/LowLatency.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace vcl {
namespace {

// A driver's serial_struct with a log of the writes it was asked for.
struct ScriptedDriver {
    ScriptedDriver(std::optional<int> initial, bool refuses = false, bool drops = false)
        : flags(initial), refusesWrites(refuses), dropsLowLatency(drops) {}

    std::optional<int> flags;        // none: the driver has no serial_struct (a pty)
    bool refusesWrites = false;      // TIOCSSERIAL fails (no permission, no such setting)
    bool dropsLowLatency = false;    // the write succeeds but the flag does not stick
    std::vector<int> writes;

    SerialInfoAccess Access() {
        return {
            [this](serial_struct& info) {
                if (!flags) return false;
                info = serial_struct{};
                info.flags = *flags;
                return true;
            },
            [this](const serial_struct& info) {
                writes.push_back(info.flags);
                if (!flags || refusesWrites) return false;
                *flags = dropsLowLatency ? (info.flags & ~ASYNC_LOW_LATENCY) : info.flags;
                return true;
            },
        };
    }
};

constexpr int kOther = ASYNC_SKIP_TEST;

TEST(LowLatencyRequest, TurnsLowLatencyOnWhileHeldAndLeavesTheDriverAsFound) {
    struct Case {
        std::string name;
        ScriptedDriver driver;
        bool activeWhileHeld;
        std::optional<int> flagsWhileHeld;
        std::optional<int> flagsAfter;
        size_t writes;
    };
    const Case cases[] = {
        {"off, taken", {kOther}, true, kOther | ASYNC_LOW_LATENCY, kOther, 2},
        {"already on", {kOther | ASYNC_LOW_LATENCY}, true, kOther | ASYNC_LOW_LATENCY,
         kOther | ASYNC_LOW_LATENCY, 0},
        {"no serial_struct (pty)", ScriptedDriver{std::nullopt}, false, std::nullopt, std::nullopt, 0},
        {"write refused", {kOther, true}, false, kOther, kOther, 1},
        {"flag dropped", {kOther, false, true}, false, kOther, kOther, 1},
    };
    for (const Case& c : cases) {
        ScriptedDriver driver = c.driver;
        {
            const LowLatencyRequest request(driver.Access());
            EXPECT_EQ(request.Active(), c.activeWhileHeld) << c.name;
            EXPECT_EQ(driver.flags, c.flagsWhileHeld) << c.name;
        }
        EXPECT_EQ(driver.flags, c.flagsAfter) << c.name;
        EXPECT_EQ(driver.writes.size(), c.writes) << c.name;
    }
}

TEST(LowLatencyRequest, OnlyTheLowLatencyFlagIsTurnedBack) {
    ScriptedDriver driver{0};
    {
        const LowLatencyRequest request(driver.Access());
        *driver.flags |= kOther;  // changed meanwhile by somebody else
    }
    EXPECT_EQ(driver.flags, kOther);
}

}  // namespace
}  // namespace vcl
