#include <gtest/gtest.h>

#include <unistd.h>

#include "platform/draw/Png.h"
#include "WindowFixture.h"

namespace vcl {
namespace {

using Painting = testing_support::WindowTest;

// A window procedure that fills its window with one pixel value on WM_PAINT.
// The pixels each paint could touch are counted into areas.
TWindowProc Filler(uint32_t pixel, std::vector<HWND>* order, std::vector<long long>* areas = nullptr) {
    return [=](HWND w, TMessage& m) {
        if (m.Msg != WM_PAINT) {
            DefWindowProc(w, m);
            return;
        }
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, ps);
        testing_support::FillPixel(dc, GetClientRect(w), pixel);
        if (order) order->push_back(w);
        if (areas) areas->push_back(testing_support::VisibleArea(dc, GetClientRect(w)));
        EndPaint(w, ps);
    };
}

TEST_F(Painting, ParentsPaintBeforeChildrenWhichAreClippedOutOfThem) {
    std::vector<HWND> order;
    std::vector<long long> clips;
    HWND top = TopLevel({0, 0, 100, 80});
    top->SetWindowProc(Filler(0xFF0000FFu, &order, &clips));
    HWND a = Child(top, {10, 10, 40, 40});
    a->SetWindowProc(Filler(0xFF00FF00u, &order, &clips));
    HWND b = Child(top, {30, 30, 70, 70});  // over a's corner
    b->SetWindowProc(Filler(0xFFFF0000u, &order, &clips));
    Pump();
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], top);
    // Lower siblings before higher ones.
    EXPECT_EQ(order[1], a);
    EXPECT_EQ(order[2], b);
    // The form's clip leaves out both children: 100*80 - 30*30 - 40*40 + 10*10 overlap.
    EXPECT_EQ(clips[0], 8000 - 900 - 1600 + 100);
    // a loses the corner b covers.
    EXPECT_EQ(clips[1], 900 - 100);
    EXPECT_EQ(clips[2], 1600);
    const PixelSection shot = screen_.Screenshot(top);
    ASSERT_EQ(shot.Width(), 100);
    struct Probe {
        int x, y;
        uint32_t pixel;
    };
    const Probe probes[] = {{0, 0, 0xFF0000FFu}, {15, 15, 0xFF00FF00u}, {35, 35, 0xFFFF0000u},
                            {69, 69, 0xFFFF0000u}, {70, 70, 0xFF0000FFu}, {39, 20, 0xFF00FF00u}};
    for (const Probe& p : probes) EXPECT_EQ(shot.At(p.x, p.y), p.pixel) << p.x << "," << p.y;
    // Everything is valid now: nothing more to paint.
    order.clear();
    Pump();
    EXPECT_TRUE(order.empty());
}

TEST_F(Painting, PaintComesOnlyAfterPostedMessagesAndInput) {
    HWND top = TopLevel({0, 0, 50, 50}, {WM_PAINT, WM_USER, WM_KEYDOWN});
    Pump();
    log_.clear();
    InvalidateRect(top, nullptr, false);
    screen_.PressKey('A');
    PostMessage(top, WM_USER);
    Pump();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_USER, WM_KEYDOWN, WM_PAINT}));
}

TEST_F(Painting, InvalidRectanglesAccumulateAndClipThePaint) {
    std::vector<HWND> order;
    std::vector<long long> clips;
    HWND top = TopLevel({0, 0, 100, 100});
    top->SetWindowProc(Filler(0xFF112233u, &order, &clips));
    Pump();
    clips.clear();
    const TRect first{0, 0, 10, 10};
    const TRect second{5, 5, 20, 15};
    InvalidateRect(top, &first, false);
    InvalidateRect(top, &second, false);
    TRect bounds;
    EXPECT_TRUE(GetUpdateRect(top, bounds));
    EXPECT_EQ(bounds, (TRect{0, 0, 20, 15}));
    Pump();
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(clips[0], 100 + 150 - 25);
}

