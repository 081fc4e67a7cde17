#include "controls/listbox/ListBox.h"

#include <algorithm>

#include "controls/surface/Primitives.h"
#include "platform/draw/ColorNames.h"
#include "platform/draw/FontCache.h"
#include "platform/draw/FrameControl.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Control.h"
#include "platform/toolkit/ScreenCanvas.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

namespace se {

using namespace vcl;

// --- Items ------------------------------------------------------------------------------------

void TSeListBoxItems::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EInvalidOperation("List index out of bounds (" + std::to_string(index) + ")");
}

const std::u16string& TSeListBoxItems::operator[](int index) const {
    CheckIndex(index);
    return strings_[static_cast<size_t>(index)];
}

intptr_t TSeListBoxItems::Objects(int index) const {
    CheckIndex(index);
    return objects_[static_cast<size_t>(index)];
}

int TSeListBoxItems::Add(const std::string& utf8) { return Add(rtl::Utf8ToUtf16(utf8)); }

int TSeListBoxItems::AddObject(const std::u16string& value, intptr_t object) {
    int index = Count();
    if (sorted_) index = static_cast<int>(std::upper_bound(strings_.begin(), strings_.end(), value) - strings_.begin());
    strings_.insert(strings_.begin() + index, value);
    objects_.insert(objects_.begin() + index, object);
    owner_.ItemsChanged();
    return index;
}

void TSeListBoxItems::Insert(int index, const std::u16string& value) {
    if (index < 0 || index > Count()) CheckIndex(index);
    strings_.insert(strings_.begin() + index, value);
    objects_.insert(objects_.begin() + index, 0);
    owner_.ItemsChanged();
}

void TSeListBoxItems::Delete(int index) {
    CheckIndex(index);
    strings_.erase(strings_.begin() + index);
    objects_.erase(objects_.begin() + index);
    owner_.ItemsChanged();
}

void TSeListBoxItems::Exchange(int a, int b) {
    CheckIndex(a);
    CheckIndex(b);
    std::swap(strings_[static_cast<size_t>(a)], strings_[static_cast<size_t>(b)]);
    std::swap(objects_[static_cast<size_t>(a)], objects_[static_cast<size_t>(b)]);
    owner_.ItemsChanged();
}

void TSeListBoxItems::Clear() {
    strings_.clear();
    objects_.clear();
    owner_.ItemsChanged();
}

void TSeListBoxItems::Put(int index, const std::u16string& value) {
    CheckIndex(index);
    strings_[static_cast<size_t>(index)] = value;
    owner_.ItemsChanged();
}

void TSeListBoxItems::PutObject(int index, intptr_t object) {
    CheckIndex(index);
    objects_[static_cast<size_t>(index)] = object;
    owner_.ItemsChanged();
}

int TSeListBoxItems::IndexOf(std::u16string_view value) const {
    const auto it = std::find(strings_.begin(), strings_.end(), value);
    return it == strings_.end() ? -1 : static_cast<int>(it - strings_.begin());
}

void TSeListBoxItems::Assign(const std::vector<std::u16string>& values) {
    BeginUpdate();
    strings_ = values;
    objects_.assign(values.size(), 0);
    if (sorted_) Sort();
    EndUpdate();
}

void TSeListBoxItems::BeginUpdate() {
    if (updateCount_++ == 0) owner_.SetUpdating(true);
}

void TSeListBoxItems::EndUpdate() {
    if (updateCount_ == 0 || --updateCount_ > 0) return;
    owner_.SetUpdating(false);
    owner_.Invalidate();
    owner_.ItemsChanged();
}

void TSeListBoxItems::SetSorted(bool value) {
    if (value == sorted_) return;
    sorted_ = value;
    if (!sorted_) return;
    Sort();
    owner_.ItemsChanged();
}

void TSeListBoxItems::Sort() {
    std::vector<size_t> order(strings_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return strings_[a] < strings_[b]; });
    std::vector<std::u16string> strings;
    std::vector<intptr_t> objects;
    for (size_t i : order) {
        strings.push_back(strings_[i]);
        objects.push_back(objects_[i]);
    }
    strings_ = std::move(strings);
    objects_ = std::move(objects);
}

// --- The list ---------------------------------------------------------------------------------

TSeCustomListBox::TSeCustomListBox(TComponent* AOwner) : TSeCustomControl(AOwner) {
    SetPerformance(kspDoubleBuffer);
    SetColor(clWindow);
    SetParentColor(false);
    SetBevelKind(kbkSingle);
    SetBevelWidth(1);
    SetBorderWidth(0);
    SetTabStop(true);
    controlStyle_ |= csCaptureMouse | csDoubleClicks;
    SetBounds(Left(), Top(), 121, 97);
    InitScrollBar();
}

