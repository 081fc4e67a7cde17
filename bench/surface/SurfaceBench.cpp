// Blending a window-sized surface with per-pixel alpha against a plain copy of the same size.

#include <benchmark/benchmark.h>

#include "controls/surface/Bitmap.h"

namespace {

constexpr int kWidth = 572, kHeight = 601;

void FillTranslucent(se::TseBitmap& surface) {
    surface.SetSize(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            // Every alpha from 0 to 255 along a row, fully opaque and clear ones included.
            surface.WritePixel(x, y, se::MakePixel(x % 256, y % 256, (x + y) % 256, (x * 255) / (kWidth - 1)));
        }
    }
}

void BM_SurfaceBlend(benchmark::State& state) {
    se::TseBitmap source, target;
    FillTranslucent(source);
    source.SetHasAlpha(true);
    target.SetSize(kWidth, kHeight);
    target.Clear(0xFF336699);
    for (auto _ : state) {
        source.Draw(target, 0, 0);
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
    state.SetLabel(se::Routines().name);
}
BENCHMARK(BM_SurfaceBlend);

// The row kernels on their own, for comparing the variants.
void BlendRows(benchmark::State& state, const se::PixelRoutines& routines) {
    se::TseBitmap source, target;
    FillTranslucent(source);
    target.SetSize(kWidth, kHeight);
    target.Clear(0xFF336699);
    for (auto _ : state) {
        for (int y = 0; y < kHeight; ++y) routines.blendRow(source.ScanLine(y), target.ScanLine(y), kWidth);
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
    state.SetLabel(routines.name);
}
void BM_SurfaceBlendSse2(benchmark::State& state) { BlendRows(state, se::PackedSse2Routines()); }
BENCHMARK(BM_SurfaceBlendSse2);
void BM_SurfaceBlendPlain(benchmark::State& state) { BlendRows(state, se::PlainRoutines()); }
BENCHMARK(BM_SurfaceBlendPlain);

void BM_SurfaceCopy(benchmark::State& state) {
    se::TseBitmap source, target;
    FillTranslucent(source);
    target.SetSize(kWidth, kHeight);
    for (auto _ : state) {
        source.Draw(target, 0, 0);
        benchmark::DoNotOptimize(target.Bits());
    }
    state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight * 4);
}
BENCHMARK(BM_SurfaceCopy);

}  // namespace
