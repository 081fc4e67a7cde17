// The real program's start: velmo-modbus started under a private X server (Xvfb), timed from the
// spawn to the moment its SDL backend has presented the first frame, which it reports on a pipe
// when VELMO_REPORT_FIRST_FRAME names a descriptor. The benchmark's time is that wall time; the
// counters are the CPU time the program had used by then and its resident memory at that moment.
// The argument is VELMO_SCALE (0: unset, the scale read from the X server's resources). Each
// repetition is one start; run with --benchmark_repetitions for medians.

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/RealScreen.h"

namespace {

using vcl::testing_support::PrivateXServer;
using vcl::testing_support::RunningProgram;

constexpr int kReportFd = 3;

PrivateXServer& Server() {
    // Room for the window at scale 2.
    static PrivateXServer server(1600, 1300);
    return server;
}

// "first-frame cpu-us=<n>": the program's CPU time in milliseconds, -1 when the line is not that.
double CpuMilliseconds(const std::string& line) {
    const std::string key = "cpu-us=";
    const size_t at = line.find(key);
    return at == std::string::npos ? -1 : std::stod(line.substr(at + key.size())) / 1000;
}

// VmRSS of a process in megabytes (0 when unknown).
double ResidentMegabytes(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) return std::stod(line.substr(6)) / 1024;
    }
    return 0;
}

void BM_ProcessStartToFirstFrame(benchmark::State& state) {
    if (!Server().Running()) {
        state.SkipWithError(("no X server: " + Server().Reason()).c_str());
        return;
    }
    double cpu = 0, resident = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        std::vector<std::string> environment{"DISPLAY=" + Server().Display(),
                                             "VELMO_REPORT_FIRST_FRAME=" + std::to_string(kReportFd)};
        if (state.range(0) > 0) environment.push_back("VELMO_SCALE=" + std::to_string(state.range(0)));
        RunningProgram program({VELMO_PROGRAM}, environment, kReportFd);
        const std::string line = program.ReadLine(std::chrono::seconds(20));
        const auto presented = std::chrono::steady_clock::now();
        if (!program.Running() || CpuMilliseconds(line) < 0) {
            state.SkipWithError("the program presented no frame");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(presented - start).count());
        cpu += CpuMilliseconds(line);
        resident += ResidentMegabytes(program.Pid());
    }
    state.counters["cpu_ms"] = benchmark::Counter(cpu, benchmark::Counter::kAvgIterations);
    state.counters["rss_MB"] = benchmark::Counter(resident, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ProcessStartToFirstFrame)->Arg(0)->Arg(1)->Arg(2)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