TSeCustomListBox::~TSeCustomListBox() = default;

void TSeCustomListBox::InitScrollBar() {
    delete scrollBar_;
    scrollBar_ = CreateScrollBar();
    scrollBar_->SetParent(this);
    scrollBar_->SetKind(sbVertical);
    scrollBar_->SetBorderWidth(0);
    scrollBar_->SetVisible(true);
    scrollBar_->OnScroll = [this](TObject*, TSeScrollCode, int& pos) {
        if (scrollBar_->PageSize() != 0) pos = std::min(pos, MaxScrollPosition());
    };
    scrollBar_->OnChange = [this](TObject*) { ListScrolled(); };
    UpdateScrollBar();
}

TSeCustomScrollBar* TSeCustomListBox::CreateScrollBar() { return new TSeCustomScrollBar(this); }

int TSeCustomListBox::MaxScrollPosition() const {
    return scrollBar_->Max() - scrollBar_->PageSize() + 1;
}

void TSeCustomListBox::SetScrollPosition(int pos) {
    if (scrollBar_->PageSize() != 0) pos = std::min(pos, MaxScrollPosition());
    scrollBar_->SetPosition(std::max(pos, scrollBar_->Min()));
}

void TSeCustomListBox::ItemsChanged() {
    const int count = items_.Count();
    if (count == 0) itemIndex_ = -1;
    else if (itemIndex_ == -1) itemIndex_ = 0;
    // Deleted items take the current item and the anchor with them.
    itemIndex_ = std::min(itemIndex_, count - 1);
    if (anchorIndex_ >= count) anchorIndex_ = count - 1;
    if (hotIndex_ >= count) hotIndex_ = -1;
    if (hotCheckIndex_ >= count) hotCheckIndex_ = -1;
    const auto size = static_cast<size_t>(count);
    states_.resize(size, cbUnchecked);
    itemEnabled_.resize(size, true);
    selected_.resize(size, false);
    if (updating_) return;
    UpdateScrollBar();
    Invalidate();
}

bool TSeCustomListBox::Selected(int index) const {
    return index >= 0 && index < items_.Count() && selected_[static_cast<size_t>(index)];
}

void TSeCustomListBox::SetSelected(int index, bool value) {
    if (index < 0 || index >= items_.Count() || selected_[static_cast<size_t>(index)] == value) return;
    selected_[static_cast<size_t>(index)] = value;
    Invalidate();
}

TSeCheckState TSeCustomListBox::State(int index) const {
    return index >= 0 && index < items_.Count() ? states_[static_cast<size_t>(index)] : cbUnchecked;
}

void TSeCustomListBox::SetState(int index, TSeCheckState value) {
    if (index < 0 || index >= items_.Count() || states_[static_cast<size_t>(index)] == value) return;
    states_[static_cast<size_t>(index)] = value;
    Invalidate();
}

bool TSeCustomListBox::ItemEnabled(int index) const {
    return index >= 0 && index < items_.Count() && itemEnabled_[static_cast<size_t>(index)];
}

void TSeCustomListBox::SetItemEnabled(int index, bool value) {
    if (index < 0 || index >= items_.Count() || itemEnabled_[static_cast<size_t>(index)] == value) return;
    itemEnabled_[static_cast<size_t>(index)] = value;
    Invalidate();
}

int TSeCustomListBox::SelCount() const { return static_cast<int>(std::count(selected_.begin(), selected_.end(), true)); }

void TSeCustomListBox::SetMultiSelect(bool value) {
    if (value == multiSelect_) return;
    multiSelect_ = value;
    std::fill(selected_.begin(), selected_.end(), false);
    Invalidate();
}

void TSeCustomListBox::SetShowCheckBoxes(bool value) {
    if (value == showCheckBoxes_) return;
    showCheckBoxes_ = value;
    Invalidate();
}

void TSeCustomListBox::SetFlat(bool value) {
    if (value == flat_) return;
    flat_ = value;
    Invalidate();
}

void TSeCustomListBox::SetAllowGrayed(bool value) {
    if (value == allowGrayed_) return;
    allowGrayed_ = value;
    for (auto& state : states_)
        if (state == cbGrayed) state = cbChecked;
    Invalidate();
}

void TSeCustomListBox::SetAlwaysShowScrlBar(bool value) {
    if (value == alwaysShowScrlBar_) return;
    alwaysShowScrlBar_ = value;
    UpdateScrollBar();
    Invalidate();
}

