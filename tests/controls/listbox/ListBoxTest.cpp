// The list box: its scroll range, selection by mouse and keys, the wheel, hot tracking, automatic
// scrolling while a selection is dragged below it, check states, the item bookkeeping, and the
// layout in several columns with its horizontal bar.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/listbox/ListBox.h"
#include "platform/draw/ColorNames.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Form.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;

class ListBox : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        TInputSettings settings;
        settings.KeyboardSpeed = 0;  // 435 ms between automatic steps
        screen_.SetInputSettings(settings);
        form_ = NewForm({0, 0, 400, 300});
    }
    // The drop-down configuration: rows of 15 pixels, 8 of them visible (plus 2 + 2 of bevels).
    TSeSkinListBox* NewList(int items, int rows = 8) {
        auto* list = new TSeSkinListBox(form_);
        list->SetParent(form_);
        list->SetItemHeight(15);
        list->SetBounds(kLeft, kTop, 97, rows * 15 + 4);
        for (int i = 1; i <= items; ++i) list->Items().Add("COM" + std::to_string(i));
        list->OnClick = [this](TObject*) { ++clicks_; };
        Pump();
        return list;
    }
    // Client point of row r's middle (rows counted from the top of the view).
    TPoint Row(int r) const { return {kLeft + 30, kTop + 2 + r * 15 + 7}; }
    void ClickRow(int r) {
        screen_.ClickAt(form_->Handle(), Row(r));
        Pump();
    }
    void Key(uint16_t key, TShiftState shift = 0) {
        screen_.PressKey(key, shift);
        Pump();
    }

    static constexpr int kLeft = 10, kTop = 10;
    TForm* form_ = nullptr;
    int clicks_ = 0;
};

TEST_F(ListBox, FifteenItemsInEightRowsScrollSevenPositionsWithAProportionalBar) {
    TSeSkinListBox* list = NewList(15);
    EXPECT_EQ(list->ScrollBar().PageSize(), 8);
    EXPECT_EQ(list->ScrollBar().Max(), 14);
    EXPECT_TRUE(list->ScrollBarShown());
    EXPECT_TRUE(list->ScrollBar().Enabled());
    EXPECT_EQ(list->BottomIndex(), 7);
    ClickRow(0);
    for (int i = 0; i < 10; ++i) screen_.Wheel(-120);
    Pump();
    EXPECT_EQ(list->ScrollBar().Position(), 7) << "items 8 .. 15 visible, no further";
    EXPECT_EQ(list->ItemIndex(), 0) << "the wheel scrolls the view only";
}

TEST_F(ListBox, EightItemsInEightRowsShowNoBar) {
    TSeSkinListBox* list = NewList(8);
    EXPECT_FALSE(list->ScrollBarShown());
    EXPECT_FALSE(list->ScrollBar().Enabled());
    Pump();
    const PixelSection shot = screen_.Screenshot(form_->Handle());
    ClickRow(2);
    const PixelSection selected = screen_.Screenshot(form_->Handle());
    // The highlight reaches the right inset: the items use the whole width.
    const TPoint p = Row(2);
    EXPECT_EQ(selected.At(kLeft + 97 - 3, p.Y) & 0xFFFFFFu, vcl::testing_support::PixelOf(clHighlight) & 0xFFFFFFu);
    EXPECT_NE(shot.At(kLeft + 97 - 3, p.Y), selected.At(kLeft + 97 - 3, p.Y));
}

TEST_F(ListBox, AClickSelectsTheItemUnderThePointerAndClicks) {
    TSeSkinListBox* list = NewList(15);
    ClickRow(3);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_TRUE(list->Selected(3));
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_EQ(clicks_, 1);
    EXPECT_TRUE(list->Focused());
}

