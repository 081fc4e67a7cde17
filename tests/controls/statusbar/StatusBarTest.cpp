// The status bar as the main window holds it: aligned to the bottom, three 150-pixel panels, a
// size grip in the corner, the first panel's text written after every reply; and the panel rules
// a user meets (clicks, owner drawing, hosted controls).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/statusbar/StatusBar.h"
#include "platform/draw/Graphic.h"
#include "platform/toolkit/ImageList.h"
#include "platform/window/SystemMetrics.h"
#include "tests/controls/foundation/FaceCounter.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;
using vcl::testing_support::Mismatches;
using vcl::testing_support::PixelOf;

using CountingStatusBar = testing_support::FaceCounter<TSeSkinStatusBar>;

class StatusBar : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = NewForm({100, 50, 672, 651});
        form->SetColor(clBtnFace);
        form->SetClientWidth(572);
        form->SetClientHeight(601);
    }

    // SeSkinStatusBar1 of the main window.
    CountingStatusBar* MainBar() {
        auto* bar = new CountingStatusBar(form);
        bar->SetBounds(0, 579, 572, 22);
        bar->SetAlign(alBottom);
        bar->SetPerformance(kspNoBuffer);
        for (int i = 0; i < 3; ++i) bar->Panels().Add()->SetWidth(150);
        bar->SetParent(form);
        Pump();
        return bar;
    }

    PixelSection Shot() {
        Pump();
        return screen_.Screenshot(form->Handle());
    }

    // The smallest rectangle holding the pixels of area darker than the shadow grey.
    static TRect Ink(const PixelSection& shot, const TRect& area) {
        TRect ink;
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                const uint32_t p = shot.At(x, y);
                if (((p >> 16) & 255) + ((p >> 8) & 255) + (p & 255) < 3 * 100) ink = UnionRect(ink, {x, y, x + 1, y + 1});
            }
        }
        return ink;
    }

    TForm* form = nullptr;
};

TEST_F(StatusBar, TheMainWindowsBarPlacesItsThreePanelsAndFollowsTheBottomEdge) {
    auto* bar = MainBar();
    EXPECT_EQ(bar->GetInnerRect(), (TRect{2, 2, 570, 20}));
    const std::vector<std::pair<int, int>> spans{{2, 152}, {152, 302}, {302, 452}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(bar->Panels().Items(i)->Shown());
        EXPECT_EQ(std::make_pair(bar->Panels().Items(i)->SpanLeft(), bar->Panels().Items(i)->SpanRight()), spans[i]);
    }
    form->SetClientWidth(700);
    form->SetClientHeight(650);
    Pump();
    EXPECT_EQ(bar->BoundsRect(), Bounds(0, 628, 700, 22));
    EXPECT_EQ(bar->Panels().Items(2)->SpanRight(), 452);
}

TEST_F(StatusBar, PanelsAreSunkenFramesInsideTheTwoPixelBorder) {
    auto* bar = MainBar();
    const PixelSection shot = Shot();
    const int top = bar->Top();
    const uint32_t face = PixelOf(clBtnFace), dark = PixelOf(clBtnShadow), light = PixelOf(clBtnHighlight);
    EXPECT_EQ(Mismatches(shot, {0, top, 572, top + 2}, face), 0);
    for (const int left : {2, 152, 302}) {
        EXPECT_EQ(Mismatches(shot, {left, top + 2, left + 150, top + 3}, dark), 1) << left;  // top-right corner is light
        EXPECT_EQ(Mismatches(shot, {left, top + 2, left + 1, top + 20}, dark), 1) << left;   // bottom-left corner too
        EXPECT_EQ(Mismatches(shot, {left + 1, top + 19, left + 150, top + 20}, light), 0) << left;
        EXPECT_EQ(Mismatches(shot, {left + 149, top + 3, left + 150, top + 20}, light), 0) << left;
        EXPECT_EQ(Mismatches(shot, {left + 1, top + 3, left + 149, top + 19}, face), 0) << left;
    }
    // Between the last panel and the grip the bar is plain face.
    EXPECT_EQ(Mismatches(shot, {452, top + 2, 540, top + 20}, face), 0);
}

struct GripCase {
    const char* name;
    bool sizeGrip;
    TWindowState state;
    bool drawn;
};

class SizeGrip : public StatusBar, public ::testing::WithParamInterface<GripCase> {};

