#include <gtest/gtest.h>

#include "platform/draw/DeviceContext.h"
#include "tests/platform/draw/DrawTestSupport.h"

namespace vcl {
namespace {

using test::kBlack;
using test::kRed;
using test::kWhite;
using test::TestCanvas;

void FillAll(HDC dc, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    const TRect all{-1000, -1000, 1000, 1000};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

TEST(DeviceContext, ClipRegionFollowsSaveAndRestore) {
    TestCanvas canvas(8, 8);
    IntersectClipRect(canvas.Dc(), 2, 2, 6, 6);
    const int level = SaveDC(canvas.Dc());
    ExcludeClipRect(canvas.Dc(), 3, 3, 5, 5);
    EXPECT_TRUE(RestoreDC(canvas.Dc(), -1));
    FillAll(canvas.Dc(), RGB(255, 0, 0));
    // The exclusion made after the save is gone, the intersection made before it stays.
    EXPECT_EQ(canvas.Count(kRed), 16);
    EXPECT_EQ(canvas.At(3, 3), kRed);
    EXPECT_EQ(canvas.At(1, 1), kWhite);
    EXPECT_EQ(canvas.At(6, 6), kWhite);
    EXPECT_FALSE(RestoreDC(canvas.Dc(), level));  // already restored
    EXPECT_FALSE(RestoreDC(canvas.Dc(), -1));
}

TEST(DeviceContext, RestoreToANumberedLevelDropsTheLaterOnes) {
    TestCanvas canvas(4, 4);
    const int first = SaveDC(canvas.Dc());
    SetTextColor(canvas.Dc(), RGB(1, 2, 3));
    SaveDC(canvas.Dc());
    SetTextColor(canvas.Dc(), RGB(4, 5, 6));
    SaveDC(canvas.Dc());
    EXPECT_TRUE(RestoreDC(canvas.Dc(), first));
    EXPECT_EQ(GetTextColor(canvas.Dc()), 0u);
    EXPECT_FALSE(RestoreDC(canvas.Dc(), -1));
}

TEST(DeviceContext, ExcludingTheContentRectangleLeavesTheRingPaintable) {
    TestCanvas canvas(10, 8);
    const int saved = SaveDC(canvas.Dc());
    ExcludeClipRect(canvas.Dc(), 2, 2, 8, 6);
    FillAll(canvas.Dc(), RGB(255, 0, 0));
    RestoreDC(canvas.Dc(), saved);
    EXPECT_EQ(canvas.Count(kRed), 80 - 6 * 4);
    for (int y = 2; y < 6; ++y)
        for (int x = 2; x < 8; ++x) ASSERT_EQ(canvas.At(x, y), kWhite) << x << "," << y;
    // After the restore nothing is clipped any more.
    FillAll(canvas.Dc(), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Count(kRed), 80);
}

TEST(DeviceContext, MovingTheWindowOriginPutsTheParentPointAtTheChildOrigin) {
    // A child at (30, 20) in its parent asks the parent to paint into the child's buffer.
    TestCanvas child(6, 4);
    TPoint previous;
    OffsetWindowOrgEx(child.Dc(), 30, 20, &previous);
    EXPECT_EQ(previous, (TPoint{0, 0}));
    SetPixel(child.Dc(), 30, 20, RGB(255, 0, 0));
    SetPixel(child.Dc(), 35, 23, RGB(0, 0, 0));
    SetPixel(child.Dc(), 29, 20, RGB(0, 0, 0));  // left of the child: not in its buffer
    EXPECT_EQ(child.At(0, 0), kRed);
    EXPECT_EQ(child.At(5, 3), kBlack);
    EXPECT_EQ(child.Count(kBlack), 1);
    TRect box;
    GetClipBox(child.Dc(), &box);
    EXPECT_EQ(box, (TRect{30, 20, 36, 24}));
    OffsetWindowOrgEx(child.Dc(), -30, -20, nullptr);
    TPoint origin;
    GetWindowOrgEx(child.Dc(), &origin);
    EXPECT_EQ(origin, (TPoint{0, 0}));
}

TEST(DeviceContext, ClipRectanglesAreLogicalAndStayPutWhenTheOriginMoves) {
    TestCanvas canvas(10, 10);
    SetWindowOrgEx(canvas.Dc(), 5, 0, nullptr);
    IntersectClipRect(canvas.Dc(), 5, 0, 7, 10);  // device columns 0 and 1
    SetWindowOrgEx(canvas.Dc(), 0, 0, nullptr);
    FillAll(canvas.Dc(), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Count(kRed), 20);
    EXPECT_EQ(canvas.At(1, 9), kRed);
    EXPECT_EQ(canvas.At(2, 0), kWhite);
}

TEST(DeviceContext, WindowDcDrawsAtItsOriginInsideItsVisibleRegion) {
    PixelSection buffer(40, 30);
    // Window client at (10, 5), 20 x 10, with a child covering (5, 2)..(9, 6) of its client.
    Region visible(TRect{10, 5, 30, 15});
    visible.Subtract(TRect{15, 7, 19, 11});
    HDC dc = CreateWindowBufferDC(buffer, {10, 5}, visible.Rects());
    FillAll(dc, RGB(255, 0, 0));
    int red = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) red += buffer.At(x, y) == kRed;
    EXPECT_EQ(red, 200 - 16);
    EXPECT_EQ(buffer.At(10, 5), kRed);
    EXPECT_EQ(buffer.At(16, 8), 0u);
    SetPixel(dc, 0, 0, RGB(0, 0, 0));
    EXPECT_EQ(buffer.At(10, 5), kBlack);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    DeleteDC(dc);
}

TEST(Lines, EndPointsAreLeftOut) {
    TestCanvas canvas(8, 8);
    MoveToEx(canvas.Dc(), 1, 1, nullptr);
    LineTo(canvas.Dc(), 5, 1);
    LineTo(canvas.Dc(), 5, 4);
    EXPECT_EQ(canvas.Picture(kBlack),
              "........\n"
              ".#####..\n"
              ".....#..\n"
              ".....#..\n"
              "........\n"
              "........\n"
              "........\n"
              "........\n");
    TPoint position;
    GetCurrentPositionEx(canvas.Dc(), &position);
    EXPECT_EQ(position, (TPoint{5, 4}));
}

TEST(Lines, DiagonalsStepOnePixelPerRow) {
    TestCanvas canvas(6, 6);
    const TPoint points[] = {{0, 0}, {4, 4}, {0, 4}};
    Polyline(canvas.Dc(), points, 3);
    EXPECT_EQ(canvas.Picture(kBlack),
              "#.....\n"
              ".#....\n"
              "..#...\n"
              "...#..\n"
              ".####.\n"
              "......\n");
}

TEST(Lines, XorPenTwiceRestores) {
    TestCanvas canvas(6, 3);
    canvas.Ref(2, 1) = 0xFF123456;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0xFF, 0x0F, 0xF0));
    HPEN old = SelectObject(canvas.Dc(), pen);
    SetROP2(canvas.Dc(), R2_XORPEN);
    MoveToEx(canvas.Dc(), 0, 1, nullptr);
    LineTo(canvas.Dc(), 6, 1);
    // XOR of the pen colour: 0x12 ^ 0xFF, 0x34 ^ 0x0F, 0x56 ^ 0xF0.
    EXPECT_EQ(canvas.At(2, 1), 0xFFED3BA6u);
    MoveToEx(canvas.Dc(), 0, 1, nullptr);
    LineTo(canvas.Dc(), 6, 1);
    EXPECT_EQ(canvas.At(2, 1), 0xFF123456u);
    SelectObject(canvas.Dc(), old);
    DeleteObject(pen);
}

