#include <gtest/gtest.h>

#include <sstream>

#include "controls/surface/Bitmap.h"
#include "platform/rtl/Exception.h"

namespace se {
namespace {

using vcl::TRect;

// Surfaces cannot be moved; tests build them in place.
struct Surface {
    TseBitmap bitmap;
    Surface(int w, int h, TsePixel fill = 0) {
        bitmap.SetSize(w, h);
        bitmap.Clear(fill);
    }
};

TEST(SurfaceSize, ZeroSidesAreIgnoredAndNegativesCountAsPositive) {
    TseBitmap surface;
    EXPECT_TRUE(surface.Empty());
    surface.SetSize(0, 10);
    surface.SetSize(10, 0);
    EXPECT_TRUE(surface.Empty());
    EXPECT_EQ(surface.Width(), 0);
    surface.SetSize(-20, 10);
    EXPECT_FALSE(surface.Empty());
    EXPECT_EQ(surface.Width(), 20);
    EXPECT_EQ(surface.Height(), 10);
    EXPECT_EQ(surface.Header().biWidth, 20);
    EXPECT_EQ(surface.Header().biHeight, -10);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(surface.ReadPixel(x, y), 0u);
    // The same size keeps the pixels, a new one starts from zero.
    surface.WritePixel(3, 3, 0xFF123456);
    surface.SetSize(20, -10);
    EXPECT_EQ(surface.ReadPixel(3, 3), 0xFF123456u);
    surface.SetSize(0, 5);
    EXPECT_EQ(surface.Width(), 20);
    surface.SetSize(21, 10);
    EXPECT_EQ(surface.ReadPixel(3, 3), 0u);
}

TEST(SurfaceSize, AnImpossibleSizeRaisesAndLeavesTheSurfaceEmpty) {
    TseBitmap surface;
    surface.SetSize(4, 4);
    try {
        surface.SetSize(200000, 200000);
        FAIL();
    } catch (const rtl::Exception& e) {
        EXPECT_STREQ(e.what(), "Can't allocate the DIB handle");
    }
    EXPECT_TRUE(surface.Empty());
    EXPECT_EQ(surface.Width(), 0);
    EXPECT_EQ(surface.Height(), 0);
    EXPECT_EQ(surface.Bits(), nullptr);
    surface.Clear(1);  // addresses nothing
    surface.SetAlpha(1);
    EXPECT_EQ(surface.ReadPixel(0, 0), 0u);
}

TEST(SurfacePixels, AccessOutsideTheSurfaceDoesNothing) {
    Surface s(3, 2, 0xFF000001);
    s.bitmap.WritePixel(3, 0, 7);
    s.bitmap.WritePixel(0, 2, 7);
    s.bitmap.WritePixel(-1, 0, 7);
    EXPECT_EQ(s.bitmap.ReadPixel(-1, 0), 0u);
    EXPECT_EQ(s.bitmap.ReadPixel(3, 0), 0u);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(s.bitmap.ReadPixel(x, y), 0xFF000001u);
    EXPECT_EQ(s.bitmap.ScanLine(1), s.bitmap.PixelPtr(0, 1));
    EXPECT_EQ(s.bitmap.PixelPtr(2, 1) - s.bitmap.Bits(), 5);
}

TEST(SurfacePixels, FillsAndAlphaStayInsideTheSurface) {
    Surface s(4, 4, 0x00ABCDEF);
    const TRect outside[] = {{4, 0, 8, 4}, {0, 4, 4, 8}, {-5, -5, 0, 0}, {10, 10, 20, 20}, {1, 1, 1, 3}};
    for (const TRect& r : outside) {
        s.bitmap.FillPixels(r, 0xFFFFFFFF);
        s.bitmap.SetAlphaRect(99, r);
    }
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(s.bitmap.ReadPixel(x, y), 0x00ABCDEFu);
    s.bitmap.SetAlphaRect(0x80, TRect{-2, -2, 2, 1});
    EXPECT_EQ(s.bitmap.ReadPixel(1, 0), 0x80ABCDEFu);
    EXPECT_EQ(s.bitmap.ReadPixel(2, 0), 0x00ABCDEFu);
    EXPECT_EQ(s.bitmap.ReadPixel(0, 1), 0x00ABCDEFu);
    s.bitmap.FillPixels(TRect{3, 3, 9, 9}, 0xFF000000);
    EXPECT_EQ(s.bitmap.ReadPixel(3, 3), 0xFF000000u);
    Surface one(1, 1, 0x00112233);
    one.bitmap.SetAlpha(200);
    EXPECT_EQ(one.bitmap.ReadPixel(0, 0), 0xC8112233u);
}

TEST(SurfacePixels, FillingASurfaceWithAlphaBlendsTheValue) {
    Surface s(2, 1, 0xFF0000FF);
    s.bitmap.SetHasAlpha(true);
    s.bitmap.FillPixels(TRect{0, 0, 1, 1}, 0x80FF0000);
    EXPECT_EQ(s.bitmap.ReadPixel(0, 0), BlendPixel(0x80FF0000, 0xFF0000FF));
    EXPECT_EQ(s.bitmap.ReadPixel(1, 0), 0xFF0000FFu);
}

TEST(SurfaceFlags, CheckAlphaAndTheKeyColour) {
    Surface s(3, 1, 0xFF000000);
    s.bitmap.CheckAlpha();
    EXPECT_FALSE(s.bitmap.HasAlpha());
    s.bitmap.WritePixel(1, 0, 0x00000000);
    s.bitmap.CheckAlpha();
    EXPECT_FALSE(s.bitmap.HasAlpha());
    s.bitmap.WritePixel(2, 0, 0x01000000);
    s.bitmap.CheckAlpha();
    EXPECT_TRUE(s.bitmap.HasAlpha());

    Surface k(3, 1);
    k.bitmap.WritePixel(0, 0, MakePixel(131, 5, 122, 255));  // each channel within 5 of 127, 0, 127
    k.bitmap.WritePixel(1, 0, MakePixel(133, 0, 127, 255));  // red 6 away
    k.bitmap.WritePixel(2, 0, MakePixel(0, 0, 0, 255));
    k.bitmap.ApplyKeyColor(KeyColor);
    EXPECT_TRUE(k.bitmap.HasKeyColor());
    EXPECT_EQ(k.bitmap.ReadPixel(0, 0), 0x007F007Fu);
    EXPECT_EQ(k.bitmap.ReadPixel(1, 0), MakePixel(133, 0, 127, 255));
    k.bitmap.ApplyKeyColor(MakePixel(255, 0, 255, 255));
    EXPECT_FALSE(k.bitmap.HasKeyColor());
}

TEST(SurfaceDrawing, TheMethodFollowsTheFlags) {
    TseBitmap s;
    EXPECT_EQ(s.DrawMethod(), TseDrawMethod::Copy);
    s.SetHasKeyColor(true);
    EXPECT_EQ(s.DrawMethod(), TseDrawMethod::Key);
    s.SetHasAlpha(true);
    EXPECT_EQ(s.DrawMethod(), TseDrawMethod::Blend);
}

class WindowTarget : public ::testing::Test {
protected:
    vcl::PixelSection buffer{8, 4};
    vcl::HDC dc = nullptr;
    void SetUp() override {
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 8; ++x) buffer.Set(x, y, 0xFF00FF00);
        const TRect all{0, 0, 8, 4};
        dc = vcl::CreateWindowBufferDC(buffer, {0, 0}, std::span<const TRect>(&all, 1));
    }
    void TearDown() override {
        vcl::DeleteDC(dc);
        Platform().transparentCopy = true;
    }
};

TEST_F(WindowTarget, PlainCopyShowsKeyPixelsAndTheKeyMethodSkipsThem) {
    Surface s(2, 1);
    s.bitmap.WritePixel(0, 0, KeyColor);
    s.bitmap.WritePixel(1, 0, 0xFF112233);
    s.bitmap.Draw(dc, 1, 1);
    EXPECT_EQ(buffer.At(1, 1), KeyColor);
    EXPECT_EQ(buffer.At(2, 1), 0xFF112233u);
    for (bool transparentCopy : {true, false}) {
        Platform().transparentCopy = transparentCopy;
        s.bitmap.SetHasKeyColor(true);
        s.bitmap.Draw(dc, 4, 2);
        EXPECT_EQ(buffer.At(4, 2), 0xFF00FF00u) << transparentCopy;
        EXPECT_EQ(buffer.At(5, 2), 0xFF112233u) << transparentCopy;
        buffer.Set(5, 2, 0xFF00FF00);
    }
}

TEST_F(WindowTarget, BlendingReadsTheWindowBack) {
    Surface s(2, 1, 0x80FF0000);
    s.bitmap.WritePixel(1, 0, 0x00FFFFFF);
    s.bitmap.SetHasAlpha(true);
    s.bitmap.Draw(dc, 3, 0);
    EXPECT_EQ(buffer.At(3, 0), BlendPixel(0x80FF0000, 0xFF00FF00));
    EXPECT_EQ(buffer.At(4, 0), 0xFF00FF00u);
    EXPECT_EQ(buffer.At(2, 0), 0xFF00FF00u);
}

TEST(SurfaceDrawing, ScalingSamplesTruncateIntoASurface) {
    Surface source(3, 1);
    for (int x = 0; x < 3; ++x) source.bitmap.WritePixel(x, 0, 0xFF000000u + static_cast<TsePixel>(x));
    Surface target(5, 1);
    source.bitmap.StretchDraw(target.bitmap, TRect{0, 0, 5, 1}, TRect{0, 0, 3, 1});
    // Column k samples k × 2 / 4, truncated: 0, 0, 1, 1, 2.
    const TsePixel expected[] = {0, 0, 1, 1, 2};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(target.bitmap.ReadPixel(x, 0) & 0xFF, expected[x]);
}

TEST(SurfaceDrawing, ScalingSamplesRoundHalvesToEvenIntoABottomUpSection) {
    Surface source(3, 2);
    for (int x = 0; x < 3; ++x) {
        source.bitmap.WritePixel(x, 0, 0xFF000000u + static_cast<TsePixel>(x));
        source.bitmap.WritePixel(x, 1, 0xFF000010u + static_cast<TsePixel>(x));
    }
    vcl::BITMAPINFO info{};
    info.bmiHeader.biWidth = 5;
    info.bmiHeader.biHeight = 2;  // rows stored bottom-up
    void* bits = nullptr;
    vcl::HBITMAP section = vcl::CreateDIBSection(nullptr, &info, vcl::DIB_RGB_COLORS, &bits);
    vcl::HDC dc = vcl::CreateCompatibleDC(nullptr);
    vcl::SelectObject(dc, section);
    source.bitmap.StretchDraw(dc, TRect{0, 0, 5, 2}, TRect{0, 0, 3, 2});
    const auto* pixels = static_cast<const TsePixel*>(bits);
    // 0, 0.5, 1, 1.5, 2 rounded half to even: 0, 0, 1, 2, 2. Screen row 0 is the last in memory.
    const TsePixel expected[] = {0, 0, 1, 2, 2};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(pixels[5 + x], 0xFF000000u + expected[x]);
        EXPECT_EQ(pixels[x], 0xFF000010u + expected[x]);
    }
    vcl::DeleteDC(dc);
    vcl::DeleteObject(section);
}

