#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "platform/toolkit/HintWindow.h"
#include "platform/draw/Gdi.h"
#include "platform/draw/Png.h"

namespace vcl {
namespace {

using testing_support::ProbeControl;
using Hints = testing_support::ControlsTest;

bool HintShowing() { return Application->HintWindow() && Application->HintWindow()->Showing(); }

uint32_t Pixel(TColor c) { return RgbToPixel(ColorToRGB(c)); }

// Line height and the widest line of a text in the hint font, measured line by line.
TSize MeasureLines(const std::vector<std::string>& lines) {
    HDC dc = GetDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    canvas.Font().Assign(Screen().HintFont());
    TSize size{0, 0};
    for (const std::string& line : lines) {
        const TSize extent = canvas.TextExtent(line);
        size.cx = std::max(size.cx, extent.cx);
        size.cy += extent.cy;
    }
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    return size;
}

// Shows the hint of a control under the pointer at a screen point; returns the hint's rectangle.
TRect ShowHintAt(THeadlessBackend& screen, TControl* control, TPoint pointer) {
    screen.MoveMouse(pointer.X, pointer.Y);
    screen.Advance(600);
    EXPECT_TRUE(HintShowing()) << control->Hint();
    return GetWindowRect(Application->HintWindow()->Handle());
}

TEST_F(Hints, AHintShowsAfterThePointerRestsAndHidesAfterAWhile) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* combo = new ProbeControl(form, "combo", &log_, {16, 40, 73, 63});
    combo->SetHint("从机地址，十进制显示");
    combo->SetShowHint(true);
    HWND active = GetActiveWindow();
    screen_.MoveMouse(20, 45);
    screen_.Advance(499);
    EXPECT_FALSE(HintShowing());
    screen_.Advance(1);
    ASSERT_TRUE(HintShowing());
    EXPECT_EQ(Application->HintWindow()->Caption(), "从机地址，十进制显示");
    // Below the pointer, above every window, and nothing lost activation.
    const TRect hint = GetWindowRect(Application->HintWindow()->Handle());
    EXPECT_EQ(hint.Left, 20);
    EXPECT_EQ(hint.Top, 65);
    EXPECT_EQ(GetTopLevelWindows().front(), Application->HintWindow()->Handle());
    EXPECT_TRUE(GetWindowExStyle(Application->HintWindow()->Handle()) & WS_EX_NOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), active);
    screen_.Advance(2499);
    EXPECT_TRUE(HintShowing());
    screen_.Advance(1);
    EXPECT_FALSE(HintShowing());
    // Resting longer on the same control does not bring it back.
    screen_.MoveMouse(21, 46);
    screen_.Advance(1000);
    EXPECT_FALSE(HintShowing());
}

TEST_F(Hints, LeavingTheControlOrPressingAButtonHidesTheHint) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* edit = new ProbeControl(form, "edit", &log_, {0, 0, 100, 20});
    edit->SetHint("以byte 为单位");
    edit->SetShowHint(true);
    screen_.MoveMouse(5, 5);
    screen_.Advance(500);
    ASSERT_TRUE(HintShowing());
    screen_.MoveMouse(200, 200);
    screen_.Advance(10);
    EXPECT_FALSE(HintShowing());
    EXPECT_EQ(Application->HintControl(), nullptr);
    screen_.MoveMouse(5, 5);
    screen_.Advance(500);
    ASSERT_TRUE(HintShowing());
    screen_.Click();
    screen_.Advance(10);
    EXPECT_FALSE(HintShowing());
}

TEST_F(Hints, ShowHintComesFromTheParentUnlessSetAndEmptyHintsShowNothing) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* group = new ProbeControl(form, "group", &log_, {0, 0, 300, 200});
    auto* child = new ProbeControl(group, "child", &log_, {10, 10, 60, 30});
    child->SetHint("child hint");
    EXPECT_FALSE(child->ShowHint());
    group->SetShowHint(true);
    EXPECT_TRUE(child->ShowHint());  // ParentShowHint
    child->SetShowHint(false);
    EXPECT_FALSE(child->ParentShowHint());
    group->SetShowHint(false);
    group->SetShowHint(true);
    EXPECT_FALSE(child->ShowHint());
    // The group shows hints but has none of its own: nothing over the child then.
    screen_.MoveMouse(20, 20);
    screen_.Advance(600);
    EXPECT_FALSE(HintShowing());
    child->SetParentShowHint(true);
    EXPECT_TRUE(child->ShowHint());
    screen_.MoveMouse(21, 21);
    screen_.Advance(600);
    EXPECT_TRUE(HintShowing());
    EXPECT_EQ(Application->HintWindow()->Caption(), "child hint");
}