TEST(Shapes, FocusRectangleDrawnTwiceLeavesThePixelsUnchanged) {
    TestCanvas canvas(12, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) canvas.Ref(x, y) = 0xFF000000u | static_cast<uint32_t>(x * 7 + y * 13);
    const TestCanvas* const c = &canvas;
    std::vector<uint32_t> before;
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) before.push_back(c->At(x, y));
    const TRect r{1, 1, 11, 8};
    DrawFocusRect(canvas.Dc(), &r);
    int changed = 0;
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) {
            const uint32_t was = before[static_cast<size_t>(y * 12 + x)];
            if (canvas.At(x, y) == was) continue;
            ++changed;
            EXPECT_EQ(canvas.At(x, y), was ^ 0x00FFFFFFu);
            EXPECT_TRUE(x == 1 || x == 10 || y == 1 || y == 7);
        }
    }
    // The frame has 2 * 10 + 2 * 5 pixels; every other one is inverted.
    EXPECT_EQ(changed, 15);
    DrawFocusRect(canvas.Dc(), &r);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) ASSERT_EQ(canvas.At(x, y), before[static_cast<size_t>(y * 12 + x)]);
}

TEST(Shapes, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    TestCanvas canvas(6, 5);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    HBRUSH old = SelectObject(canvas.Dc(), brush);
    Rectangle(canvas.Dc(), 0, 0, 5, 4);
    EXPECT_EQ(canvas.Picture(kBlack),
              "#####.\n"
              "#...#.\n"
              "#...#.\n"
              "#####.\n"
              "......\n");
    EXPECT_EQ(canvas.Count(kRed), 6);
    // Without a pen the fill stops one pixel short at the right and bottom.
    canvas.Clear(kWhite);
    SelectObject(canvas.Dc(), static_cast<HPEN>(GetStockObject(NULL_PEN)));
    Rectangle(canvas.Dc(), 0, 0, 5, 4);
    EXPECT_EQ(canvas.Count(kRed), 12);
    SelectObject(canvas.Dc(), old);
    DeleteObject(brush);
}

