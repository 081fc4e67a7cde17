#pragma once
// TSeCustomComboBox: the control set's combo box, an edit field with a drop-down button and an
// item list (a TSeCustomListBox it owns for its whole life). The list drops down in a
// TSeComboWindow: a borderless, top-most pop-up window that never takes the activation, so the
// form keeps its active caption and the combo box keeps the keyboard focus. While the list is open
// the combo box hands the keys to it (Enter and Space pick, Escape closes), and a press anywhere
// outside the list closes it, as does the combo box losing the focus (another window activated).
// TSeSkinComboBox is the class forms place; without a skin host it is exactly TSeCustomComboBox.
//
// Text typed into a kcsDropDown box leaves ItemIndex alone; ItemIndex writes put the item's text
// into the edit part. In kcsDropDownList the text is always the current item.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "controls/edit/Edit.h"
#include "controls/listbox/ListBox.h"
#include "platform/runtime/Timer.h"
#include "platform/toolkit/CustomControl.h"

namespace se {

enum TSeComboStyle : uint8_t { kcsDropDown, kcsDropDownList };
enum TSeComboButtonAlign : uint8_t { cbaLeft, cbaRight };

using TSeComboBoxAllowChangeEvent =
    std::function<void(vcl::TObject* Sender, int ItemIndex, const std::u16string& Text, bool& Allow)>;

class TSeCustomComboBox;

// The drop-down window: top-most, borderless, shown and hidden without activation.
class TSeComboWindow : public vcl::TCustomControl {
public:
    explicit TSeComboWindow(TSeCustomComboBox& combo);
    void WndProc(vcl::TMessage& message) override;

protected:
    void CreateParams(vcl::TCreateParams& params) override;
};

class TSeCustomComboBox : public TSeCustomEdit {
public:
    explicit TSeCustomComboBox(vcl::TComponent* AOwner);
    ~TSeCustomComboBox() override;

    // The list's items, index and settings, besides the edit field's.
    const vcl::TStoredProperties& StoredProperties() const override;

    // In kcsDropDownList with a valid ItemIndex, the item; otherwise the edit text.
    std::u16string Text() const;
    using TSeCustomEdit::SetText;

    TSeListBoxItems& Items() { return listBox_->Items(); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    TSeComboStyle ComboStyle() const { return comboStyle_; }
    void SetComboStyle(TSeComboStyle value);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value) { dropDownCount_ = value; }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value) { itemHeight_ = value; }
    bool AutoComplete() const { return autoComplete_; }
    void SetAutoComplete(bool value) { autoComplete_ = value; }
    TSeComboButtonAlign ButtonAlign() const { return buttonAlign_; }
    void SetButtonAlign(TSeComboButtonAlign value);
    TSeListBoxStyle ListStyle() const { return listBox_->ListStyle(); }
    void SetListStyle(TSeListBoxStyle value);
    bool Sorted() const { return listBox_->Sorted(); }
    void SetSorted(bool value) { listBox_->SetSorted(value); }

    TSeCustomListBox& ListBox() { return *listBox_; }
    // The current drop-down window (null before the first opening).
    TSeComboWindow* DropDownWindow() const { return dropDownWindow_; }
    bool DroppedDown() const;
    bool ButtonPressed() const { return buttonPressed_; }
    bool ButtonHot() const { return buttonHot_; }
    // The drop-down button in control coordinates.
    vcl::TRect ButtonRect();

    // Creates, places and shows the drop-down window with the list in it.
    virtual void DropDown();
    // Takes the list back and closes the window.
    virtual void CloseUp();

    void Loaded() override;
    void WndProc(vcl::TMessage& message) override;

    vcl::TNotifyEvent OnDropDown;
    vcl::TNotifyEvent OnCloseUp;
    vcl::TNotifyEvent OnListBoxClick;
    TSeComboBoxAllowChangeEvent OnAllowChange;

protected:
    // The virtual steps, in slot order.
    virtual void ShowList();
    virtual TSeCustomListBox* CreateListBox(vcl::TComponent* owner);
    virtual int GetButtonWidth() { return 15; }

    void GetTextRect(vcl::TRect& rect) override;
    void PaintBackground(const vcl::TRect& rect, vcl::TCanvas& canvas) override;
    void PaintFace() override;
    bool PaintsText() const override { return comboStyle_ != kcsDropDownList; }
    void Change() override;
    void KeyDown(uint16_t& key, vcl::TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(vcl::TMouseButtonKind button, vcl::TShiftState shift, int x, int y) override;
    void MouseMove(vcl::TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    bool DoMouseWheel(vcl::TShiftState shift, int wheelDelta, vcl::TPoint mousePos) override;
    void WMSetFocus(vcl::TMessage& message) override;
    void WMKillFocus(vcl::TMessage& message) override;
    void WMGetDlgCode(vcl::TMessage& message) override;
    void WMSetCursor(vcl::TMessage& message) override;
    void WMContextMenu(vcl::TMessage& message) override;

    // Builds the list; the skin-aware class calls it again to make its own kind.
    void InitListBox();

private:
    friend class TSeComboWindow;
    // Closes the list; refocus says whether the combo box takes the focus back.
    void CloseList(bool refocus);
    void ListItemClicked();
    // Enter or Space in the open list.
    void PickListItem();
    void CompleteTimerTick();
    // Watches the application's messages for a press outside the open list.
    void Watch(bool on);
    bool IsOutsidePress(const vcl::TMsg& msg);
    // Moves ItemIndex by -step (a wheel turn).
    void WheelMoved(int step);

    TSeCustomListBox* listBox_ = nullptr;
    TSeComboButtonAlign buttonAlign_ = cbaRight;
    bool buttonHot_ = false;
    bool buttonPressed_ = false;
    int dropDownCount_ = 8;
    int itemHeight_ = 15;
    int itemIndex_ = -1;
    TSeComboStyle comboStyle_ = kcsDropDown;
    bool autoComplete_ = false;
    std::u16string lastText_;
    bool completing_ = false;
    vcl::TTimer* completeTimer_ = nullptr;
    bool savedReadOnly_ = false;
    TSeComboWindow* dropDownWindow_ = nullptr;
    bool watching_ = false;
    std::function<void(vcl::TMsg&, bool&)> previousOnMessage_;
    bool closing_ = false;
};

class TSeSkinComboBox : public TSeSkinAware<TSeCustomComboBox> {
public:
    explicit TSeSkinComboBox(vcl::TComponent* AOwner);

protected:
    TSeCustomListBox* CreateListBox(vcl::TComponent* owner) override;
    void ShowList() override;
};

}  // namespace se