void TSeCustomListBox::SetItemHeight(int value) {
    if (value == itemHeight_) return;
    itemHeight_ = value;
    UpdateScrollBar();
    Invalidate();
}

void TSeCustomListBox::SetListStyle(TSeListBoxStyle value) {
    if (value == listStyle_) return;
    listStyle_ = value;
    FillForStyle();
    UpdateScrollBar();
    Invalidate();
}

void TSeCustomListBox::SetFontDevice(TSeFontDevice value) {
    if (value == fontDevice_) return;
    fontDevice_ = value;
    if (listStyle_ == lbFonts || listStyle_ == lbFontSamples) FillForStyle();
}

void TSeCustomListBox::SetFontType(TSeFontType value) {
    if (value == fontType_) return;
    fontType_ = value;
    if (listStyle_ == lbFonts || listStyle_ == lbFontSamples) FillForStyle();
}

void TSeCustomListBox::FillForStyle() {
    const bool fonts = listStyle_ == lbFonts || listStyle_ == lbFontSamples;
    const bool colors = listStyle_ == lbColors || listStyle_ == lbColorNames;
    if (!fonts && !colors) return;
    items_.BeginUpdate();
    items_.Clear();
    if (fonts) {
        // The printer offers the families the screen does: there is no separate printer font set.
        for (const FontFamilyInfo& family : EnumerateFontFamilies()) {
            if ((fontType_ == ftTrueType && !family.trueType) || (fontType_ == ftFixedPitch && !family.fixedPitch)) continue;
            items_.AddObject(rtl::Utf8ToUtf16(family.name),
                             (family.trueType ? kFontTrueType : 0) | (family.fixedPitch ? kFontFixedPitch : 0));
        }
    } else {
        for (const NamedColor& color : StandardColors()) items_.AddObject(rtl::Utf8ToUtf16(color.name), color.value);
    }
    items_.EndUpdate();
    SetItemHeight(18);
}

// --- Geometry ---------------------------------------------------------------------------------

int TSeCustomListBox::GetItemHeight(int index) {
    if (listStyle_ == lbOwnerDrawVariable && OnMeasureItem && !MultiColumn()) {
        int height = itemHeight_;
        OnMeasureItem(this, index, height);
        return height;
    }
    if (!wordWrap_ || MultiColumn()) return itemHeight_;
    // The height the text needs wrapped into the item's width, from one line up.
    TScreenCanvas screen(Font());
    TRect r{0, 0, std::max(ItemWidth() - 2, 1), WideTextHeight(screen.Canvas(), u"Pq")};
    DrawWideText(screen.Canvas(), items_[index], r, DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT | DT_LEFT);
    return std::max(r.Height(), 1);
}

void TSeCustomListBox::SetWordWrap(bool value) {
    if (value == wordWrap_) return;
    wordWrap_ = value;
    UpdateScrollBar();
    Invalidate();
}

void TSeCustomListBox::SetColumns(int value) {
    value = std::max(value, 0);
    if (value == columns_) return;
    const bool wasMultiColumn = MultiColumn();
    columns_ = value;
    {
        const rtl::ScopedFlag steps(keepingInView_);
        if (MultiColumn() != wasMultiColumn) {
            // The position changes its unit (items or columns): start again from the beginning.
            scrollBar_->SetKind(MultiColumn() ? sbHorizontal : sbVertical);
            scrollBar_->SetPosition(0);
        }
        UpdateScrollBar();
        ScrollIntoView(itemIndex_);
    }
    Invalidate();
}

int TSeCustomListBox::ColumnRows() const {
    const TRect content = ContentRect();
    const int area = content.Height() - (scrollBarShown_ ? scrollBar_->Height() : 0);
    return std::max(area / std::max(itemHeight_, 1), 1);
}

int TSeCustomListBox::ItemWidth() {
    const TRect content = ContentRect();
    int width = content.Width();
    if (MultiColumn()) width /= columns_;
    else if (scrollBarShown_ || alwaysShowScrlBar_ || HasState(csDesigning)) width -= scrollBar_->Width();
    if (showCheckBoxes_) width -= GetCheckColumnWidth();
    return width;
}

TSeCustomListBox::Row TSeCustomListBox::MakeRow(int index, int left, int top, int width, int height) {
    Row row{index, {}, {}};
    if (showCheckBoxes_) {
        TSize box;
        GetCheckBoxSize(box);
        const int x = left + (GetCheckColumnWidth() - box.cx) / 2;
        const int y = top + (height - box.cy) / 2;
        row.check = TRect{x, y, x + box.cx, y + box.cy};
        left += GetCheckColumnWidth();
    }
    row.item = TRect{left, top, left + width, top + height};
    return row;
}

