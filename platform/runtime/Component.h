#pragma once
// Components: objects with an owner that destroys them, a name unique among the owner's
// components, state flags for loading, destroying and designing, and free notifications that let
// a component drop its references to another one that dies.
//
// Ownership: a component created with an owner (new TTimer(this)) belongs to it; the owner
// destroys its components in reverse creation order. Deleting a component earlier removes it from
// its owner. A component without owner belongs to whoever created it (a smart pointer).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/runtime/Object.h"

namespace vcl {

class TStoredProperties;

enum TComponentStateFlag : uint16_t {
    csLoading = 0x0001,     // a stored form is being applied
    csReading = 0x0002,
    csWriting = 0x0004,
    csDestroying = 0x0008,  // destruction has begun
    csDesigning = 0x0010,   // the component is shown in a form designer
    csAncestor = 0x0020,
    csUpdating = 0x0040,
    csFixups = 0x0080,
    csFreeNotification = 0x0100,
    csInline = 0x0200,
};
using TComponentState = uint16_t;

enum class TOperation : uint8_t { opInsert, opRemove };
inline constexpr TOperation opInsert = TOperation::opInsert;
inline constexpr TOperation opRemove = TOperation::opRemove;

class EComponentError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    // Position among the owner's components, -1 without owner.
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& name) const;

    const std::string& Name() const { return name_; }
    // Raises EComponentError for a name that is not an identifier or is taken within the owner.
    void SetName(const std::string& value);
    intptr_t Tag() const { return tag_; }
    void SetTag(intptr_t value) { tag_ = value; }

    TComponentState ComponentState() const { return state_; }
    bool HasState(TComponentState flags) const { return (state_ & flags) != 0; }

    // Moves a component under this owner (taking it from its previous owner).
    void InsertComponent(TComponent* component);
    // Releases a component without destroying it; it then has no owner.
    void RemoveComponent(TComponent* component);
    // Destroys every owned component, last created first.
    void DestroyComponents();

    // Asks to be told (Notification with opRemove) when component is destroyed; mutual.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Marks this component and everything it owns as being destroyed.
    void Destroying();
    // Marks the component (and what it owns) as shown in a designer.
    void SetDesigning(bool value, bool setChildren = true);

    // Called once after a stored form has been applied to the component; clears csLoading.
    virtual void Loaded();
    // What a stored form may set on a component of this class (StoredProperties.h): a class with
    // stored properties of its own overrides it. A bare component has none.
    virtual const TStoredProperties& StoredProperties() const;

protected:
    // A component was inserted under or removed from this one's owner tree, or a component this
    // one asked to be told about is dying. The base passes the news on to the owned components.
    virtual void Notification(TComponent* component, TOperation operation);
    void SetComponentStateFlags(TComponentState flags, bool on);

private:
    friend class TStoredFormLoad;
    void AttachTo(TComponent* owner);
    void Detach();

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    intptr_t tag_ = 0;
    TComponentState state_ = 0;
};

// Applies a stored form to root: while apply runs, root and every component it owns (including
// those created meanwhile) carry csLoading; afterwards each of them gets Loaded(), root first,
// then in the order they joined.
void LoadStoredForm(TComponent& root, const std::function<void()>& apply);

}  // namespace vcl