TEST(SurfaceDrawing, AOneColumnDestinationTakesTheMiddleSourceColumn) {
    Surface source(4, 1);
    for (int x = 0; x < 4; ++x) source.bitmap.WritePixel(x, 0, static_cast<TsePixel>(x));
    Surface target(1, 1, 99);
    source.bitmap.StretchDraw(target.bitmap, TRect{0, 0, 1, 1}, TRect{0, 0, 4, 1});
    EXPECT_EQ(target.bitmap.ReadPixel(0, 0), 1u);  // (0 + 4 − 1) div 2
}

TEST(SurfaceDrawing, ASourceOutsideTheSurfaceDrawsNothing) {
    Surface source(4, 4, 0xFFFFFFFF);
    Surface target(4, 4, 5);
    source.bitmap.StretchDraw(target.bitmap, TRect{0, 0, 4, 4}, TRect{1, 0, 5, 4});
    source.bitmap.DrawRect(target.bitmap, 0, 0, TRect{-1, 0, 2, 2});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) ASSERT_EQ(target.bitmap.ReadPixel(x, y), 5u);
    TseBitmap empty;
    empty.Draw(target.bitmap, 0, 0);
    source.bitmap.Draw(empty, 0, 0);
    EXPECT_EQ(target.bitmap.ReadPixel(0, 0), 5u);
}

