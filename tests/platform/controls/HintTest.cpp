#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "platform/controls/HintWindow.h"

namespace vcl {
namespace {

using testing_support::ProbeControl;
using Hints = testing_support::ControlsTest;

bool HintShowing() { return Application->HintWindow() && Application->HintWindow()->Showing(); }

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

}  // namespace
}  // namespace vcl
