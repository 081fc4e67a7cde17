// The combo box: opening its list by button and keys, where the list opens, picking and closing,
// the keys with the list closed, typing and auto-completion, and when OnChange fires.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/combobox/ComboBox.h"
#include "platform/toolkit/Form.h"
#include "platform/window/Input.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;

class ComboBox : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        screen_.SetMonitors({{{0, 0, 1024, 768}, {0, 0, 1024, 728}, true}});
        form_ = NewForm({100, 100, 500, 400});
        other_ = new TSeSkinEdit(form_);
        other_->SetBounds(200, 200, 80, 21);
        other_->SetParent(form_);
    }
    // The port box: COM1 .. COM15, 97 wide.
    TSeSkinComboBox* NewCombo(int items = 15, TSeComboStyle style = kcsDropDown, TPoint at = {10, 10}) {
        auto* combo = new TSeSkinComboBox(form_);
        combo->SetBounds(at.X, at.Y, 97, combo->Height());
        combo->SetParent(form_);
        for (int i = 1; i <= items; ++i) combo->Items().Add("COM" + std::to_string(i));
        combo->SetComboStyle(style);
        combo->OnChange = [this](TObject*) { ++changes_; };
        combo->OnDropDown = [this](TObject*) { ++drops_; };
        combo->OnCloseUp = [this](TObject*) { ++closes_; };
        Pump();
        return combo;
    }
    void ClickButton(TSeCustomComboBox* combo) {
        const TRect b = combo->ButtonRect();
        screen_.ClickAt(form_->Handle(), {combo->Left() + b.Left + 5, combo->Top() + b.Top + 5});
        Pump();
    }
    void Key(uint16_t key, TShiftState shift = 0) {
        screen_.PressKey(key, shift);
        Pump();
    }
    // Screen rectangle of the drop-down window.
    TRect DropRect(TSeCustomComboBox* combo) {
        TSeComboWindow* w = combo->DropDownWindow();
        return w ? w->BoundsRect() : TRect{};
    }
    void ClickListRow(TSeCustomComboBox* combo, int row) {
        screen_.ClickAt(combo->DropDownWindow()->Handle(), {20, 2 + row * 15 + 7});
        Pump();
    }

    TForm* form_ = nullptr;
    TSeSkinEdit* other_ = nullptr;
    int changes_ = 0;
    int drops_ = 0;
    int closes_ = 0;
};

TEST_F(ComboBox, TheButtonOpensAListOfEightRowsUnderTheBoxWithoutTakingTheActivation) {
    TSeSkinComboBox* combo = NewCombo();
    ClickButton(combo);
    ASSERT_TRUE(combo->DroppedDown());
    const TPoint bottomLeft = combo->ClientToScreen({0, combo->Height()});
    EXPECT_EQ(DropRect(combo), (TRect{bottomLeft.X, bottomLeft.Y, bottomLeft.X + 97, bottomLeft.Y + 124}));
    EXPECT_TRUE(combo->ListBox().ScrollBarShown());
    EXPECT_EQ(drops_, 1);
    EXPECT_TRUE(combo->ButtonPressed());
    EXPECT_EQ(GetActiveWindow(), form_->Handle()) << "the form keeps the activation";
    EXPECT_EQ(GetFocus(), combo->Handle());
    EXPECT_TRUE(combo->ListBox().Selected(0)) << "no current item marks the first";
}

TEST_F(ComboBox, PickingAnItemAfterScrollingSetsItemIndexTextAndOneChange) {
    TSeSkinComboBox* combo = NewCombo();
    ClickButton(combo);
    screen_.Wheel(-360);  // 3 lines of 3: to the last page
    Pump();
    EXPECT_EQ(combo->ListBox().TopIndex(), 7);
    ClickListRow(combo, 4);  // COM12
    EXPECT_EQ(combo->ItemIndex(), 11);
    EXPECT_EQ(combo->Text(), u"COM12");
    EXPECT_EQ(changes_, 1);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(closes_, 1);
    EXPECT_EQ(GetFocus(), combo->Handle());
    EXPECT_EQ(combo->ListBox().ScrollBar().Position(), 7) << "the list keeps its scroll position";
}