std::vector<TSeCustomListBox::Row> TSeCustomListBox::VisibleRows() {
    std::vector<Row> rows;
    const TRect content = ContentRect();
    const int width = ItemWidth();
    const int first = std::max(scrollBar_->Position(), 0);
    if (MultiColumn()) {
        // Exactly Columns columns fit: the column width is the content width divided by them.
        const int perColumn = ColumnRows();
        const int columnWidth = content.Width() / columns_;
        for (int c = 0; c < columns_; ++c) {
            for (int r = 0; r < perColumn; ++r) {
                const int index = (first + c) * perColumn + r;
                if (index >= items_.Count()) return rows;
                rows.push_back(MakeRow(index, content.Left + c * columnWidth, content.Top + r * itemHeight_, width, itemHeight_));
            }
        }
        return rows;
    }
    int top = content.Top;
    for (int i = first; i < items_.Count() && top < content.Bottom; ++i) {
        const int h = GetItemHeight(i);
        rows.push_back(MakeRow(i, content.Left, top, width, h));
        top += std::max(h, 1);
    }
    return rows;
}

void TSeCustomListBox::ComputeVisibleRange() {
    if (MultiColumn()) {
        // Whole columns: the first item of the first column shown to the last of the last one.
        const int perColumn = ColumnRows();
        const int first = std::max(scrollBar_->Position(), 0);
        topIndex_ = first * perColumn;
        bottomIndex_ = std::min(items_.Count(), (first + columns_) * perColumn) - 1;
        return;
    }
    topIndex_ = scrollBar_->Position();
    bottomIndex_ = topIndex_ - 1;
    const int bottom = ContentRect().Bottom;
    for (const Row& row : VisibleRows())
        if (row.item.Top + row.item.Height() - 1 < bottom) bottomIndex_ = row.index;
}

int TSeCustomListBox::GetItemTop(int index) {
    if (MultiColumn()) return index < topIndex_ ? -1 : ContentRect().Top + index % ColumnRows() * itemHeight_;
    if (index < scrollBar_->Position()) return -1;
    int top = ContentRect().Top;
    for (int i = scrollBar_->Position(); i < index; ++i) top += GetItemHeight(i);
    return top;
}

void TSeCustomListBox::GetItemRect(int index, TRect& rect) {
    const TRect content = ContentRect();
    if (MultiColumn()) {
        // The whole cell, also for a column out of view (left of the content or beyond its right).
        const int perColumn = ColumnRows();
        const int columnWidth = content.Width() / columns_;
        const int left = content.Left + (index / perColumn - scrollBar_->Position()) * columnWidth;
        const int top = content.Top + index % perColumn * itemHeight_;
        rect = TRect{left, top, left + columnWidth, top + itemHeight_};
        return;
    }
    const int top = GetItemTop(index);
    int right = content.Right;
    if (scrollBarShown_) right -= scrollBar_->Width();
    rect = TRect{content.Left, top, right, top + GetItemHeight(index)};
}

bool TSeCustomListBox::ItemHitTest(int x, int y, const TRect& rect, int) { return rect.Contains({x, y}); }
bool TSeCustomListBox::CheckBoxHitTest(int x, int y, const TRect& rect, int) { return rect.Contains({x, y}); }

void TSeCustomListBox::UpdateScrollBar() {
    if (!scrollBar_) return;
    const bool shownBefore = scrollBarShown_;
    UpdateScrollRange();
    // Wrapped items grow when the bar takes its width: measure again with the final width.
    if (scrollBarShown_ != shownBefore && wordWrap_) UpdateScrollRange();
}

void TSeCustomListBox::UpdateScrollRange() {
    if (MultiColumn()) {
        UpdateColumnRange();
        return;
    }
    const TRect content = ContentRect();
    scrollBar_->SetBounds(content.Right - scrollBar_->Width(), content.Top, scrollBar_->Width(), content.Height());
    scrollBar_->UpdateThickness();
    scrollBar_->SetBounds(content.Right - scrollBar_->Width(), content.Top, scrollBar_->Width(), content.Height());
    scrollBar_->SetMin(0);
    const int count = items_.Count();
    if (!VariableHeights()) {
        scrollBar_->SetMax(std::max(count - 1, scrollBar_->Min()));
        const int h = count > 0 ? GetItemHeight(0) : 0;
        scrollBar_->SetPageSize(h > 0 ? content.Height() / h : 0);
    } else {
        scrollBar_->SetPageSize(0);
        // The smallest index from which the items to the end fit; the last item alone when even it
        // is taller than the view, so the range stays defined.
        int first = count;
        int used = 0;
        while (first > 0 && used + GetItemHeight(first - 1) <= content.Height()) used += GetItemHeight(--first);
        if (first == count) first = std::max(count - 1, 0);
        scrollBar_->SetMax(first);
    }
    ShowScrollBarIfNeeded();
}

