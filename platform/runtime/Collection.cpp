#include "platform/runtime/Collection.h"

#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/ScopeExit.h"

namespace vcl {

// ---- items -------------------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) {
    if (collection) collection->InsertItem(this, false);
}

TCollectionItem::~TCollectionItem() {
    if (collection_) collection_->RemoveItem(this, TCollectionNotification::cnDeleting);
}

void TCollectionItem::SetCollection(TCollection* value) {
    if (value == collection_) return;
    if (collection_) collection_->RemoveItem(this, TCollectionNotification::cnExtracting);
    if (value) value->InsertItem(this, true);
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    const auto& items = collection_->items_;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int value) {
    if (!collection_ || value == Index()) return;
    collection_->MoveItem(this, value);
}

void TCollectionItem::Changed(bool allItems) {
    if (collection_) collection_->ItemChanged(allItems ? nullptr : this);
}

// ---- the collection ----------------------------------------------------------------------------

TCollection::TCollection(TItemFactory itemClass) : itemClass_(std::move(itemClass)) {}

TCollection::~TCollection() {
    // No notifications from a collection that is going away.
    OnUpdate = nullptr;
    ++updateCount_;
    for (TCollectionItem* item : items_) {
        item->collection_ = nullptr;
        delete item;
    }
    items_.clear();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) throw ECollectionError(rtl::Format("List index out of bounds (%d)", index));
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : items_) {
        if (item->id_ == id) return item;
    }
    return nullptr;
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = itemClass_(this);
    if (item->collection_ != this) {
        item->SetCollection(this);
        return item;
    }
    Notify(item, TCollectionNotification::cnAdded);
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    if (index < 0 || index > Count()) throw ECollectionError(rtl::Format("List index out of bounds (%d)", index));
    BeginUpdate();
    const rtl::ScopeExit end([this] { EndUpdate(); });
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    const rtl::ScopeExit end([this] { EndUpdate(); });
    while (!items_.empty()) delete items_.back();
}

void TCollection::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TCollection*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    BeginUpdate();
    const rtl::ScopeExit end([this] { EndUpdate(); });
    Clear();
    for (const TCollectionItem* item : other->items_) Add()->Assign(*item);
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Update(TCollectionItem* item) { Fire(OnUpdate, this, item); }

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::InsertItem(TCollectionItem* item, bool notify) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    if (!notify) return;
    Notify(item, TCollectionNotification::cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item, TCollectionNotification action) {
    Notify(item, action);
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end()) items_.erase(it);
    item->collection_ = nullptr;
    Changed();
}

void TCollection::MoveItem(TCollectionItem* item, int index) {
    const auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    Changed();
}

void TCollection::ItemChanged(TCollectionItem* item) {
    if (updateCount_ == 0) Update(item);
}

}  // namespace vcl
