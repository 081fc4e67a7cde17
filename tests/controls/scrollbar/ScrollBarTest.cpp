// The scroll bar: its geometry, the repeat timer of arrow and page presses, thumb dragging, the
// scroll notifications and the setters' limits, driven through the pointer.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "controls/scrollbar/ScrollBar.h"
#include "platform/draw/PixelSection.h"
#include "platform/draw/Gdi.h"
#include "platform/toolkit/Form.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;

struct Step {
    TSeScrollCode code;
    int pos;
    bool operator==(const Step&) const = default;
};

class ScrollBar : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        TInputSettings settings;
        settings.KeyboardDelay = 1;  // 400 ms
        settings.KeyboardSpeed = 0;  // 435 ms
        screen_.SetInputSettings(settings);
        form_ = NewForm({0, 0, 300, 200});
    }
    // The drop-down list's bar: 16 x 120, 0 .. 14, 8 a page.
    TSeSkinScrollBar* NewListBar() {
        auto* bar = new TSeSkinScrollBar(form_);
        bar->SetKind(sbVertical);
        bar->SetBounds(kLeft, kTop, 16, 120);
        bar->SetMax(14);
        bar->SetPageSize(8);
        bar->SetParent(form_);
        Watch(bar);
        Pump();
        return bar;
    }
    void Watch(TSeCustomScrollBar* bar) {
        bar->OnScroll = [this](TObject*, TSeScrollCode code, int& pos) { steps_.push_back({code, pos}); };
        bar->OnChange = [this](TObject*) { ++changes_; };
    }
    void MoveTo(int x, int y) {
        screen_.MoveMouseTo(form_->Handle(), {kLeft + x, kTop + y});
        Pump();
    }
    void Press(int x, int y) {
        MoveTo(x, y);
        screen_.PressButton();
        Pump();
    }
    void Release() {
        screen_.ReleaseButton();
        Pump();
    }
    int Count(TSeScrollCode code) const {
        int n = 0;
        for (const Step& s : steps_) n += s.code == code;
        return n;
    }

    static constexpr int kLeft = 20, kTop = 10;
    TForm* form_ = nullptr;
    std::vector<Step> steps_;
    int changes_ = 0;
};

TEST_F(ScrollBar, ANewBarIsHorizontalWithABorderAndAFixedThumb) {
    auto* bar = new TSeCustomScrollBar(form_);
    bar->SetParent(form_);
    EXPECT_EQ(bar->Width(), 121);
    EXPECT_EQ(bar->Height(), 16);
    EXPECT_EQ(bar->BorderWidth(), 1);
    TRect track;
    bar->GetTrackRect(track);
    EXPECT_EQ(track, (TRect{17, 1, 104, 15}));
    const struct {
        int position, thumbLeft;
    } cases[] = {{0, 17}, {50, 53}, {100, 88}};
    for (const auto& c : cases) {
        bar->SetPosition(c.position);
        TRect thumb;
        bar->GetThumbRect(thumb);
        EXPECT_EQ(thumb.Left, c.thumbLeft) << "position " << c.position;
        EXPECT_EQ(thumb.Width(), 16);
    }
}

TEST_F(ScrollBar, TheListBarsThumbIsProportionalAndReachesTheTracksEnd) {
    TSeSkinScrollBar* bar = NewListBar();
    EXPECT_EQ(bar->BorderWidth(), 0);
    EXPECT_EQ(bar->GetThumbSize(), 47);
    const struct {
        int position, top;
    } cases[] = {{0, 16}, {1, 22}, {3, 34}, {7, 57}};
    for (const auto& c : cases) {
        bar->SetPosition(c.position);
        TRect thumb;
        bar->GetThumbRect(thumb);
        EXPECT_EQ(thumb.Top, c.top) << "position " << c.position;
    }
    EXPECT_EQ(bar->PixelToPosition(40), 4);
    for (int pixel : {57, 80, 104, 500}) EXPECT_EQ(bar->PixelToPosition(pixel), 7) << pixel;
}

TEST_F(ScrollBar, ShortBarsAndEmptyRangesNeverDivideByZero) {
    auto* bar = new TSeCustomScrollBar(form_);
    bar->SetParent(form_);
    bar->SetBorderWidth(0);
    bar->SetBounds(0, 0, 21, 16);
    EXPECT_EQ(bar->GetButtonSize(), 10);
    EXPECT_EQ(bar->GetThumbSize(), 0);  // a 1-pixel track has no thumb
    bar->SetBounds(0, 0, 121, 16);
    bar->SetPageSize(101);  // everything visible
    EXPECT_EQ(bar->GetThumbSize(), 0);
    EXPECT_EQ(bar->PositionToPixel(50), 16);
    EXPECT_EQ(bar->PixelToPosition(60), 0);
    bar->SetPageSize(1);
    EXPECT_EQ(bar->GetThumbSize(), 10);  // (16 div 3) x 2 at least
}

