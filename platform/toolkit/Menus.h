#pragma once
// Pop-up menus of the toolkit: TMenuItem (Caption with the "&" rule, "-" for a separator line,
// Enabled, Visible, OnClick) and TPopupMenu, whose Popup(X, Y) shows the items in a top-most
// window that does not take the activation, painted in the classic look, and runs its own modal
// loop until the user picks an item or cancels:
//   - pointer: hovering highlights an item, a click (left or right button) on an enabled item
//     picks it, a click anywhere outside the menu closes it;
//   - keys: Up and Down move the highlight (over separators, around the ends), Enter picks the
//     highlighted item, Escape closes, an item's accelerator letter picks it;
//   - it also closes when the pointer capture is taken away, the active window changes or the
//     application terminates.
// Popup returns once the menu is closed; the picked item's OnClick runs after that.
//
//     auto* menu = new TPopupMenu(form);
//     menu->Items()->Add("&Copy", [&](TObject*) { ... });
//     menu->Items()->Add("-");
//     edit->SetPopupMenu(menu);   // right click, the menu key or Shift+F10 opens it
//
// Submenus, check marks, images and owner drawing are not supported.

#include <memory>
#include <string>
#include <vector>

#include "platform/runtime/Component.h"
#include "platform/window/Window.h"

namespace vcl {

class TControl;
class TPopupMenuWindow;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& value);
    // A caption of exactly "-" draws a separator line that cannot be picked.
    bool IsLine() const { return caption_ == "-"; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    // Child items, in order. Add and Insert take items of any owner; an item belongs to one
    // parent at a time and leaves it when destroyed.
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    TMenuItem* Parent() const { return parent_; }
    int IndexOf(const TMenuItem* item) const;
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    // Makes an item owned by this item's owner (or this item) and adds it.
    TMenuItem* Add(const std::string& caption, TNotifyEvent onClick = {});

    // Runs OnClick when the item is enabled.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    void Changed();

    std::string caption_;
    bool enabled_ = true;
    bool visible_ = true;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // The root whose children are the menu's items.
    TMenuItem* Items() const { return items_; }
    // Opened by a control's context menu (WM_CONTEXTMENU) when set; default true.
    bool AutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool value) { autoPopup_ = value; }
    // The control whose context menu opened the menu last.
    TControl* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TControl* value);

    // Shows the menu with its top-left at the screen point (moved to stay on the work area) and
    // returns when it closed; see above. Does nothing while this menu is already open.
    virtual void Popup(int x, int y);
    // Closes the open menu without picking anything.
    void CloseMenu();

    // While the menu is open: its window, the highlighted item's index among Items()'s children
    // (-1: none) and where an item lies in the window's client area (empty for hidden items).
    HWND WindowHandle() const;
    int HotIndex() const;
    TRect ItemRect(int index) const;

    // Before the menu opens: items may still be enabled, disabled, shown or hidden here.
    TNotifyEvent OnPopup;
    // After the menu closed, before the picked item's OnClick.
    TNotifyEvent OnClose;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* items_;
    bool autoPopup_ = true;
    TControl* popupComponent_ = nullptr;
    TPopupMenuWindow* window_ = nullptr;   // while open; owned by Popup
    std::shared_ptr<bool> alive_;          // false once destroyed, seen by a Popup still running
};

}  // namespace vcl