// The open list starts from its own current item (where the user left it), not from the box's.
TEST_F(ComboBox, KeysOpenPickAndCloseTheList) {
    const struct {
        const char* name;
        uint16_t openKey;
        TShiftState openShift;
        uint16_t closeKey;
        int index;  // after Down, Down in the list and the closing key, the box at item 5
    } cases[] = {
        {"F4, Enter", VK_F4, 0, VK_RETURN, 2},
        {"Alt+Down, Space", VK_DOWN, ssAlt, VK_SPACE, 2},
        {"F4, Escape", VK_F4, 0, VK_ESCAPE, 5},
        {"Alt+Down, F4", VK_DOWN, ssAlt, VK_F4, 5},
    };
    for (const auto& c : cases) {
        TSeSkinComboBox* combo = NewCombo();
        combo->SetItemIndex(5);
        combo->SetFocus();
        Pump();
        changes_ = 0;
        Key(c.openKey, c.openShift);
        ASSERT_TRUE(combo->DroppedDown()) << c.name;
        EXPECT_TRUE(combo->ListBox().Selected(5)) << c.name << ": the box's item is marked";
        Key(VK_DOWN);
        Key(VK_DOWN);
        EXPECT_EQ(combo->ListBox().ItemIndex(), 2) << c.name;
        EXPECT_EQ(combo->ItemIndex(), 5) << c.name << ": moving in the list changes nothing yet";
        Key(c.closeKey);
        EXPECT_FALSE(combo->DroppedDown()) << c.name;
        EXPECT_EQ(combo->ItemIndex(), c.index) << c.name;
        EXPECT_EQ(combo->Text(), u"COM" + std::u16string(1, static_cast<char16_t>(u'1' + c.index))) << c.name;
        EXPECT_EQ(changes_, c.index != 5 ? 1 : 0) << c.name;
        EXPECT_EQ(GetFocus(), combo->Handle()) << c.name;
        delete combo;
    }
}

TEST_F(ComboBox, NearTheWorkAreasBottomTheListOpensUpward) {
    form_->SetBounds(100, 560, 300, 200);
    Pump();
    TSeSkinComboBox* combo = NewCombo(15, kcsDropDown, {10, 100});
    ClickButton(combo);
    const TPoint bottomLeft = combo->ClientToScreen({0, combo->Height()});
    ASSERT_GT(bottomLeft.Y + 120, 728);
    const TRect r = DropRect(combo);
    EXPECT_EQ(r.Top, bottomLeft.Y - combo->Height() - 120);
    EXPECT_EQ(r.Height(), 124);
    EXPECT_EQ(r.Bottom - (bottomLeft.Y - combo->Height()), 4) << "overlaps the box by the list's insets";
}

TEST_F(ComboBox, APressOutsideClosesTheListAndAPressOnTheButtonDoesNotReopenIt) {
    TSeSkinComboBox* combo = NewCombo();
    ClickButton(combo);
    ASSERT_TRUE(combo->DroppedDown());
    screen_.ClickAt(form_->Handle(), {250, 150});
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(GetActiveWindow(), form_->Handle());
    ClickButton(combo);
    ASSERT_TRUE(combo->DroppedDown());
    ClickButton(combo);
    EXPECT_FALSE(combo->DroppedDown()) << "the second press on the button closes";
    EXPECT_EQ(drops_, 2);
    EXPECT_EQ(closes_, 2);
}

TEST_F(ComboBox, TheListClosesWhenTheProgramLosesTheActivation) {
    TSeSkinComboBox* combo = NewCombo();
    ClickButton(combo);
    screen_.DeactivateNativeWindow(form_->Handle());
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(closes_, 1);
}

TEST_F(ComboBox, ArrowsWithTheListClosedMoveItemIndexAndChangeWhenTheTextChanges) {
    const struct {
        TSeComboStyle style;
        int items, start;
        uint16_t key;
        int index, changes;
    } cases[] = {
        {kcsDropDown, 8, 7, VK_DOWN, 7, 0},      // clamped, the text stays
        {kcsDropDown, 8, 3, VK_DOWN, 4, 1},      //
        {kcsDropDown, 8, 0, VK_UP, 0, 0},        // -1, then 0 again
        {kcsDropDown, 8, 3, VK_NEXT, 3, 0},      // pages only in the list style
        {kcsDropDownList, 8, 7, VK_DOWN, 7, 1},  // every assignment changes
        {kcsDropDownList, 8, 5, VK_NEXT, 7, 1},  //
        {kcsDropDownList, 8, 5, VK_PRIOR, 2, 1}, //
        {kcsDropDownList, 8, 5, VK_HOME, 0, 1},  //
        {kcsDropDownList, 8, 2, VK_END, 7, 1},   //
        {kcsDropDownList, 8, 0, VK_UP, 0, 2},    // -1 and 0: two assignments
    };
    for (const auto& c : cases) {
        TSeSkinComboBox* combo = NewCombo(c.items, c.style);
        combo->SetItemIndex(c.start);
        combo->SetFocus();
        Pump();
        changes_ = 0;
        Key(c.key);
        EXPECT_EQ(combo->ItemIndex(), c.index) << "style " << int(c.style) << " key " << c.key << " from " << c.start;
        EXPECT_EQ(changes_, c.changes) << "style " << int(c.style) << " key " << c.key << " from " << c.start;
        EXPECT_FALSE(combo->DroppedDown());
        delete combo;
    }
}