TEST(Shapes, EllipseIsSymmetricAndTouchesItsBox) {
    TestCanvas canvas(13, 9);
    SelectObject(canvas.Dc(), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    Ellipse(canvas.Dc(), 0, 0, 13, 9);
    const std::string picture = canvas.Picture(kBlack);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 13; ++x) {
            ASSERT_EQ(canvas.At(x, y), canvas.At(12 - x, y)) << x << "," << y;
            ASSERT_EQ(canvas.At(x, y), canvas.At(x, 8 - y)) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.At(6, 0), kBlack);
    EXPECT_EQ(canvas.At(0, 4), kBlack);
    EXPECT_EQ(canvas.At(6, 4), kWhite) << picture;
    EXPECT_EQ(canvas.At(0, 0), kWhite);
    // A closed thin outline: each row of the upper half has its outline pixels at both ends.
    for (int y = 0; y < 9; ++y) {
        int first = -1;
        for (int x = 0; x < 13 && first < 0; ++x)
            if (canvas.At(x, y) == kBlack) first = x;
        ASSERT_GE(first, 0) << picture;
    }
}

TEST(Shapes, RoundRectWithFullCornersIsTheEllipse) {
    TestCanvas a(11, 11), b(11, 11);
    Ellipse(a.Dc(), 0, 0, 11, 11);
    RoundRect(b.Dc(), 0, 0, 11, 11, 11, 11);
    EXPECT_EQ(a.Picture(kBlack), b.Picture(kBlack));
    b.Clear(kWhite);
    RoundRect(b.Dc(), 0, 0, 11, 11, 0, 0);
    TestCanvas c(11, 11);
    Rectangle(c.Dc(), 0, 0, 11, 11);
    EXPECT_EQ(b.Picture(kBlack), c.Picture(kBlack));
}

TEST(Shapes, PolygonFillsByPixelCentres) {
    TestCanvas canvas(10, 10);
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(canvas.Dc(), brush);
    SelectObject(canvas.Dc(), static_cast<HPEN>(GetStockObject(NULL_PEN)));
    const TPoint square[] = {{2, 2}, {7, 2}, {7, 6}, {2, 6}};
    Polygon(canvas.Dc(), square, 4);
    EXPECT_EQ(canvas.Count(kRed), 5 * 4);
    EXPECT_EQ(canvas.At(2, 2), kRed);
    EXPECT_EQ(canvas.At(7, 2), kWhite);
    canvas.Clear(kWhite);
    // A right triangle with legs of 8: the centres under the diagonal, 8 + 7 + ... + 1 rows.
    const TPoint triangle[] = {{0, 0}, {8, 8}, {0, 8}};
    Polygon(canvas.Dc(), triangle, 3);
    int expected = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) expected += (x + 0.5) < (y + 0.5) ? 1 : 0;
    EXPECT_EQ(canvas.Count(kRed), expected);
    SelectObject(canvas.Dc(), static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DeleteObject(brush);
}

