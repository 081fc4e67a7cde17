#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/runtime/Collection.h"

namespace vcl {
namespace {

class TPanelItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    int Width() const { return width_; }
    void SetWidth(int value) {
        if (value == width_) return;
        width_ = value;
        Changed(false);
    }
    void Assign(const TPersistent& source) override {
        if (const auto* other = dynamic_cast<const TPanelItem*>(&source)) {
            width_ = other->width_;
            Changed(false);
            return;
        }
        TCollectionItem::Assign(source);
    }

private:
    int width_ = 50;
};

class TPanels : public TTypedCollection<TPanelItem> {
public:
    std::vector<std::string>* log = nullptr;

protected:
    void Notify(TCollectionItem* item, TCollectionNotification action) override {
        static const char* names[] = {"added", "extracting", "deleting"};
        log->push_back(std::string(names[static_cast<int>(action)]) + " #" + std::to_string(item->ID()));
    }
};

class Collection : public ::testing::Test {
protected:
    Collection() {
        panels_.log = &log_;
        panels_.OnUpdate = [this](TCollection* sender, TCollectionItem* item) {
            EXPECT_EQ(sender, &panels_);
            log_.push_back(item ? "update #" + std::to_string(item->ID()) : "update all");
        };
    }
    std::vector<int> Widths(const TPanels& panels) const {
        std::vector<int> widths;
        for (int i = 0; i < panels.Count(); ++i) widths.push_back(panels.Items(i)->Width());
        return widths;
    }

    std::vector<std::string> log_;
    TPanels panels_;
};

TEST_F(Collection, EveryChangeReachesTheOwnerOnce) {
    using Log = std::vector<std::string>;
    struct Step {
        const char* what;
        std::function<void(TPanels&)> act;
        Log expected;
    };
    const Step steps[] = {
        {"add", [](TPanels& p) { p.Add(); }, {"added #0", "update all"}},
        {"add another", [](TPanels& p) { p.Add()->SetWidth(80); }, {"added #1", "update all", "update #1"}},
        {"item change", [](TPanels& p) { p.Items(0)->SetWidth(70); }, {"update #0"}},
        {"same value again", [](TPanels& p) { p.Items(0)->SetWidth(70); }, {}},
        {"insert at front", [](TPanels& p) { p.Insert(0)->SetWidth(10); }, {"added #2", "update all", "update #2"}},
        {"move", [](TPanels& p) { p.Items(0)->SetIndex(2); }, {"update all"}},
        {"delete", [](TPanels& p) { p.Delete(1); }, {"deleting #1", "update all"}},
        {"item deleted directly", [](TPanels& p) { delete p.Items(0); }, {"deleting #0", "update all"}},
        {"clear", [](TPanels& p) { p.Add(); p.Clear(); }, {"added #3", "update all", "deleting #3", "deleting #2", "update all"}},
        {"clear empty", [](TPanels& p) { p.Clear(); }, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        log_.clear();
        step.act(panels_);
        EXPECT_EQ(log_, step.expected);
    }
}

TEST_F(Collection, IndexAndOrderFollowInsertAndMove) {
    for (int w : {1, 2, 3}) panels_.Add()->SetWidth(w);
    panels_.Insert(1)->SetWidth(9);
    EXPECT_EQ(Widths(panels_), (std::vector<int>{1, 9, 2, 3}));
    panels_.Items(0)->SetIndex(3);
    EXPECT_EQ(Widths(panels_), (std::vector<int>{9, 2, 3, 1}));
    panels_.Items(3)->SetIndex(-5);  // clamped to the front
    EXPECT_EQ(Widths(panels_), (std::vector<int>{1, 9, 2, 3}));
    for (int i = 0; i < panels_.Count(); ++i) EXPECT_EQ(panels_.Items(i)->Index(), i);
    EXPECT_EQ(panels_.FindItemID(3), panels_.Items(1));
    EXPECT_EQ(panels_.FindItemID(42), nullptr);
    EXPECT_THROW(panels_.Items(4), ECollectionError);
    EXPECT_THROW(panels_.Delete(-1), ECollectionError);
    EXPECT_THROW(panels_.Insert(5), ECollectionError);
}

TEST_F(Collection, AnUpdateBracketReportsOnceAtItsEnd) {
    panels_.BeginUpdate();
    panels_.BeginUpdate();
    panels_.Add()->SetWidth(5);
    panels_.Add();
    panels_.EndUpdate();
    EXPECT_EQ(log_, (std::vector<std::string>{"added #0", "added #1"})) << "only the outer EndUpdate reports";
    panels_.EndUpdate();
    EXPECT_EQ(log_.back(), "update all");
    log_.clear();
    panels_.EndUpdate();  // unbalanced: ignored
    EXPECT_TRUE(log_.empty());
    EXPECT_EQ(panels_.UpdateCount(), 0);
}

TEST_F(Collection, AssignCopiesItemsAsOneChange) {
    TPanels source;
    std::vector<std::string> sourceLog;
    source.log = &sourceLog;
    for (int w : {30, 40, 50}) source.Add()->SetWidth(w);
    panels_.Add()->SetWidth(99);
    log_.clear();
    panels_.Assign(source);
    EXPECT_EQ(Widths(panels_), (std::vector<int>{30, 40, 50}));
    EXPECT_EQ(std::count(log_.begin(), log_.end(), "update all"), 1);
    EXPECT_EQ(Widths(source), (std::vector<int>{30, 40, 50})) << "the source is left alone";
    TPersistent unrelated;
    EXPECT_THROW(panels_.Assign(unrelated), rtl::EConvertError);
}

TEST_F(Collection, ItemsMoveBetweenCollectionsAndLeaveWhenDestroyed) {
    TPanels other;
    std::vector<std::string> otherLog;
    other.log = &otherLog;
    TPanelItem* item = panels_.Add();
    log_.clear();
    item->SetCollection(&other);
    EXPECT_EQ(log_, (std::vector<std::string>{"extracting #0", "update all"}));
    EXPECT_EQ(panels_.Count(), 0);
    EXPECT_EQ(other.Items(0), item);
    EXPECT_EQ(item->Index(), 0);
    item->SetCollection(nullptr);
    EXPECT_EQ(other.Count(), 0);
    EXPECT_EQ(item->Index(), -1);
    delete item;  // ours now
}

}  // namespace
}  // namespace vcl
