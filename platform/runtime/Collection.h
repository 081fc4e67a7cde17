#pragma once
// Collections: an ordered, owning list of items of one kind (a status bar's panels, a list's
// columns). Items know their collection and index; every change reaches the collection's Update
// (and its OnUpdate, which the owner assigns) once, or once at the end of a BeginUpdate/EndUpdate
// bracket. The kind of item is the factory given at construction.

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/runtime/Object.h"

namespace vcl {

class TCollection;

class ECollectionError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TCollectionItem : public TPersistent {
public:
    // Joins collection (at its end) when one is given, quietly: the item is not whole yet. Add,
    // which makes items through the factory, reports the new item once it is.
    explicit TCollectionItem(TCollection* collection);
    // Leaves its collection, which is told.
    ~TCollectionItem() override;

    TCollection* Collection() const { return collection_; }
    // Moves the item to another collection (nullptr: none; the caller then owns it).
    void SetCollection(TCollection* value);
    // Position in the collection, -1 without one. Setting it moves the item.
    int Index() const;
    void SetIndex(int value);
    // Unique within the collection, never reused.
    int ID() const { return id_; }
    // The name a designer shows; empty unless a kind names its items.
    virtual std::string DisplayName() const { return {}; }

protected:
    // The item's state changed: its collection hears of this item, or of all items when the
    // change alters more than this one (a moved item, a changed width that re-lays the others).
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* collection_ = nullptr;
    int id_ = 0;
};

enum class TCollectionNotification : uint8_t { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
public:
    // Makes a new item of the collection's kind that has joined the given collection.
    using TItemFactory = std::function<TCollectionItem*(TCollection*)>;
    using TUpdateEvent = std::function<void(TCollection* Sender, TCollectionItem* Item)>;

    explicit TCollection(TItemFactory itemClass);
    ~TCollection() override;

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises ECollectionError outside 0 .. Count - 1.
    TCollectionItem* Items(int index) const;
    TCollectionItem* FindItemID(int id) const;

    TCollectionItem* Add();
    TCollectionItem* Insert(int index);
    void Delete(int index);
    void Clear();
    // Copies another collection: its items are replaced by new items assigned from the source's.
    void Assign(const TPersistent& source) override;

    // Changes inside the bracket are reported once, by EndUpdate (as a change of all items).
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    // After every change: the item that changed, or nullptr when the collection as a whole did.
    TUpdateEvent OnUpdate;

protected:
    virtual void Update(TCollectionItem* item);
    // An item joined or is about to leave.
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item, bool notify);
    void RemoveItem(TCollectionItem* item, TCollectionNotification action);
    void MoveItem(TCollectionItem* item, int index);
    void ItemChanged(TCollectionItem* item);

    TItemFactory itemClass_;
    std::vector<TCollectionItem*> items_;  // owned
    int nextId_ = 0;
    int updateCount_ = 0;
    bool clearing_ = false;
};

// A collection of one item kind, handing out items as that kind.
template <typename Item>
class TTypedCollection : public TCollection {
public:
    TTypedCollection() : TCollection([](TCollection* c) -> TCollectionItem* { return new Item(c); }) {}
    Item* Add() { return static_cast<Item*>(TCollection::Add()); }
    Item* Insert(int index) { return static_cast<Item*>(TCollection::Insert(index)); }
    Item* Items(int index) const { return static_cast<Item*>(TCollection::Items(index)); }
};

}  // namespace vcl