TEST(SurfaceDrawing, DrawingOntoARegisteredSurfaceDcUsesItsWindowOrigin) {
    // A child's buffer whose origin was moved so the parent's point (30, 20) lands on (0, 0).
    Surface child(10, 10);
    Surface parentPart(2, 2, 0xFFAA0000);
    ASSERT_EQ(FindSurface(child.bitmap.DC()), &child.bitmap);
    vcl::OffsetWindowOrgEx(child.bitmap.DC(), 30, 20, nullptr);
    // Clipping does not apply: the pixels are written directly.
    vcl::IntersectClipRect(child.bitmap.DC(), 0, 0, 0, 0);
    parentPart.bitmap.Draw(child.bitmap.DC(), 31, 22);
    EXPECT_EQ(child.bitmap.ReadPixel(1, 2), 0xFFAA0000u);
    EXPECT_EQ(child.bitmap.ReadPixel(2, 3), 0xFFAA0000u);
    EXPECT_EQ(child.bitmap.ReadPixel(0, 2), 0u);
    EXPECT_EQ(FindSurface(nullptr), nullptr);
}

TEST(SurfaceDrawing, AFinishedRowIsReusedWhenTheNextMapsToTheSameSourceRow) {
    // Blending a 1-row source onto 3 rows: later rows copy the first blended row.
    Surface source(1, 1, 0x80FF0000);
    source.bitmap.SetHasAlpha(true);
    Surface target(1, 3);
    target.bitmap.WritePixel(0, 0, 0xFF0000FF);
    target.bitmap.WritePixel(0, 1, 0xFF00FF00);
    target.bitmap.WritePixel(0, 2, 0xFFFFFFFF);
    source.bitmap.StretchDraw(target.bitmap, TRect{0, 0, 1, 3}, TRect{0, 0, 1, 1});
    const TsePixel first = BlendPixel(0x80FF0000, 0xFF0000FF);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(target.bitmap.ReadPixel(0, y), first);
}