// One press of the down button: a step at once, one after the keyboard delay, then one per
// repeat interval; off the button the steps pause, back on they resume; the release ends it.
TEST_F(ScrollBar, AHeldArrowStepsAfterTheDelayThenAtTheRepeatRate) {
    TSeSkinScrollBar* bar = NewListBar();
    bar->SetMax(100);
    bar->SetPageSize(0);
    Press(8, 115);  // the down button
    const struct {
        uint32_t advance;
        int x, y;  // where the pointer goes first (-1: stays)
        int position;
    } timeline[] = {
        {0, -1, -1, 1},      // at once
        {399, -1, -1, 1},    // the delay is not over
        {1, -1, -1, 2},      // after 400 ms
        {434, -1, -1, 2},    //
        {1, -1, -1, 3},      // every 435 ms from now on
        {435, -1, -1, 4},    //
        {870, 8, 60, 4},     // off the button: paused though still held
        {435, 8, 115, 5},    // back on: resumes at the repeat rate
    };
    for (const auto& t : timeline) {
        if (t.x >= 0) MoveTo(t.x, t.y);
        Advance(t.advance);
        Pump();
        EXPECT_EQ(bar->Position(), t.position) << "after " << t.advance << " ms";
    }
    EXPECT_EQ(Count(kscLineDown), 5);
    Release();
    ASSERT_FALSE(steps_.empty());
    EXPECT_EQ(steps_.back(), (Step{kscEndScroll, 5}));
    Advance(2000);
    Pump();
    EXPECT_EQ(bar->Position(), 5);
}

TEST_F(ScrollBar, TheUpButtonStepsTowardMinAndStopsThere) {
    TSeSkinScrollBar* bar = NewListBar();
    bar->SetPosition(2);
    Press(8, 3);
    Advance(400 + 435 * 3);
    Pump();
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_EQ(Count(kscLineUp), 5);  // the steps keep coming, limited to Min
    Release();
}

TEST_F(ScrollBar, AHeldPageAreaStepsUntilTheThumbReachesThePointer) {
    TSeSkinScrollBar* bar = NewListBar();
    bar->SetMax(40);
    bar->SetPageSize(4);
    Press(8, 100);  // page-down area near the bottom
    EXPECT_EQ(bar->Position(), 4);
    Advance(400 + 435 * 20);
    Pump();
    TRect thumb;
    bar->GetThumbRect(thumb);
    EXPECT_LE(thumb.Top, 100);
    EXPECT_GE(thumb.Bottom, 100) << "stops with the thumb under the pointer";
    const int stoppedAt = bar->Position();
    EXPECT_LT(stoppedAt, 37);
    Advance(435 * 5);
    Pump();
    EXPECT_EQ(bar->Position(), stoppedAt);
    Release();
    EXPECT_EQ(Count(kscPageDown), stoppedAt / 4);
}

TEST_F(ScrollBar, DraggingTheThumbTracksThePointerAndReportsThePositionOnRelease) {
    TSeSkinScrollBar* bar = NewListBar();
    Press(8, 20);  // the thumb, 4 pixels below its top
    EXPECT_TRUE(bar->IsDragging());
    EXPECT_EQ(steps_.back(), (Step{kscTrack, 0}));
    MoveTo(8, 44);  // thumb top to pixel 40
    EXPECT_EQ(bar->Position(), 4);
    MoveTo(20, 300);  // far below and beside the bar: the end
    EXPECT_EQ(bar->Position(), 7);
    EXPECT_EQ(changes_, 2);
    Release();
    EXPECT_FALSE(bar->IsDragging());
    ASSERT_GE(steps_.size(), 2u);
    EXPECT_EQ(steps_[steps_.size() - 2], (Step{kscPosition, 7}));
    EXPECT_EQ(steps_.back(), (Step{kscEndScroll, 7}));
    EXPECT_EQ(bar->RepeatTimer(), nullptr) << "pressing the thumb starts no timer";
}

TEST_F(ScrollBar, OnScrollDecidesThePositionApplied) {
    TSeSkinScrollBar* bar = NewListBar();
    bar->OnScroll = [](TObject*, TSeScrollCode code, int& pos) {
        if (code == kscLineDown) pos = 6;
    };
    Press(8, 115);
    EXPECT_EQ(bar->Position(), 6);
    Release();
}

