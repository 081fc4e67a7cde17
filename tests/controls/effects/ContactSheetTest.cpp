// A sheet of a dozen effects half way through, written next to the screenshots to be looked at:
// build/screenshots/effects_sheet.png.

#include <gtest/gtest.h>

#include <cstring>

#include "controls/effects/Transition.h"
#include "controls/surface/Primitives.h"
#include "platform/draw/Png.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

constexpr int kCellWidth = 150, kCellHeight = 100, kGap = 10, kCaption = 18, kColumns = 4, kRows = 3;

// Old: blue bands with a light frame. New: an orange checkerboard with a dark disc.
void PaintOld(TseBitmap& image) {
    image.SetSize(kCellWidth, kCellHeight);
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            const bool band = (y / 10) % 2 == 0;
            const bool frame = x < 3 || y < 3 || x >= kCellWidth - 3 || y >= kCellHeight - 3;
            image.WritePixel(x, y, frame ? MakePixel(230, 235, 245, 255)
                                         : band ? MakePixel(40, 80, 170, 255) : MakePixel(70, 120, 210, 255));
        }
    }
}

void PaintNew(TseBitmap& image) {
    image.SetSize(kCellWidth, kCellHeight);
    for (int y = 0; y < kCellHeight; ++y) {
        for (int x = 0; x < kCellWidth; ++x) {
            const int dx = x - kCellWidth / 2, dy = y - kCellHeight / 2;
            const bool disc = dx * dx + dy * dy < 30 * 30;
            const bool check = ((x / 12) + (y / 12)) % 2 == 0;
            image.WritePixel(x, y, disc ? MakePixel(90, 30, 20, 255)
                                        : check ? MakePixel(250, 170, 40, 255) : MakePixel(250, 220, 120, 255));
        }
    }
}

TEST(EffectsSheet, ShowsADozenEffectsHalfWay) {
    const char* effects[kColumns * kRows] = {"SmoothDiagonal", "SlideCrossOut", "FadeRectIn",  "Pixel fade",
                                             "CircleSmoothOut", "CircleSlide",  "DiamondSlideIn", "RotateSmooth",
                                             "Stream",         "Plasma",        "Interlace",   "Push"};
    TseBitmap oldImage, newImage, sheet;
    PaintOld(oldImage);
    PaintNew(newImage);
    const int width = kGap + kColumns * (kCellWidth + kGap);
    const int height = kGap + kRows * (kCellHeight + kCaption + kGap);
    sheet.SetSize(width, height);
    vcl::TCanvas canvas;
    canvas.SetHandle(sheet.DC());
    FillRectColor(canvas, TRect{0, 0, width, height}, vcl::clBtnFace);

    for (int i = 0; i < kColumns * kRows; ++i) {
        const int left = kGap + (i % kColumns) * (kCellWidth + kGap);
        const int top = kGap + (i / kColumns) * (kCellHeight + kCaption + kGap);
        TseAnimationRec animation;
        animation.SetEffect(effects[i]);
        TseTransition transition(animation, newImage, oldImage);
        ASSERT_TRUE(transition.Ready()) << effects[i];
        transition.Frame(50).Draw(sheet, left, top);
        const std::string& caption = transition.Effect()->Name();
        canvas.Font().SetColor(vcl::clWindowText);
        TRect text{left, top + kCellHeight + 2, left + kCellWidth, top + kCellHeight + kCaption};
        DrawWideText(canvas, std::u16string(caption.begin(), caption.end()), text, vcl::DT_LEFT | vcl::DT_SINGLELINE);
    }
    canvas.SetHandle(nullptr);

    vcl::PixelSection pixels(width, height);
    for (int y = 0; y < height; ++y) {
        std::memcpy(pixels.Row(y), sheet.ScanLine(y), static_cast<size_t>(width) * 4);
        for (int x = 0; x < width; ++x) pixels.Row(y)[x] |= 0xFF000000u;
    }
    const std::string path = vcl::testing_support::ScreenshotDirectory() + "/effects_sheet.png";
    ASSERT_TRUE(vcl::SavePng(pixels, path)) << path;
    vcl::PixelSection reloaded;
    ASSERT_TRUE(vcl::LoadPng(path, reloaded));
    EXPECT_EQ(reloaded.Width(), width);
    EXPECT_EQ(reloaded.At(kGap + 1, kGap + 1), pixels.At(kGap + 1, kGap + 1));
}

}  // namespace
}  // namespace se
