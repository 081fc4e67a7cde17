#pragma once
// TSeCustomListBox: the control set's list of text items with its own vertical scroll bar, hot
// tracking of the item under the pointer, single or multiple selection, optional check boxes,
// owner drawing and automatic scrolling while a selection is dragged above or below the list.
// The combo box's drop-down list is a TSeSkinListBox in the plain configuration (one column,
// single selection, no check boxes).
//
// ItemIndex is the current (keyboard focus) item; Selected flags are separate from it and follow
// it through ApplySelection once an anchor is set (a click, a key). In one column the scroll bar
// is vertical and its Position is the first item shown.
//
// With Columns > 0 the list shows that many columns of fixed-height rows side by side: items run
// down a column and on at the top of the next one, the bar is horizontal along the bottom and its
// Position is the first column shown. Left and Right move by a column, dragging the selection
// left or right of the list scrolls column by column. Wrapped and variable-height items take the
// fixed ItemHeight there.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/foundation/CustomControl.h"
#include "controls/foundation/SkinHook.h"
#include "controls/foundation/Types.h"
#include "controls/scrollbar/ScrollBar.h"

namespace se {

enum TSeListBoxStyle : uint8_t {
    lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbFonts, lbFontSamples, lbColors, lbColorNames
};
enum TSeFontDevice : uint8_t { fdScreen, fdPrinter };
enum TSeFontType : uint8_t { ftAll, ftTrueType, ftFixedPitch };
using TSeCheckState = TCheckBoxState;
// The object value of a font item: the family's kind.
inline constexpr intptr_t kFontTrueType = 1, kFontFixedPitch = 2;

enum TOwnerDrawStateFlag : uint8_t { odSelected = 1, odFocused = 2, odHotLight = 4 };
using TOwnerDrawState = uint8_t;
using TDrawItemEvent =
    std::function<void(vcl::TObject* Control, int Index, const vcl::TRect& Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = std::function<void(vcl::TObject* Control, int Index, int& Height)>;

class TSeCustomListBox;

// The items: wide strings, each with an object value, reported to the list box after each change.
class TSeListBoxItems {
public:
    explicit TSeListBoxItems(TSeCustomListBox& owner) : owner_(owner) {}

    int Count() const { return static_cast<int>(strings_.size()); }
    // Out-of-range indices raise vcl::EInvalidOperation.
    const std::u16string& operator[](int index) const;
    const std::u16string& Strings(int index) const { return (*this)[index]; }
    intptr_t Objects(int index) const;
    int Add(const std::u16string& value) { return AddObject(value, 0); }
    int Add(const std::string& utf8);
    int AddObject(const std::u16string& value, intptr_t object);
    void Insert(int index, const std::u16string& value);
    void Delete(int index);
    void Exchange(int a, int b);
    void Clear();
    void Put(int index, const std::u16string& value);
    void PutObject(int index, intptr_t object);
    // First index of a text, -1 when absent.
    int IndexOf(std::u16string_view value) const;
    void Assign(const std::vector<std::u16string>& values);
    void BeginUpdate();
    void EndUpdate();
    bool Sorted() const { return sorted_; }
    void SetSorted(bool value);

private:
    void CheckIndex(int index) const;
    void Sort();

    TSeCustomListBox& owner_;
    std::vector<std::u16string> strings_;
    std::vector<intptr_t> objects_;
    int updateCount_ = 0;
    bool sorted_ = false;
};

class TSeCustomListBox : public TSeCustomControl {
public:
    explicit TSeCustomListBox(vcl::TComponent* AOwner);
    ~TSeCustomListBox() override;

    TSeListBoxItems& Items() { return items_; }
    const TSeListBoxItems& Items() const { return items_; }
    int ItemIndex() const { return itemIndex_; }
    // The one way the current item moves: clamped, scrolled into view, selection applied.
    void SetItemIndex(int index);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    TSeCheckState State(int index) const;
    void SetState(int index, TSeCheckState value);
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool value);
    int SelCount() const;
    int TopIndex() const { return topIndex_; }
    int BottomIndex() const { return bottomIndex_; }
    int HotIndex() const { return hotIndex_; }
    int AnchorIndex() const { return anchorIndex_; }

    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool ShowCheckBoxes() const { return showCheckBoxes_; }
    void SetShowCheckBoxes(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value);
    bool AlwaysShowScrlBar() const { return alwaysShowScrlBar_; }
    void SetAlwaysShowScrlBar(bool value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    TSeListBoxStyle ListStyle() const { return listStyle_; }
    void SetListStyle(TSeListBoxStyle value);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value);
    // 0: one column, vertical scrolling; a negative count counts as 0.
    int Columns() const { return columns_; }
    void SetColumns(int value);
    // Items per column with Columns > 0: the rows of ItemHeight that fit above the bar, at least 1.
    int ColumnRows() const;
    TSeFontDevice FontDevice() const { return fontDevice_; }
    void SetFontDevice(TSeFontDevice value);
    TSeFontType FontType() const { return fontType_; }
    void SetFontType(TSeFontType value);
    bool Sorted() const { return items_.Sorted(); }
    void SetSorted(bool value) { items_.SetSorted(value); }
    bool ClickOnKeyMove() const { return clickOnKeyMove_; }
    void SetClickOnKeyMove(bool value) { clickOnKeyMove_ = value; }
    bool ScrollBarShown() const { return scrollBarShown_; }
    TSeCustomScrollBar& ScrollBar() { return *scrollBar_; }

    // Items were added, removed or changed (the item list calls it).
    void ItemsChanged();
    void SetUpdating(bool value) { updating_ = value; }
    // Range, page and visibility of the scroll bar from the items and the view.
    void UpdateScrollBar();
    // The content rectangle (inside the bevels).
    vcl::TRect ContentRect() const { return GetInnerRect(); }
    // Paints item index into rect on canvas in the list's Font (the combo box paints its current
    // item this way).
    void PaintItemOn(vcl::TCanvas& canvas, int index, const vcl::TRect& rect, bool selected, bool focused);

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    // The virtual steps, in slot order.
    virtual int GetItemTop(int index);
    virtual void GetItemRect(int index, vcl::TRect& rect);
    virtual int GetItemHeight(int index);
    virtual int GetCheckColumnWidth() { return 15; }
    virtual void GetCheckBoxSize(vcl::TSize& size) { size = {13, 13}; }
    virtual void DrawItem(vcl::TCanvas& canvas, int index, const vcl::TRect& rect);
    virtual void DrawCheckBox(int index, const vcl::TRect& rect);
    virtual bool ItemHitTest(int x, int y, const vcl::TRect& rect, int index);
    virtual bool CheckBoxHitTest(int x, int y, const vcl::TRect& rect, int index);
    TSeCustomScrollBar* CreateScrollBar() override;
    virtual void PaintBackground();
    virtual void PaintItems();

    void PaintFace() override;
    void KeyDown(uint16_t& key, vcl::TShiftState shift) override;
    void MouseDown(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void MouseMove(vcl::TShiftState shift, int x, int y) override;
    void MouseUp(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    bool DoMouseWheel(vcl::TShiftState shift, int wheelDelta, vcl::TPoint mousePos) override;
    void FocusEnter() override;
    void FocusLeave() override;
    void WMGetDlgCode(vcl::TMessage& message) override;

    // Called once by the constructor of the final class's base: creates and wires the scroll bar.
    void InitScrollBar();

private:
    struct Row {
        int index;
        vcl::TRect check;  // empty without check boxes
        vcl::TRect item;
    };
    // The rows now visible, top to bottom (with columns: column by column, left to right).
    std::vector<Row> VisibleRows();
    // The check and item rectangles of a row whose cell starts at (left, top).
    Row MakeRow(int index, int left, int top, int width, int height);
    int ItemWidth();
    void ComputeVisibleRange();
    // Scrolls the least needed so that item index is in view.
    void ScrollIntoView(int index);
    // The item the selection moves to while a drag scrolls the columns: the pointer's row in the
    // first (or last) column shown.
    int AutoScrollColumnItem(bool last) const;
    void ApplySelection();
    void HotTrack(int x, int y);
    void ListScrolled();
    void AdvanceState(int index);
    // The built-in styles fill the list themselves: font families or the standard colours.
    void FillForStyle();
    void DrawStyledItem(vcl::TCanvas& canvas, int index, const vcl::TRect& textRect);
    void SetScrollPosition(int pos);
    int MaxScrollPosition() const;
    void UpdateScrollRange();
    void UpdateColumnRange();
    // Visibility and enabling of the bar from its range; keeps the position inside the last page.
    void ShowScrollBarIfNeeded();
    bool MultiColumn() const { return columns_ > 0; }
    bool VariableHeights() const { return !MultiColumn() && (wordWrap_ || listStyle_ == lbOwnerDrawVariable); }

    bool updating_ = false;
    bool keepingInView_ = false;
    TSeListBoxItems items_{*this};
    bool alwaysShowScrlBar_ = false;
    bool showCheckBoxes_ = false;
    bool flat_ = true;
    bool tracking_ = false;
    int hotIndex_ = -1;
    int hotCheckIndex_ = -1;
    int mouseX_ = -1;
    int mouseY_ = -1;
    int anchorIndex_ = -1;
    int topIndex_ = 0;
    int bottomIndex_ = -1;
    bool scrollBarShown_ = false;
    std::vector<TSeCheckState> states_;
    std::vector<bool> itemEnabled_;
    bool allowGrayed_ = false;
    int itemIndex_ = -1;
    bool multiSelect_ = false;
    int columns_ = 0;
    bool wordWrap_ = false;
    TSeListBoxStyle listStyle_ = lbStandard;
    TSeFontDevice fontDevice_ = fdScreen;
    TSeFontType fontType_ = ftAll;
    bool clickOnKeyMove_ = true;
    int itemHeight_ = 16;
    TSeCustomScrollBar* scrollBar_ = nullptr;
    std::vector<bool> selected_;
};

class TSeSkinListBox : public TSeSkinAware<TSeCustomListBox> {
public:
    explicit TSeSkinListBox(vcl::TComponent* AOwner);

protected:
    TSeCustomScrollBar* CreateScrollBar() override;
};

}  // namespace se