TEST(Brushes, PatternFollowsTheBrushOriginNotTheRectangle) {
    TestCanvas pattern(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) pattern.Ref(x, y) = (x + y) % 2 == 0 ? kBlack : kWhite;
    HBRUSH brush = CreatePatternBrush(pattern.Bitmap());
    TestCanvas canvas(10, 10);
    const TRect odd{3, 1, 9, 6};
    FillRect(canvas.Dc(), &odd, brush);
    for (int y = odd.Top; y < odd.Bottom; ++y)
        for (int x = odd.Left; x < odd.Right; ++x) ASSERT_EQ(canvas.At(x, y), (x + y) % 2 == 0 ? kBlack : kWhite);
    SetBrushOrgEx(canvas.Dc(), 1, 0, nullptr);
    FillRect(canvas.Dc(), &odd, brush);
    for (int y = odd.Top; y < odd.Bottom; ++y)
        for (int x = odd.Left; x < odd.Right; ++x) ASSERT_EQ(canvas.At(x, y), (x + y) % 2 == 1 ? kBlack : kWhite);
    DeleteObject(brush);
}

TEST(Blits, BlockCopyReadsThroughTheSourceOrigin) {
    TestCanvas source(4, 4), target(6, 6);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) source.Ref(x, y) = static_cast<uint32_t>(0x10000 * x + y);
    SetWindowOrgEx(source.Dc(), 1, 1, nullptr);
    BitBlt(target.Dc(), 2, 3, 3, 2, source.Dc(), 1, 1, SRCCOPY);
    EXPECT_EQ(target.At(2, 3), source.At(0, 0));
    EXPECT_EQ(target.At(4, 4), source.At(2, 1));
    EXPECT_EQ(target.At(5, 4), kWhite);
    EXPECT_EQ(target.Count(kWhite), 36 - 6);
}

TEST(Blits, ACopyReachingPastTheSourceReadsBlackThere) {
    TestCanvas source(3, 2), target(5, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) source.Ref(x, y) = static_cast<uint32_t>(0xFF000000u + 0x10 * x + y);
    // Columns -1 and 3 of the source do not exist.
    BitBlt(target.Dc(), 0, 0, 5, 2, source.Dc(), -1, 0, SRCCOPY);
    for (int y = 0; y < 2; ++y) {
        EXPECT_EQ(target.At(0, y), 0u);
        for (int x = 1; x < 4; ++x) EXPECT_EQ(target.At(x, y), source.At(x - 1, y));
        EXPECT_EQ(target.At(4, y), 0u);
    }
}

TEST(Blits, OverlappingMoveOnOneSurfaceReadsTheOriginalPixels) {
    TestCanvas canvas(6, 1);
    for (int x = 0; x < 6; ++x) canvas.Ref(x, 0) = static_cast<uint32_t>(x);
    BitBlt(canvas.Dc(), 1, 0, 5, 1, canvas.Dc(), 0, 0, SRCCOPY);
    for (int x = 1; x < 6; ++x) EXPECT_EQ(canvas.At(x, 0), static_cast<uint32_t>(x - 1));
}

