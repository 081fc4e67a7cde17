// The main window's whole 572 x 601 back buffer presented at a scale through the scaled backend:
// the block copy alone, and the present over a headless window, whose own copy of the scaled rows
// stands for the SDL window's copy into its surface.

#include <benchmark/benchmark.h>

#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/backend/scaled/ScaledBackend.h"

namespace {

constexpr int kWidth = 572, kHeight = 601;

vcl::PixelSection Buffer() {
    vcl::PixelSection buffer(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) buffer.Set(x, y, 0xFF000000u | static_cast<uint32_t>(x * 7919 + y * 104729));
    }
    return buffer;
}

void BM_CopyScaled(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    const vcl::PixelSection buffer = Buffer();
    vcl::PixelSection target(kWidth * scale, kHeight * scale);
    for (auto _ : state) {
        vcl::CopyScaled(buffer, {0, 0, kWidth, kHeight}, scale, target.Bits(), static_cast<size_t>(target.Width()));
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * scale * scale * 4);
}
BENCHMARK(BM_CopyScaled)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_ScaledPresent(benchmark::State& state) {
    const int scale = static_cast<int>(state.range(0));
    const vcl::PixelSection buffer = Buffer();
    vcl::THeadlessBackend screen(1024 * scale, 768 * scale);
    vcl::TScaledBackend scaled(screen, {scale, scale});
    const auto window = scaled.CreateNativeWindow({.Title = "bench", .Bounds = {0, 0, kWidth, kHeight}});
    const std::vector<vcl::TRect> whole{{0, 0, kWidth, kHeight}};
    window->Present(buffer, whole);  // the first present sizes the copies
    for (auto _ : state) window->Present(buffer, whole);
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * scale * scale * 4);
}
BENCHMARK(BM_ScaledPresent)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

}  // namespace
