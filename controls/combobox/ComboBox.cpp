#include "controls/combobox/ComboBox.h"

#include <algorithm>

#include "controls/surface/Primitives.h"
#include "controls/surface/WindowServices.h"
#include "platform/draw/FrameControl.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Application.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/Window.h"

namespace se {

using namespace vcl;

namespace {

// Posted to the combo box to close the list after a list item was clicked: the list cannot leave
// its window while it is still handling that click.
constexpr UINT CM_SECLOSEUP = WM_APP + 0x5E1;

bool IsPress(UINT msg) {
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN || msg == WM_LBUTTONDBLCLK ||
           msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK || msg == WM_NCLBUTTONDOWN;
}

bool AsciiSameStart(std::u16string_view item, std::u16string_view typed) {
    if (item.size() < typed.size()) return false;
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    for (size_t i = 0; i < typed.size(); ++i)
        if (lower(item[i]) != lower(typed[i])) return false;
    return true;
}

}  // namespace

// --- The drop-down window ---------------------------------------------------------------------

TSeComboWindow::TSeComboWindow(TSeCustomComboBox& combo) : TCustomControl(&combo) { SetVisible(false); }

void TSeComboWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}

void TSeComboWindow::WndProc(TMessage& message) {
    switch (message.Msg) {
        case WM_ERASEBKGND: message.Result = 1; return;
        case WM_CLOSE: return;  // only the combo box closes it
        case WM_MOUSEACTIVATE: message.Result = MA_NOACTIVATE; return;
        default: TCustomControl::WndProc(message); return;
    }
}

// --- The combo box ----------------------------------------------------------------------------

TSeCustomComboBox::TSeCustomComboBox(TComponent* AOwner) : TSeCustomEdit(AOwner) {
    InitListBox();
    completeTimer_ = new TTimer(this);
    completeTimer_->SetEnabled(false);
    completeTimer_->SetInterval(100);
    completeTimer_->SetOnTimer([this](TObject*) { CompleteTimerTick(); });
}

namespace {

constexpr TEnumName<TSeComboStyle> kComboStyleNames[] = {{"kcsDropDown", kcsDropDown},
                                                         {"kcsDropDownList", kcsDropDownList}};
constexpr TEnumName<TSeListBoxStyle> kListStyleNames[] = {
    {"lbStandard", lbStandard}, {"lbOwnerDrawFixed", lbOwnerDrawFixed}, {"lbOwnerDrawVariable", lbOwnerDrawVariable},
    {"lbFonts", lbFonts},       {"lbFontSamples", lbFontSamples},       {"lbColors", lbColors},
    {"lbColorNames", lbColorNames}};

}  // namespace

const TStoredProperties& TSeCustomComboBox::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeCustomComboBox>(&TSeCustomEdit::StoredProperties(), {
        {"AutoComplete", [](auto& c, auto& v) { c.SetAutoComplete(v.Bool()); }},
        {"ComboStyle", [](auto& c, auto& v) { c.SetComboStyle(v.Enum(kComboStyleNames)); }},
        {"DropDownCount", [](auto& c, auto& v) { c.SetDropDownCount(v.Int()); }},
        {"ItemHeight", [](auto& c, auto& v) { c.SetItemHeight(v.Int()); }},
        {"Flat", [](auto& c, auto& v) { c.ListBox().SetFlat(v.Bool()); }},
        {"ListStyle", [](auto& c, auto& v) { c.SetListStyle(v.Enum(kListStyleNames)); }},
        {"ShowCheckBoxes", [](auto& c, auto& v) { c.ListBox().SetShowCheckBoxes(v.Bool()); }},
        // The list draws every item on one line; only that value can be stored.
        {"WordWrap", [](auto&, auto& v) { if (v.Bool()) v.Fail("wrapped list items are not offered"); }},
        {"Items.Strings", [](auto& c, auto& v) {
             std::vector<std::u16string> items;
             for (std::string_view item : v.Items()) items.push_back(rtl::Utf8ToUtf16(item));
             c.Items().Assign(items);
         }},
        {"ItemIndex", [](auto& c, auto& v) { c.SetItemIndex(v.Int()); }},
    });
    return table;
}