void TSeCustomListBox::UpdateColumnRange() {
    const TRect content = ContentRect();
    scrollBar_->UpdateThickness();
    const int barHeight = scrollBar_->Height();
    scrollBar_->SetBounds(content.Left, content.Bottom - barHeight, content.Width(), barHeight);
    scrollBar_->SetMin(0);
    // The bar takes its height from the items only when it is shown, and it is shown when the
    // columns of the full height do not fit; fewer rows above it need at least as many columns.
    const int count = items_.Count();
    const auto columnsNeeded = [&](int height) {
        const int perColumn = std::max(height / std::max(itemHeight_, 1), 1);
        return (count + perColumn - 1) / perColumn;
    };
    const bool shown = HasState(csDesigning) || alwaysShowScrlBar_ || columnsNeeded(content.Height()) > columns_;
    const int columns = columnsNeeded(shown ? content.Height() - barHeight : content.Height());
    scrollBar_->SetMax(std::max(columns - 1, 0));
    scrollBar_->SetPageSize(columns_);  // the bar lowers it to the range when fewer columns are needed
    ShowScrollBarIfNeeded();
}

void TSeCustomListBox::ShowScrollBarIfNeeded() {
    const int range = scrollBar_->Max() - scrollBar_->Min() + 1;
    const bool needed = scrollBar_->PageSize() < range && scrollBar_->Max() != scrollBar_->Min();
    scrollBar_->SetVisible(HasState(csDesigning) || alwaysShowScrlBar_ || needed);
    scrollBarShown_ = scrollBar_->Visible();
    scrollBar_->SetEnabled(needed);
    if (scrollBar_->PageSize() != 0 && scrollBar_->Position() > MaxScrollPosition())
        scrollBar_->SetPosition(std::max(MaxScrollPosition(), 0));
    ComputeVisibleRange();
}

void TSeCustomListBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (AHeight != Height() && !HasState(csLoading) && !VariableHeights() && itemHeight_ > 0 &&
        HandleAllocated() && Align() != alLeft && Align() != alRight && Align() != alClient) {
        const TRect inner = GetInnerRect();
        const int insets = Height() - inner.Height();
        const int content = AHeight - insets;
        if (content > 0) AHeight = insets + content / itemHeight_ * itemHeight_;
    }
    TSeCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    UpdateScrollBar();
}

void TSeCustomListBox::Loaded() {
    TSeCustomControl::Loaded();
    UpdateScrollBar();
}

// --- Current item and selection ---------------------------------------------------------------

void TSeCustomListBox::SetItemIndex(int index) {
    if (index == itemIndex_) {
        if (anchorIndex_ == -1) anchorIndex_ = index;
        ApplySelection();
        return;
    }
    const int last = items_.Count() - 1;
    if (index > last) index = last;
    else if (index < -1) index = 0;
    itemIndex_ = index;
    ScrollIntoView(index);
    if (index != -1 && anchorIndex_ == -1) anchorIndex_ = index;
    ApplySelection();
    UpdateScrollBar();
    Invalidate();
}

void TSeCustomListBox::ScrollIntoView(int index) {
    ComputeVisibleRange();
    if (index < 0 || index >= items_.Count()) return;
    // The steps below repaint once, at the end.
    const rtl::ScopedFlag steps(keepingInView_);
    if (MultiColumn()) {
        const int column = index / ColumnRows();
        int first = scrollBar_->Position();
        if (column < first) first = column;
        else if (column >= first + columns_) first = column - columns_ + 1;
        SetScrollPosition(first);
        ComputeVisibleRange();
        return;
    }
    // Stops when the position no longer moves: a view shorter than one item cannot show it whole.
    while (bottomIndex_ < index) {
        const int before = scrollBar_->Position();
        SetScrollPosition(before + 1);
        ComputeVisibleRange();
        if (scrollBar_->Position() == before) break;
    }
    while (index < topIndex_) {
        const int before = scrollBar_->Position();
        SetScrollPosition(before - 1);
        ComputeVisibleRange();
        if (scrollBar_->Position() == before) break;
    }
}

