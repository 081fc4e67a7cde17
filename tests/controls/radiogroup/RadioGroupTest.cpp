// The radio group as the language chooser uses it: its buttons' layout, the choice by click, key
// and code, OnClick only on a change, and the index a stored form brings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/checkbox/CheckBox.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/radiogroup/RadioGroup.h"
#include "platform/runtime/Component.h"
#include "platform/window/Window.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;

class RadioGroup : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = NewForm({100, 100, 400, 300});
        form->SetColor(clBtnFace);
    }

    // The main window's language chooser.
    TSeSkinRadioGroup* Chooser(bool stored = false) {
        auto* group = new TSeSkinRadioGroup(form);
        auto apply = [&] {
            group->SetBounds(8, 8, 105, 97);
            group->SetParent(form);
            group->SetPerformance(kspNoBuffer);
            group->SetCaption(u" Language ");
            group->Items().Add("English");
            group->Items().Add("Chinese");
            group->SetItemIndex(1);
        };
        if (stored) {
            LoadStoredForm(*group, apply);
        } else {
            apply();
        }
        group->OnClick = [this, group](TObject*) { clicks.push_back(group->ItemIndex()); };
        Pump();
        return group;
    }

    TForm* form = nullptr;
    std::vector<int> clicks;
};

TEST_F(RadioGroup, TheLanguageChooserStacksItsTwoButtonsInOneColumn) {
    ASSERT_EQ(TScreenTextMeasure(form->Font()).LineHeight(), 13);
    auto* group = Chooser();
    ASSERT_EQ(group->Buttons().size(), 2u);
    EXPECT_EQ(group->Buttons()[0]->BoundsRect(), Bounds(8, 14, 95, 39));
    EXPECT_EQ(group->Buttons()[1]->BoundsRect(), Bounds(8, 53, 95, 39));
    EXPECT_EQ(group->Buttons()[0]->Caption(), u"English");
    EXPECT_TRUE(group->Buttons()[1]->Checked());
    EXPECT_TRUE(group->Buttons()[0]->Visible());
}

TEST_F(RadioGroup, ResizingTheGroupLaysItsButtonsOutAgain) {
    auto* group = Chooser();
    ASSERT_TRUE(group->Buttons()[0]->HandleAllocated());
    group->SetBounds(8, 8, 125, 130);
    Pump();
    EXPECT_EQ(group->Buttons()[0]->BoundsRect(), Bounds(8, 14, 115, 56));
    EXPECT_EQ(group->Buttons()[1]->BoundsRect(), Bounds(8, 70, 115, 56));
    EXPECT_EQ(GetWindowRect(group->Buttons()[1]->Handle()).Top - GetWindowRect(group->Handle()).Top, 70);
}

TEST_F(RadioGroup, ThreeItemsInTwoColumnsStartTheSecondColumnAfterTwoRows) {
    auto* group = new TSeSkinRadioGroup(form);
    group->SetBounds(0, 0, 200, 100);
    group->SetParent(form);
    for (const char* item : {"a", "b", "c"}) group->Items().Add(item);
    group->SetColumns(2);
    EXPECT_EQ(group->Buttons()[2]->BoundsRect(), Bounds(103, 14, 95, 41));
    group->SetColumns(0);
    EXPECT_EQ(group->Columns(), 1);
    group->SetColumns(20);
    EXPECT_EQ(group->Columns(), 16);
}

TEST_F(RadioGroup, AStoredItemIndexChecksItsButtonWithoutAClick) {
    auto* group = Chooser(true);
    EXPECT_EQ(group->ItemIndex(), 1);
    EXPECT_TRUE(group->Buttons()[1]->Checked());
    EXPECT_FALSE(group->Buttons()[0]->Checked());
    EXPECT_TRUE(clicks.empty());
}

TEST_F(RadioGroup, AStoredItemIndexPastTheItemsSelectsNothing) {
    auto* group = new TSeSkinRadioGroup(form);
    LoadStoredForm(*group, [&] {
        group->SetParent(form);
        group->Items().Add("English");
        group->Items().Add("Chinese");
        group->SetItemIndex(2);
    });
    Pump();
    EXPECT_EQ(group->ItemIndex(), -1);
    for (TSeSkinGroupButton* button : group->Buttons()) EXPECT_FALSE(button->Checked());
}

struct IndexCase {
    const char* name;
    int written;
    int index;
    std::vector<int> clicks;
};

class RadioGroupIndex : public RadioGroup, public ::testing::WithParamInterface<IndexCase> {};

TEST_P(RadioGroupIndex, WritingItemIndexClampsAndReportsOnlyAChangeThatChecks) {
    auto* group = Chooser();
    group->SetItemIndex(GetParam().written);
    EXPECT_EQ(group->ItemIndex(), GetParam().index);
    EXPECT_EQ(clicks, GetParam().clicks);
    for (size_t i = 0; i < group->Buttons().size(); ++i) {
        EXPECT_EQ(group->Buttons()[i]->Checked(), static_cast<int>(i) == GetParam().index) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, RadioGroupIndex,
                         ::testing::Values(IndexCase{"Other", 0, 0, {0}}, IndexCase{"Same", 1, 1, {}},
                                           IndexCase{"PastTheEnd", 5, 1, {}}, IndexCase{"FarBelow", -7, -1, {}}),
                         [](const auto& info) { return info.param.name; });

TEST_F(RadioGroup, ClickingAButtonReportsTheNewChoiceOnceAndTheCheckedOneNothing) {
    auto* group = Chooser();
    screen_.ClickAt(group->Buttons()[1]->Handle(), {20, 19});
    Pump();
    EXPECT_TRUE(clicks.empty());
    screen_.ClickAt(group->Buttons()[0]->Handle(), {20, 19});
    Pump();
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(clicks, std::vector<int>{0});
}

TEST_F(RadioGroup, TabEntersAtTheCheckedButtonAndArrowsMoveTheChoice) {
    auto* before = new TSeCustomCheckBox(form);
    before->SetBounds(200, 10, 80, 20);
    before->SetParent(form);
    before->SetTabOrder(0);
    auto* group = Chooser();
    before->SetFocus();
    Pump();
    screen_.PressKey(VK_TAB);
    Pump();
    EXPECT_TRUE(group->Buttons()[1]->Focused());
    EXPECT_TRUE(clicks.empty());
    screen_.PressKey(VK_UP);
    Pump();
    EXPECT_TRUE(group->Buttons()[0]->Focused());
    EXPECT_EQ(group->ItemIndex(), 0);
    EXPECT_EQ(clicks, std::vector<int>{0});
}

TEST_F(RadioGroup, ClearingTheItemsDestroysTheButtonsAndSelectsNothing) {
    auto* group = Chooser();
    group->Items().Clear();
    EXPECT_TRUE(group->Buttons().empty());
    EXPECT_EQ(group->ItemIndex(), -1);
    EXPECT_EQ(form->ControlCount(), 1);
}

TEST_F(RadioGroup, DisablingTheGroupDisablesItsButtons) {
    auto* group = Chooser();
    group->SetEnabled(false);
    for (TSeSkinGroupButton* button : group->Buttons()) EXPECT_FALSE(button->Enabled());
    group->SetEnabled(true);
    for (TSeSkinGroupButton* button : group->Buttons()) EXPECT_TRUE(button->Enabled());
}

}  // namespace
}  // namespace se
