#include "controls/popupmenu/MenuItem.h"

#include <algorithm>
#include <unordered_map>

#include "platform/toolkit/ImageList.h"
#include "platform/rtl/NeverDestroyed.h"

namespace se {

namespace {

// Live items by serial number: a posted click finds its item here or learns it is gone.
std::unordered_map<uint64_t, TSeCustomItem*>& LiveItems() {
    static rtl::NeverDestroyed<std::unordered_map<uint64_t, TSeCustomItem*>> items;
    return *items;
}

uint64_t NextSerial() {
    static uint64_t serial = 0;
    return ++serial;
}

std::u16string KeyName(uint16_t key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::u16string(1, static_cast<char16_t>(key));
    if (key >= vcl::VK_F1 && key <= vcl::VK_F12) {
        std::u16string name = u"F";
        const int n = key - vcl::VK_F1 + 1;
        if (n >= 10) name += static_cast<char16_t>(u'0' + n / 10);
        name += static_cast<char16_t>(u'0' + n % 10);
        return name;
    }
    switch (key) {
        case vcl::VK_BACK: return u"BkSp";
        case vcl::VK_TAB: return u"Tab";
        case vcl::VK_RETURN: return u"Enter";
        case vcl::VK_ESCAPE: return u"Esc";
        case vcl::VK_SPACE: return u"Space";
        case vcl::VK_PRIOR: return u"PgUp";
        case vcl::VK_NEXT: return u"PgDn";
        case vcl::VK_END: return u"End";
        case vcl::VK_HOME: return u"Home";
        case vcl::VK_LEFT: return u"Left";
        case vcl::VK_UP: return u"Up";
        case vcl::VK_RIGHT: return u"Right";
        case vcl::VK_DOWN: return u"Down";
        case vcl::VK_INSERT: return u"Ins";
        case vcl::VK_DELETE: return u"Del";
        default: return {};
    }
}

}  // namespace

TShortCut ShortCut(uint16_t key, vcl::TShiftState shift) {
    if (key & 0xFF00) return 0;
    TShortCut result = key;
    if (shift & vcl::ssShift) result |= scShift;
    if (shift & vcl::ssCtrl) result |= scCtrl;
    if (shift & vcl::ssAlt) result |= scAlt;
    return result;
}

std::u16string ShortCutToText(TShortCut shortCut) {
    const std::u16string key = KeyName(static_cast<uint16_t>(shortCut & 0xFF));
    if (key.empty()) return {};
    std::u16string text;
    if (shortCut & scShift) text += u"Shift+";
    if (shortCut & scCtrl) text += u"Ctrl+";
    if (shortCut & scAlt) text += u"Alt+";
    return text + key;
}

// ---- TSeCustomItem -----------------------------------------------------------------------------

TSeCustomItem::TSeCustomItem(vcl::TComponent* AOwner) : vcl::TComponent(AOwner), serial_(NextSerial()) {
    LiveItems()[serial_] = this;
}

TSeCustomItem::~TSeCustomItem() {
    LiveItems().erase(serial_);
    SetImages(nullptr);
    Clear();
    if (parent_) parent_->Remove(this);
}

void TSeCustomItem::SetCaption(const std::u16string& value) {
    if (value == caption_) return;
    caption_ = value;
    Changed();
}

void TSeCustomItem::SetChecked(bool value) {
    if (value == checked_) return;
    checked_ = value;
    Changed();
}

void TSeCustomItem::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TSeCustomItem::SetVisible(bool value) {
    if (value == visible_) return;
    visible_ = value;
    Changed();
}

void TSeCustomItem::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    imageIndex_ = value;
    Changed();
}