void TSeCustomListBox::ApplySelection() {
    if (anchorIndex_ < 0) return;
    std::fill(selected_.begin(), selected_.end(), false);
    const int count = items_.Count();
    if (multiSelect_) {
        const int a = std::min(itemIndex_, anchorIndex_), b = std::max(itemIndex_, anchorIndex_);
        for (int i = std::max(a, 0); i <= b && i < count; ++i) selected_[static_cast<size_t>(i)] = true;
    } else if (itemIndex_ >= 0 && itemIndex_ < count) {
        selected_[static_cast<size_t>(itemIndex_)] = true;
    }
    Invalidate();
    Update();
}

void TSeCustomListBox::AdvanceState(int index) {
    if (!ItemEnabled(index)) return;
    const TSeCheckState state = states_[static_cast<size_t>(index)];
    SetState(index, state == cbUnchecked ? cbChecked : state == cbChecked && allowGrayed_ ? cbGrayed : cbUnchecked);
}

// --- Mouse ------------------------------------------------------------------------------------

void TSeCustomListBox::HotTrack(int x, int y) {
    hotIndex_ = -1;
    hotCheckIndex_ = -1;
    for (const Row& row : VisibleRows()) {
        if (showCheckBoxes_ && CheckBoxHitTest(x, y, row.check, row.index)) {
            hotCheckIndex_ = row.index;
            return;
        }
        if (ItemHitTest(x, y, row.item, row.index)) {
            hotIndex_ = row.index;
            return;
        }
    }
}

void TSeCustomListBox::MouseMove(TShiftState shift, int x, int y) {
    TSeCustomControl::MouseMove(shift, x, y);
    mouseX_ = x;
    mouseY_ = y;
    const int oldHot = hotIndex_, oldCheck = hotCheckIndex_;
    HotTrack(x, y);
    if (oldHot != hotIndex_ || oldCheck != hotCheckIndex_) {
        Invalidate();
        Update();
    }
    // Columns scroll sideways: the drag goes left or right of the list.
    const int along = MultiColumn() ? x : y, extent = MultiColumn() ? Width() : Height();
    if (along < 0) scrollBar_->SetAutoScrollUp(true);
    else if (along > extent) scrollBar_->SetAutoScrollDown(true);
    else {
        scrollBar_->SetAutoScrollUp(false);
        scrollBar_->SetAutoScrollDown(false);
    }
    if (tracking_ && hotIndex_ >= 0 && !(shift & ssCtrl)) {
        SetItemIndex(hotIndex_);
        ApplySelection();
    }
}

void TSeCustomListBox::ListScrolled() {
    if (keepingInView_) return;
    if (scrollBar_->AutoScrollUp()) {
        ComputeVisibleRange();
        SetItemIndex(MultiColumn() ? AutoScrollColumnItem(false) : topIndex_);
    } else if (scrollBar_->AutoScrollDown()) {
        ComputeVisibleRange();
        SetItemIndex(MultiColumn() ? AutoScrollColumnItem(true) : bottomIndex_);
    }
    ApplySelection();
    ComputeVisibleRange();
    HotTrack(mouseX_, mouseY_);
    Invalidate();
}

int TSeCustomListBox::AutoScrollColumnItem(bool last) const {
    const int perColumn = ColumnRows();
    const int row = std::clamp((mouseY_ - ContentRect().Top) / std::max(itemHeight_, 1), 0, perColumn - 1);
    const int column = std::max(scrollBar_->Position(), 0) + (last ? columns_ - 1 : 0);
    return std::min(column * perColumn + row, items_.Count() - 1);
}

void TSeCustomListBox::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) {
    if (CanFocus() && !Focused()) SetFocus();
    if (button != mbLeft) return;
    tracking_ = true;
    HotTrack(x, y);
    if (hotCheckIndex_ >= 0) {
        SetItemIndex(hotCheckIndex_);
        AdvanceState(hotCheckIndex_);
    } else if (hotIndex_ >= 0) {
        SetItemIndex(hotIndex_);
    }
    if (!(shift & ssShift)) anchorIndex_ = itemIndex_;
    if ((shift & ssCtrl) && multiSelect_) SetSelected(itemIndex_, !Selected(itemIndex_));
    else ApplySelection();
    TSeCustomControl::MouseDown(button, shift, x, y);
}

void TSeCustomListBox::MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) {
    TSeCustomControl::MouseUp(button, shift, x, y);
    tracking_ = false;
    scrollBar_->SetAutoScrollUp(false);
    scrollBar_->SetAutoScrollDown(false);
}