TEST_F(Hints, MovingBetweenHintedControlsWhileAHintShowsSwitchesQuickly) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* a = new ProbeControl(form, "a", &log_, {0, 0, 100, 20});
    auto* b = new ProbeControl(form, "b", &log_, {0, 30, 100, 50});
    a->SetHint("first|long text for a status line");
    b->SetHint("second");
    a->SetShowHint(true);
    b->SetShowHint(true);
    screen_.MoveMouse(5, 5);
    screen_.Advance(500);
    ASSERT_TRUE(HintShowing());
    EXPECT_EQ(Application->HintWindow()->Caption(), "first");
    screen_.MoveMouse(5, 35);
    screen_.Advance(49);
    EXPECT_FALSE(HintShowing());
    screen_.Advance(1);
    ASSERT_TRUE(HintShowing());
    EXPECT_EQ(Application->HintWindow()->Caption(), "second");
}

TEST_F(Hints, TheHintDrawsItsTextInTheClassicLookAndTakesItsSize) {
    TForm* form = NewForm({0, 0, 1024, 768});
    auto* combo = new ProbeControl(form, "combo", &log_, {16, 40, 73, 63});
    combo->SetHint("从机地址，十进制显示");
    combo->SetShowHint(true);
    const TRect hint = ShowHintAt(screen_, combo, {20, 45});
    // The text's extent with the frame and two pixels of padding all round.
    const TSize text = MeasureLines({"从机地址，十进制显示"});
    EXPECT_EQ(hint.Width(), text.cx + 6);
    EXPECT_EQ(hint.Height(), text.cy + 6);
    Pump();
    const PixelSection shot = screen_.Screenshot(Application->HintWindow()->Handle());
    SavePng(shot, testing_support::ScreenshotDirectory() + "/hint.png");
    const int w = hint.Width(), h = hint.Height();
    for (TPoint corner : {TPoint{0, 0}, TPoint{w - 1, 0}, TPoint{0, h - 1}, TPoint{w - 1, h - 1}, TPoint{w / 2, 0}}) {
        EXPECT_EQ(shot.At(corner.X, corner.Y), Pixel(clBlack)) << corner.X << "," << corner.Y;
    }
    EXPECT_EQ(shot.At(1, 1), Pixel(clInfoBk));
    EXPECT_EQ(shot.At(w - 2, h - 2), Pixel(clInfoBk));
    // Ink only inside the text's place, and plenty of it; the darkest is the info text colour.
    int ink = 0, outside = 0;
    uint32_t darkest = 0xFFFFFFFFu;
    for (int y = 1; y < h - 1; ++y) {
        for (int x = 1; x < w - 1; ++x) {
            const uint32_t p = shot.At(x, y);
            if (p == Pixel(clInfoBk)) continue;
            ++ink;
            if ((p & 0xFF) < (darkest & 0xFF)) darkest = p;
            if (x < 3 || y < 3 || x >= 3 + text.cx || y >= 3 + text.cy) ++outside;
        }
    }
    EXPECT_GT(ink, 100);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(darkest, Pixel(clInfoText));
}

TEST_F(Hints, HintsBreakAtLineBreaksAndStayOnTheWorkArea) {
    screen_.SetMonitors({{{0, 0, 1024, 768}, {0, 0, 1024, 740}, true}});
    TForm* form = NewForm({0, 0, 1024, 740});
    auto* edit = new ProbeControl(form, "edit", &log_, {0, 0, 500, 400});
    auto* corner = new ProbeControl(form, "corner", &log_, {900, 700, 1024, 740});
    corner->SetHint("COM Port has been opened!");
    corner->SetShowHint(true);
    edit->SetHint("以byte 为单位\r\nCOM1 - COM15");
    edit->SetShowHint(true);
    const TSize lines = MeasureLines({"以byte 为单位", "COM1 - COM15"});
    TRect hint = ShowHintAt(screen_, edit, {100, 100});
    EXPECT_EQ(hint.Width(), lines.cx + 6);
    EXPECT_EQ(hint.Height(), lines.cy + 6);
    EXPECT_EQ(hint.TopLeft(), (TPoint{100, 120}));
    // At the right edge it moves left; at the bottom it goes above the pointer.
    hint = ShowHintAt(screen_, corner, {1020, 735});
    EXPECT_EQ(hint.Right, 1024);
    EXPECT_EQ(hint.Bottom, 735 - 2);
    EXPECT_GE(hint.Top, 0);
}

}  // namespace
}  // namespace vcl
