#include "platform/runtime/Component.h"

#include <algorithm>
#include <cctype>

#include "platform/rtl/ScopeExit.h"
#include "platform/runtime/StoredProperties.h"

namespace vcl {

namespace {

void Erase(std::vector<TComponent*>& list, TComponent* item) {
    const auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

bool Contains(const std::vector<TComponent*>& list, TComponent* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool IsIdentifier(const std::string& name) {
    if (name.empty()) return false;
    const auto first = static_cast<unsigned char>(name[0]);
    if (!std::isalpha(first) && first != '_') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return std::isalnum(u) || u == '_';
    });
}

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

// The load in progress, if any: components joining its root's tree while it runs are loading too.
class TStoredFormLoad {
public:
    static TStoredFormLoad*& Current() {
        static TStoredFormLoad* current = nullptr;
        return current;
    }

    void Join(TComponent* component) {
        if (!joining_ || Contains(members_, component)) return;
        members_.push_back(component);
        component->state_ |= csLoading;
        for (TComponent* owned : component->components_) Join(owned);
    }
    bool Owns(TComponent* owner) const { return owner && Contains(members_, owner); }
    // A member died: its slot is cleared so the Loaded pass skips it.
    void Forget(TComponent* component) { std::replace(members_.begin(), members_.end(), component, static_cast<TComponent*>(nullptr)); }
    void Abandon() {
        for (TComponent* c : members_) {
            if (c) c->SetComponentStateFlags(csLoading, false);
        }
        members_.clear();
    }
    // Index-based: Loaded handlers may destroy members (Forget) but no longer add any.
    void RunLoaded() {
        joining_ = false;
        for (size_t i = 0; i < members_.size(); ++i) {
            if (members_[i]) members_[i]->Loaded();
        }
    }

private:
    std::vector<TComponent*> members_;
    bool joining_ = true;
};

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    if (TStoredFormLoad* load = TStoredFormLoad::Current()) load->Forget(this);
    // Tell everyone who asked that this component is going away.
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        Erase(other->freeNotifies_, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_) {
        if (SameName(c->name_, name)) return c;
    }
    return nullptr;
}

void TComponent::SetName(const std::string& value) {
    if (value == name_) return;
    if (!value.empty() && !IsIdentifier(value)) throw EComponentError("'" + value + "' is not a valid component name");
    if (owner_) {
        TComponent* other = owner_->FindComponent(value);
        if (other && other != this) throw EComponentError("A component named " + value + " already exists");
    }
    name_ = value;
}

void TComponent::AttachTo(TComponent* owner) {
    owner_ = owner;
    owner->components_.push_back(this);
}

void TComponent::Detach() {
    if (!owner_) return;
    Erase(owner_->components_, this);
    owner_ = nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    if (!component->name_.empty()) {
        TComponent* other = FindComponent(component->name_);
        if (other) throw EComponentError("A component named " + component->name_ + " already exists");
    }
    if (component->owner_) component->owner_->RemoveComponent(component);
    component->AttachTo(this);
    if (TStoredFormLoad* load = TStoredFormLoad::Current(); load && load->Owns(this)) load->Join(component);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, opRemove);
    component->Detach();
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        // Detach first so the dying component does not call back into a list being emptied.
        last->Detach();
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (!Contains(freeNotifies_, component)) freeNotifies_.push_back(component);
    if (!Contains(component->freeNotifies_, this)) component->freeNotifies_.push_back(this);
    state_ |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    Erase(freeNotifies_, component);
    Erase(component->freeNotifies_, this);
}

void TComponent::Destroying() {
    if (state_ & csDestroying) return;
    state_ |= csDestroying;
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::SetDesigning(bool value, bool setChildren) {
    SetComponentStateFlags(csDesigning, value);
    if (!setChildren) return;
    for (TComponent* c : components_) c->SetDesigning(value, true);
}

const TStoredProperties& TComponent::StoredProperties() const {
    static const TStoredProperties none;
    return none;
}

void TComponent::Loaded() { state_ &= static_cast<TComponentState>(~csLoading); }

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) RemoveFreeNotification(component);
    // Walk a copy: a notified component may destroy or release others.
    const std::vector<TComponent*> owned = components_;
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) {
        if (Contains(components_, *it)) (*it)->Notification(component, operation);
    }
}

void TComponent::SetComponentStateFlags(TComponentState flags, bool on) {
    if (on) {
        state_ |= flags;
    } else {
        state_ &= static_cast<TComponentState>(~flags);
    }
}

void LoadStoredForm(TComponent& root, const std::function<void()>& apply) {
    TStoredFormLoad load;
    TStoredFormLoad* outer = TStoredFormLoad::Current();
    TStoredFormLoad::Current() = &load;
    const rtl::ScopeExit restore([outer] { TStoredFormLoad::Current() = outer; });
    load.Join(&root);
    try {
        apply();
    } catch (...) {
        load.Abandon();
        throw;
    }
    load.RunLoaded();
}

}  // namespace vcl
