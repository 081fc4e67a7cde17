// Controls painting through their canvases: window DCs, window-less children on the parent's DC,
// on-demand canvases outside a paint, and background requests with memory DCs.

#include <gtest/gtest.h>

#include <functional>

#include "ControlsFixture.h"
#include "controls/surface/Bitmap.h"
#include "platform/draw/Gdi.h"

namespace vcl {
namespace {

using CanvasPaint = testing_support::ControlsTest;

uint32_t Pixel(TColor c) { return RgbToPixel(ColorToRGB(c)); }

// A control whose Paint is given by the test.
template <typename Base>
class Sketch : public Base {
public:
    Sketch(TWinControl* parent, TRect bounds) : Base(parent) {
        this->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        this->SetParent(parent);
    }
    std::function<void(TCanvas&)> OnPaint;
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        if (OnPaint) {
            OnPaint(*this->Canvas());
        } else {
            Base::Paint();
        }
    }
};

// The smallest rectangle holding every pixel of area that differs from background.
TRect InkBounds(const PixelSection& shot, const TRect& area, uint32_t background) {
    TRect ink;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) {
            if (shot.At(x, y) != background) ink = UnionRect(ink, {x, y, x + 1, y + 1});
        }
    }
    return ink;
}

// Pixels of area that are not the expected one.
int Mismatches(const PixelSection& shot, const TRect& area, uint32_t expected) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) n += shot.At(x, y) != expected;
    }
    return n;
}

TSize MeasuredText(const TFont& font, const std::string& text) {
    HDC dc = GetDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Font().Assign(font);
    const TSize size = canvas.TextExtent(text);
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    return size;
}

TEST_F(CanvasPaint, ACustomControlDrawsAtItsPlaceAndNotUnderItsChildWindow) {
    TForm* form = NewForm({0, 0, 200, 150});
    form->SetColor(clSilver);
    auto* sketch = new Sketch<TCustomControl>(form, {20, 30, 120, 90});
    sketch->Font().SetHeight(-16);
    TFont seen;
    sketch->OnPaint = [&](TCanvas& canvas) {
        seen.Assign(canvas.Font());
        canvas.Brush().SetColor(clWhite);
        canvas.FillRect({0, 0, 100, 60});
        canvas.Pen().SetColor(clBlack);
        canvas.MoveTo(0, 10);
        canvas.LineTo(100, 10);
        canvas.TextOut(5, 20, "Velmo");
    };
    auto* child = new Sketch<TCustomControl>(sketch, {60, 5, 90, 25});
    child->SetColor(clAqua);
    Pump();
    const PixelSection shot = screen_.Screenshot(form->Handle());
    EXPECT_EQ(seen.Height(), -16);  // the canvas font is the control's
    // The line on row 10 of the control runs across it, except where the child window lies.
    EXPECT_EQ(Mismatches(shot, {20, 40, 80, 41}, Pixel(clBlack)), 0);
    EXPECT_EQ(Mismatches(shot, {110, 40, 120, 41}, Pixel(clBlack)), 0);
    EXPECT_EQ(Mismatches(shot, {80, 35, 110, 55}, Pixel(clAqua)), 0);
    EXPECT_EQ(shot.At(19, 40), Pixel(clSilver));
    EXPECT_EQ(shot.At(120, 40), Pixel(clSilver));
    // The text's ink lies in its cell at (5, 20) of the control.
    const TSize text = MeasuredText(sketch->Font(), "Velmo");
    const TRect cell = Bounds(20 + 5, 30 + 20, text.cx, text.cy);
    const TRect ink = InkBounds(shot, {20, 45, 80, 90}, Pixel(clWhite));
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_EQ(IntersectRect(ink, cell), ink) << ink.Left << "," << ink.Top << "," << ink.Right << "," << ink.Bottom;
    EXPECT_GT(ink.Width(), text.cx / 2);
    // A new font reaches the canvas.
    sketch->Font().SetHeight(-20);
    EXPECT_EQ(sketch->Canvas()->Font().Height(), -20);
}

TEST_F(CanvasPaint, AWindowlessChildDrawsOnItsParentAtItsPlaceOnly) {
    TForm* form = NewForm({0, 0, 200, 150});
    auto* panel = new Sketch<TCustomControl>(form, {10, 10, 110, 110});
    panel->SetColor(clBtnFace);
    auto* graphic = new Sketch<TGraphicControl>(panel, {20, 30, 60, 50});
    graphic->OnPaint = [](TCanvas& canvas) {
        // Far beyond its 40 x 20 pixels.
        canvas.Brush().SetColor(clBlue);
        canvas.FillRect({-50, -50, 200, 200});
        canvas.Pen().SetColor(clRed);
        canvas.MoveTo(-50, 0);
        canvas.LineTo(200, 0);
    };
    Pump();
    const PixelSection shot = screen_.Screenshot(form->Handle());
    // Form coordinates: the panel's origin (10, 10) plus the control's (20, 30).
    EXPECT_EQ(Mismatches(shot, {30, 40, 70, 41}, Pixel(clRed)), 0);
    EXPECT_EQ(Mismatches(shot, {30, 41, 70, 60}, Pixel(clBlue)), 0);
    EXPECT_EQ(Mismatches(shot, {10, 10, 110, 40}, Pixel(clBtnFace)), 0);
    EXPECT_EQ(Mismatches(shot, {10, 60, 110, 110}, Pixel(clBtnFace)), 0);
    EXPECT_EQ(Mismatches(shot, {10, 40, 30, 60}, Pixel(clBtnFace)), 0);
    EXPECT_EQ(Mismatches(shot, {70, 40, 110, 60}, Pixel(clBtnFace)), 0);
}