TSeCustomComboBox::~TSeCustomComboBox() {
    // Never takes the focus on the way out.
    if (listBox_) CloseList(false);
    Watch(false);
    delete dropDownWindow_;
    dropDownWindow_ = nullptr;
}

void TSeCustomComboBox::InitListBox() {
    delete listBox_;
    listBox_ = CreateListBox(this);
    listBox_->SetClickOnKeyMove(false);
    listBox_->SetVisible(false);
    listBox_->SetTabStop(false);
    listBox_->SetParent(this);
    if (!HasState(csDesigning)) listBox_->SetAlign(alClient);
    listBox_->OnClick = [this](TObject*) { ListItemClicked(); };
}

TSeCustomListBox* TSeCustomComboBox::CreateListBox(TComponent* owner) { return new TSeCustomListBox(owner); }

std::u16string TSeCustomComboBox::Text() const {
    if (comboStyle_ == kcsDropDownList && itemIndex_ >= 0 && itemIndex_ < listBox_->Items().Count())
        return listBox_->Items()[itemIndex_];
    return TSeCustomEdit::Text();
}

bool TSeCustomComboBox::DroppedDown() const { return listBox_ && listBox_->Visible() && listBox_->Parent() != this; }

void TSeCustomComboBox::SetButtonAlign(TSeComboButtonAlign value) {
    if (value == buttonAlign_) return;
    buttonAlign_ = value;
    Invalidate();
}

void TSeCustomComboBox::SetListStyle(TSeListBoxStyle value) {
    listBox_->SetListStyle(value);
    if (value == lbFonts || value == lbFontSamples || value == lbColors || value == lbColorNames) {
        listBox_->SetItemHeight(18);
        itemHeight_ = 18;
    }
    Invalidate();
}

void TSeCustomComboBox::SetItemIndex(int value) {
    itemIndex_ = value;
    if (comboStyle_ == kcsDropDown && HasState(csLoading)) return;
    const int last = listBox_->Items().Count() - 1;
    if (itemIndex_ < -1) itemIndex_ = 0;
    if (itemIndex_ > last) itemIndex_ = last;
    if (comboStyle_ == kcsDropDown) {
        if (itemIndex_ >= 0 && itemIndex_ <= last) SetText(listBox_->Items()[itemIndex_]);
    } else if (!HasState(csLoading)) {
        Change();
    }
    Invalidate();
}

void TSeCustomComboBox::SetComboStyle(TSeComboStyle value) {
    if (value == comboStyle_) return;
    comboStyle_ = value;
    if (value == kcsDropDown) {
        if (!HasState(csLoading)) SetReadOnly(savedReadOnly_);
        if (HandleAllocated() && Focused()) ShowCaret();
        savedReadOnly_ = ReadOnly();
    } else {
        if (itemIndex_ == -1) SetItemIndex(0);
        savedReadOnly_ = ReadOnly();
        SetReadOnly(true);
        SetText(std::u16string());
        if (HandleAllocated() && Focused()) HideCaret();
    }
    Invalidate();
}

void TSeCustomComboBox::Loaded() {
    completing_ = true;
    {
        const rtl::ScopeExit done([this] { completing_ = false; });
        TSeCustomEdit::Loaded();
    }
    lastText_.clear();
    Realign();
}

// --- Geometry ---------------------------------------------------------------------------------

void TSeCustomComboBox::GetTextRect(TRect& rect) {
    TSeCustomEdit::GetTextRect(rect);
    if (buttonAlign_ == cbaRight) rect.Right -= GetButtonWidth();
    else rect.Left += GetButtonWidth();
    rect.Bottom = rect.Top + TextHeight();
}

TRect TSeCustomComboBox::ButtonRect() {
    TRect r;
    GetTextRect(r);
    if (!AutoSize()) r.Bottom = CachedHeight() - r.Top;
    r = r.Inflate(2, 2);
    const int w = GetButtonWidth();
    if (buttonAlign_ == cbaRight) {
        r.Left = r.Right - w;
        r = r.Offset(w, 0);
    } else {
        r.Right = r.Left + w;
        r = r.Offset(-w, 0);
    }
    return r;
}

// --- Painting ---------------------------------------------------------------------------------

void TSeCustomComboBox::PaintBackground(const TRect& rect, TCanvas& canvas) {
    TRect r = rect;
    const int widen = BorderWidth() + 1;
    if (buttonAlign_ == cbaRight) r.Right += GetButtonWidth() + widen;
    else r.Left -= GetButtonWidth() + widen;
    FillRectColor(canvas, r, Color());
}

