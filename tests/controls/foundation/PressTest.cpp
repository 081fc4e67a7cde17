// The press both kinds of pressed control share, under each kind's rules: a left press shows and
// takes the focus, a release outside does nothing, a release inside, a right-button release inside
// and Space each complete it once, and a disabled control starts none.

#include <gtest/gtest.h>

#include "controls/foundation/PressControl.h"
#include "platform/window/Input.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;

class PressProbe : public TSeCustomPressControl {
public:
    PressProbe(TWinControl* parent, const TSePressRules& rules) : TSeCustomPressControl(parent, rules) {
        SetBounds(10, 10, 80, 30);
        SetParent(parent);
        SetTabStop(true);
    }
    int Completed = 0;

protected:
    void Activate() override { ++Completed; }
};

struct RulesCase {
    const char* name;
    TSePressRules rules;
};

class PressModel : public testing_support::GuiTest, public ::testing::WithParamInterface<RulesCase> {};

TEST_P(PressModel, ShowsThePressAndCompletesItOnlyOverTheControl) {
    TForm* form = NewForm({0, 0, 300, 200});
    auto* probe = new PressProbe(form, GetParam().rules);
    Pump();
    screen_.MoveMouseTo(probe->Handle(), {5, 5});
    screen_.PressButton();
    Pump();
    EXPECT_TRUE(probe->Pressed());
    EXPECT_TRUE(probe->Tracking());
    EXPECT_TRUE(probe->Focused());
    screen_.MoveMouseTo(form->Handle(), {250, 150});
    screen_.ReleaseButton();
    Pump();
    EXPECT_FALSE(probe->Pressed());
    EXPECT_FALSE(probe->Tracking());
    EXPECT_EQ(probe->Completed, 0);

    screen_.ClickAt(probe->Handle(), {5, 5});
    Pump();
    EXPECT_EQ(probe->Completed, 1);
    // A right-button release ends the left press.
    screen_.PressButton();
    screen_.PressButton(TMouseButton::Right);
    screen_.ReleaseButton(TMouseButton::Right);
    Pump();
    EXPECT_EQ(probe->Completed, 2);
    screen_.ReleaseButton();
    Pump();
    EXPECT_EQ(probe->Completed, 2);

    screen_.KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(probe->Pressed());
    EXPECT_EQ(probe->Completed, 2);
    screen_.KeyUp(VK_SPACE);
    Pump();
    EXPECT_FALSE(probe->Pressed());
    EXPECT_EQ(probe->Completed, 3);

    probe->SetEnabled(false);
    screen_.ClickAt(probe->Handle(), {5, 5});
    Pump();
    EXPECT_FALSE(probe->Tracking());
    EXPECT_EQ(probe->Completed, 3);
}

INSTANTIATE_TEST_SUITE_P(Cases, PressModel,
                         ::testing::Values(RulesCase{"Push", {.lookFollowsPointer = true}},
                                           RulesCase{"Option", {.releaseActsFirst = true, .spaceActsFirst = true}}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace se