TEST(SurfaceTiling, TilesGoColumnByColumnAndAreCutAtTheEdges) {
    const std::vector<TilePiece> pieces = TileLayout(TRect{0, 0, 25, 15}, TRect{0, 0, 10, 10});
    ASSERT_EQ(pieces.size(), 6u);
    const struct {
        int x, y, w, h;
    } expected[] = {{0, 0, 10, 10}, {0, 10, 10, 5}, {10, 0, 10, 10}, {10, 10, 10, 5}, {20, 0, 5, 10}, {20, 10, 5, 5}};
    for (size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].x, expected[i].x);
        EXPECT_EQ(pieces[i].y, expected[i].y);
        EXPECT_EQ(pieces[i].source, (TRect{0, 0, expected[i].w, expected[i].h}));
    }
    EXPECT_TRUE(TileLayout(TRect{0, 0, 25, 15}, TRect{3, 3, 3, 8}).empty());
}

TEST(SurfaceTiling, TilingADcRepeatsTheTopLeftOfTheSource) {
    Surface source(3, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) source.bitmap.WritePixel(x, y, 0xFF000000u + static_cast<TsePixel>(y * 3 + x));
    Surface target(7, 4, 0xFFFFFFFF);
    source.bitmap.Tile(target.bitmap.DC(), TRect{0, 0, 7, 4}, TRect{0, 0, 3, 3});
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(target.bitmap.ReadPixel(x, y), 0xFF000000u + ((y % 3) * 3 + x % 3));
}

