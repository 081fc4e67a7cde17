// Where windows go: deferred moves applied together, and a form maximised, minimised and
// restored by the program or by the user through the window manager.

#include <gtest/gtest.h>

#include "ControlsFixture.h"

namespace vcl {
namespace {

using testing_support::EventLog;
using testing_support::ProbeControl;
using Placement = testing_support::ControlsTest;

TEST_F(Placement, DeferredMovesLandTogetherWhenTheCollectionEnds) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* a = new ProbeControl(form, "a", &log_, {0, 0, 50, 20});
    auto* b = new ProbeControl(form, "b", &log_, {0, 30, 50, 20});
    Pump();
    HDWP positions = BeginDeferWindowPos(2);
    positions = DeferWindowPos(positions, a->Handle(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    positions = DeferWindowPos(positions, b->Handle(), nullptr, 10, 200, 80, 25, SWP_NOZORDER);
    // A second position for a: its size joins the move given before.
    positions = DeferWindowPos(positions, a->Handle(), nullptr, 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_NE(positions, nullptr);
    EXPECT_EQ(a->BoundsRect(), (TRect{0, 0, 50, 20})) << "nothing moves before the end";
    EXPECT_TRUE(EndDeferWindowPos(positions));
    EXPECT_EQ(a->BoundsRect(), (TRect{100, 100, 160, 140}));
    EXPECT_EQ(b->BoundsRect(), (TRect{10, 200, 90, 225}));
    EXPECT_EQ(GetWindowRect(a->Handle()), (TRect{100, 100, 160, 140}));
    EXPECT_FALSE(EndDeferWindowPos(positions)) << "the handle is gone after the end";
}

TEST_F(Placement, ADeferredMoveOfAStaleWindowFailsAndFreesTheCollection) {
    TForm* form = NewForm({0, 0, 400, 300});
    auto* a = new ProbeControl(form, "a", &log_, {0, 0, 50, 20});
    auto* b = new ProbeControl(form, "b", &log_, {0, 30, 50, 20});
    Pump();
    HWND stale = b->Handle();
    delete b;
    HDWP positions = BeginDeferWindowPos(2);
    positions = DeferWindowPos(positions, a->Handle(), nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(DeferWindowPos(positions, stale, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER), nullptr);
    EXPECT_EQ(DeferWindowPos(positions, a->Handle(), nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER), nullptr);
    EXPECT_FALSE(EndDeferWindowPos(positions));
    EXPECT_EQ(a->Left(), 0) << "nothing of a failed collection is applied";
}

TEST_F(Placement, TheFormsStateFollowsTheProgramAndTheUser) {
    screen_.SetMonitors({TMonitorInfo{{0, 0, 1024, 768}, {0, 0, 1024, 740}, true}});
    TForm* form = NewForm({100, 100, 500, 400});
    EventLog sizes;
    form->WindowProc = [&, form](TMessage& m) {
        if (m.Msg == WM_SIZE) {
            static const char* kinds[] = {"restored", "minimized", "maximized"};
            sizes.push_back(std::string(kinds[m.WParam]) + " " + std::to_string(form->Width()) + "x" +
                            std::to_string(form->Height()));
        }
        form->WndProc(m);
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        TWindowState state;
        TRect bounds;
        EventLog sizes;
    };
    const Step steps[] = {
        {"maximised by the program", [&] { form->SetWindowState(wsMaximized); }, wsMaximized, {0, 0, 1024, 740},
         {"maximized 400x300", "maximized 1024x740"}},
        {"restored by the user", [&] { screen_.SetNativeWindowState(form->Handle(), TNativeWindowState::Normal); },
         wsNormal, {100, 100, 500, 400}, {"restored 1024x740", "restored 400x300"}},
        {"minimised by the user", [&] { screen_.SetNativeWindowState(form->Handle(), TNativeWindowState::Minimized); },
         wsMinimized, {100, 100, 500, 400}, {"minimized 400x300"}},
        {"maximised by the user", [&] { screen_.SetNativeWindowState(form->Handle(), TNativeWindowState::Maximized); },
         wsMaximized, {0, 0, 1024, 740}, {"maximized 400x300", "maximized 1024x740"}},
        {"restored by the program", [&] { form->SetWindowState(wsNormal); }, wsNormal, {100, 100, 500, 400},
         {"restored 1024x740", "restored 400x300"}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        sizes.clear();
        step.act();
        Pump();
        EXPECT_EQ(form->WindowState(), step.state);
        EXPECT_EQ(IsZoomed(form->Handle()), step.state == wsMaximized);
        EXPECT_EQ(IsIconic(form->Handle()), step.state == wsMinimized);
        EXPECT_EQ(form->BoundsRect(), step.bounds);
        EXPECT_EQ(screen_.NativeOf(form->Handle())->State(), static_cast<TNativeWindowState>(
                                                                  step.state == wsMaximized   ? 1
                                                                  : step.state == wsMinimized ? 2
                                                                                              : 0));
        EXPECT_EQ(sizes, step.sizes);
    }
    // The log goes out of scope before the form does.
    form->WindowProc = [control = static_cast<TControl*>(form)](TMessage& m) { control->WndProc(m); };
}

TEST_F(Placement, AStateSetBeforeShowingAppliesWhenTheFormShows) {
    auto* form = new TForm(Application);
    form->SetBounds(10, 10, 200, 100);
    form->SetWindowState(wsMaximized);
    EXPECT_EQ(form->WindowState(), wsMaximized);
    form->Show();
    Pump();
    EXPECT_TRUE(IsZoomed(form->Handle()));
    EXPECT_EQ(form->Width(), 1024);
    // A minimised window shows nothing and takes no clicks.
    form->SetWindowState(wsMinimized);
    Pump();
    EXPECT_FALSE(screen_.NativeOf(form->Handle())->Visible());
}

}  // namespace
}  // namespace vcl
