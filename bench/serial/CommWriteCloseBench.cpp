// How long TComm's SendBytes and closing take when the line cannot keep up, on a pty at 9600
// baud: the GUI thread waits this long. Each iteration's time is one call (manual time).
//   large frame, slow peer   a 10241-byte frame while the peer has not read the previous one
//   close, held by XOFF      closing with 10241 bytes still waiting while the peer holds XOFF
//   close, line moving       closing right after two such frames while the peer reads

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/serialdev/SerialDiagnostics.h"
#include "serial/TComm1.h"
#include "tests/platform/serialdev/PtyPair.h"

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr int kPort = 6;
constexpr uint32_t kFrameSize = 10241;

class WriteRig {
public:
    explicit WriteRig(TSWHandShaking flow) : comm_(std::make_unique<TComm>(nullptr)) {
        config_.MapPort(kPort, pty_.SlavePath());
        comm_->SetCommPort(pnCOM6);
        comm_->SetBaudRate(br9600);
        comm_->SetSwHandShaking(flow);
    }

    bool Open() {
        try {
            comm_->SetPortOpen(true);
        } catch (const ECommError&) {
        }
        return comm_->PortOpen();
    }

    TComm& Comm() { return *comm_; }
    const vcl::pty::PtyPair& Pty() const { return pty_; }

    // The peer reads everything the port sends, count bytes, calling the port meanwhile as the
    // poll would so its queue drains.
    void PeerReads(size_t count) {
        size_t got = 0;
        const auto giveUp = Clock::now() + std::chrono::seconds(10);
        while (got < count && Clock::now() < giveUp) {
            got += pty_.ReadAvailable().size();
            comm_->DataCount();
        }
    }

    // The peer sends XOFF; returns once the port has acted on it.
    bool PeerHoldsTheLine() {
        pty_.WriteToMaster({0x13, 'm'});
        const auto giveUp = Clock::now() + std::chrono::seconds(5);
        while (comm_->DataCount() == 0) {
            if (Clock::now() > giveUp) return false;
        }
        comm_->SetDataCount(0);
        return true;
    }

private:
    vcl::pty::ScratchConfig config_;
    vcl::pty::PtyPair pty_;
    std::unique_ptr<TComm> comm_;
};

double Milliseconds(Clock::duration span) { return std::chrono::duration<double, std::milli>(span).count(); }

void BM_SendLargeFrameToASlowPeer(benchmark::State& state) {
    const vcl::ScopedSerialDiagnosticSink quiet([](const std::string&) {});
    WriteRig rig(shNone);
    if (!rig.Open()) {
        state.SkipWithError("cannot open the pty port");
        return;
    }
    const Bytes frame(kFrameSize, 0x5A);
    double worst = 0;
    for (auto _ : state) {
        rig.Comm().SendBytes(frame.data(), kFrameSize);  // the previous frame, unread
        const Clock::time_point start = Clock::now();
        rig.Comm().SendBytes(frame.data(), kFrameSize);
        const double took = Milliseconds(Clock::now() - start);
        state.SetIterationTime(took / 1000);
        worst = std::max(worst, took);
        rig.PeerReads(2 * kFrameSize);
    }
    state.counters["max_ms"] = worst;
}
BENCHMARK(BM_SendLargeFrameToASlowPeer)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

void BM_CloseWithOutputHeldByXoff(benchmark::State& state) {
    const vcl::ScopedSerialDiagnosticSink quiet([](const std::string&) {});
    WriteRig rig(shXonXoff);
    const Bytes frame(kFrameSize, 0xA5);
    double worst = 0;
    for (auto _ : state) {
        if (!rig.Open() || !rig.PeerHoldsTheLine()) {
            state.SkipWithError("cannot open the pty port or hold its line");
            return;
        }
        rig.Comm().SendBytes(frame.data(), kFrameSize);
        const Clock::time_point start = Clock::now();
        rig.Comm().SetPortOpen(false);
        const double took = Milliseconds(Clock::now() - start);
        state.SetIterationTime(took / 1000);
        worst = std::max(worst, took);
        rig.Pty().WriteToMaster({0x11});
        rig.Pty().ReadAvailable();
    }
    state.counters["max_ms"] = worst;
}
BENCHMARK(BM_CloseWithOutputHeldByXoff)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_CloseWithTheLineMoving(benchmark::State& state) {
    const vcl::ScopedSerialDiagnosticSink quiet([](const std::string&) {});
    WriteRig rig(shNone);
    const Bytes frame(kFrameSize, 0x3C);
    double worst = 0;
    for (auto _ : state) {
        if (!rig.Open()) {
            state.SkipWithError("cannot open the pty port");
            return;
        }
        rig.Comm().SendBytes(frame.data(), kFrameSize);
        rig.Comm().SendBytes(frame.data(), kFrameSize);
        std::thread peer([&] { rig.Pty().ReadFromMaster(2 * kFrameSize); });
        const Clock::time_point start = Clock::now();
        rig.Comm().SetPortOpen(false);
        const double took = Milliseconds(Clock::now() - start);
        peer.join();
        state.SetIterationTime(took / 1000);
        worst = std::max(worst, took);
    }
    state.counters["max_ms"] = worst;
}
BENCHMARK(BM_CloseWithTheLineMoving)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace serial