TEST(Blits, StretchingDoublesEveryPixel) {
    TestCanvas source(2, 2), target(4, 4);
    source.Ref(0, 0) = 1, source.Ref(1, 0) = 2, source.Ref(0, 1) = 3, source.Ref(1, 1) = 4;
    StretchBlt(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, 2, 2, SRCCOPY);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(target.At(x, y), source.At(x / 2, y / 2));
    // Negative width mirrors.
    StretchBlt(target.Dc(), 3, 0, -4, 4, source.Dc(), 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(target.At(0, 0), 2u);
    EXPECT_EQ(target.At(3, 0), 1u);
}

TEST(Blits, TransparentCopySkipsTheKeyColour) {
    TestCanvas source(3, 1), target(3, 1, 0xFF00FF00);
    source.Ref(0, 0) = 0x007F007F;
    source.Ref(1, 0) = 0x00123456;
    source.Ref(2, 0) = 0xFF7F007F;
    TransparentBlt(target.Dc(), 0, 0, 3, 1, source.Dc(), 0, 0, 3, 1, RGB(127, 0, 127));
    EXPECT_EQ(target.At(0, 0), 0xFF00FF00u);
    EXPECT_EQ(target.At(1, 0), 0xFF123456u);
    EXPECT_EQ(target.At(2, 0), 0xFF00FF00u);
}

TEST(Blits, RasterOperations) {
    TestCanvas source(1, 1), target(1, 1);
    source.Ref(0, 0) = 0xFF0F0F0F;
    target.Ref(0, 0) = 0xFF00FFFF;
    BitBlt(target.Dc(), 0, 0, 1, 1, source.Dc(), 0, 0, SRCINVERT);
    EXPECT_EQ(target.At(0, 0), 0xFF0FF0F0u);
    BitBlt(target.Dc(), 0, 0, 1, 1, source.Dc(), 0, 0, SRCAND);
    EXPECT_EQ(target.At(0, 0), 0xFF0F0000u);
    PatBlt(target.Dc(), 0, 0, 1, 1, DSTINVERT);
    EXPECT_EQ(target.At(0, 0), 0xFFF0FFFFu);
    PatBlt(target.Dc(), 0, 0, 1, 1, BLACKNESS);
    EXPECT_EQ(target.At(0, 0), kBlack);
    PatBlt(target.Dc(), 0, 0, 1, 1, PATCOPY);  // the default white brush
    EXPECT_EQ(target.At(0, 0), kWhite);
}

TEST(Objects, DeletingASelectedObjectWaitsUntilItIsDeselected) {
    TestCanvas canvas(4, 1);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HPEN stock = SelectObject(canvas.Dc(), pen);
    EXPECT_TRUE(DeleteObject(pen));
    MoveToEx(canvas.Dc(), 0, 0, nullptr);
    LineTo(canvas.Dc(), 4, 0);
    EXPECT_EQ(canvas.Count(kRed), 4);
    EXPECT_EQ(GetObjectType(pen), 0);  // no longer usable as a handle
    SelectObject(canvas.Dc(), stock);
    EXPECT_FALSE(DeleteObject(stock));  // stock objects stay
}

TEST(Objects, ABitmapIsSelectedIntoOneDcAtATime) {
    TestCanvas canvas(2, 2);
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, canvas.Bitmap()), nullptr);
    EXPECT_EQ(GetCurrentObject(other, OBJ_BITMAP), nullptr);
    DeleteDC(other);
    EXPECT_FALSE(DeleteDC(other));
}

TEST(Objects, DibSectionsReportTheirRowOrder) {
    BITMAPINFO info{};
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 2;  // bottom-up
    void* bits = nullptr;
    HBITMAP bottomUp = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits);
    ASSERT_NE(bits, nullptr);
    DIBSECTION section;
    ASSERT_EQ(GetObject(bottomUp, sizeof section, &section), static_cast<int>(sizeof section));
    EXPECT_EQ(section.dsBmih.biHeight, 2);
    EXPECT_EQ(section.dsBm.bmBits, bits);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bottomUp);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    // The top row is the last one in memory.
    EXPECT_EQ(static_cast<uint32_t*>(bits)[3], kRed);
    DeleteDC(dc);
    DeleteObject(bottomUp);
    info.bmiHeader.biBitCount = 24;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits), nullptr);
    EXPECT_EQ(bits, nullptr);
    HBITMAP ddb = CreateCompatibleBitmap(nullptr, 2, 2);
    EXPECT_EQ(GetObject(ddb, sizeof section, &section), static_cast<int>(sizeof(BITMAP)));
    DeleteObject(ddb);
}

}  // namespace
}  // namespace vcl