TEST_F(ListBox, KeysMoveTheCurrentItemAndKeepItInView) {
    TSeSkinListBox* list = NewList(15);
    ClickRow(0);
    const struct {
        uint16_t key;
        int index, top;
    } steps[] = {
        {VK_DOWN, 1, 0},   {VK_NEXT, 8, 1},  {VK_NEXT, 14, 7}, {VK_DOWN, 14, 7}, {VK_PRIOR, 7, 7},
        {VK_UP, 6, 6},     {VK_HOME, 0, 0},  {VK_UP, 0, 0},    {VK_END, 14, 7},  {VK_RIGHT, 14, 7},
        {VK_LEFT, 13, 7},
    };
    int expectedClicks = clicks_;
    int before = list->ItemIndex();
    for (const auto& s : steps) {
        Key(s.key);
        EXPECT_EQ(list->ItemIndex(), s.index) << "key " << s.key;
        EXPECT_EQ(list->TopIndex(), s.top) << "key " << s.key;
        EXPECT_TRUE(list->Selected(s.index));
        if (s.index != before) ++expectedClicks;
        before = s.index;
    }
    EXPECT_EQ(clicks_, expectedClicks) << "a keyboard move clicks";
}

TEST_F(ListBox, DownFromTheLastVisibleRowScrollsByOneRow) {
    TSeSkinListBox* list = NewList(15);
    ClickRow(7);
    Key(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 8);
    EXPECT_EQ(list->TopIndex(), 1);
}

TEST_F(ListBox, PagesMoveAtLeastOneItemWhateverThePageSize) {
    TSeSkinListBox* list = NewList(10, 1);  // a page of one row
    ClickRow(0);
    Key(VK_NEXT);
    EXPECT_EQ(list->ItemIndex(), 1);
    Key(VK_NEXT);
    EXPECT_EQ(list->ItemIndex(), 2);
    Key(VK_PRIOR);
    EXPECT_EQ(list->ItemIndex(), 1);
}

TEST_F(ListBox, ShiftExtendsAMultipleSelectionFromTheAnchor) {
    TSeSkinListBox* list = NewList(15);
    list->SetMultiSelect(true);
    ClickRow(2);
    Key(VK_DOWN, ssShift);
    Key(VK_DOWN, ssShift);
    EXPECT_EQ(list->SelCount(), 3);
    EXPECT_TRUE(list->Selected(2) && list->Selected(3) && list->Selected(4));
    Key(VK_DOWN);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_TRUE(list->Selected(5));
}

TEST_F(ListBox, TheItemUnderThePointerIsHotUntilThePointerLeaves) {
    TSeSkinListBox* list = NewList(15);
    screen_.MoveMouseTo(form_->Handle(), Row(4));
    Pump();
    EXPECT_EQ(list->HotIndex(), 4);
    screen_.MoveMouseTo(form_->Handle(), {300, 250});
    Pump();
    EXPECT_EQ(list->HotIndex(), -1);
}

TEST_F(ListBox, DraggingBelowTheListScrollsItAndMovesTheSelectionOneRowPerTick) {
    TSeSkinListBox* list = NewList(15);
    screen_.MoveMouseTo(form_->Handle(), Row(1));
    screen_.PressButton();
    Pump();
    screen_.MoveMouseTo(form_->Handle(), {kLeft + 30, kTop + 200});  // below the list
    Pump();
    EXPECT_EQ(list->TopIndex(), 0);
    Advance(435);
    Pump();
    EXPECT_EQ(list->TopIndex(), 1);
    EXPECT_EQ(list->ItemIndex(), 8);
    Advance(435);
    Pump();
    EXPECT_EQ(list->TopIndex(), 2);
    EXPECT_EQ(list->ItemIndex(), 9);
    EXPECT_EQ(list->SelCount(), 1);
    Advance(435 * 20);
    Pump();
    EXPECT_EQ(list->TopIndex(), 7);
    EXPECT_EQ(list->ItemIndex(), 14);
    screen_.ReleaseButton();
    Pump();
    const int top = list->TopIndex();
    Advance(2000);
    Pump();
    EXPECT_EQ(list->TopIndex(), top);
}

// The wheel step is delta / (120 / n) for the wheel-scroll-lines setting n, clamped to 1..120 so
// that 0, the page-wise setting and very large values neither divide by zero nor reverse.
TEST_F(ListBox, TheWheelScrollsByTheSettingsLinesClampedToAUsableRange) {
    const struct {
        int lines, delta, position;
    } cases[] = {
        {3, -120, 3}, {1, -120, 1}, {0, -120, 1}, {-1, -120, 1}, {200, -120, 7}, {3, -40, 1}, {3, -39, 0},
    };
    for (const auto& c : cases) {
        TSeSkinListBox* list = NewList(15);
        TInputSettings settings;
        settings.WheelScrollLines = c.lines;
        screen_.SetInputSettings(settings);
        ClickRow(0);
        screen_.Wheel(c.delta);
        Pump();
        EXPECT_EQ(list->ScrollBar().Position(), c.position) << "lines " << c.lines << " delta " << c.delta;
        delete list;
    }
}

