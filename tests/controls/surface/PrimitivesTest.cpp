#include <gtest/gtest.h>

#include "controls/surface/Bitmap.h"
#include "controls/surface/Primitives.h"
#include "controls/surface/SharedBuffer.h"
#include "controls/surface/WindowServices.h"

namespace se {
namespace {

using vcl::TRect;

class CanvasOnSurface : public ::testing::Test {
protected:
    TseBitmap surface;
    vcl::TCanvas canvas;
    void SetUp() override {
        surface.SetSize(12, 10);
        surface.Clear(0xFFFFFFFF);
        canvas.SetHandle(surface.DC());
    }
    void TearDown() override { canvas.SetHandle(nullptr); }
    TsePixel At(int x, int y) const { return surface.ReadPixel(x, y); }
    std::string Picture(TsePixel ink) const {
        std::string out;
        for (int y = 0; y < surface.Height(); ++y) {
            for (int x = 0; x < surface.Width(); ++x) out += At(x, y) == ink ? '#' : '.';
            out += '\n';
        }
        return out;
    }
};

constexpr TsePixel kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

TEST_F(CanvasOnSurface, FillAndFrameCoverTheirRectangles) {
    FillRectColor(canvas, TRect{1, 1, 4, 3}, vcl::clRed);
    FrameRectColor(canvas, TRect{5, 1, 9, 4}, vcl::clBlue);
    EXPECT_EQ(Picture(kRed),
              "............\n"
              ".###........\n"
              ".###........\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n"
              "............\n");
    EXPECT_EQ(Picture(kBlue).substr(0, 13 * 5),
              "............\n"
              ".....####...\n"
              ".....#..#...\n"
              ".....####...\n"
              "............\n");
    EXPECT_EQ(canvas.Brush().Style(), vcl::bsClear);  // left as the primitive set it
}

TEST_F(CanvasOnSurface, ThreeDFrameGivesTheTopLeftCornerToTopLeftOnly) {
    Draw3DFrame(canvas, TRect{0, 0, 5, 4}, vcl::clRed, vcl::clBlue);
    EXPECT_EQ(Picture(kRed).substr(0, 13 * 4),
              "####........\n"
              "#...........\n"
              "#...........\n"
              "............\n");
    EXPECT_EQ(Picture(kBlue).substr(0, 13 * 4),
              "....#.......\n"
              "....#.......\n"
              "....#.......\n"
              "#####.......\n");
}

TEST_F(CanvasOnSurface, BevelLinesRepeatInwardsAndGiveTwoCornersToBottomRight) {
    TRect r{0, 0, 6, 5};
    DrawBevelLines(canvas, r, kAllBevelSides, 2, vcl::clRed, vcl::clBlue);
    EXPECT_EQ(r, (TRect{2, 2, 4, 3}));
    EXPECT_EQ(At(0, 0), kRed);
    EXPECT_EQ(At(0, 4), kBlue);  // bottom-left
    EXPECT_EQ(At(5, 0), kBlue);  // top-right
    EXPECT_EQ(At(1, 1), kRed);
    EXPECT_EQ(At(4, 3), kBlue);
    EXPECT_EQ(At(2, 2), kWhite);
    TRect partial{0, 0, 6, 5};
    surface.Clear(kWhite);
    DrawBevelLines(canvas, partial, BevelSide(kbsLeft) | BevelSide(kbsTop), 2, vcl::clRed, vcl::clBlue);
    EXPECT_EQ(partial, (TRect{2, 2, 6, 5}));
    EXPECT_EQ(surface.ReadPixel(5, 4), kWhite);
    int blue = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) blue += At(x, y) == kBlue;
    EXPECT_EQ(blue, 0);
}

TEST_F(CanvasOnSurface, LineToColorLeavesOutItsEndPoint) {
    canvas.MoveTo(2, 5);
    LineToColor(canvas, 6, 5, vcl::clRed);
    EXPECT_EQ(At(5, 5), kRed);
    EXPECT_EQ(At(6, 5), kWhite);
    EXPECT_EQ(canvas.PenPos(), (vcl::TPoint{6, 5}));
}

TEST_F(CanvasOnSurface, FocusRectangleTwiceRemovesItself) {
    DrawFocusRectColor(canvas, TRect{1, 1, 9, 7}, vcl::clBtnShadow);
    EXPECT_NE(Picture(kWhite), std::string(10, '.'));
    int changed = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) changed += At(x, y) != kWhite;
    EXPECT_EQ(changed, (2 * 8 + 2 * 4) / 2);
    DrawFocusRectColor(canvas, TRect{1, 1, 9, 7}, vcl::clBtnShadow);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) EXPECT_EQ(At(x, y), kWhite);
}