void TSeCustomItem::SetImages(vcl::TCustomImageList* value) {
    if (value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
    Changed();
}

vcl::TCustomImageList* TSeCustomItem::ChildImages() const {
    for (const TSeCustomItem* item = this; item; item = item->parent_) {
        if (item->images_) return item->images_;
    }
    return nullptr;
}

void TSeCustomItem::SetShortCut(TShortCut value) {
    if (value == shortCut_) return;
    shortCut_ = value;
    Changed();
}

int TSeCustomItem::IndexOf(const TSeCustomItem* item) const {
    const auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TSeCustomItem::Add(TSeCustomItem* item) { Insert(Count(), item); }

void TSeCustomItem::Insert(int index, TSeCustomItem* item) {
    if (!item || item == this) return;
    if (item->parent_) item->parent_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
    item->owningControl_ = owningControl_;
    item->options_ = options_;
    Changed();
}

void TSeCustomItem::Remove(TSeCustomItem* item) {
    const int index = IndexOf(item);
    if (index < 0) return;
    items_.erase(items_.begin() + index);
    item->parent_ = nullptr;
    Changed();
}

void TSeCustomItem::Clear() {
    while (!items_.empty()) delete items_.back();  // each child takes itself out of the list
}

bool TSeCustomItem::HasVisibleChildren() const {
    return std::any_of(items_.begin(), items_.end(), [](const TSeCustomItem* i) { return i->Visible(); });
}

TSeCustomItem* TSeCustomItem::Find(const std::function<bool(const TSeCustomItem&)>& match) const {
    for (TSeCustomItem* item : items_) {
        if (match(*item)) return item;
        if (TSeCustomItem* found = item->Find(match)) return found;
    }
    return nullptr;
}

TSeCustomItem* TSeCustomItem::FindByCommand(intptr_t command) const {
    if (command == 0) return nullptr;
    return Find([command](const TSeCustomItem& i) { return i.command_ == command; });
}

TSeCustomItem* TSeCustomItem::FindByShortCut(TShortCut shortCut) const {
    if (shortCut == 0) return nullptr;
    return Find([shortCut](const TSeCustomItem& i) { return i.shortCut_ == shortCut; });
}

void TSeCustomItem::SetTreeOwningControl(vcl::TWinControl* control) {
    owningControl_ = control;
    for (TSeCustomItem* item : items_) item->SetTreeOwningControl(control);
}

void TSeCustomItem::SetTreeOptions(TSePopupMenuOptions* options) {
    options_ = options;
    for (TSeCustomItem* item : items_) item->SetTreeOptions(options);
}

void TSeCustomItem::SetTreeOpenedByPopup(bool value) {
    openedByPopup_ = value;
    for (TSeCustomItem* item : items_) item->SetTreeOpenedByPopup(value);
}

void TSeCustomItem::SetTreeAnimationAllowed(bool value) {
    animationAllowed_ = value;
    for (TSeCustomItem* item : items_) item->SetTreeAnimationAllowed(value);
}

TSeCustomItem* TSeCustomItem::FromSerial(uint64_t serial) {
    const auto it = LiveItems().find(serial);
    return it == LiveItems().end() ? nullptr : it->second;
}

void TSeCustomItem::Click() { vcl::Fire(OnClick, this); }

void TSeCustomItem::BeforeDropDown() { vcl::Fire(OnBeforeDropDown, this); }

void TSeCustomItem::Notification(vcl::TComponent* component, vcl::TOperation operation) {
    vcl::TComponent::Notification(component, operation);
    if (operation == vcl::opRemove && component == images_) images_ = nullptr;
}

void TSeCustomItem::Changed() { vcl::Fire(OnChange, this); }

// ---- TSeClickHandler ---------------------------------------------------------------------------

TSeClickHandler& TSeClickHandler::Instance() {
    static rtl::NeverDestroyed<TSeClickHandler> handler;
    return *handler;
}

void TSeClickHandler::Post(const TSeCustomItem& item) {
    vcl::MessageQueue().Post(this, SM_ITEMCLICK, static_cast<vcl::WPARAM>(item.Serial()));
}

void TSeClickHandler::HandleMessage(vcl::TMessage& m) {
    if (m.Msg != SM_ITEMCLICK) return;
    // The menu's windows go and what they covered repaints before the command runs.
    vcl::ProcessPendingMessages();
    // A message handled meanwhile may have freed the item.
    if (TSeCustomItem* item = TSeCustomItem::FromSerial(static_cast<uint64_t>(m.WParam))) item->Click();
}

}  // namespace se