TEST_F(Painting, EraseIsAskedWhenInvalidatedWithErase) {
    HWND top = TopLevel({0, 0, 40, 40}, {WM_ERASEBKGND, WM_PAINT});
    Pump();
    log_.clear();
    InvalidateRect(top, nullptr, false);
    Pump();
    EXPECT_EQ(Messages(), (std::vector<UINT>{WM_PAINT}));
    log_.clear();
    InvalidateRect(top, nullptr, true);
    Pump();
    ASSERT_EQ(Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    // The erase carries the paint DC.
    EXPECT_NE(log_[1].wParam, 0u);
}

TEST_F(Painting, UpdateWindowPaintsNowWithoutItsChildrenRedrawWindowWithThem) {
    std::vector<HWND> order;
    HWND top = TopLevel({0, 0, 60, 60});
    top->SetWindowProc(Filler(0xFF000000u, &order));
    HWND child = Child(top, {0, 0, 10, 10});
    child->SetWindowProc(Filler(0xFFFFFFFFu, &order));
    Pump();
    order.clear();
    InvalidateRect(top, nullptr, false);
    InvalidateRect(child, nullptr, false);
    const int presents = screen_.PresentCount(top);
    UpdateWindow(top);
    EXPECT_EQ(order, (std::vector<HWND>{top}));
    EXPECT_GT(screen_.PresentCount(top), presents);
    Pump();
    EXPECT_EQ(order, (std::vector<HWND>{top, child}));

    // Asked for the children too, it paints them before it returns, parent first.
    order.clear();
    RedrawWindow(top, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(order, (std::vector<HWND>{top, child}));
}

TEST_F(Painting, MovingAChildRepaintsWhatItUncoveredAndWhereItWent) {
    std::vector<HWND> order;
    std::vector<long long> clips;
    HWND top = TopLevel({0, 0, 100, 100});
    top->SetWindowProc(Filler(0xFF0000FFu, &order, &clips));
    HWND child = Child(top, {0, 0, 20, 20});
    child->SetWindowProc(Filler(0xFFFF0000u, &order));
    Pump();
    order.clear();
    clips.clear();
    MoveWindow(child, 50, 50, 20, 20);
    Pump();
    EXPECT_EQ(order, (std::vector<HWND>{top, child}));
    // The parent repaints the old place (the new one is the child's).
    EXPECT_EQ(clips[0], 400);
    const PixelSection shot = screen_.Screenshot(top);
    EXPECT_EQ(shot.At(5, 5), 0xFF0000FFu);
    EXPECT_EQ(shot.At(55, 55), 0xFFFF0000u);
}

TEST_F(Painting, HiddenWindowsArePaintedWhenShown) {
    std::vector<HWND> order;
    HWND top = TopLevel({0, 0, 50, 50});
    top->SetWindowProc(Filler(0xFF0000FFu, &order));
    HWND child = Child(top, {0, 0, 20, 20}, {}, 0);
    child->SetWindowProc(Filler(0xFFFF0000u, &order));
    InvalidateRect(child, nullptr, false);
    Pump();
    EXPECT_EQ(order, (std::vector<HWND>{top}));
    order.clear();
    ShowWindow(child, SW_SHOW);
    Pump();
    EXPECT_EQ(order, (std::vector<HWND>{top, child}));
    EXPECT_EQ(screen_.Screenshot(top).At(1, 1), 0xFFFF0000u);
    ShowWindow(child, SW_HIDE);
    Pump();
    EXPECT_EQ(screen_.Screenshot(top).At(1, 1), 0xFF0000FFu);
}

TEST_F(Painting, APngScreenshotReadsBackPixelForPixel) {
    HWND top = TopLevel({10, 20, 40, 35});
    top->SetWindowProc([](HWND w, TMessage& m) {
        if (m.Msg != WM_PAINT) return DefWindowProc(w, m);
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, ps);
        // A gradient so that every pixel differs from its neighbours.
        for (int y = 0; y < 15; ++y) {
            for (int x = 0; x < 30; ++x) SetPixel(dc, x, y, PixelToRgb(static_cast<uint32_t>(x * 8 << 16 | y * 16 << 8 | (x + y))));
        }
        EndPaint(w, ps);
    });
    Pump();
    const std::string windowPath = testing::TempDir() + "window_shot_" + std::to_string(getpid()) + ".png";
    const std::string screenPath = testing::TempDir() + "screen_shot_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(screen_.SaveScreenshot(top, windowPath));
    ASSERT_TRUE(screen_.SaveScreenshot(screenPath));
    PixelSection window;
    PixelSection whole;
    ASSERT_TRUE(LoadPng(windowPath, window));
    ASSERT_TRUE(LoadPng(screenPath, whole));
    ASSERT_EQ(window.Width(), 30);
    ASSERT_EQ(window.Height(), 15);
    EXPECT_EQ(whole.Width(), 1024);
    EXPECT_EQ(whole.Height(), 768);
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 30; ++x) {
            const uint32_t expected = 0xFF000000u | static_cast<uint32_t>(x * 8 << 16 | y * 16 << 8 | (x + y));
            EXPECT_EQ(window.At(x, y), expected) << x << "," << y;
            EXPECT_EQ(whole.At(10 + x, 20 + y), expected) << x << "," << y;
        }
    }
    // Around the window the desktop shows (the classic desktop colour 58, 110, 165).
    EXPECT_EQ(whole.At(9, 20), 0xFF3A6EA5u);
    unlink(windowPath.c_str());
    unlink(screenPath.c_str());
}

