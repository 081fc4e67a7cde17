#include "controls/popupmenu/PopupMenu.h"

#include "controls/popupmenu/PopupWindow.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/toolkit/WinControl.h"

namespace se {

namespace {

TSeCustomPopupMenu*& OpenMenuSlot() {
    static TSeCustomPopupMenu* menu = nullptr;
    return menu;
}

}  // namespace

TSeCustomPopupMenu::TSeCustomPopupMenu(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner), items_(new TSeCustomItem(this)) {
    items_->SetTreeOptions(&options_);
}

TSeCustomPopupMenu::~TSeCustomPopupMenu() {
    if (tracking_) tracking_->End();
    if (OpenMenuSlot() == this) OpenMenuSlot() = nullptr;
    // The items go first, so none of them outlives the options it points at.
    delete items_;
    SetPopupComponent(nullptr);
}

void TSeCustomPopupMenu::SetPopupMenuOptions(const TSePopupMenuOptions& value) {
    options_.Assign(value);
    items_->SetTreeOptions(&options_);
}

void TSeCustomPopupMenu::SetPopupComponent(vcl::TComponent* value) {
    if (value == popupComponent_) return;
    if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = value;
    if (popupComponent_) popupComponent_->FreeNotification(this);
}

TSeCustomPopupMenu* TSeCustomPopupMenu::OpenMenu() { return OpenMenuSlot(); }

void TSeCustomPopupMenu::CloseMenu() {
    if (tracking_) tracking_->End();
}

void TSeCustomPopupMenu::DoPopup() { vcl::Fire(OnPopup, this); }

void TSeCustomPopupMenu::Popup(int X, int Y) {
    if (tracking_) return;  // already open: one opening at a time
    if (TSeCustomPopupMenu* other = OpenMenuSlot(); other && other != this) {
        other->CloseMenu();
        vcl::ProcessPendingMessages();
    }
    TSeCustomPopupMenu* previous = OpenMenuSlot();
    OpenMenuSlot() = this;
    rtl::ScopeExit restore([&] { OpenMenuSlot() = previous == this ? nullptr : previous; });
    items_->SetTreeOptions(&options_);
    if (auto* control = dynamic_cast<vcl::TWinControl*>(Owner())) items_->SetTreeOwningControl(control);
    items_->SetTreeOpenedByPopup(true);
    items_->SetTreeAnimationAllowed(true);
    DoPopup();
    if (!items_->HasVisibleChildren()) return;
    TSeMenuTracking tracking;
    tracking_ = &tracking;
    rtl::ScopeExit done([this] { tracking_ = nullptr; });
    ShowChildren(*items_, nullptr, X, Y, vcl::TRect{}, tracking);
}

void TSeCustomPopupMenu::Notification(vcl::TComponent* component, vcl::TOperation operation) {
    vcl::TComponent::Notification(component, operation);
    if (operation == vcl::opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

}  // namespace se