TEST(SurfaceMerge, TransparentPixelsTakeTheBackgroundAndHalfOnesBlend) {
    Surface background(4, 4, 0xFF0000FF);
    Surface top(3, 1);
    top.bitmap.WritePixel(0, 0, 0x00FF0000);
    top.bitmap.WritePixel(1, 0, 0x80FF0000);
    top.bitmap.WritePixel(2, 0, 0xFFFF0000);
    background.bitmap.WritePixel(2, 3, 0xFF00FF00);
    top.bitmap.MergeBackground(background.bitmap, 0, 0, TRect{1, 3, 4, 4});
    EXPECT_EQ(top.bitmap.ReadPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(top.bitmap.ReadPixel(1, 0), BlendPixel(0x80FF0000, 0xFF00FF00));
    EXPECT_EQ(top.bitmap.ReadPixel(2, 0), 0xFFFF0000u);
    // The source is clipped to the background; receiving pixels outside this surface are skipped.
    Surface small(2, 2);
    small.bitmap.MergeBackground(background.bitmap, -1, 0, TRect{-2, 0, 2, 2});
    EXPECT_EQ(small.bitmap.ReadPixel(0, 0), 0u);  // background column −1 does not exist
    EXPECT_EQ(small.bitmap.ReadPixel(1, 0), 0xFF0000FFu);
}

TEST(SurfaceRows, FlipVerticalReversesTheRows) {
    Surface s(2, 3);
    for (int y = 0; y < 3; ++y) s.bitmap.WritePixel(0, y, static_cast<TsePixel>(y));
    s.bitmap.FlipVertical();
    EXPECT_EQ(s.bitmap.ReadPixel(0, 0), 2u);
    EXPECT_EQ(s.bitmap.ReadPixel(0, 1), 1u);
    EXPECT_EQ(s.bitmap.ReadPixel(0, 2), 0u);
}

TEST(SurfaceRegion, RunsOfNonKeyPixelsOffsetByThePosition) {
    Surface s(5, 2, 0xFF000000);
    s.bitmap.WritePixel(2, 0, KeyColor);
    for (int x = 0; x < 5; ++x) s.bitmap.WritePixel(x, 1, 0xFF7F007F);
    vcl::HRGN region = s.bitmap.CreateRegion(10, 20);
    ASSERT_NE(region, nullptr);
    TRect box;
    EXPECT_EQ(vcl::GetRgnBox(region, &box), vcl::COMPLEXREGION);
    EXPECT_EQ(box, (TRect{10, 20, 15, 21}));
    EXPECT_TRUE(vcl::PtInRegion(region, 11, 20));
    EXPECT_FALSE(vcl::PtInRegion(region, 12, 20));
    EXPECT_FALSE(vcl::PtInRegion(region, 11, 21));
    vcl::DeleteObject(region);
    TseBitmap empty;
    EXPECT_EQ(empty.CreateRegion(0, 0), nullptr);
}

TEST(SurfaceRegion, MoreRunsThanOneBlockHoldsAreAllKept) {
    // Every other pixel of a 200 x 60 surface is a key pixel: 6000 runs.
    Surface s(200, 60, 0xFF000000);
    for (int y = 0; y < 60; ++y)
        for (int x = 1; x < 200; x += 2) s.bitmap.WritePixel(x, y, KeyColor);
    vcl::HRGN region = s.bitmap.CreateRegion(0, 0);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) ASSERT_EQ(vcl::PtInRegion(region, x, y), x % 2 == 0) << x << "," << y;
    vcl::DeleteObject(region);
}

std::string StreamOf(const std::string& name, int32_t width, int32_t height, const std::vector<TsePixel>& pixels) {
    std::ostringstream out;
    auto put = [&](int32_t v) {
        for (int i = 0; i < 4; ++i) out.put(static_cast<char>(static_cast<uint32_t>(v) >> (8 * i)));
    };
    put(static_cast<int32_t>(name.size()));
    out << name;
    put(width);
    put(height);
    for (TsePixel p : pixels) put(static_cast<int32_t>(p));
    return out.str();
}

TEST(SurfaceStream, RoundTripAndBottomUpRows) {
    Surface s(2, 2);
    s.bitmap.SetName("Button");
    s.bitmap.WritePixel(0, 0, 0xFF010203);
    s.bitmap.WritePixel(1, 1, 0xFF040506);
    std::stringstream stream;
    s.bitmap.SaveToStream(stream);
    EXPECT_EQ(stream.str(), StreamOf("Button", 2, 2, {0xFF010203, 0, 0, 0xFF040506}));
    TseBitmap loaded;
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Name(), "Button");
    EXPECT_EQ(loaded.ReadPixel(1, 1), 0xFF040506u);
    // The zero pixels are black with alpha 0, not near purple: no key colour.
    EXPECT_FALSE(loaded.HasKeyColor());

    std::istringstream bottomUp(StreamOf("", 1, -2, {0xFF000001, 0xFF7F017E}));
    TseBitmap flipped;
    flipped.LoadFromStream(bottomUp);
    EXPECT_EQ(flipped.ReadPixel(0, 0), 0x007F007Fu);  // the near-purple pixel, now a key pixel on top
    EXPECT_EQ(flipped.ReadPixel(0, 1), 0xFF000001u);
    EXPECT_TRUE(flipped.HasKeyColor());
}