TEST_P(SizeGrip, IsDrawnInTheCornerOfANormalFormOnly) {
    auto* bar = MainBar();
    bar->SetSizeGrip(GetParam().sizeGrip);
    form->SetWindowState(GetParam().state);
    const PixelSection shot = Shot();
    EXPECT_EQ(bar->SizeGripVisible(), GetParam().drawn);
    // The grip's square at the bottom-right of the inner rectangle, inside the last panel's frame.
    const int right = bar->Left() + bar->Width() - 3, bottom = bar->Top() + bar->Height() - 3;
    const TRect grip{right - GetSystemMetrics(SM_CXVSCROLL), bottom - GetSystemMetrics(SM_CYVSCROLL), right, bottom};
    EXPECT_EQ(bar->GetSizeGripRect(), grip.Offset(-bar->Left(), -bar->Top()));
    const TRect visible = IntersectRect(grip, {0, bar->Top(), bar->Width(), bar->Top() + bar->Height()});
    EXPECT_EQ(Mismatches(shot, visible, PixelOf(clBtnFace)) > 10, GetParam().drawn);
}

INSTANTIATE_TEST_SUITE_P(Cases, SizeGrip,
                         ::testing::Values(GripCase{"Normal", true, wsNormal, true},
                                           GripCase{"Maximised", true, wsMaximized, false},
                                           GripCase{"Off", false, wsNormal, false}),
                         [](const auto& info) { return info.param.name; });

TEST_F(StatusBar, WritingAPanelTextRepaintsThatPanelAtOnce) {
    auto* bar = MainBar();
    const int faces = bar->Faces;
    bar->Panels().Items(0)->SetText(u"Received 9 bytes");
    bar->Panels().Items(0)->SetText(u"Received 9 bytes");
    const PixelSection shot = Shot();
    // No whole repaint, yet the text is there, in the first panel.
    EXPECT_EQ(bar->Faces, faces);
    const TRect ink = Ink(shot, {0, bar->Top(), 572, bar->Top() + 22});
    ASSERT_FALSE(ink.IsEmpty());
    EXPECT_GE(ink.Left, 2 + 1 + 2);
    EXPECT_LT(ink.Right, 152);
}

TEST_F(StatusBar, ATextWiderThanItsPanelIsShortenedWithinIt) {
    auto* bar = MainBar();
    bar->Panels().Items(1)->SetText(u"A reply far too long for one hundred and fifty pixels of panel");
    const PixelSection shot = Shot();
    const TRect ink = Ink(shot, {0, bar->Top(), 572, bar->Top() + 22});
    // The text rectangle is placed from the panel's left edge, not its content's.
    EXPECT_GE(ink.Left, 152 + 2);
    // Content right edge (149 - 2) less the 4 pixels kept free.
    EXPECT_LE(ink.Right, 152 + 147 - 4);
    // The text ends in dots: the last ink columns hold single pixels on the baseline row.
    int lastRowInk = 0;
    for (int y = ink.Top; y < ink.Bottom; ++y) lastRowInk += Ink(shot, {ink.Right - 1, y, ink.Right, y + 1}).IsEmpty() ? 0 : 1;
    EXPECT_EQ(lastRowInk, 1);
}

TEST_F(StatusBar, TextAndImagesWrittenBeforeTheBarHasAWindowDoNotCreateIt) {
    auto* bar = new TSeSkinStatusBar(form);
    bar->Panels().Add()->SetText(u"early");
    TImageList images(nullptr);
    bar->SetImages(&images);
    bar->SetImages(nullptr);
    EXPECT_FALSE(bar->HandleAllocated());
    bar->SetParent(form);
    Pump();
    EXPECT_EQ(Ink(screen_.Screenshot(form->Handle()), bar->BoundsRect()).IsEmpty(), false);
}

struct WidthCase {
    const char* name;
    int maxWidth;
    int written;
    int stored;
};

class PanelWidth : public StatusBar, public ::testing::WithParamInterface<WidthCase> {};