void TSeCustomListBox::MouseLeave() {
    TSeCustomControl::MouseLeave();
    mouseX_ = mouseY_ = -1;
    if (hotIndex_ < 0 && hotCheckIndex_ < 0) return;
    hotIndex_ = hotCheckIndex_ = -1;
    Invalidate();
}

bool TSeCustomListBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TSeCustomControl::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    const int step = WheelStep(wheelDelta, GetWheelScrollLines());
    if (step == 0) return true;
    SetScrollPosition(scrollBar_->Position() - step);
    return true;
}

// --- Keyboard ---------------------------------------------------------------------------------

void TSeCustomListBox::WMGetDlgCode(TMessage& message) { message.Result = DLGC_WANTARROWS; }

void TSeCustomListBox::KeyDown(uint16_t& key, TShiftState shift) {
    TSeCustomControl::KeyDown(key, shift);
    if (items_.Count() == 0) return;
    const int before = itemIndex_;
    // Left and Right move by a column; a page of columns moves by as many columns as are shown. In
    // one column a page moves at least one item whatever the page size.
    const int column = MultiColumn() ? ColumnRows() : 1;
    const int page = MultiColumn() ? column * columns_ : std::max(scrollBar_->PageSize() - 1, 1);
    bool move = true;
    switch (key) {
        case VK_RETURN:
        case VK_SPACE:
            AdvanceState(itemIndex_);
            move = false;
            break;
        case VK_PRIOR: SetItemIndex(itemIndex_ - page); break;
        case VK_NEXT: SetItemIndex(itemIndex_ + page); break;
        case VK_HOME: SetItemIndex(0); break;
        case VK_END: SetItemIndex(items_.Count() - 1); break;
        case VK_LEFT:
            if (itemIndex_ >= column) SetItemIndex(itemIndex_ - column);
            break;
        case VK_UP:
            if (itemIndex_ > 0) SetItemIndex(itemIndex_ - 1);
            break;
        case VK_RIGHT: SetItemIndex(itemIndex_ + column); break;
        case VK_DOWN: SetItemIndex(itemIndex_ + 1); break;
        default: return;
    }
    if (itemIndex_ < 0) SetItemIndex(0);
    if (clickOnKeyMove_ && itemIndex_ != before) Click();
    if (move) {
        if (!(shift & ssShift)) anchorIndex_ = itemIndex_;
        ApplySelection();
    }
}

void TSeCustomListBox::FocusEnter() {
    TSeCustomControl::FocusEnter();
    ApplySelection();
    Invalidate();
}

void TSeCustomListBox::FocusLeave() {
    TSeCustomControl::FocusLeave();
    tracking_ = false;
    ApplySelection();
    Invalidate();
}


// --- Painting ---------------------------------------------------------------------------------

void TSeCustomListBox::PaintFace() {
    TSeCustomControl::PaintFace();
    PaintBackground();
    TCanvas& canvas = *Canvas();
    const TRect content = ContentRect();
    const TSavedDC saved(canvas.Handle());
    IntersectClipRect(canvas.Handle(), content.Left, content.Top, content.Right, content.Bottom);
    PaintItems();
}

void TSeCustomListBox::PaintBackground() { FillRectColor(*Canvas(), ContentRect(), Color()); }

void TSeCustomListBox::PaintItems() {
    for (const Row& row : VisibleRows()) {
        if (showCheckBoxes_) DrawCheckBox(row.index, row.check);
        DrawItem(*Canvas(), row.index, row.item);
    }
}

void TSeCustomListBox::DrawItem(TCanvas& canvas, int index, const TRect& rect) {
    PaintItemOn(canvas, index, rect, Selected(index), HasFocus());
}