TEST_F(ListBox, DeletingItemsClampsTheCurrentItemAndTheAnchor) {
    TSeSkinListBox* list = NewList(15);
    list->SetMultiSelect(true);
    ClickRow(6);
    Key(VK_DOWN, ssShift);
    while (list->Items().Count() > 3) list->Items().Delete(list->Items().Count() - 1);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->AnchorIndex(), 2);
    Key(VK_UP, ssShift);
    EXPECT_EQ(list->SelCount(), 2);
    list->Items().Clear();
    EXPECT_EQ(list->ItemIndex(), -1);
    Key(VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), -1) << "an empty list has no current item";
}

TEST_F(ListBox, AViewShorterThanOneItemStillShowsTheCurrentItemAsFarAsItCan) {
    TSeSkinListBox* list = NewList(5);
    list->SetItemHeight(40);
    list->SetBounds(kLeft, kTop, 97, 24);
    list->SetItemIndex(4);  // must end although item 4 never fits whole
    EXPECT_EQ(list->ItemIndex(), 4);
    EXPECT_EQ(list->TopIndex(), 4);
}

TEST_F(ListBox, VariableHeightsKeepADefinedRangeWhenTheLastItemIsTallerThanTheView) {
    TSeSkinListBox* list = NewList(4);
    list->OnMeasureItem = [](TObject*, int index, int& height) { height = index == 3 ? 500 : 20; };
    list->SetListStyle(lbOwnerDrawVariable);
    EXPECT_EQ(list->ScrollBar().Max(), 3);
    EXPECT_EQ(list->ScrollBar().PageSize(), 0);
    list->OnMeasureItem = [](TObject*, int, int& height) { height = 20; };
    list->UpdateScrollBar();
    EXPECT_EQ(list->ScrollBar().Max(), 0) << "all four fit";
}

TEST_F(ListBox, TheFirstItemBecomesCurrentWithoutBeingSelected) {
    TSeSkinListBox* list = NewList(0);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->Items().Add(std::u16string(u"only"));
    EXPECT_EQ(list->ItemIndex(), 0);
    EXPECT_EQ(list->SelCount(), 0);
}

TEST_F(ListBox, EnterAndCheckBoxClicksAdvanceTheCheckState) {
    TSeSkinListBox* list = NewList(5);
    ClickRow(1);
    Key(VK_RETURN);
    EXPECT_EQ(list->State(1), cbChecked) << "also without visible check boxes";
    list->SetShowCheckBoxes(true);
    list->SetAllowGrayed(true);
    Pump();
    screen_.ClickAt(form_->Handle(), {kLeft + 2 + 7, Row(1).Y});
    Pump();
    EXPECT_EQ(list->State(1), cbGrayed);
    list->SetItemEnabled(1, false);
    screen_.ClickAt(form_->Handle(), {kLeft + 2 + 7, Row(1).Y});
    Pump();
    EXPECT_EQ(list->State(1), cbGrayed);
    screen_.ClickAt(form_->Handle(), {kLeft + 2 + 7, Row(2).Y});
    Pump();
    EXPECT_EQ(list->State(2), cbChecked);
    EXPECT_EQ(list->ItemIndex(), 2);
}

TEST_F(ListBox, ColourStylesFillThemselvesAndShowSwatches) {
    TSeSkinListBox* list = NewList(3);
    list->SetBounds(kLeft, kTop, 150, 184);
    list->SetListStyle(lbColorNames);
    const auto& colors = StandardColors();
    ASSERT_EQ(list->Items().Count(), static_cast<int>(colors.size()));
    EXPECT_EQ(list->ItemHeight(), 18);
    EXPECT_EQ(list->Items()[1], rtl::Utf8ToUtf16(colors[1].name));
    ClickRow(0);
    Pump();
    SaveScreenshot("listbox_color_names.png", form_->Handle());
    const PixelSection shot = screen_.Screenshot(form_->Handle());
    // Row 1's swatch (20 x 14 at the text's left, centred in the 18-pixel row) is filled with its colour.
    const int swatchX = kLeft + 2 + 2 + 10, swatchY = kTop + 2 + 18 + 9;
    EXPECT_EQ(shot.At(swatchX, swatchY) & 0xFFFFFFu, vcl::testing_support::PixelOf(colors[1].value) & 0xFFFFFFu);
    list->SetListStyle(lbColors);
    EXPECT_EQ(list->Items().Count(), static_cast<int>(colors.size()));
}

