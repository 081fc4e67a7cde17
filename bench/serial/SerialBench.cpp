// The serial device over a pseudo-terminal: how long bytes written on the other end take until
// ClearCommError counts them and ReadFile has them, and how long a frame takes to go out. This is
// the floor under the serial component's poll, which adds up to one 100 ms interval on top.

#include <benchmark/benchmark.h>

#include <vector>

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

}  // namespace
}  // namespace vcl
