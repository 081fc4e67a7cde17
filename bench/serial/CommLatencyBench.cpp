// How long bytes arriving on a pty take until TComm raises OnReceiveData, on the real clock with
// the real 100 ms poll timer and the application's own message loop (no window backend: the
// queue sleeps until the next timer is due, as the program's loop does when idle).
//
// Each iteration's time is one latency (manual time); the counters give the median and spread
// over all iterations. Two cases:
//   random phase  bytes written by another thread at a random moment, as a device answers at a
//                 moment unrelated to the poll: about half an interval on average;
//   after a poll  bytes written just after a poll ran: close to the full interval, the bound.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <random>
#include <thread>
#include <vector>

#include "platform/toolkit/Application.h"
#include "serial/TComm1.h"
#include "tests/platform/serialdev/PtyPair.h"

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPort = 4;
const std::vector<uint8_t> kReply = {0x11, 0x03, 0x04, 0x00, 0x00, 0xC0, 0x3F, 0x6A, 0x2B};

// A component on COM4, a fresh pty, that notes when OnReceiveData comes and reads what waits.
class LatencyRig {
public:
    LatencyRig() : comm_(std::make_unique<TComm>(nullptr)) {
        config_.MapPort(kPort, pty_.SlavePath());
        comm_->SetCommPort(pnCOM4);
        comm_->SetBaudRate(br115200);
        comm_->SetRThreshold(1);
        comm_->SetOnReceiveData([this](vcl::TObject*) {
            if (!received_) received_ = Clock::now();
            const uint8_t* data = nullptr;
            comm_->ReadBytes(data);
        });
        try {
            comm_->SetPortOpen(true);
        } catch (const ECommError&) {
        }
    }

    bool IsOpen() const { return comm_->PortOpen(); }
    const vcl::pty::PtyPair& Pty() const { return pty_; }

    // Runs the application's loop until the receive event came; its time.
    Clock::time_point AwaitReceive() {
        received_.reset();
        while (!received_) vcl::Application->HandleMessage();
        return *received_;
    }

private:
    vcl::pty::ScratchConfig config_;
    vcl::pty::PtyPair pty_;
    std::unique_ptr<TComm> comm_;
    std::optional<Clock::time_point> received_;
};

void Report(benchmark::State& state, std::vector<double> latenciesMs) {
    if (latenciesMs.empty()) return;
    std::sort(latenciesMs.begin(), latenciesMs.end());
    const auto at = [&](double fraction) {
        return latenciesMs[static_cast<size_t>(fraction * static_cast<double>(latenciesMs.size() - 1))];
    };
    state.counters["median_ms"] = at(0.5);
    state.counters["min_ms"] = latenciesMs.front();
    state.counters["p90_ms"] = at(0.9);
    state.counters["max_ms"] = latenciesMs.back();
}

void BM_ArrivalUntilReceiveEvent_RandomPhase(benchmark::State& state) {
    LatencyRig rig;
    if (!rig.IsOpen()) {
        state.SkipWithError("cannot open the pty port");
        return;
    }
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> phaseUs(0, 99999);
    std::vector<double> latencies;
    for (auto _ : state) {
        const auto delay = std::chrono::microseconds(phaseUs(random));
        Clock::time_point written;
        std::thread device([&] {
            std::this_thread::sleep_for(delay);
            written = Clock::now();
            rig.Pty().WriteToMaster(kReply);
        });
        const Clock::time_point received = rig.AwaitReceive();
        device.join();
        const std::chrono::duration<double> latency = received - written;
        state.SetIterationTime(latency.count());
        latencies.push_back(latency.count() * 1000);
    }
    Report(state, std::move(latencies));
}
BENCHMARK(BM_ArrivalUntilReceiveEvent_RandomPhase)->UseManualTime()->Iterations(200)->Unit(benchmark::kMillisecond);

void BM_ArrivalUntilReceiveEvent_JustAfterAPoll(benchmark::State& state) {
    LatencyRig rig;
    if (!rig.IsOpen()) {
        state.SkipWithError("cannot open the pty port");
        return;
    }
    rig.Pty().WriteToMaster(kReply);
    rig.AwaitReceive();
    std::vector<double> latencies;
    for (auto _ : state) {
        // The poll that just raised the event is over; the next one is a whole interval away.
        const Clock::time_point written = Clock::now();
        rig.Pty().WriteToMaster(kReply);
        const Clock::time_point received = rig.AwaitReceive();
        const std::chrono::duration<double> latency = received - written;
        state.SetIterationTime(latency.count());
        latencies.push_back(latency.count() * 1000);
    }
    Report(state, std::move(latencies));
}
BENCHMARK(BM_ArrivalUntilReceiveEvent_JustAfterAPoll)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace serial
