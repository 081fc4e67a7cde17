// One 300 × 200 transition frame of each family: a mask effect, a displacement effect and a
// drawing effect, composed from the old and the new image at a percentage that moves on.

#include <benchmark/benchmark.h>

#include "controls/effects/Transition.h"

namespace {

constexpr int kWidth = 300, kHeight = 200;

struct Images {
    se::TseBitmap oldImage, newImage;
    Images() {
        oldImage.SetSize(kWidth, kHeight);
        newImage.SetSize(kWidth, kHeight);
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                oldImage.WritePixel(x, y, se::MakePixel(40, 80 + y % 100, 170, 255));
                newImage.WritePixel(x, y, se::MakePixel(250, 170, (x * 255) / kWidth, 255));
            }
        }
    }
};

void Frame(benchmark::State& state, const char* effect, int resolution) {
    Images images;
    se::TseAnimationRec animation;
    animation.SetEffect(effect);
    animation.SetResolution(resolution);
    se::TseTransition transition(animation, images.newImage, images.oldImage);
    if (!transition.Ready()) {
        state.SkipWithError("no such effect");
        return;
    }
    int percent = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(transition.Frame(percent).Bits());
        percent = (percent + 7) % 101;
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(transition.Effect()->Name());
}

BENCHMARK_CAPTURE(Frame, Mask, "SmoothDiagonal", 1);
BENCHMARK_CAPTURE(Frame, MaskRotate, "RotateSmooth", 1);
BENCHMARK_CAPTURE(Frame, MaskPlasmaResolution4, "Plasma", 4);
BENCHMARK_CAPTURE(Frame, Displacement, "Interlace", 1);
BENCHMARK_CAPTURE(Frame, FreeDrawing, "Push", 1);

}  // namespace