TEST_F(ListBox, FontStylesListTheFamiliesOfTheAskedKind) {
    TSeSkinListBox* list = NewList(0);
    list->SetBounds(kLeft, kTop, 200, 184);
    list->SetListStyle(lbFonts);
    const int all = list->Items().Count();
    ASSERT_GT(all, 0);
    list->SetFontType(ftTrueType);
    const int trueType = list->Items().Count();
    EXPECT_LE(trueType, all);
    for (int i = 0; i < trueType; ++i) EXPECT_TRUE(list->Items().Objects(i) & kFontTrueType) << rtl::Utf16ToUtf8(list->Items()[i]);
    list->SetListStyle(lbFontSamples);
    Pump();
    SaveScreenshot("listbox_font_samples.png", form_->Handle());
}

TEST_F(ListBox, WrappedItemsTakeTheLinesTheirTextNeeds) {
    TSeSkinListBox* list = NewList(0);
    list->SetBounds(kLeft, kTop, 97, 124);
    list->Items().Add(std::u16string(u"short"));
    list->Items().Add(std::u16string(u"a rather long item text that wraps over several lines"));
    for (int i = 0; i < 6; ++i) list->Items().Add(std::u16string(u"x"));
    list->SetWordWrap(true);
    Pump();
    SaveScreenshot("listbox_word_wrap.png", form_->Handle());
    ASSERT_EQ(list->ScrollBar().PageSize(), 0);
    EXPECT_GT(list->ScrollBar().Max(), 0) << "the wrapped item pushes the last ones out of view";
    ClickRow(0);
    Key(VK_END);
    EXPECT_EQ(list->ItemIndex(), 7);
    EXPECT_GE(list->BottomIndex(), 7) << "the last item is in view";
}

TEST_F(ListBox, ASelectionAndAScrollBarAsAPersonSeesThem) {
    TSeSkinListBox* list = NewList(15);
    list->Items().Put(4, u"-");
    ClickRow(2);
    Pump();
    SaveScreenshot("listbox_selection_scrollbar.png", form_->Handle());
    const PixelSection shot = screen_.Screenshot(form_->Handle());
    EXPECT_EQ(shot.At(kLeft + 60, Row(2).Y - 6) & 0xFFFFFFu, vcl::testing_support::PixelOf(clHighlight) & 0xFFFFFFu);
}

// --- Several columns ------------------------------------------------------------------------------

// A list 307 wide (three columns of 101 inside the bevels) and 8 rows of 15 high; a horizontal bar
// of 16 leaves room for 6 rows above it.
class ColumnListBox : public ListBox {
protected:
    TSeSkinListBox* NewColumns(int items, int columns) {
        TSeSkinListBox* list = NewList(items);
        list->SetBounds(kLeft, kTop, 307, 8 * 15 + 4);
        list->SetColumns(columns);
        Pump();
        return list;
    }
    // Client point inside the cell of visible column c, row r.
    static TPoint Cell(int c, int r) { return {kLeft + 2 + c * 101 + 40, kTop + 2 + r * 15 + 7}; }
    void ClickCell(int c, int r) {
        screen_.ClickAt(form_->Handle(), Cell(c, r));
        Pump();
    }
};

