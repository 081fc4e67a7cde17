// When bytes arrive, as the termios device records it over a real pseudo-terminal: the writer on
// the master side notes its own clock, the port's reads tell when their bytes came.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "platform/serialdev/ArrivalWatcher.h"
#include "platform/serialdev/CommApi.h"
#include "tests/platform/serialdev/PtyPair.h"

namespace vcl {
namespace {

class ArrivalTimesTest : public ::testing::Test {
protected:
    void SetUp() override {
        config_.MapPort(7, pty_.SlavePath());
        port_ = CreateFileA("COM7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(port_, INVALID_HANDLE_VALUE);
    }
    void TearDown() override { CloseHandle(port_); }

    // Reads whatever waits; appends the bytes and their arrival runs (offsets made absolute).
    size_t ReadSome(std::vector<uint8_t>& bytes, std::vector<TArrivalRun>& runs) {
        std::vector<uint8_t> chunk(65536);
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(port_, chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr));
        if (read == 0) return 0;
        std::vector<TArrivalRun> these;
        EXPECT_TRUE(GetReadArrivals(port_, these));
        EXPECT_FALSE(these.empty());
        EXPECT_EQ(these.front().Offset, 0u);
        for (TArrivalRun run : these) runs.push_back({static_cast<DWORD>(bytes.size()) + run.Offset, run.Micros});
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + read);
        return read;
    }

    pty::ScratchConfig config_;
    pty::PtyPair pty_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
};

TEST_F(ArrivalTimesTest, AMegabyteFloodArrivesWholeInOrderEveryByteTimedOnceAndInTime) {
    std::vector<uint8_t> flood(1 << 20);
    std::mt19937 random(17);
    for (uint8_t& byte : flood) byte = static_cast<uint8_t>(random());
    const uint64_t before = ArrivalWatcher::Now();
    std::thread writer([&] {
        std::mt19937 sizes(5);
        for (size_t at = 0; at < flood.size();) {
            const size_t n = std::min<size_t>(1 + sizes() % 3000, flood.size() - at);
            pty_.WriteToMaster(std::vector<uint8_t>(flood.begin() + static_cast<std::ptrdiff_t>(at),
                                                    flood.begin() + static_cast<std::ptrdiff_t>(at + n)));
            at += n;
        }
    });
    std::vector<uint8_t> got;
    std::vector<TArrivalRun> runs;
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (got.size() < flood.size() && std::chrono::steady_clock::now() < giveUp) {
        if (ReadSome(got, runs) == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    writer.join();
    const uint64_t after = ArrivalWatcher::Now();
    ASSERT_EQ(got.size(), flood.size());
    EXPECT_TRUE(got == flood) << "no byte lost, changed or moved";
    // Runs start where the last one ended, in time order, between the first write and the last read.
    for (size_t i = 1; i < runs.size(); ++i) {
        ASSERT_LT(runs[i - 1].Offset, runs[i].Offset) << i;
        ASSERT_LE(runs[i - 1].Micros, runs[i].Micros) << i;
    }
    EXPECT_GE(runs.front().Micros, before);
    EXPECT_LE(runs.back().Micros, after);
}

TEST_F(ArrivalTimesTest, BurstsReadLateStillCarryTheTimeTheyCameAndAPurgeForgetsWhatItDropped) {
    std::vector<uint8_t> got;
    std::vector<TArrivalRun> runs;
    // Two bursts 30 ms apart, read together well after the second.
    const uint64_t first = ArrivalWatcher::Now();
    pty_.WriteToMaster({1, 2, 3});
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    const uint64_t second = ArrivalWatcher::Now();
    pty_.WriteToMaster({4, 5});
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const uint64_t reading = ArrivalWatcher::Now();
    ASSERT_EQ(ReadSome(got, runs), 5u);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].Offset, 3u);
    EXPECT_GE(runs[0].Micros, first);
    EXPECT_LT(runs[0].Micros, second);
    EXPECT_GE(runs[1].Micros, second);
    EXPECT_LT(runs[1].Micros, reading) << "stamped on arrival, not on reading";

    pty_.WriteToMaster({6, 7});
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(PurgeComm(port_, PURGE_RXCLEAR));
    const uint64_t third = ArrivalWatcher::Now();
    pty_.WriteToMaster({8});
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    got.clear();
    runs.clear();
    ASSERT_EQ(ReadSome(got, runs), 1u);
    EXPECT_EQ(got, (std::vector<uint8_t>{8}));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_GE(runs[0].Micros, third);
}

}  // namespace
}  // namespace vcl