TEST_F(ScrollBar, AFailingHandlerStopsTheRepetitionAndTheNextPressWorks) {
    TSeSkinScrollBar* bar = NewListBar();
    bar->SetMax(100);
    bar->SetPageSize(0);
    int calls = 0;
    bar->OnChange = [&](TObject*) {
        if (++calls == 2) throw std::runtime_error("handler failed");
    };
    Press(8, 115);
    Advance(400);
    Pump();
    EXPECT_FALSE(bar->RepeatTimer()->Enabled());
    Advance(2000);
    Pump();
    EXPECT_EQ(bar->Position(), 2);
    Release();
    Press(8, 115);
    EXPECT_EQ(bar->Position(), 3);
    EXPECT_TRUE(bar->RepeatTimer()->Enabled());
    Release();
}

TEST_F(ScrollBar, AutomaticScrollingStepsAtTheRepeatRateAndSwitchesItselfOff) {
    TSeSkinScrollBar* bar = NewListBar();
    bar->SetPosition(5);
    bar->SetAutoScrollDown(true);
    Advance(434);
    Pump();
    EXPECT_EQ(bar->Position(), 5);
    Advance(1);
    Pump();
    EXPECT_EQ(bar->Position(), 6);
    bar->SetAutoScrollUp(true);
    EXPECT_FALSE(bar->AutoScrollDown());
    Advance(435 * 10);
    Pump();
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_FALSE(bar->AutoScrollUp());
}

TEST_F(ScrollBar, SettersKeepTheRangeAndFireOnChangeOnEveryWriteThatDiffers) {
    auto* bar = new TSeCustomScrollBar(form_);
    bar->SetParent(form_);
    Watch(bar);
    bar->SetPosition(100);
    EXPECT_EQ(changes_, 1);
    bar->SetPosition(150);  // beyond Max while at Max: still a change notification
    EXPECT_EQ(bar->Position(), 100);
    EXPECT_EQ(changes_, 2);
    bar->SetPosition(100);
    EXPECT_EQ(changes_, 2);
    bar->SetMax(60);
    EXPECT_EQ(bar->Position(), 60);
    EXPECT_EQ(changes_, 3);
    bar->SetMax(-5);
    EXPECT_EQ(bar->Max(), 0);
    bar->SetMin(10);
    EXPECT_EQ(bar->Min(), 0);
    bar->SetMax(20);
    bar->SetPageSize(-3);
    EXPECT_EQ(bar->PageSize(), 0);
    bar->SetPageSize(50);
    EXPECT_EQ(bar->PageSize(), 21);
}

TEST_F(ScrollBar, PressedPagesAndADisabledBarLookAsTheyShould) {
    TSeSkinScrollBar* bar = NewListBar();
    auto shot = [&] { Pump(); return screen_.Screenshot(form_->Handle()); };
    const PixelSection normal = shot();
    Press(8, 100);
    const PixelSection pressed = shot();
    EXPECT_GT(vcl::testing_support::Differences(normal, pressed, {kLeft, kTop, kLeft + 16, kTop + 120}), 0);
    Release();
    TRect thumb;
    bar->GetThumbRect(thumb);
    thumb = thumb.Offset(kLeft, kTop);
    auto darkEdge = [&](const PixelSection& shot) {
        return thumb.Width() * thumb.Height() -
               vcl::testing_support::Mismatches(shot, thumb, vcl::testing_support::PixelOf(cl3DDkShadow));
    };
    EXPECT_GT(darkEdge(normal), 0);
    bar->SetEnabled(false);
    EXPECT_EQ(darkEdge(shot()), 0) << "a disabled bar shows no thumb";
}

// Normal, hot (pointer on the thumb), pressed (down button and a page area held) and disabled,
// side by side in one picture.
TEST_F(ScrollBar, EachStateAsAPersonSeesIt) {
    std::vector<TSeSkinScrollBar*> bars;
    for (int i = 0; i < 5; ++i) {
        auto* bar = new TSeSkinScrollBar(form_);
        bar->SetKind(sbVertical);
        bar->SetBounds(20 + i * 40, 20, 16, 120);
        bar->SetMax(14);
        bar->SetPageSize(8);
        bar->SetPosition(2);
        bar->SetParent(form_);
        bars.push_back(bar);
    }
    bars[4]->SetEnabled(false);
    bars[3]->SetMax(40);
    bars[3]->SetPageSize(4);
    Pump();
    const PixelSection before = screen_.Screenshot(form_->Handle());
    screen_.MoveMouseTo(form_->Handle(), {20 + 40 + 8, 20 + 40});  // bar 1: over the thumb
    Pump();
    EXPECT_TRUE(bars[1]->ThumbHot());
    screen_.MoveMouseTo(form_->Handle(), {20 + 80 + 8, 20 + 112});  // bar 2: the down button held
    screen_.PressButton();
    Pump();
    EXPECT_TRUE(bars[2]->DownButtonPressed());
    SaveScreenshot("scrollbar_states.png", form_->Handle());
    const PixelSection held = screen_.Screenshot(form_->Handle());
    EXPECT_GT(vcl::testing_support::Differences(before, held, {100, 20, 116, 140}), 0) << "the held button looks pushed";
    screen_.ReleaseButton();
    screen_.MoveMouseTo(form_->Handle(), {20 + 120 + 8, 20 + 100});  // bar 3: a page area held
    screen_.PressButton();
    Pump();
    EXPECT_TRUE(bars[3]->PageDownPressed());
    EXPECT_EQ(bars[3]->Position(), 6);
    SaveScreenshot("scrollbar_page_pressed.png", form_->Handle());
    screen_.ReleaseButton();
    Pump();
}

