#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "modbus/Crc16.h"

namespace {

std::vector<uint8_t> RandomBytes(size_t count) {
    std::mt19937 random(7);
    std::vector<uint8_t> bytes(count);
    for (auto& b : bytes) b = static_cast<uint8_t>(random());
    return bytes;
}

template <uint16_t (*Crc)(const uint8_t*, int)>
void RunCrc(benchmark::State& state) {
    const auto bytes = RandomBytes(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(Crc(bytes.data(), static_cast<int>(bytes.size())));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void BM_Crc16_Table(benchmark::State& state) { RunCrc<modbus::Crc16>(state); }
void BM_Crc16_Bitwise(benchmark::State& state) { RunCrc<modbus::Crc16Bitwise>(state); }

}  // namespace

BENCHMARK(BM_Crc16_Table)->Arg(8)->Arg(256)->Arg(10241);
BENCHMARK(BM_Crc16_Bitwise)->Arg(8)->Arg(256)->Arg(10241);