void TSeCustomListBox::PaintItemOn(TCanvas& canvas, int index, const TRect& rect, bool selected, bool focused) {
    if (index < 0 || index >= items_.Count()) return;
    TRect textRect = rect;
    textRect.Left += 2;
    const bool ownerDraw = (listStyle_ == lbOwnerDrawFixed || listStyle_ == lbOwnerDrawVariable) && OnDrawItem;
    if (ownerDraw) {
        TOwnerDrawState state = 0;
        if (selected) state |= odSelected;
        if (index == hotIndex_ && !selected) state |= odHotLight;
        if (index == itemIndex_ && focused) state |= odFocused;
        OnDrawItem(this, index, textRect, state);
        return;
    }
    canvas.Font().Assign(Font());
    if (listStyle_ >= lbFonts) {
        if (selected) FillRectColor(canvas, rect, clHighlight);
        canvas.Font().SetColor(selected ? clHighlightText : Font().Color());
        SetBkMode(canvas.Handle(), TRANSPARENT);
        DrawStyledItem(canvas, index, textRect);
        if (focused && !multiSelect_ && (selected || (index == itemIndex_ && !Selected(itemIndex_)))) canvas.DrawFocusRect(rect);
        return;
    }
    const std::u16string& text = items_[index];
    if (text == u"-") {
        const int y = rect.Top + rect.Height() / 2 - 1;
        FillRectColor(canvas, TRect{textRect.Left + 3, y, textRect.Right - 3, y + 1}, Font().Color());
        return;
    }
    TColor color = Font().Color();
    if (selected) {
        FillRectColor(canvas, rect, clHighlight);
        color = clHighlightText;
    } else if (index == hotIndex_) {
        color = clHighlight;
    }
    canvas.Font().SetColor(color);
    SetBkMode(canvas.Handle(), TRANSPARENT);
    TRect r = textRect;
    DrawWideText(canvas, text, r, (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER) | DT_NOPREFIX | DT_LEFT);
    if (focused && !multiSelect_ && (selected || (index == itemIndex_ && !Selected(itemIndex_)))) canvas.DrawFocusRect(rect);
}

namespace {

// The TrueType mark: two overlapping "T"s, our own 12 x 11 picture; '.' is transparent.
constexpr const char* kTrueTypeMark[] = {
    "KKKKKKK.....", "K..K..K.....", "...K........", "...K.GGGGGGG", "...K.G..G..G", "...K....G...",
    "..KKK...G...", "........G...", "........G...", "........G...", ".......GGG..",
};
constexpr int kMarkWidth = 12, kMarkHeight = 11;

void DrawTrueTypeMark(TCanvas& canvas, int x, int y) {
    for (int row = 0; row < kMarkHeight; ++row) {
        for (int col = 0; col < kMarkWidth; ++col) {
            const char c = kTrueTypeMark[row][col];
            if (c == 'K') canvas.SetPixel(x + col, y + row, clGray);
            else if (c == 'G') canvas.SetPixel(x + col, y + row, clBlack);
        }
    }
}

}  // namespace

void TSeCustomListBox::DrawStyledItem(TCanvas& canvas, int index, const TRect& textRect) {
    const std::u16string& name = items_[index];
    const intptr_t object = items_.Objects(index);
    const int h = textRect.Height();
    if (listStyle_ == lbColors) {
        const TRect swatch = textRect.Inflate(-4, -4);
        FillRectColor(canvas, swatch, static_cast<TColor>(object));
        FrameRectColor(canvas, swatch, clBlack);
        return;
    }
    TRect text = textRect;
    std::u16string shown = name;
    if (listStyle_ == lbColorNames) {
        const int top = textRect.Top + (h - 14) / 2;
        const TRect swatch{textRect.Left, top, textRect.Left + 20, top + 14};
        FillRectColor(canvas, swatch, static_cast<TColor>(object));
        FrameRectColor(canvas, swatch, clBlack);
        if (shown.find(u"cl") != std::u16string::npos) shown = shown.substr(std::min<size_t>(2, shown.size()));
        text.Left += 24;
    } else {
        if (object & kFontTrueType) DrawTrueTypeMark(canvas, textRect.Left + (18 - kMarkWidth) / 2, textRect.Top + (h - kMarkHeight) / 2);
        if (listStyle_ == lbFontSamples) canvas.Font().SetName(rtl::Utf16ToUtf8(name));
        text.Left += 22;
    }
    DrawWideText(canvas, shown, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
}

void TSeCustomListBox::DrawCheckBox(int index, const TRect& rect) {
    TCanvas& canvas = *Canvas();
    const TSeCheckState state = State(index);
    TRect r = rect;
    if (!flat_ || (index == hotCheckIndex_ && ItemEnabled(index))) {
        unsigned flags = DFCS_BUTTONCHECK;
        if (state != cbUnchecked) flags |= DFCS_CHECKED;
        DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, flags);
        return;
    }
    if (state != cbUnchecked) {
        DrawFrameControl(canvas.Handle(), &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT);
        FrameRectColor(canvas, rect, clWindow);
    }
    FrameRectColor(canvas, rect.Inflate(-1, -1), clBtnShadow);
}

// --- Skin-aware -------------------------------------------------------------------------------

TSeSkinListBox::TSeSkinListBox(TComponent* AOwner) : TSeSkinAware(AOwner, "ListBox") { InitScrollBar(); }

TSeCustomScrollBar* TSeSkinListBox::CreateScrollBar() {
    auto* bar = new TSeSkinScrollBar(this);
    bar->SetSkinEngine(SkinEngine());
    return bar;
}

}  // namespace se