// A windowed control of the set hosting bars; it logs the scroll messages and, like a platform
// control, moves the bar itself when asked to follow.
class Host : public TSeScrollBarHost<TSeCustomControl> {
public:
    using TSeScrollBarHost::TSeScrollBarHost;
    void WndProc(TMessage& m) override {
        if (m.Msg == WM_HSCROLL || m.Msg == WM_VSCROLL) {
            log.push_back({m.Msg, static_cast<int>(m.WParam), static_cast<int>(m.LParam)});
            TControl* bar = m.Msg == WM_VSCROLL ? VertScrollBar() : HorzScrollBar();
            if (follow && m.WParam != SB_ENDSCROLL) static_cast<TSeCustomScrollBar*>(bar)->SetPosition(int(m.LParam));
        }
        TSeScrollBarHost::WndProc(m);
    }
    struct Message {
        UINT msg;
        int code, pos;
        bool operator==(const Message&) const = default;
    };
    std::vector<Message> log;
    bool follow = false;
};

TEST_F(ScrollBar, HostedBarsLineTheInnerRectangleAndReportAsScrollMessages) {
    auto* host = new Host(form_);
    host->SetBounds(kLeft, kTop, 200, 100);
    host->SetBevelKind(kbkSingle);
    host->SetBevelWidth(1);
    host->SetColor(clRed);
    host->SetScrollBars(kssBoth);
    EXPECT_EQ(host->VertScrollBar(), nullptr) << "bars wait for the window";
    host->SetParent(form_);
    Pump();
    ASSERT_NE(host->VertScrollBar(), nullptr);
    ASSERT_NE(host->HorzScrollBar(), nullptr);
    EXPECT_EQ(host->HorzScrollBar()->BoundsRect(), (TRect{2, 82, 182, 98}));
    EXPECT_EQ(host->VertScrollBar()->BoundsRect(), (TRect{182, 2, 198, 82}));
    EXPECT_EQ(host->GetClientRect(), (TRect{2, 2, 182, 82}));
    auto* vert = static_cast<TSeCustomScrollBar*>(host->VertScrollBar());
    EXPECT_EQ(vert->Kind(), sbVertical);
    EXPECT_EQ(vert->BorderWidth(), 0);

    // The face stays inside the client rectangle, the corner between the bars is the control's.
    SaveScreenshot("scrollbar_hosted.png", form_->Handle());
    const PixelSection shot = screen_.Screenshot(form_->Handle());
    const uint32_t red = vcl::testing_support::PixelOf(clRed) & 0xFFFFFFu;
    EXPECT_EQ(shot.At(kLeft + 100, kTop + 40) & 0xFFFFFFu, red);
    EXPECT_EQ(shot.At(kLeft + 190, kTop + 90) & 0xFFFFFFu, red);
    EXPECT_NE(shot.At(kLeft + 190, kTop + 40) & 0xFFFFFFu, red) << "the vertical bar's track";
    EXPECT_NE(shot.At(kLeft + 100, kTop + 90) & 0xFFFFFFu, red) << "the horizontal bar's track";

    // A press on the down arrow: the bar stays until the control moves it, as with platform bars.
    Press(190, 78);
    Release();
    host->follow = true;
    Press(190, 78);
    Release();
    using M = Host::Message;
    EXPECT_EQ(host->log, (std::vector<M>{{WM_VSCROLL, SB_LINEDOWN, 1}, {WM_VSCROLL, SB_ENDSCROLL, 0},
                                        {WM_VSCROLL, SB_LINEDOWN, 1}, {WM_VSCROLL, SB_ENDSCROLL, 1}}));
    EXPECT_EQ(vert->Position(), 1);

    // Resizing lays them out again; dropping one gives its room back.
    host->SetBounds(kLeft, kTop, 150, 80);
    EXPECT_EQ(host->VertScrollBar()->BoundsRect(), (TRect{132, 2, 148, 62}));
    host->SetScrollBars(kssHorizontal);
    EXPECT_EQ(host->VertScrollBar(), nullptr);
    EXPECT_EQ(host->HorzScrollBar()->BoundsRect(), (TRect{2, 62, 148, 78}));
    EXPECT_EQ(host->GetClientRect(), (TRect{2, 2, 148, 62}));
}

}  // namespace
}  // namespace se
