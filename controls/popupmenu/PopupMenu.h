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
//   menu->Popup(x, y);

#include "controls/popupmenu/MenuItem.h"
#include "controls/popupmenu/MenuOptions.h"
#include "platform/runtime/Component.h"

namespace vcl {
class TCustomImageList;
}

namespace se {

class TSeMenuTracking;

class TSeCustomPopupMenu : public vcl::TComponent {
public:
    explicit TSeCustomPopupMenu(vcl::TComponent* AOwner);
    ~TSeCustomPopupMenu() override;

    TSeCustomItem& Items() { return *items_; }
    vcl::TCustomImageList* Images() const { return items_->Images(); }
    void SetImages(vcl::TCustomImageList* value) { items_->SetImages(value); }
    TSePopupMenuOptions& PopupMenuOptions() { return options_; }
    // Copies the options and hands them to every item.
    void SetPopupMenuOptions(const TSePopupMenuOptions& value);
    // The component the menu was opened for (the edit field of a context menu).
    vcl::TComponent* PopupComponent() const { return popupComponent_; }
    void SetPopupComponent(vcl::TComponent* value);

    // Opens the menu at the screen point and returns once it has closed. A menu without visible
    // items does not open (OnPopup has fired by then).
    virtual void Popup(int X, int Y);
    // Asks the open menu to close; its loop ends as soon as it runs again.
    void CloseMenu();
    bool IsOpen() const { return tracking_ != nullptr; }
    // The menu of the set that is open now, or null.
    static TSeCustomPopupMenu* OpenMenu();

    vcl::TNotifyEvent OnPopup;

protected:
    virtual void DoPopup();
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;

private:
    TSeCustomItem* items_;
    TSePopupMenuOptions options_;
    vcl::TComponent* popupComponent_ = nullptr;
    TSeMenuTracking* tracking_ = nullptr;
};

}  // namespace se