TEST_F(Painting, ResizingATopLevelResizesItsBackBufferAndRepaints) {
    std::vector<HWND> order;
    HWND top = TopLevel({0, 0, 50, 50});
    top->SetWindowProc(Filler(0xFF00FF00u, &order));
    Pump();
    order.clear();
    screen_.ResizeNativeWindow(top, 80, 60);
    Pump();
    EXPECT_EQ(GetClientRect(top), (TRect{0, 0, 80, 60}));
    EXPECT_EQ(order, (std::vector<HWND>{top}));
    const PixelSection shot = screen_.Screenshot(top);
    EXPECT_EQ(shot.Width(), 80);
    EXPECT_EQ(shot.At(79, 59), 0xFF00FF00u);
}

TEST_F(Painting, WindowDcsOutsidePaintAreClippedToTheVisiblePartAndDieWithTheirWindow) {
    HWND top = TopLevel({0, 0, 100, 80});
    top->SetWindowProc(Filler(0xFF000000u, nullptr));
    HWND child = Child(top, {10, 10, 50, 40});
    child->SetWindowProc(Filler(0xFF0000FFu, nullptr));
    HWND grandchild = Child(child, {5, 5, 15, 15});
    grandchild->SetWindowProc(Filler(0xFF00FF00u, nullptr));
    Pump();
    HDC dc = GetDC(child);
    ASSERT_NE(dc, nullptr);
    // Device (0, 0) is the child's client corner; its own child is cut out.
    EXPECT_EQ(testing_support::VisibleArea(dc, {-20, -20, 100, 100}), 40 * 30 - 10 * 10);
    testing_support::FillPixel(dc, {-20, -20, 100, 100}, 0xFFFFFFFFu);
    EXPECT_EQ(ReleaseDC(child, dc), 1);
    EXPECT_EQ(ReleaseDC(child, dc), 0);
    Pump();
    const PixelSection shot = screen_.Screenshot(top);
    EXPECT_EQ(shot.At(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(shot.At(49, 39), 0xFFFFFFFFu);
    EXPECT_EQ(shot.At(17, 17), 0xFF00FF00u);
    EXPECT_EQ(shot.At(9, 10), 0xFF000000u);
    EXPECT_EQ(shot.At(50, 39), 0xFF000000u);
    // A DC left open goes with its window.
    GetDC(child);
    HDC measuring = GetDC(nullptr);
    TSize size;
    EXPECT_TRUE(GetTextExtentPoint32A(measuring, "Modbus", 6, &size));
    EXPECT_GT(size.cx, 0);
    EXPECT_EQ(WindowSystem().OpenDCCount(), 2);
    DestroyWindow(child);
    EXPECT_EQ(WindowSystem().OpenDCCount(), 1);
    EXPECT_EQ(ReleaseDC(nullptr, measuring), 1);
    EXPECT_EQ(WindowSystem().OpenDCCount(), 0);
}

}  // namespace
}  // namespace vcl