// A wheel turn on the box moves ItemIndex a notch at a time; one forwarded by the form moves it by
// the wheel setting's lines, the setting clamped to 1..120 (0 and the page-wise setting count as 1).
TEST_F(ComboBox, TheWheelMovesItemIndexWithTheListClosed) {
    const struct {
        bool forwarded;
        int lines, delta, start, index, changes;
    } cases[] = {
        {false, 3, -120, 2, 3, 1}, {false, 3, -240, 2, 4, 1}, {false, 3, 120, 0, 0, 0}, {false, 3, -60, 2, 2, 0},
        {true, 3, -120, 2, 5, 1},  {true, 0, -120, 2, 3, 1},  {true, -1, -120, 2, 3, 1}, {true, 200, -120, 2, 14, 1},
        {true, 3, 120, 8, 5, 1},
    };
    for (const auto& c : cases) {
        TSeSkinComboBox* combo = NewCombo();
        combo->SetItemIndex(c.start);
        combo->SetFocus();
        Pump();
        TInputSettings settings;
        settings.WheelScrollLines = c.lines;
        screen_.SetInputSettings(settings);
        changes_ = 0;
        if (c.forwarded) {
            combo->Perform(CM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<uint16_t>(c.delta)), 0);
        } else {
            screen_.Wheel(c.delta);
        }
        Pump();
        EXPECT_EQ(combo->ItemIndex(), c.index) << (c.forwarded ? "forwarded" : "direct") << " lines " << c.lines << " delta " << c.delta;
        EXPECT_EQ(changes_, c.changes) << (c.forwarded ? "forwarded" : "direct") << " lines " << c.lines << " delta " << c.delta;
        delete combo;
    }
}

TEST_F(ComboBox, TypingInTheEditPartLeavesItemIndexAlone) {
    TSeSkinComboBox* combo = NewCombo();
    combo->SetItemIndex(4);
    combo->SetFocus();
    Pump();
    changes_ = 0;
    Key(VK_END);
    screen_.TypeText("7");
    Pump();
    EXPECT_EQ(combo->Text(), u"COM57");
    EXPECT_EQ(combo->ItemIndex(), 4);
    EXPECT_EQ(changes_, 1);
}

TEST_F(ComboBox, AutoCompletionWaitsAHundredMillisecondsAndSelectsOnlyTheTail) {
    TSeSkinComboBox* combo = NewCombo(0);
    combo->Items().Add("alpha");
    combo->Items().Add("Coffee");
    combo->Items().Add("cola");
    combo->SetAutoComplete(true);
    combo->SetFocus();
    Pump();
    screen_.TypeText("co");
    Pump();
    Advance(99);
    Pump();
    EXPECT_EQ(combo->Text(), u"co");
    Advance(1);
    Pump();
    EXPECT_EQ(combo->Text(), u"Coffee");
    EXPECT_EQ(combo->SelStart(), 2);
    EXPECT_EQ(combo->SelLength(), 4);
    EXPECT_EQ(combo->ItemIndex(), -1);
    Key(VK_BACK);  // deletes the selected tail
    EXPECT_EQ(combo->Text(), u"Co");
    Advance(200);
    Pump();
    EXPECT_EQ(combo->Text(), u"Co") << "deleting never completes";
    Key(VK_BACK);
    Advance(200);
    Pump();
    EXPECT_EQ(combo->Text(), u"C");
}

