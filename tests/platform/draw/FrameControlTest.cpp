#include <gtest/gtest.h>

#include "tests/platform/draw/DrawTestSupport.h"

namespace vcl {
namespace {

using test::TestCanvas;

uint32_t Sys(int index) { return RgbToPixel(GetSysColor(index)); }

int CountIn(const TestCanvas& canvas, uint32_t value, const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += canvas.At(x, y) == value;
    return n;
}

// The classic check mark, counted by hand: 1 + 2 + 4 + 5 + 5 + 3 + 1 pixels.
constexpr int kCheckMarkPixels = 21;

TEST(FrameControls, CheckBoxMarkAndFieldFollowTheState) {
    struct Case {
        unsigned state;
        uint32_t field;
        uint32_t mark;
        int markPixels;
    };
    const Case cases[] = {
        {0, Sys(COLOR_WINDOW), 0, 0},
        {DFCS_CHECKED, Sys(COLOR_WINDOW), Sys(COLOR_WINDOWTEXT), kCheckMarkPixels},
        {DFCS_CHECKED | DFCS_INACTIVE, Sys(COLOR_BTNFACE), Sys(COLOR_BTNSHADOW), kCheckMarkPixels},
        {DFCS_PUSHED, Sys(COLOR_BTNFACE), 0, 0},
    };
    for (const Case& c : cases) {
        TestCanvas canvas(13, 13, 0);
        TRect r{0, 0, 13, 13};
        DrawFrameControl(canvas.Dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | c.state);
        // Sunken two-line edge: shadow / highlight outside, dark shadow / light inside.
        EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(canvas.At(12, 12), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(canvas.At(0, 12), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(canvas.At(1, 1), Sys(COLOR_3DDKSHADOW));
        EXPECT_EQ(canvas.At(11, 11), Sys(COLOR_3DLIGHT));
        EXPECT_EQ(canvas.At(2, 2), c.field);
        const TRect field{2, 2, 11, 11};
        if (c.markPixels > 0) {
            EXPECT_EQ(CountIn(canvas, c.mark, field), c.markPixels) << c.state;
        }
        EXPECT_EQ(CountIn(canvas, c.field, field) + c.markPixels, 81) << c.state;
    }
}

TEST(FrameControls, GrayedCheckBoxIsDitheredWithAGreyMark) {
    TestCanvas canvas(13, 13, 0);
    TRect r{0, 0, 13, 13};
    DrawFrameControl(canvas.Dc(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_BUTTON3STATE | DFCS_CHECKED);
    EXPECT_EQ(CountIn(canvas, Sys(COLOR_BTNSHADOW), {2, 2, 11, 11}), kCheckMarkPixels);
    EXPECT_NE(canvas.At(2, 2), canvas.At(3, 2));
    EXPECT_EQ(canvas.Count(Sys(COLOR_WINDOWTEXT)), 0);
}

TEST(FrameControls, RadioMarkHasARoundRingAndADot) {
    TestCanvas canvas(13, 13, 0);
    TRect r{0, 0, 13, 13};
    DrawFrameControl(canvas.Dc(), &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(canvas.At(0, 0), 0u);  // the corners stay untouched
    EXPECT_EQ(canvas.At(4, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(7, 11), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.Count(Sys(COLOR_WINDOWTEXT)), 12);
    EXPECT_EQ(canvas.At(5, 5), Sys(COLOR_WINDOWTEXT));
    TestCanvas inactive(13, 13, 0);
    DrawFrameControl(inactive.Dc(), &r, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(inactive.Count(Sys(COLOR_WINDOWTEXT)), 0);
    EXPECT_EQ(inactive.At(5, 5), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(inactive.At(3, 5), Sys(COLOR_BTNFACE));
}

TEST(FrameControls, PushButtonRaisedAndPushed) {
    TestCanvas up(20, 10, 0), down(20, 10, 0);
    TRect r{0, 0, 20, 10};
    DrawFrameControl(up.Dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH);
    DrawFrameControl(down.Dc(), &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    EXPECT_EQ(up.At(0, 0), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(up.At(19, 9), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(up.At(18, 8), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(up.At(10, 5), Sys(COLOR_BTNFACE));
    EXPECT_EQ(down.At(0, 0), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(down.At(19, 9), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(down.At(1, 1), Sys(COLOR_BTNSHADOW));
}

TEST(FrameControls, ScrollArrowsPointTheirWayAndMoveWhenPushed) {
    // A 16-pixel button holds an arrow 4 deep: 1 + 3 + 5 + 7 pixels.
    const unsigned kinds[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT, DFCS_SCROLLCOMBOBOX};
    for (unsigned kind : kinds) {
        TestCanvas canvas(16, 16, 0);
        TRect r{0, 0, 16, 16};
        DrawFrameControl(canvas.Dc(), &r, DFC_SCROLL, kind);
        EXPECT_EQ(canvas.Count(Sys(COLOR_BTNTEXT)), 16) << kind;
    }
    TestCanvas up(16, 16, 0);
    TRect r{0, 0, 16, 16};
    DrawFrameControl(up.Dc(), &r, DFC_SCROLL, DFCS_SCROLLUP);
    // The tip is the single pixel of the top arrow row; the widest row is below it.
    int tipRow = -1, baseRow = -1;
    for (int y = 0; y < 16; ++y) {
        const int n = CountIn(up, Sys(COLOR_BTNTEXT), {0, y, 16, y + 1});
        if (n == 1 && tipRow < 0) tipRow = y;
        if (n == 7) baseRow = y;
    }
    EXPECT_EQ(baseRow - tipRow, 3);
    TestCanvas pushed(16, 16, 0);
    DrawFrameControl(pushed.Dc(), &r, DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED | DFCS_FLAT);
    EXPECT_EQ(pushed.At(0, 0), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(pushed.At(15, 15), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(CountIn(pushed, Sys(COLOR_BTNTEXT), {0, tipRow + 1, 16, tipRow + 2}), 1);
    TestCanvas inactive(16, 16, 0);
    DrawFrameControl(inactive.Dc(), &r, DFC_SCROLL, DFCS_SCROLLUP | DFCS_INACTIVE);
    EXPECT_EQ(inactive.Count(Sys(COLOR_BTNTEXT)), 0);
    EXPECT_EQ(CountIn(inactive, Sys(COLOR_BTNSHADOW), {2, 2, 14, 14}), 16);
}

TEST(FrameControls, MenuMarksAreBlackOnWhite) {
    TestCanvas canvas(16, 16, 0);
    TRect r{0, 0, 16, 16};
    DrawFrameControl(canvas.Dc(), &r, DFC_MENU, DFCS_MENUCHECK);
    EXPECT_EQ(canvas.Count(test::kBlack), kCheckMarkPixels);
    EXPECT_EQ(canvas.Count(test::kWhite), 256 - kCheckMarkPixels);
    DrawFrameControl(canvas.Dc(), &r, DFC_MENU, DFCS_MENUARROW);
    EXPECT_EQ(canvas.Count(test::kBlack), 7 + 5 + 3 + 1);
}

TEST(Edges, SidesColoursAndAdjustment) {
    TestCanvas canvas(10, 10, 0);
    TRect r{0, 0, 10, 10};
    DrawEdge(canvas.Dc(), &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE);
    EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
    EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(canvas.At(1, 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(canvas.At(9, 0), Sys(COLOR_3DDKSHADOW));  // the top-right corner takes the bottom-right colour
    EXPECT_EQ(canvas.At(8, 8), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(canvas.At(5, 5), Sys(COLOR_BTNFACE));
    TestCanvas left(10, 10, 0);
    TRect l{0, 0, 10, 10};
    DrawEdge(left.Dc(), &l, BDR_SUNKENOUTER, BF_LEFT | BF_ADJUST);
    EXPECT_EQ(l, (TRect{1, 0, 10, 10}));
    EXPECT_EQ(left.Count(Sys(COLOR_BTNSHADOW)), 10);
    EXPECT_EQ(left.Count(0), 90);
}

}  // namespace
}  // namespace vcl
