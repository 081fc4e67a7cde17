#include <gtest/gtest.h>

#include <cstdio>

#include "platform/draw/Graphic.h"
#include "platform/rtl/Exception.h"
#include "tests/platform/draw/DrawTestSupport.h"

namespace vcl {
namespace {

using test::kBlack;
using test::kRed;
using test::kWhite;
using test::TestCanvas;

TEST(Canvas, ObjectsAreSelectedWhenDrawingNeedsThem) {
    TestCanvas target(10, 10);
    TCanvas canvas;
    canvas.SetHandle(target.Dc());
    canvas.Brush().SetColor(clRed);
    canvas.FillRect({0, 0, 5, 5});
    EXPECT_EQ(target.Count(kRed), 25);
    // A change after the first use is selected again at the next call.
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect({0, 0, 5, 5});
    EXPECT_EQ(target.Count(kBlack), 25);
    canvas.Pen().SetColor(clRed);
    canvas.MoveTo(0, 9);
    canvas.LineTo(10, 9);
    EXPECT_EQ(target.Count(kRed), 10);
    EXPECT_EQ(canvas.PenPos(), (TPoint{10, 9}));
    canvas.SetHandle(nullptr);
    // The DC is left with stock objects, so the canvas objects may go.
    EXPECT_EQ(GetCurrentObject(target.Dc(), OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
}

TEST(Canvas, HandleTakesTheFontColourAndTheBrushBackground) {
    TestCanvas target(4, 4);
    TCanvas canvas;
    canvas.SetHandle(target.Dc());
    canvas.Font().SetColor(clBlue);
    canvas.Brush().SetColor(clBtnFace);
    HDC dc = canvas.Handle();
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    EXPECT_EQ(GetBkColor(dc), RGB(212, 208, 200));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    // Asking again does not undo changes made on the DC directly.
    SetBkMode(dc, TRANSPARENT);
    canvas.Handle();
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    canvas.Brush().SetStyle(bsClear);
    canvas.Handle();
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    // A hollow brush given a colour becomes solid again.
    canvas.Brush().SetColor(clWhite);
    EXPECT_EQ(canvas.Brush().Style(), bsSolid);
}

TEST(Canvas, TextOutMovesThePenAndMeasuresLikeTheDc) {
    TestCanvas target(100, 20);
    TCanvas canvas;
    canvas.SetHandle(target.Dc());
    canvas.Brush().SetStyle(bsClear);
    const TSize extent = canvas.TextExtent("Port");
    EXPECT_EQ(extent.cy, 13);
    canvas.TextOut(3, 2, "Port");
    EXPECT_EQ(canvas.PenPos(), (TPoint{3 + extent.cx, 2}));
    EXPECT_LT(target.Count(kWhite), 100 * 20);
    EXPECT_EQ(canvas.TextExtent(u"串口").cx, canvas.TextExtent("串口").cx);
}

TEST(Canvas, PixelsReadAndWriteColours) {
    TestCanvas target(3, 3);
    TCanvas canvas;
    canvas.SetHandle(target.Dc());
    canvas.SetPixel(1, 1, clBtnShadow);
    EXPECT_EQ(canvas.Pixel(1, 1), static_cast<TColor>(RGB(128, 128, 128)));
    EXPECT_EQ(canvas.Pixel(5, 5), clNone);
    canvas.Lock();
    EXPECT_FALSE(canvas.TryLock());
    canvas.Unlock();
    EXPECT_TRUE(canvas.TryLock());
    EXPECT_EQ(canvas.LockCount(), 1);
}

TEST(Bitmap, ResizingKeepsThePixelsThatFit) {
    TBitmap bitmap(4, 3);
    bitmap.Canvas().Brush().SetColor(clRed);
    bitmap.Canvas().FillRect({0, 0, 4, 3});
    bitmap.SetSize(6, 2);
    EXPECT_EQ(bitmap.Width(), 6);
    EXPECT_EQ(bitmap.ScanLine(1)[3], kRed);
    EXPECT_EQ(bitmap.ScanLine(1)[4], 0u);
    // The canvas follows the new pixels.
    bitmap.Canvas().SetPixel(5, 1, clBlack);
    EXPECT_EQ(bitmap.ScanLine(1)[5], kBlack);
    bitmap.SetSize(0, 0);
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.ScanLine(0), nullptr);
}

TEST(Bitmap, TransparentDrawingLeavesTheBottomLeftColourOut) {
    TBitmap glyph(2, 2);
    glyph.ScanLine(0)[0] = kRed;
    glyph.ScanLine(0)[1] = 0xFF008080;
    glyph.ScanLine(1)[0] = 0xFF008080;  // the bottom-left pixel names the transparent colour
    glyph.ScanLine(1)[1] = kBlack;
    glyph.SetTransparent(true);
    TestCanvas target(2, 2);
    TCanvas canvas;
    canvas.SetHandle(target.Dc());
    canvas.Draw(0, 0, glyph);
    EXPECT_EQ(target.At(0, 0), kRed);
    EXPECT_EQ(target.At(1, 0), kWhite);
    EXPECT_EQ(target.At(1, 1), kBlack);
    glyph.SetTransparent(false);
    canvas.StretchDraw({0, 0, 2, 2}, glyph);
    EXPECT_EQ(target.At(1, 0), 0xFF008080u);
}

TEST(Bitmap, PngRoundTripAndAssignment) {
    TBitmap bitmap(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) bitmap.ScanLine(y)[x] = 0xFF000000u | static_cast<uint32_t>(x * 40 + y * 90);
    const std::string path = testing::TempDir() + "bitmap_roundtrip.png";
    ASSERT_TRUE(bitmap.SaveToFile(path));
    TPicture picture;
    ASSERT_TRUE(picture.LoadFromFile(path));
    std::remove(path.c_str());
    EXPECT_EQ(picture.Width(), 3);
    TBitmap copy;
    copy.Assign(picture);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(copy.ScanLine(y)[x], bitmap.ScanLine(y)[x]);
    EXPECT_FALSE(copy.LoadFromFile(path));
    TFont font;
    try {
        copy.Assign(font);
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_STREQ(e.what(), "Cannot assign a TFont to a TBitmap");
    }
}

TEST(Picture, BitmapReplacesAnyOtherContent) {
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&](TObject*) { ++changes; };
    TBitmap& bitmap = picture.Bitmap();
    EXPECT_EQ(changes, 1);
    bitmap.SetSize(5, 4);
    EXPECT_EQ(picture.Width(), 5);
    EXPECT_GE(changes, 2);
    EXPECT_EQ(&picture.Bitmap(), &bitmap);
    picture.SetGraphic(nullptr);
    EXPECT_EQ(picture.Graphic(), nullptr);
    EXPECT_EQ(picture.Width(), 0);
}

}  // namespace
}  // namespace vcl
