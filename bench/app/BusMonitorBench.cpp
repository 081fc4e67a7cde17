// The bus monitor, shown beside the main window on the headless screen: a row appended and
// painted; a steady 500 frames a second for a minute of virtual time (or as long as asked) (the process's CPU time over
// that minute, and its memory before and after with the log already at its bound); scrolling a
// full log to its top; the resident memory of a full log.

#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "app/BusMonitor.h"
#include "app/LogView.h"
#include "app/Unit1.h"
#include "bench/app/WindowScene.h"
#include "modbus/modbus.h"
#include "platform/runtime/Clock.h"
#include "platform/toolkit/Application.h"

namespace {

using bench::WindowScene;

// 115200 baud, 8N1: ten bits a character.
const serial::TLineSettings kLine{115200, 8, serial::TParity::None, serial::SB1, 87};


// A read of ten registers and its reply, the traffic of a typical poll.
const std::vector<uint8_t> kRequest = modbus::WithCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x0A});
const std::vector<uint8_t> kReply = modbus::WithCrc({0x01, 0x03, 0x14, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x05,
                                             0x00, 0x06, 0x00, 0x07, 0x00, 0x08, 0x00, 0x09, 0x00, 0x0A});

uint64_t Now() { return vcl::Clock().NowMicroseconds(); }

// One request at `at` and its reply 2 ms later, as the port tells the monitor.
void Exchange(app::TBusLog& log, uint64_t at) {
    log.Hear(serial::TCommEvent{serial::TCommEventKind::Sent, at, 1, kLine, kRequest});
    serial::TCommEvent reply{serial::TCommEventKind::Received, at + 2000, 1, kLine, kReply};
    reply.Arrivals = {vcl::TArrivalRun{0, at + 2000}};
    log.Hear(reply);
}

// Fills the log to its bound with exchanges a millisecond apart, ending now.
void FillLog(app::TBusLog& log) {
    const uint64_t pairs = app::TBusLog::kMaxRows / 2;
    const uint64_t end = Now();
    const uint64_t start = end > pairs * 4000 ? end - pairs * 4000 : 0;
    for (uint64_t i = 0; i < pairs; ++i) Exchange(log, start + i * 4000);
}

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

double CpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

struct MonitorScene : WindowScene {
    MonitorScene() {
        app::BusMonitor->ShowBeside(*app::Form1);
        vcl::Application->ProcessMessages();
    }
    app::TBusMonitorForm& Monitor() { return *app::BusMonitor; }
};

void BM_MonitorAppendRowAndPaint(benchmark::State& state) {
    MonitorScene scene;
    app::TBusLog& log = scene.Monitor().Log();
    for (auto _ : state) {
        log.Hear(serial::TCommEvent{serial::TCommEventKind::Sent, Now(), 1, kLine, kRequest});
        // Past the monitor's shortest time between showings, so every row is painted.
        scene.Screen().Advance(40);
        vcl::Application->ProcessMessages();
    }
    if (!scene.Monitor().LogView->FollowsEnd()) state.SkipWithError("the view stopped following the end");
}
BENCHMARK(BM_MonitorAppendRowAndPaint)->Unit(benchmark::kMicrosecond);

// 250 exchanges a second (500 frames) for the argument's seconds of virtual time, every timer and
// paint run as the program runs them; a full log, so memory must stay where it is.
void BM_Monitor500FramesPerSecond(benchmark::State& state) {
    for (auto _ : state) {
        MonitorScene scene;
        app::TBusLog& log = scene.Monitor().Log();
        FillLog(log);
        vcl::Application->ProcessMessages();
        const double rssBefore = ResidentMegabytes();
        const double cpuBefore = CpuSeconds();
        const int64_t seconds = state.range(0);
        for (int64_t step = 0; step < seconds * 250; ++step) {
            Exchange(log, Now());
            scene.Screen().Advance(4);
            vcl::Application->ProcessMessages();
        }
        state.counters["core_percent"] = (CpuSeconds() - cpuBefore) / static_cast<double>(seconds) * 100.0;
        state.counters["rss_before_MB"] = rssBefore;
        state.counters["rss_after_MB"] = ResidentMegabytes();
        if (log.Counters().Answered < static_cast<uint64_t>(seconds) * 250) state.SkipWithError("replies went uncounted");
    }
}
BENCHMARK(BM_Monitor500FramesPerSecond)->Arg(60)->Iterations(1)->Unit(benchmark::kSecond);

// From the end of a full log to its top and back, each move painted.
void BM_MonitorScrollFullLogToTop(benchmark::State& state) {
    MonitorScene scene;
    FillLog(scene.Monitor().Log());
    app::TLogView& view = *scene.Monitor().LogView;
    // A click into the log first, as a user does: the monitor becomes active, the log focused.
    const vcl::TPoint at = view.ClientToScreen({view.Width() / 2, view.Height() / 2});
    scene.Screen().MoveMouse(at.X, at.Y);
    scene.Screen().Click();
    vcl::Application->ProcessMessages();
    bool top = true;
    for (auto _ : state) {
        scene.Screen().PressKey(top ? vcl::VK_HOME : vcl::VK_END, vcl::ssCtrl);
        vcl::Application->ProcessMessages();
        top = !top;
    }
    if (view.TopRow() != 0 && !view.FollowsEnd()) {
        state.SkipWithError("the view did not move to an end");
    }
}
BENCHMARK(BM_MonitorScrollFullLogToTop)->Unit(benchmark::kMicrosecond);

// The whole program's resident memory with the log at its bound, the window open on it.
void BM_MonitorFullLogMemory(benchmark::State& state) {
    for (auto _ : state) {
        MonitorScene scene;
        const double before = ResidentMegabytes();
        FillLog(scene.Monitor().Log());
        vcl::Application->ProcessMessages();
        state.counters["rss_MB"] = ResidentMegabytes();
        state.counters["log_MB"] = ResidentMegabytes() - before;
    }
}
BENCHMARK(BM_MonitorFullLogMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
