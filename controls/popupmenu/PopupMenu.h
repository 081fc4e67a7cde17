#pragma once
// TSeCustomPopupMenu: a popup menu the control set draws itself. It owns a tree of items (Items)
// and its window options; Popup(X, Y) opens the first level with its top-left at a screen point,
// runs the menu's own loop until the menu has closed and returns. The chosen item's click runs
// after that, from the click handler.
//
//   auto* menu = new TSeCustomPopupMenu(form);
//   auto* item = new TSeCustomItem(form);
//   item->SetCaption(u"&Copy");
//   item->OnClick = [](TObject*) { ... };
//   menu->Items().Add(item);
//   menu->Popup(x, y);          // or control->SetPopupMenu(menu): right click, menu key, Shift+F10
//
// It is a toolkit TPopupMenu, so any control's PopupMenu can be one; the toolkit's own item tree
// (TPopupMenu::Items) stays empty, Items here hides it.

#include <memory>

#include "controls/popupmenu/MenuItem.h"
#include "controls/popupmenu/MenuOptions.h"
#include "platform/toolkit/Menus.h"

namespace vcl {
class TCustomImageList;
}

namespace se {

class TSeMenuTracking;

class TSeCustomPopupMenu : public vcl::TPopupMenu {
public:
    explicit TSeCustomPopupMenu(vcl::TComponent* AOwner);
    ~TSeCustomPopupMenu() override;

    TSeCustomItem& Items() { return *items_; }
    vcl::TCustomImageList* Images() const { return items_->Images(); }
    void SetImages(vcl::TCustomImageList* value) { items_->SetImages(value); }
    TSePopupMenuOptions& PopupMenuOptions() { return options_; }
    // Copies the options and hands them to every item.
    void SetPopupMenuOptions(const TSePopupMenuOptions& value);
    // Opens the menu at the screen point and returns once it has closed. A menu without visible
    // items does not open (OnPopup has fired by then).
    void Popup(int X, int Y) override;
    // Asks the open menu to close; its loop ends as soon as it runs again.
    void CloseMenu();
    bool IsOpen() const { return tracking_ != nullptr; }
    // The menu of the set that is open now, or null.
    static TSeCustomPopupMenu* OpenMenu();

protected:
    // Fires OnPopup.
    virtual void DoPopup();

private:
    TSeCustomItem* items_;
    TSePopupMenuOptions options_;
    TSeMenuTracking* tracking_ = nullptr;
    // False once the menu is destroyed; a Popup still running (a handler freed the menu) sees it.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace se