void TSeCustomComboBox::PaintFace() {
    TSeCustomEdit::PaintFace();
    TCanvas& canvas = *Canvas();
    TRect button = ButtonRect();
    DrawFrameControl(canvas.Handle(), &button, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | (buttonPressed_ ? DFCS_PUSHED : 0u));
    if (comboStyle_ != kcsDropDownList) return;
    TRect item;
    GetTextRect(item);
    item = item.Inflate(1, 1);
    const int count = listBox_->Items().Count();
    // The items may have shrunk since the index was set.
    if (itemIndex_ >= 0 && itemIndex_ < count) {
        const bool selected = count >= 2 ? HasFocus() : listBox_->Selected(itemIndex_);
        listBox_->Font().Assign(Font());
        listBox_->PaintItemOn(canvas, itemIndex_, item, selected, false);
    }
    if (HasFocus()) canvas.DrawFocusRect(item);
}

// --- Opening and closing ----------------------------------------------------------------------

void TSeCustomComboBox::DropDown() {
    if (dropDownWindow_) {
        CloseList(false);
        delete dropDownWindow_;
        dropDownWindow_ = nullptr;
    }
    dropDownWindow_ = new TSeComboWindow(*this);
    const TRect content = listBox_->ContentRect();
    const int insets = listBox_->Height() - content.Height();
    const int rows = dropDownCount_ * itemHeight_;
    const TPoint origin = ClientToScreen({0, Height()});
    int left = origin.X, top = origin.Y;
    const TRect work = MonitorRect(TPoint{left, top}, true);
    if (work.Bottom < top + rows) top = origin.Y - Height() - rows;
    if (work.Right < left + Width()) left = work.Right - Width();
    dropDownWindow_->SetBounds(left, top, Width(), rows + insets);

    TSeListBoxItems& items = listBox_->Items();
    for (int i = 0; i < items.Count(); ++i) listBox_->SetSelected(i, false);
    if (itemIndex_ >= 0) listBox_->SetSelected(itemIndex_, true);
    else if (items.Count() > 0) listBox_->SetSelected(0, true);
    listBox_->SetItemHeight(itemHeight_);
    listBox_->SetColor(Color());

    HWND handle = dropDownWindow_->Handle();
    SetWindowPos(handle, HwndTopMost(), left, top, Width(), rows + insets, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    ShowList();
    // The combo box keeps the focus and hands keys to the list: the form stays active.
    listBox_->Invalidate();
    Watch(true);
}

void TSeCustomComboBox::ShowList() {
    if (!listBox_->Visible()) {
        listBox_->SetParent(dropDownWindow_);
        listBox_->SetAlign(alClient);
        listBox_->Show();
        dropDownWindow_->Realign();
        listBox_->Font().Assign(Font());
    }
    if (OnDropDown) OnDropDown(this);
}

void TSeCustomComboBox::CloseUp() { CloseList(true); }

void TSeCustomComboBox::CloseList(bool refocus) {
    Watch(false);
    if (closing_) return;
    const rtl::ScopedFlag guard(closing_);
    const bool open = listBox_->Visible() || (listBox_->Parent() != this && HandleAllocated());
    if (open) {
        buttonPressed_ = false;
        listBox_->Hide();
        if (!HasState(csDestroying)) listBox_->SetParent(this);
        if (dropDownWindow_ && dropDownWindow_->HandleAllocated()) ShowWindow(dropDownWindow_->Handle(), SW_HIDE);
        Invalidate();
        if (refocus && Enabled() && !Focused() && CanFocus()) SetFocus();
        if (OnCloseUp) OnCloseUp(this);
    }
}

void TSeCustomComboBox::ListItemClicked() {
    if (OnListBoxClick) OnListBoxClick(this);
    bool allow = true;
    const int index = listBox_->ItemIndex();
    if (OnAllowChange && index >= 0) OnAllowChange(this, index, listBox_->Items()[index], allow);
    if (allow) SetItemIndex(index);
    if (HandleAllocated()) PostMessage(Handle(), CM_SECLOSEUP);
}

void TSeCustomComboBox::PickListItem() {
    SetItemIndex(listBox_->ItemIndex());
    CloseUp();
}

void TSeCustomComboBox::Watch(bool on) {
    if (on == watching_) return;
    watching_ = on;
    if (on) {
        previousOnMessage_ = Application->OnMessage;
        Application->OnMessage = [this](TMsg& msg, bool& handled) {
            if (previousOnMessage_) previousOnMessage_(msg, handled);
            if (handled || !IsOutsidePress(msg)) return;
            // A press on the drop button closes the list and goes no further, so it does not open
            // the list again.
            HWND target = static_cast<HWND>(msg.Target);
            const bool onButton = HandleAllocated() && target == Handle() &&
                                  ButtonRect().Contains({GET_X_LPARAM(msg.LParam), GET_Y_LPARAM(msg.LParam)});
            CloseUp();
            if (onButton) handled = true;
        };
    } else {
        Application->OnMessage = std::move(previousOnMessage_);
        previousOnMessage_ = nullptr;
    }
}

bool TSeCustomComboBox::IsOutsidePress(const TMsg& msg) {
    if (!IsPress(msg.Message) || !dropDownWindow_ || !dropDownWindow_->HandleAllocated()) return false;
    HWND target = static_cast<HWND>(msg.Target);
    HWND window = dropDownWindow_->Handle();
    return target != window && !IsChild(window, target);
}

// --- Input ------------------------------------------------------------------------------------

void TSeCustomComboBox::WMGetDlgCode(TMessage& message) {
    TSeCustomEdit::WMGetDlgCode(message);
    // Enter and Escape belong to the open list, not to the form's default and cancel buttons.
    if (DroppedDown()) message.Result |= DLGC_WANTALLKEYS;
}

void TSeCustomComboBox::KeyDown(uint16_t& key, TShiftState shift) {
    if (DroppedDown()) {
        switch (key) {
            case VK_RETURN:
            case VK_SPACE: PickListItem(); break;
            case VK_ESCAPE:
            case VK_F4: CloseUp(); break;
            case VK_DOWN:
            case VK_UP:
                if (shift & ssAlt) {
                    CloseUp();
                    break;
                }
                [[fallthrough]];
            default: listBox_->Perform(WM_KEYDOWN, key, 0); break;
        }
        key = 0;
        return;
    }
    TSeCustomEdit::KeyDown(key, shift);
    if (key == VK_DOWN && (shift & ssAlt)) {
        DropDown();
        return;
    }
    if (key == VK_F4 && !(shift & (ssAlt | ssCtrl | ssShift))) {
        DropDown();
        return;
    }
    const bool list = comboStyle_ == kcsDropDownList;
    const int before = itemIndex_;
    switch (key) {
        case VK_UP: SetItemIndex(before - 1); break;
        case VK_DOWN: SetItemIndex(before + 1); break;
        case VK_PRIOR:
            if (!list) return;
            SetItemIndex(before - 3);
            break;
        case VK_NEXT:
            if (!list) return;
            SetItemIndex(before + 3);
            break;
        case VK_HOME:
            if (!list) return;
            SetItemIndex(0);
            break;
        case VK_END:
            if (!list) return;
            SetItemIndex(listBox_->Items().Count() - 1);
            break;
        default: return;
    }
    if (itemIndex_ < 0) SetItemIndex(0);
}

void TSeCustomComboBox::KeyPress(char32_t& key) {
    // While the list is open, typing goes to the list, which has no use for it.
    if (DroppedDown()) {
        key = 0;
        return;
    }
    TSeCustomEdit::KeyPress(key);
}

void TSeCustomComboBox::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) {
    if (ButtonRect().Contains({x, y}) && !HasState(csDesigning)) {
        if (!Focused() && CanFocus()) SetFocus();
        if (button != mbLeft) return;
        buttonPressed_ = true;
        Invalidate();
        DropDown();
        return;
    }
    TSeCustomEdit::MouseDown(button, shift, x, y);
    if (comboStyle_ == kcsDropDownList && button != mbRight && !HasState(csDesigning)) DropDown();
}