TEST_F(CanvasPaint, CanvasesOutsideAPaintGetADcForTheMessageAndPresentWhatTheyDraw) {
    TForm* form = NewForm({0, 0, 200, 150});
    auto* pad = new Sketch<TCustomControl>(form, {0, 0, 100, 100});
    pad->SetColor(clWhite);
    auto* label = new Sketch<TGraphicControl>(form, {120, 10, 150, 30});
    label->SetColor(clSilver);
    // Drawing where the pointer goes down, like a paint program.
    pad->OnMouseDown = [&](TObject*, TMouseButtonKind, TShiftState, int x, int y) {
        pad->Canvas()->Brush().SetColor(clRed);
        pad->Canvas()->FillRect({x - 2, y - 2, x + 3, y + 3});
        label->Canvas()->Brush().SetColor(clGreen);
        label->Canvas()->FillRect({-100, -100, 300, 300});
    };
    Pump();
    screen_.ClickAt(pad->Handle(), {40, 50});
    Pump();
    const PixelSection shot = screen_.Screenshot(form->Handle());
    EXPECT_EQ(Mismatches(shot, {38, 48, 43, 53}, Pixel(clRed)), 0);
    EXPECT_EQ(shot.At(37, 50), Pixel(clWhite));
    EXPECT_EQ(shot.At(43, 50), Pixel(clWhite));
    // The window-less control's canvas stays inside its bounds.
    EXPECT_EQ(Mismatches(shot, {120, 10, 150, 30}, Pixel(clGreen)), 0);
    EXPECT_EQ(shot.At(119, 20), Pixel(clBtnFace));
    EXPECT_EQ(shot.At(150, 20), Pixel(clBtnFace));
    EXPECT_EQ(shot.At(135, 30), Pixel(clBtnFace));
    // Both DCs went back when the click's messages were handled.
    EXPECT_EQ(HeldDeviceContexts(), 0);
    EXPECT_EQ(WindowSystem().OpenDCCount(), 0);
}

TEST_F(CanvasPaint, InvalidatingAPartRepaintsOnlyThatPart) {
    TForm* form = NewForm({0, 0, 200, 150});
    auto* sketch = new Sketch<TCustomControl>(form, {10, 10, 110, 70});
    TColor fill = clRed;
    sketch->OnPaint = [&](TCanvas& canvas) {
        canvas.Brush().SetColor(fill);
        canvas.FillRect({0, 0, 100, 60});
    };
    Pump();
    fill = clLime;
    const TRect part{30, 20, 50, 25};
    InvalidateRect(sketch->Handle(), &part, false);
    Pump();
    const PixelSection shot = screen_.Screenshot(form->Handle());
    EXPECT_EQ(Mismatches(shot, part.Offset(10, 10), Pixel(clLime)), 0);
    // The rest keeps the first paint.
    EXPECT_EQ(Mismatches(shot, {10, 10, 110, 70}, Pixel(clRed)), 20 * 5);
}

TEST_F(CanvasPaint, BackgroundRequestsFillAMemoryDcAtItsMovedOriginAndLeaveTheWindowAlone) {
    TForm* form = NewForm({0, 0, 200, 150});
    form->SetColor(clSilver);
    auto* panel = new Sketch<TCustomControl>(form, {50, 40, 90, 65});  // 40 x 25
    panel->SetColor(clAqua);
    Pump();
    HWND top = form->Handle();
    const PixelSection before = *top->BackBuffer();
    struct Case {
        const char* name;
        std::function<LRESULT(HDC)> send;
        TRect filled;  // in the surface, counted from the origin and the parent's size
        TColor color;
    };
    // The parent's point (15, 10) lands on the surface's (0, 0).
    const Case cases[] = {
        {"a parent control, directly",
         [&](HDC dc) { return panel->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 1); },
         {0, 0, 40 - 15, 25 - 10}, clAqua},
        {"the form, through its window",
         [&](HDC dc) { return SendMessage(top, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 1); },
         {0, 0, 30, 20}, clSilver},
    };
    for (const Case& c : cases) {
        se::TseBitmap surface;
        surface.SetSize(30, 20);
        SetWindowOrgEx(surface.DC(), 15, 10, nullptr);
        EXPECT_EQ(c.send(surface.DC()), 1) << c.name;
        for (int y = 0; y < 20; ++y) {
            for (int x = 0; x < 30; ++x) {
                const uint32_t expected = c.filled.Contains({x, y}) ? Pixel(c.color) : 0u;
                ASSERT_EQ(surface.ReadPixel(x, y), expected) << c.name << " at " << x << "," << y;
            }
        }
    }
    // An erase without a DC paints nothing and still answers.
    EXPECT_EQ(panel->Perform(WM_ERASEBKGND, 0, 1), 1);
    const PixelSection& after = *top->BackBuffer();
    ASSERT_EQ(after.Width(), before.Width());
    for (int y = 0; y < after.Height(); ++y) {
        for (int x = 0; x < after.Width(); ++x) ASSERT_EQ(after.At(x, y), before.At(x, y)) << x << "," << y;
    }
}

}  // namespace
}  // namespace vcl