TEST_P(PanelWidth, IsLimitedToZeroAndMaxWidth) {
    auto* bar = MainBar();
    TSeStatusPanel* panel = bar->Panels().Items(0);
    panel->SetMaxWidth(GetParam().maxWidth);
    panel->SetWidth(GetParam().written);
    EXPECT_EQ(panel->Width(), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Cases, PanelWidth,
                         ::testing::Values(WidthCase{"Negative", 10000, -5, 0}, WidthCase{"AboveMax", 80, 120, 80},
                                           WidthCase{"LowerMaxLowersWidth", 60, 60, 60}),
                         [](const auto& info) { return info.param.name; });

TEST_F(StatusBar, APanelClickNeedsPressAndReleaseOnTheSamePanel) {
    auto* bar = MainBar();
    std::vector<int> clicks;
    bar->OnPanelClick = [&](TSeCustomStatusBar*, TSeStatusPanel* panel) { clicks.push_back(panel->Index()); };
    screen_.MoveMouseTo(bar->Handle(), {50, 10});
    screen_.PressButton();
    screen_.MoveMouseTo(bar->Handle(), {200, 10});
    screen_.ReleaseButton();
    Pump();
    EXPECT_TRUE(clicks.empty());
    EXPECT_EQ(bar->PressedPanel(), bar->Panels().Items(0));
    // The pressed panel stays: a right-button release over it clicks it.
    screen_.ClickAt(bar->Handle(), {60, 10}, TMouseButton::Right);
    Pump();
    EXPECT_EQ(clicks, std::vector<int>{0});
    screen_.ClickAt(bar->Handle(), {400, 10});
    Pump();
    EXPECT_EQ(clicks, (std::vector<int>{0, 2}));
}

TEST_F(StatusBar, PressedPanelIsForgottenWhenItsPanelGoes) {
    auto* bar = MainBar();
    screen_.ClickAt(bar->Handle(), {200, 10});
    Pump();
    ASSERT_EQ(bar->PressedPanel(), bar->Panels().Items(1));
    bar->Panels().Delete(1);
    EXPECT_EQ(bar->PressedPanel(), nullptr);
    EXPECT_EQ(bar->Panels().Items(1)->SpanLeft(), 152);
    // A release over where it was clicks nothing and touches nothing freed.
    int clicks = 0;
    bar->OnPanelClick = [&](TSeCustomStatusBar*, TSeStatusPanel*) { ++clicks; };
    screen_.ClickAt(bar->Handle(), {200, 10}, TMouseButton::Right);
    Pump();
    EXPECT_EQ(clicks, 0);
}

TEST_F(StatusBar, ImagesAreForgottenWhenTheImageListGoes) {
    auto* bar = MainBar();
    auto* images = new TImageList(form);
    images->SetSize(16, 16);
    TBitmap picture(16, 16);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) picture.ScanLine(y)[x] = 0xFF0000FFu;
    }
    images->Add(picture);
    bar->SetImages(images);
    bar->Panels().Items(0)->SetImageIndex(0);
    PixelSection shot = Shot();
    // Placed in the content's width and height, then moved by the panel's own top-left corner.
    EXPECT_EQ(Mismatches(shot, Bounds(2 + 2, bar->Top() + 2, 16, 16), 0xFF0000FFu), 0);
    delete images;
    EXPECT_EQ(bar->Images(), nullptr);
    bar->Invalidate();
    shot = Shot();
    EXPECT_EQ(Mismatches(shot, Bounds(5, bar->Top() + 3, 14, 15), PixelOf(clBtnFace)), 0);
}

TEST_F(StatusBar, AnOwnerDrawnPanelIsFilledAndFramedThenHandedToTheApplication) {
    auto* bar = MainBar();
    TSeStatusPanel* panel = bar->Panels().Items(1);
    std::vector<TRect> drawn;
    bar->OnDrawPanel = [&](TSeCustomStatusBar* sender, TSeStatusPanel* p, const TRect& rect) {
        EXPECT_EQ(p, panel);
        drawn.push_back(rect);
        FillRectColor(*sender->Canvas(), rect.Inflate(-3, -3), clRed);
    };
    panel->SetText(u"never drawn");
    panel->SetStyle(psOwnerDraw);
    const PixelSection shot = Shot();
    ASSERT_FALSE(drawn.empty());
    EXPECT_EQ(drawn.back(), (TRect{152, 2, 302, 20}));
    const int top = bar->Top();
    EXPECT_EQ(Mismatches(shot, {155, top + 5, 299, top + 17}, PixelOf(clRed)), 0);
    EXPECT_EQ(Mismatches(shot, {152, top + 19, 302, top + 20}, PixelOf(clBtnHighlight)), 0);
}

TEST_F(StatusBar, AChildControlGetsAPanelOfItsOwn) {
    auto* bar = MainBar();
    auto* hosted = new TSeSkinStatusBar(form);  // any windowed control will do
    hosted->SetParent(bar);
    ASSERT_EQ(bar->Panels().Count(), 4);
    TSeStatusPanel* panel = bar->Panels().Items(3);
    EXPECT_EQ(panel->Control(), hosted);
    // In the fourth panel's content rectangle.
    EXPECT_EQ(hosted->BoundsRect(), (TRect{452 + 1, 2 + 1, 452 + 50 - 3, 20 - 1}));
    EXPECT_THROW(panel->SetControl(form), EInvalidOperation);
    EXPECT_EQ(panel->Control(), hosted);
    delete hosted;
    EXPECT_EQ(bar->Panels().Count(), 3);
}

}  // namespace
}  // namespace se