TEST_F(ComboBox, ItemIndexWritesAreClampedAndMinusOneKeepsTheText) {
    TSeSkinComboBox* combo = NewCombo();
    combo->SetItemIndex(3);
    combo->SetItemIndex(-1);
    EXPECT_EQ(combo->Text(), u"COM4");
    EXPECT_EQ(combo->ItemIndex(), -1);
    combo->SetItemIndex(-5);
    EXPECT_EQ(combo->ItemIndex(), 0);
    EXPECT_EQ(combo->Text(), u"COM1");
    combo->SetItemIndex(99);
    EXPECT_EQ(combo->ItemIndex(), 14);
}

TEST_F(ComboBox, AVetoedPickStillClosesTheListAndKeepsTheIndex) {
    TSeSkinComboBox* combo = NewCombo();
    combo->SetItemIndex(1);
    changes_ = 0;
    std::vector<std::u16string> asked;
    int listClicks = 0;
    combo->OnListBoxClick = [&](TObject*) { ++listClicks; };
    combo->OnAllowChange = [&](TObject*, int, const std::u16string& text, bool& allow) {
        asked.push_back(text);
        allow = false;
    };
    ClickButton(combo);
    ClickListRow(combo, 5);
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_EQ(asked, (std::vector<std::u16string>{u"COM6"}));
    EXPECT_EQ(listClicks, 1);
    EXPECT_EQ(changes_, 0);
}

TEST_F(ComboBox, ADropDownListBoxOpensFromItsTextAndShowsTheItemNotTheEditText) {
    TSeSkinComboBox* combo = NewCombo(5, kcsDropDownList);
    EXPECT_EQ(combo->ItemIndex(), 0) << "switching the style picks the first item";
    EXPECT_TRUE(combo->ReadOnly());
    changes_ = 0;
    combo->SetItemIndex(0);
    EXPECT_EQ(changes_, 1) << "every assignment changes in this style";
    EXPECT_EQ(combo->Text(), u"COM1");
    screen_.ClickAt(form_->Handle(), {combo->Left() + 20, combo->Top() + combo->Height() / 2});
    Pump();
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_FALSE(combo->ButtonPressed());
    ClickListRow(combo, 3);
    EXPECT_EQ(combo->Text(), u"COM4");
    EXPECT_EQ(changes_, 2);
    combo->SetComboStyle(kcsDropDown);
    EXPECT_FALSE(combo->ReadOnly()) << "the saved read-only state comes back";
}

TEST_F(ComboBox, ADropDownListBoxPaintsSafelyAfterItsItemsShrank) {
    TSeSkinComboBox* combo = NewCombo(5, kcsDropDownList);
    combo->SetItemIndex(4);
    EXPECT_EQ(combo->Text(), u"COM5");
    combo->Items().Delete(4);
    combo->Items().Delete(3);
    combo->Invalidate();
    Pump();
    EXPECT_EQ(combo->Text(), u"") << "the index points past the items: the edit text shows";
}

TEST_F(ComboBox, DestroyingAnOpenBoxLeavesTheFocusAndTheMessageWatchAlone) {
    TSeSkinComboBox* combo = NewCombo();
    ClickButton(combo);
    ASSERT_TRUE(combo->DroppedDown());
    HWND focusBefore = GetFocus();
    int focusChanges = 0;
    other_->OnEnter = [&](TObject*) { ++focusChanges; };
    delete combo;
    Pump();
    EXPECT_EQ(focusChanges, 0);
    EXPECT_NE(GetFocus(), focusBefore);
    EXPECT_FALSE(static_cast<bool>(Application->OnMessage)) << "the outside-press watch is gone";
    screen_.ClickAt(form_->Handle(), {250, 150});
    Pump();
}

TEST_F(ComboBox, AnOpenListOverAFormAsAPersonSeesIt) {
    TSeSkinComboBox* combo = NewCombo();
    combo->SetItemIndex(2);
    ClickButton(combo);
    screen_.MoveMouseTo(combo->DropDownWindow()->Handle(), {20, 2 + 4 * 15 + 7});
    Pump();
    SaveScreenshot("combobox_open.png");
    const PixelSection shot = screen_.Screenshot();
    const TRect r = DropRect(combo);
    // The list's selected row (item 2) shows the highlight at its right end, before the bar.
    EXPECT_EQ(shot.At(r.Left + 70, r.Top + 2 + 2 * 15 + 2) & 0xFFFFFFu,
              vcl::testing_support::PixelOf(clHighlight) & 0xFFFFFFu);
}

}  // namespace
}  // namespace se
