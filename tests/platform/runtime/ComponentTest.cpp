#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/Component.h"

namespace vcl {
namespace {

// Records its destruction (with the owner's state at that moment) and the notifications it gets.
class Probe : public TComponent {
public:
    Probe(TComponent* owner, std::string label, std::vector<std::string>* log)
        : TComponent(owner), label_(std::move(label)), log_(log) {}
    ~Probe() override {
        std::string entry = "~" + label_;
        if (Owner() && Owner()->HasState(csDestroying)) entry += "(owner dying)";
        if (HasState(csDestroying)) entry += "!";
        log_->push_back(entry);
    }
    void Loaded() override {
        log_->push_back("loaded " + label_ + (HasState(csLoading) ? " (loading)" : ""));
        TComponent::Loaded();
    }

    TComponent* Reference = nullptr;
    std::vector<std::string> Notes;

    void Refer(TComponent* other) {
        Reference = other;
        if (other) other->FreeNotification(this);
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        Notes.push_back(std::string(operation == opInsert ? "insert " : "remove ") + component->Name());
        if (operation == opRemove && component == Reference) Reference = nullptr;
    }

private:
    std::string label_;
    std::vector<std::string>* log_;
};

TEST(Component, OwnerDestroysItsComponentsLastCreatedFirst) {
    std::vector<std::string> log;
    auto* root = new Probe(nullptr, "root", &log);
    auto* a = new Probe(root, "a", &log);
    new Probe(root, "b", &log);
    new Probe(a, "a1", &log);
    new Probe(a, "a2", &log);
    new Probe(root, "c", &log);
    delete root;
    // The root's own body runs first; its components are detached before deletion, so none sees
    // an owner, and each is marked destroying by then.
    const std::vector<std::string> expected{"~root", "~c!", "~b!", "~a!", "~a2!", "~a1!"};
    EXPECT_EQ(log, expected);
}

TEST(Component, DeletingAComponentEarlyTakesItOutOfItsOwner) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", &log);
    auto* a = new Probe(&root, "a", &log);
    auto* b = new Probe(&root, "b", &log);
    a->SetName("A");
    b->SetName("B");
    delete a;
    ASSERT_EQ(root.ComponentCount(), 1);
    EXPECT_EQ(root.Components(0), b);
    EXPECT_EQ(b->ComponentIndex(), 0);
    // The owner broadcasts the removal to the components it still owns.
    EXPECT_EQ(b->Notes, (std::vector<std::string>{"remove A"}));
    EXPECT_EQ(root.Notes, (std::vector<std::string>{"insert ", "insert ", "remove A"}));
}

TEST(Component, InsertComponentMovesBetweenOwners) {
    std::vector<std::string> log;
    Probe first(nullptr, "first", &log);
    Probe second(nullptr, "second", &log);
    auto* c = new Probe(&first, "c", &log);
    second.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &second);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(second.ComponentCount(), 1);
    first.InsertComponent(c);
    EXPECT_EQ(c->Owner(), &first);
    EXPECT_EQ(second.ComponentCount(), 0);
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwnerIgnoringCase) {
    TComponent root(nullptr);
    auto* a = new TComponent(&root);
    auto* b = new TComponent(&root);
    a->SetName("Timer1");
    EXPECT_THROW(b->SetName("TIMER1"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    EXPECT_THROW(b->SetName("1Timer"), EComponentError);
    EXPECT_THROW(b->SetName("Timer 2"), EComponentError);
    b->SetName("_Timer2");
    EXPECT_EQ(root.FindComponent("timer1"), a);
    EXPECT_EQ(root.FindComponent("_TIMER2"), b);
    EXPECT_EQ(root.FindComponent(""), nullptr);
    a->SetName("Timer1");  // unchanged: no clash with itself
    // A component elsewhere may carry the same name.
    TComponent other(nullptr);
    auto* c = new TComponent(&other);
    c->SetName("Timer1");
    EXPECT_THROW(root.InsertComponent(c), EComponentError);
    EXPECT_EQ(c->Owner(), &other);
}

TEST(Component, FreeNotificationClearsReferencesToADyingComponentEitherWay) {
    std::vector<std::string> log;
    Probe holder(nullptr, "holder", &log);
    {
        Probe target(nullptr, "target", &log);
        target.SetName("Target");
        holder.Refer(&target);
    }
    EXPECT_EQ(holder.Reference, nullptr);
    EXPECT_EQ(holder.Notes, (std::vector<std::string>{"remove Target"}));

    // The link is mutual: the referenced one hears about the holder's death as well, and after
    // that nothing refers to the freed holder.
    auto target = std::make_unique<Probe>(nullptr, "t2", &log);
    {
        Probe shortLived(nullptr, "short", &log);
        shortLived.SetName("Short");
        shortLived.Refer(target.get());
    }
    EXPECT_EQ(target->Notes, (std::vector<std::string>{"remove Short"}));
    target.reset();  // must not touch the freed holder
}

TEST(Component, RemovedFreeNotificationIsNotDelivered) {
    std::vector<std::string> log;
    Probe holder(nullptr, "holder", &log);
    auto target = std::make_unique<Probe>(nullptr, "target", &log);
    holder.Refer(target.get());
    target->RemoveFreeNotification(&holder);
    target.reset();
    EXPECT_TRUE(holder.Notes.empty());
}

TEST(Component, StoredFormLoadMarksLoadingThenCallsLoadedInOrder) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", &log);
    auto* a = new Probe(&root, "a", &log);
    std::vector<bool> loadingDuringApply;
    LoadStoredForm(root, [&] {
        auto* b = new Probe(&root, "b", &log);
        new Probe(b, "b1", &log);
        loadingDuringApply = {root.HasState(csLoading), a->HasState(csLoading), b->HasState(csLoading),
                              b->Components(0)->HasState(csLoading)};
    });
    EXPECT_EQ(loadingDuringApply, (std::vector<bool>{true, true, true, true}));
    const std::vector<std::string> expected{"loaded root (loading)", "loaded a (loading)", "loaded b (loading)",
                                            "loaded b1 (loading)"};
    EXPECT_EQ(log, expected);
    EXPECT_FALSE(root.HasState(csLoading));
    EXPECT_FALSE(a->HasState(csLoading));
    // Outside a load new components are not loading.
    auto* late = new Probe(&root, "late", &log);
    EXPECT_FALSE(late->HasState(csLoading));
}

TEST(Component, AFailedLoadClearsTheFlagsWithoutLoaded) {
    std::vector<std::string> log;
    Probe root(nullptr, "root", &log);
    auto* a = new Probe(&root, "a", &log);
    EXPECT_THROW(LoadStoredForm(root, [] { throw rtl::Exception("bad stored form"); }), rtl::Exception);
    EXPECT_FALSE(root.HasState(csLoading));
    EXPECT_FALSE(a->HasState(csLoading));
    EXPECT_TRUE(log.empty());
}

TEST(Component, AComponentDestroyedByALoadedHandlerIsSkipped) {
    std::vector<std::string> log;
    class Killer : public TComponent {
    public:
        using TComponent::TComponent;
        TComponent* Victim = nullptr;
        void Loaded() override {
            TComponent::Loaded();
            delete Victim;
        }
    };
    TComponent root(nullptr);
    auto* killer = new Killer(&root);
    killer->Victim = new Probe(&root, "victim", &log);
    LoadStoredForm(root, [] {});
    EXPECT_EQ(log, (std::vector<std::string>{"~victim"}));
    EXPECT_EQ(root.ComponentCount(), 1);
}

TEST(Component, DesigningSpreadsToOwnedComponents) {
    TComponent root(nullptr);
    auto* a = new TComponent(&root);
    auto* a1 = new TComponent(a);
    root.SetDesigning(true);
    EXPECT_TRUE(a1->HasState(csDesigning));
    a->SetDesigning(false, false);
    EXPECT_FALSE(a->HasState(csDesigning));
    EXPECT_TRUE(a1->HasState(csDesigning));
}

}  // namespace
}  // namespace vcl