TEST_F(CanvasOnSurface, DitherPatternFollowsTheBrushOrigin) {
    FillDitherPattern(canvas, TRect{-3, 1, 7, 5}, vcl::clRed, vcl::clBlue);
    // Left raised to 0; colour 2 where x and y have the same parity.
    for (int y = 1; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(At(x, y), (x % 2) == (y % 2) ? kBlue : kRed) << x << "," << y;
    EXPECT_EQ(At(7, 1), kWhite);
    EXPECT_EQ(canvas.Brush().Bitmap(), nullptr);
    surface.Clear(kWhite);
    vcl::SetBrushOrgEx(canvas.Handle(), 1, 0, nullptr);
    FillDitherPattern(canvas, TRect{0, 0, 4, 1}, vcl::clRed, vcl::clBlue);
    EXPECT_EQ(At(0, 0), kRed);
    EXPECT_EQ(At(1, 0), kBlue);
    surface.Clear(kWhite);
    FillDitherPattern(canvas, TRect{-5, -5, 0, 3}, vcl::clRed, vcl::clBlue);
    EXPECT_EQ(At(0, 0), kWhite);
}

TEST_F(CanvasOnSurface, RoundRectIsFilledAndOutlinedInOneColour) {
    FillRoundRectColor(canvas, TRect{0, 0, 8, 8}, 4, vcl::clRed);
    EXPECT_EQ(At(0, 0), kWhite);
    EXPECT_EQ(At(4, 0), kRed);
    EXPECT_EQ(At(4, 4), kRed);
    EXPECT_EQ(At(8, 4), kWhite);
}

TEST_F(CanvasOnSurface, GradientRunsFromTheFirstColourToTheSecond) {
    FillGradient(canvas, TRect{0, 0, 12, 10}, vcl::clBlack, true, vcl::clWhite);
    EXPECT_EQ(At(5, 0), 0xFF000000u);
    EXPECT_EQ(At(5, 9), kWhite);
    EXPECT_LT(At(5, 3) & 0xFF, At(5, 6) & 0xFF);
}

TEST_F(CanvasOnSurface, WideTextMeasuresAgreeAndDrawingIsTransparent) {
    const std::u16string caption = u"打开串口";
    const int width = WideTextWidth(canvas, caption);
    EXPECT_EQ(WideTextWidth(canvas, caption, vcl::DT_SINGLELINE), width);
    EXPECT_EQ(WideTextHeight(canvas, caption), 13);
    canvas.Brush().SetColor(vcl::clBlue);  // an opaque background would show blue
    TRect r{0, 0, 12, 10};
    EXPECT_EQ(DrawWideText(canvas, u"i", r, vcl::DT_LEFT), 13);
    int blue = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) blue += At(x, y) == kBlue;
    EXPECT_EQ(blue, 0);
    TRect measure{0, 0, 100, 0};
    DrawWideText(canvas, caption, measure, vcl::DT_CALCRECT);
    EXPECT_EQ(measure.Right, width);
}