TEST_F(ColumnListBox, TheBarCountsTheColumnsTheItemsNeedAndAppearsOnlyWhenTheyDoNotFit) {
    // hit: the current item after a click into the first row of the second column (x 143, which
    // one column of 303 still covers); an empty cell leaves the current item as it was.
    const struct {
        int items, columns;
        bool shown;
        int rows, max, page, hit;
    } cases[] = {
        {25, 3, true, 6, 4, 3, 6},    // 8 rows would need 4 columns: the bar takes 16 pixels, 6 rows remain
        {24, 3, false, 8, 2, 3, 8},   // 3 full columns of 8
        {4, 3, false, 8, 0, 1, 0},    // one column of items: the page is the whole range
        {0, 3, false, 8, 0, 1, -1},
        {9, 1, true, 6, 1, 1, 0},
        {25, -2, true, 0, 24, 8, 0},  // a negative count is one column with its vertical bar
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.items) + " items in " + std::to_string(c.columns) + " columns");
        TSeSkinListBox* list = NewColumns(c.items, c.columns);
        TSeCustomScrollBar& bar = list->ScrollBar();
        EXPECT_EQ(list->ScrollBarShown(), c.shown);
        EXPECT_EQ(bar.Max(), c.max);
        EXPECT_EQ(bar.PageSize(), c.page);
        const TRect content = list->ContentRect();
        if (c.columns > 0) {
            EXPECT_EQ(bar.Kind(), sbHorizontal);
            EXPECT_EQ(bar.BoundsRect(), (TRect{content.Left, content.Bottom - bar.Height(), content.Right, content.Bottom}));
            EXPECT_EQ(list->ColumnRows(), c.rows);
            ClickCell(1, 0);
            EXPECT_EQ(list->ItemIndex(), c.hit);
            // Below the last row, or in the bar, no item is hit: the current item stays.
            const int before = list->ItemIndex();
            screen_.ClickAt(form_->Handle(), {Cell(0, 0).X, kTop + 2 + c.rows * 15 + 1});
            Pump();
            EXPECT_EQ(list->ItemIndex(), before);
        } else {
            EXPECT_EQ(list->Columns(), 0);
            EXPECT_EQ(bar.Kind(), sbVertical);
            ClickRow(1);
            EXPECT_EQ(list->ItemIndex(), 1);
        }
        delete list;
    }
}

TEST_F(ColumnListBox, KeysMoveByItemsUpAndDownAndByColumnsSidewaysKeepingTheColumnInView) {
    TSeSkinListBox* list = NewColumns(25, 3);  // 5 columns of 6, 3 shown
    ClickCell(0, 0);
    const struct {
        uint16_t key;
        int index, first;  // current item, first column shown
    } steps[] = {
        {VK_DOWN, 1, 0},  {VK_RIGHT, 7, 0},  {VK_RIGHT, 13, 0}, {VK_RIGHT, 19, 1}, {VK_RIGHT, 24, 2},
        {VK_RIGHT, 24, 2}, {VK_LEFT, 18, 2}, {VK_LEFT, 12, 2},  {VK_LEFT, 6, 1},   {VK_UP, 5, 0},
        {VK_LEFT, 5, 0},  {VK_END, 24, 2},   {VK_HOME, 0, 0},   {VK_NEXT, 18, 1},  {VK_NEXT, 24, 2},
        {VK_PRIOR, 6, 1}, {VK_PRIOR, 0, 0},
    };
    for (const auto& s : steps) {
        Key(s.key);
        EXPECT_EQ(list->ItemIndex(), s.index) << "key " << s.key;
        EXPECT_EQ(list->ScrollBar().Position(), s.first) << "key " << s.key;
        EXPECT_EQ(list->TopIndex(), s.first * 6) << "key " << s.key;
        EXPECT_EQ(list->SelCount(), 1);
        EXPECT_TRUE(list->Selected(s.index));
    }
    // The wheel scrolls by columns and leaves the current item where it is.
    TInputSettings settings;
    settings.WheelScrollLines = 1;
    screen_.SetInputSettings(settings);
    screen_.Wheel(-120);
    Pump();
    EXPECT_EQ(list->ScrollBar().Position(), 1);
    EXPECT_EQ(list->ItemIndex(), 0);
    // A click in the first column shown now hits the items of column 1.
    ClickCell(0, 3);
    EXPECT_EQ(list->ItemIndex(), 9);
}

