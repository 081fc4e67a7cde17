// The serial device over a pseudo-terminal: how long bytes written on the other end take until
// ClearCommError counts them and ReadFile has them, and how long a frame takes to go out. This is
// the floor under the serial component's poll, which adds up to one 100 ms interval on top.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/serialdev/ArrivalWatcher.h"
#include "platform/serialdev/CommApi.h"
#include "tests/platform/serialdev/PtyPair.h"

namespace vcl {
namespace {

constexpr int kPort = 3;

// A port on a fresh pty, 8N1 at 115200.
class BenchPort {
public:
    BenchPort() {
        config_.MapPort(kPort, pty_.SlavePath());
        handle_ = CreateFileA("COM3", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        DCB dcb;
        GetCommState(handle_, &dcb);
        dcb.BaudRate = 115200;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        SetCommState(handle_, &dcb);
    }
    ~BenchPort() { CloseHandle(handle_); }

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE Handle() const { return handle_; }
    const pty::PtyPair& Pty() const { return pty_; }

private:
    pty::ScratchConfig config_;
    pty::PtyPair pty_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

void BM_ArrivalUntilCountedAndRead(benchmark::State& state) {
    BenchPort port;
    if (!port.IsOpen()) {
        state.SkipWithError("cannot open the pty port");
        return;
    }
    const auto count = static_cast<DWORD>(state.range(0));
    const std::vector<uint8_t> frame(count, 0x5A);
    std::vector<uint8_t> received(count);
    for (auto _ : state) {
        port.Pty().WriteToMaster(frame);
        COMSTAT status;
        do {
            if (!ClearCommError(port.Handle(), nullptr, &status)) {
                state.SkipWithError("ClearCommError failed");
                return;
            }
        } while (status.cbInQue < count);
        DWORD read = 0;
        ReadFile(port.Handle(), received.data(), count, &read, nullptr);
        benchmark::DoNotOptimize(received.data());
    }
    state.SetBytesProcessed(state.iterations() * count);
}
BENCHMARK(BM_ArrivalUntilCountedAndRead)->Arg(8)->Arg(256)->Arg(4000)->UseRealTime();

void BM_WriteUntilTheOtherEndHasIt(benchmark::State& state) {
    BenchPort port;
    if (!port.IsOpen()) {
        state.SkipWithError("cannot open the pty port");
        return;
    }
    const auto count = static_cast<DWORD>(state.range(0));
    const std::vector<uint8_t> frame(count, 0xA5);
    for (auto _ : state) {
        DWORD written = 0;
        WriteFile(port.Handle(), frame.data(), count, &written, nullptr);
        benchmark::DoNotOptimize(port.Pty().ReadFromMaster(count));
    }
    state.SetBytesProcessed(state.iterations() * count);
}
BENCHMARK(BM_WriteUntilTheOtherEndHasIt)->Arg(8)->Arg(256)->UseRealTime();

// How true the recorded arrival times are: a burst is written on the other end at a known moment
// of the monotonic clock, read back well after (as the serial component's poll would), and the
// time its read says it arrived is compared with the moment it was written. Counters: the median
// and worst gap over the bursts, in microseconds.
void BM_ArrivalTimeAccuracy(benchmark::State& state) {
    BenchPort port;
    if (!port.IsOpen()) {
        state.SkipWithError("cannot open the pty port");
        return;
    }
    const std::vector<uint8_t> burst(9, 0x5A);
    std::vector<uint8_t> received(64);
    std::vector<double> gaps;
    for (auto _ : state) {
        const uint64_t written = ArrivalWatcher::Now();
        port.Pty().WriteToMaster(burst);
        // Read late, as a poll does: the time must still be the arrival's.
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        DWORD read = 0;
        ReadFile(port.Handle(), received.data(), static_cast<DWORD>(received.size()), &read, nullptr);
        std::vector<TArrivalRun> runs;
        GetReadArrivals(port.Handle(), runs);
        if (read != burst.size() || runs.empty()) {
            state.SkipWithError("the burst did not arrive whole");
            return;
        }
        gaps.push_back(static_cast<double>(runs.front().Micros - written));
    }
    std::sort(gaps.begin(), gaps.end());
    state.counters["median_us"] = gaps[gaps.size() / 2];
    state.counters["worst_us"] = gaps.back();
}
BENCHMARK(BM_ArrivalTimeAccuracy)->Iterations(1000)->UseRealTime();

}  // namespace
}  // namespace vcl