TEST_F(CanvasOnSurface, FitTextWithEllipsis) {
    vcl::HDC dc = canvas.Handle();
    auto width = [&](const std::u16string& s) {
        vcl::TSize size;
        vcl::GetTextExtentPoint32W(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return size.cx;
    };
    const std::u16string text = u"共接收到 123 字节";
    EXPECT_EQ(FitTextWithEllipsis(dc, text, width(text)), text);
    EXPECT_EQ(FitTextWithEllipsis(dc, text, width(u"...") - 1), u"...");
    EXPECT_EQ(FitTextWithEllipsis(dc, text, width(u"共接...")), u"共接...");
    EXPECT_EQ(FitTextWithEllipsis(dc, text, width(u"共接...") - 1), u"共...");
}

TEST(RectangleArithmetic, CentringAndPredicates) {
    EXPECT_EQ(CenterRect(TRect{0, 0, 5, 5}, TRect{0, 0, 10, 10}), (TRect{2, 2, 7, 7}));
    EXPECT_EQ(CenterRect(TRect{3, 4, 8, 9}, TRect{10, 20, 21, 31}), (TRect{13, 23, 18, 28}));
    // Bounds smaller than the rectangle: the offset is truncated toward zero (−3 div 2 = −1).
    EXPECT_EQ(CenterRect(TRect{0, 0, 8, 8}, TRect{0, 0, 5, 5}), (TRect{-1, -1, 7, 7}));
    EXPECT_EQ(CenterRectVert(TRect{7, 7, 20, 20}, TRect{4, 0, 50, 23}), (TRect{4, 5, 17, 18}));
    EXPECT_EQ(RectWidth(TRect{2, 0, 7, 1}), 5);
    EXPECT_EQ(RectHeight(TRect{0, 3, 1, 1}), -2);
    EXPECT_TRUE(RectIsEmpty(TRect{0, 0, 0, 5}));
    EXPECT_FALSE(RectIsEmpty(TRect{0, 0, 1, 1}));
    EXPECT_TRUE(RectsEqual(TRect{1, 2, 3, 4}, TRect{1, 2, 3, 4}));
}

class FakeServices : public SurfaceWindowServices {
public:
    void SetCapture(WindowHandle window) override {
        capture = window;
        ++captures;
    }
    WindowHandle GetCapture() const override { return capture; }
    void ReleaseCapture() override {
        capture = nullptr;
        ++releases;
    }
    int KeyboardDelay() const override { return delay; }
    int KeyboardSpeed() const override { return speed; }
    std::vector<MonitorInfo> Monitors() const override { return monitors; }
    vcl::TSize ScreenSize() const override { return {800, 600}; }
    std::optional<TRect> DesktopWorkArea() const override { return workArea; }
    TRect WindowBounds(WindowHandle) const override { return window; }

    WindowHandle capture = nullptr;
    int captures = 0, releases = 0, delay = 1, speed = 0;
    std::vector<MonitorInfo> monitors;
    std::optional<TRect> workArea;
    TRect window;
};

class Services : public ::testing::Test {
protected:
    FakeServices fake;
    void SetUp() override { SetWindowServices(&fake); }
    void TearDown() override { SetWindowServices(nullptr); }
};

TEST_F(Services, KeyRepeatFollowsTheKeyboardSettings) {
    struct Case {
        int delay, speed, delayMs, intervalMs;
    };
    // 200 + 200k; 1000 / ((s + 1) * 2.3): 434.8 and 13.6, rounded.
    const Case cases[] = {{0, 0, 200, 435}, {1, 31, 400, 14}, {3, 15, 800, 27}};
    for (const Case& c : cases) {
        fake.delay = c.delay;
        fake.speed = c.speed;
        EXPECT_EQ(KeyRepeatDelay(), c.delayMs);
        EXPECT_EQ(KeyRepeatInterval(), c.intervalMs);
    }
}

TEST_F(Services, NestedCapturesCaptureOnceAndReleaseOnce) {
    int a = 0, b = 0;
    CaptureMouse(&a);
    CaptureMouse(&b);
    EXPECT_EQ(fake.capture, &a);
    EXPECT_EQ(fake.captures, 1);
    ReleaseMouse();
    EXPECT_EQ(fake.releases, 0);
    ReleaseMouse();
    EXPECT_EQ(fake.releases, 1);
    EXPECT_EQ(fake.capture, nullptr);
    // An unmatched release does nothing.
    ReleaseMouse();
    EXPECT_EQ(CaptureCount(), 0);
    EXPECT_EQ(fake.releases, 1);
    // When another window took the capture meanwhile, it keeps it.
    CaptureMouse(&a);
    fake.capture = &b;
    ReleaseMouse();
    EXPECT_EQ(fake.capture, &b);
}

TEST_F(Services, MonitorRectChoosesTheNearestMonitorOnlyWithSeveral) {
    fake.workArea = TRect{0, 0, 800, 570};
    EXPECT_EQ(MonitorRect(vcl::TPoint{5000, 5000}, true), (TRect{0, 0, 800, 570}));
    EXPECT_EQ(MonitorRect(vcl::TPoint{5000, 5000}, false), (TRect{0, 0, 800, 600}));
    fake.workArea.reset();
    EXPECT_EQ(MonitorRect(vcl::TPoint{1, 1}, true), (TRect{0, 0, 800, 600}));
    fake.monitors = {{{0, 0, 800, 600}, {0, 0, 800, 570}}};
    EXPECT_EQ(MonitorRect(vcl::TPoint{1, 1}, true), (TRect{0, 0, 800, 600}));  // one monitor: the fallback
    fake.monitors.push_back({{800, 0, 1824, 768}, {800, 0, 1824, 740}});
    EXPECT_EQ(MonitorRect(vcl::TPoint{900, 10}, true), (TRect{800, 0, 1824, 740}));
    EXPECT_EQ(MonitorRect(vcl::TPoint{-50, 300}, false), (TRect{0, 0, 800, 600}));
    EXPECT_EQ(MonitorRect(vcl::TPoint{2000, 300}, false), (TRect{800, 0, 1824, 768}));
    fake.window = TRect{700, 100, 1000, 200};  // mostly on the second monitor
    int window = 0;
    EXPECT_EQ(MonitorRect(&window, false), (TRect{800, 0, 1824, 768}));
    EXPECT_FALSE(ThemesActive());
}

TEST_F(Services, TheSharedBufferTakesTheScreenSizeOnceAndKeepsIt) {
    // This is the only test of the program that touches the shared buffer, so this is its first use.
    EXPECT_TRUE(SharedBuffer().Empty());
    TseBitmap& buffer = SizedSharedBuffer();
    EXPECT_EQ(buffer.Width(), 800 + 500);
    EXPECT_EQ(buffer.Height(), 600 + 500);
    SetWindowServices(nullptr);  // a different screen now
    EXPECT_EQ(&SizedSharedBuffer(), &buffer);
    EXPECT_EQ(buffer.Width(), 1300);
}

}  // namespace
}  // namespace se