TEST_F(ColumnListBox, DraggingBesideTheListScrollsAColumnPerTickAlongThePointersRow) {
    TSeSkinListBox* list = NewColumns(25, 3);
    screen_.MoveMouseTo(form_->Handle(), Cell(0, 2));
    screen_.PressButton();
    Pump();
    EXPECT_EQ(list->ItemIndex(), 2);
    screen_.MoveMouseTo(form_->Handle(), {kLeft + 307 + 20, Cell(0, 2).Y});  // right of the list
    Pump();
    const struct {
        int first, index;
    } right[] = {{1, 3 * 6 + 2}, {2, 24}, {2, 24}};  // row 2 of the last column shown; column 4 ends at 24
    for (const auto& s : right) {
        Advance(435);
        Pump();
        EXPECT_EQ(list->ScrollBar().Position(), s.first);
        EXPECT_EQ(list->ItemIndex(), s.index);
    }
    screen_.MoveMouseTo(form_->Handle(), {kLeft - 5, Cell(0, 4).Y});  // left of it, row 4
    Pump();
    const struct {
        int first, index;
    } left[] = {{1, 6 + 4}, {0, 4}, {0, 4}};
    for (const auto& s : left) {
        Advance(435);
        Pump();
        EXPECT_EQ(list->ScrollBar().Position(), s.first);
        EXPECT_EQ(list->ItemIndex(), s.index);
    }
    EXPECT_EQ(list->SelCount(), 1);
    screen_.ReleaseButton();
    Pump();
    screen_.MoveMouseTo(form_->Handle(), {kLeft + 307 + 20, Cell(0, 2).Y});
    Advance(2000);
    Pump();
    EXPECT_EQ(list->ScrollBar().Position(), 0) << "without the button the list stays";
}

TEST_F(ColumnListBox, ShrinkingItemsAndATinyViewKeepTheCurrentItemAndTheViewInRange) {
    TSeSkinListBox* list = NewColumns(25, 3);
    ClickCell(0, 0);
    Key(VK_END);
    ASSERT_EQ(list->ScrollBar().Position(), 2);
    while (list->Items().Count() > 4) list->Items().Delete(list->Items().Count() - 1);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(list->ScrollBar().Position(), 0) << "one column of items left";
    EXPECT_FALSE(list->ScrollBarShown());
    // Shorter than one row: one row a column, and the keys still walk the items.
    list->SetBounds(kLeft, kTop, 307, 12);
    Pump();
    EXPECT_EQ(list->ColumnRows(), 1);
    Key(VK_HOME);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(list->ItemIndex(), 3);
    EXPECT_EQ(list->ScrollBar().Position(), 1);
    // Narrower than its columns: columns of no width hit nothing, and nothing divides by zero.
    list->SetColumns(400);
    Pump();
    ClickCell(0, 0);
    EXPECT_EQ(list->ItemIndex(), 3);
    list->Items().Clear();
    Key(VK_RIGHT);
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetColumns(0);
    EXPECT_EQ(list->ScrollBar().Kind(), sbVertical);
}

TEST_F(ColumnListBox, ThreeColumnsWithASelectionAndTheHorizontalBarAsAPersonSeesThem) {
    TSeSkinListBox* list = NewColumns(25, 3);
    ClickCell(1, 2);
    ASSERT_EQ(list->ItemIndex(), 8);
    screen_.MoveMouseTo(form_->Handle(), Cell(2, 4));
    Pump();
    SaveScreenshot("listbox_columns.png", form_->Handle());
    const PixelSection shot = screen_.Screenshot(form_->Handle());
    using vcl::testing_support::Mismatches;
    using vcl::testing_support::PixelOf;
    // The highlight fills exactly the selected cell, the middle column's 101 pixels one row high
    // (inside its focus rectangle, right of its text).
    const int left = kLeft + 2 + 101, top = kTop + 2 + 2 * 15;
    EXPECT_EQ(Mismatches(shot, {left + 50, top + 1, left + 100, top + 14}, PixelOf(clHighlight)), 0);
    EXPECT_EQ(shot.At(left - 1, top + 7) & 0xFFFFFFu, PixelOf(clWindow) & 0xFFFFFFu);
    EXPECT_EQ(shot.At(left + 101, top + 7) & 0xFFFFFFu, PixelOf(clWindow) & 0xFFFFFFu);
    // Below the sixth row the strip above the bar stays empty; the bar is not the window colour.
    const int barTop = kTop + 2 + 120 - 16;
    EXPECT_EQ(Mismatches(shot, {kLeft + 2, kTop + 2 + 90, kLeft + 305, barTop}, PixelOf(clWindow)), 0);
    EXPECT_GT(Mismatches(shot, {kLeft + 2, barTop, kLeft + 305, barTop + 16}, PixelOf(clWindow)), 1000);
}

}  // namespace
}  // namespace se