void TSeCustomComboBox::MouseMove(TShiftState shift, int x, int y) {
    const bool hot = ButtonRect().Contains({x, y});
    if (hot != buttonHot_) {
        buttonHot_ = hot;
        Invalidate();
    }
    TSeCustomEdit::MouseMove(shift, x, y);
}

void TSeCustomComboBox::MouseLeave() {
    TSeCustomEdit::MouseLeave();
    if (!buttonHot_) return;
    buttonHot_ = false;
    Invalidate();
}

bool TSeCustomComboBox::DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) {
    if (TSeCustomEdit::DoMouseWheel(shift, wheelDelta, mousePos)) return true;
    if (DroppedDown()) {
        listBox_->Perform(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<uint16_t>(wheelDelta)),
                          MAKELPARAM(mousePos.X, mousePos.Y));
        return true;
    }
    WheelMoved(wheelDelta / 120);
    return true;
}

void TSeCustomComboBox::WMSetFocus(TMessage& message) {
    TSeCustomEdit::WMSetFocus(message);
    if (comboStyle_ == kcsDropDownList) HideCaret();
    Invalidate();
}

void TSeCustomComboBox::WMKillFocus(TMessage& message) {
    // The focus went elsewhere (another control, another window, another program): the list closes
    // without pulling the focus back.
    CloseList(false);
    TSeCustomEdit::WMKillFocus(message);
    Invalidate();
}