TEST(SurfaceStream, TruncatedAndNonsenseStreamsRaise) {
    const std::string whole = StreamOf("x", 2, 2, {1, 2, 3, 4});
    std::istringstream truncated(whole.substr(0, whole.size() - 3));
    TseBitmap s;
    EXPECT_THROW(s.LoadFromStream(truncated), rtl::Exception);
    std::istringstream negativeName(StreamOf("", 1, 1, {1}).replace(0, 4, "\xff\xff\xff\xff"));
    EXPECT_THROW(s.LoadFromStream(negativeName), rtl::Exception);
}

TEST(SurfaceAssign, FromSurfacesBitmapsAndPictures) {
    Surface source(2, 1, 0x10203040);
    TseBitmap copy;
    copy.Assign(source.bitmap);
    EXPECT_EQ(copy.Width(), 2);
    EXPECT_EQ(copy.ReadPixel(1, 0), 0xFF203040u);

    vcl::TBitmap bitmap(3, 2);
    bitmap.ScanLine(1)[2] = 0x00ABCDEF;
    TseBitmap fromBitmap;
    fromBitmap.Assign(bitmap);
    EXPECT_EQ(fromBitmap.ReadPixel(2, 1), 0xFFABCDEFu);

    vcl::TPicture picture;
    picture.Bitmap().SetSize(1, 1);
    picture.Bitmap().ScanLine(0)[0] = 0xFF112233;
    TseBitmap fromPicture;
    fromPicture.Assign(picture);
    EXPECT_EQ(fromPicture.ReadPixel(0, 0), 0xFF112233u);

    // Back to a toolkit bitmap: 32 bits, the surface's size and pixels.
    vcl::TBitmap target;
    target.Assign(source.bitmap);
    EXPECT_EQ(target.PixelFormat(), vcl::pf32bit);
    EXPECT_EQ(target.Width(), 2);
    EXPECT_EQ(target.ScanLine(0)[0], 0x10203040u);

    vcl::TFont font;
    EXPECT_THROW(copy.Assign(font), rtl::EConvertError);
    EXPECT_THROW(source.bitmap.AssignTo(font), rtl::EConvertError);
}

// A graphic that is not a bitmap: a 2 x 2 drawing that leaves its top-left pixel unpainted.
class Drawing : public vcl::TGraphic {
public:
    int Width() const override { return 2; }
    int Height() const override { return 2; }
    void Draw(vcl::TCanvas& canvas, const TRect& rect) const override {
        canvas.SetPixel(rect.Left + 1, rect.Top, vcl::clRed);
        canvas.SetPixel(rect.Left, rect.Top + 1, vcl::clBlue);
        canvas.SetPixel(rect.Left + 1, rect.Top + 1, vcl::clFuchsia);
    }
    bool LoadFromFile(const std::string&) override { return false; }
    std::unique_ptr<vcl::TGraphic> Clone() const override { return std::make_unique<Drawing>(); }
};

TEST(SurfaceAssign, OtherGraphicsAreDrawnOnMagentaAndMagentaIsLeftOut) {
    TseBitmap s;
    s.SetSize(2, 2);
    s.Clear(0x00000007);
    s.Assign(Drawing());
    EXPECT_EQ(s.ReadPixel(1, 0), 0xFFFF0000u);
    EXPECT_EQ(s.ReadPixel(0, 1), 0xFF0000FFu);
    EXPECT_EQ(s.ReadPixel(0, 0), 0xFF000007u);  // unpainted: kept, then made opaque
    EXPECT_EQ(s.ReadPixel(1, 1), 0xFF000007u);  // painted pure magenta: left out too
}

}  // namespace
}  // namespace se
