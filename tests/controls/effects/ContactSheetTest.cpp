// A dozen effects half way, from blue bands to an orange checkerboard with a dark disc, written to
// build/screenshots/effects_sheet.png to be looked at.

#include <gtest/gtest.h>

#include <cstring>

#include "controls/effects/Transition.h"
#include "controls/surface/Primitives.h"
#include "platform/draw/Png.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

TEST(EffectsSheet, ShowsADozenEffectsHalfWay) {
    const char* effects[] = {"SmoothDiagonal", "SlideCrossOut", "FadeRectIn", "Pixel fade", "CircleSmoothOut",
                             "CircleSlide", "DiamondSlideIn", "RotateSmooth", "Stream", "Plasma", "Interlace", "Push"};
    constexpr int w = 150, h = 100, gap = 10, caption = 18;
    TseBitmap oldImage, newImage, sheet;
    oldImage.SetSize(w, h);
    newImage.SetSize(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            oldImage.WritePixel(x, y, (y / 10) % 2 ? MakePixel(70, 120, 210, 255) : MakePixel(40, 80, 170, 255));
            const bool disc = (x - w / 2) * (x - w / 2) + (y - h / 2) * (y - h / 2) < 900;
            newImage.WritePixel(x, y, disc ? MakePixel(90, 30, 20, 255)
                                           : ((x / 12 + y / 12) % 2 ? MakePixel(250, 220, 120, 255)
                                                                     : MakePixel(250, 170, 40, 255)));
        }
    }
    const int width = gap + 4 * (w + gap), height = gap + 3 * (h + caption + gap);
    sheet.SetSize(width, height);
    vcl::TCanvas canvas;
    canvas.SetHandle(sheet.DC());
    FillRectColor(canvas, TRect{0, 0, width, height}, vcl::clBtnFace);
    for (int i = 0; i < 12; ++i) {
        const int left = gap + (i % 4) * (w + gap), top = gap + (i / 4) * (h + caption + gap);
        TseAnimationRec animation;
        animation.SetEffect(effects[i]);
        TseTransition transition(animation, newImage, oldImage);
        ASSERT_TRUE(transition.Ready()) << effects[i];
        transition.Frame(50).Draw(sheet, left, top);
        const std::string& name = transition.Effect()->Name();
        TRect text{left, top + h + 2, left + w, top + h + caption};
        DrawWideText(canvas, std::u16string(name.begin(), name.end()), text, vcl::DT_LEFT | vcl::DT_SINGLELINE);
    }
    canvas.SetHandle(nullptr);

    vcl::PixelSection pixels(width, height);
    for (int y = 0; y < height; ++y) {
        std::memcpy(pixels.Row(y), sheet.ScanLine(y), static_cast<size_t>(width) * 4);
        for (int x = 0; x < width; ++x) pixels.Row(y)[x] |= 0xFF000000u;
    }
    const std::string path = vcl::testing_support::ScreenshotDirectory() + "/effects_sheet.png";
    EXPECT_TRUE(vcl::SavePng(pixels, path)) << path;
}

}  // namespace
}  // namespace se