void TSeCustomComboBox::WMSetCursor(TMessage& message) {
    const TPoint p = ScreenToClient(GetCursorPos());
    SetCursor(comboStyle_ == kcsDropDownList || ButtonRect().Contains(p) ? crArrow : crIBeam);
    TSeCustomControl::WMSetCursor(message);
}

void TSeCustomComboBox::WMContextMenu(TMessage& message) {
    if (comboStyle_ == kcsDropDownList) return;
    TSeCustomEdit::WMContextMenu(message);
}

void TSeCustomComboBox::WheelMoved(int step) {
    if (step == 0) return;
    SetItemIndex(itemIndex_ - step);
    if (itemIndex_ < 0) SetItemIndex(0);
    Invalidate();
}

void TSeCustomComboBox::WndProc(TMessage& message) {
    if (message.Msg == CM_SECLOSEUP) {
        CloseUp();
        return;
    }
    if (message.Msg == CM_MOUSEWHEEL) {
        // A wheel forwarded by the form: lines as the wheel setting says, clamped to a usable range.
        WheelMoved(WheelStep(GET_WHEEL_DELTA_WPARAM(message.WParam), GetWheelScrollLines()));
        message.Result = 1;
        return;
    }
    TSeCustomEdit::WndProc(message);
}

// --- Auto-completion --------------------------------------------------------------------------

void TSeCustomComboBox::Change() {
    TSeCustomEdit::Change();
    if (HasState(csLoading) || HasState(csDesigning) || !autoComplete_ || completing_) return;
    completeTimer_->SetEnabled(false);
    completeTimer_->SetEnabled(true);
}

void TSeCustomComboBox::CompleteTimerTick() {
    completeTimer_->SetEnabled(false);
    const std::u16string text = TSeCustomEdit::Text();
    if (text.size() < lastText_.size()) {
        lastText_ = text;
        return;
    }
    if (text == lastText_ || completing_) return;
    lastText_ = text;
    const rtl::ScopedFlag guard(completing_);
    const TSeListBoxItems& items = listBox_->Items();
    for (int i = 0; i < items.Count(); ++i) {
        const std::u16string& item = items[i];
        if (!AsciiSameStart(item, text)) continue;
        SetText(item);
        // Only the completed tail is selected.
        SetSelStart(static_cast<int>(text.size()));
        SetSelLength(static_cast<int>(item.size() - text.size()));
        // The typed part now reads as the item spells it; deleting the tail must not complete again.
        lastText_ = item.substr(0, text.size());
        break;
    }
}

// --- Skin-aware -------------------------------------------------------------------------------

TSeSkinComboBox::TSeSkinComboBox(TComponent* AOwner) : TSeSkinAware(AOwner, "ComboBox") { InitListBox(); }

TSeCustomListBox* TSeSkinComboBox::CreateListBox(TComponent* owner) { return new TSeSkinListBox(owner); }

void TSeSkinComboBox::ShowList() {
    if (auto* skinList = dynamic_cast<TSeSkinListBox*>(&ListBox())) skinList->SetSkinEngine(SkinEngine());
    TSeCustomComboBox::ShowList();
}

}  // namespace se
