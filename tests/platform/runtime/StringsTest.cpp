// The string list: editing, objects per item, its CRLF text, and the change notifications.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/runtime/Strings.h"

namespace vcl {
namespace {

class Tag : public TObject {};

class StringListTest : public ::testing::Test {
protected:
    StringListTest() {
        list_.OnChanging = [this](TObject* sender) {
            EXPECT_EQ(sender, &list_);
            log_.push_back("changing " + std::to_string(list_.Count()));
        };
        list_.OnChange = [this](TObject*) { log_.push_back("change " + std::to_string(list_.Count())); };
    }
    TStringList list_;
    std::vector<std::string> log_;
};

TEST_F(StringListTest, EditsKeepOrderAndObjects) {
    Tag a, b;
    EXPECT_EQ(list_.Add("one"), 0);
    EXPECT_EQ(list_.AddObject("two", &a), 1);
    list_.InsertObject(0, "zero", &b);
    list_.Put(2, "TWO");
    EXPECT_EQ(list_.Count(), 3);
    EXPECT_EQ(list_.Text(), "zero\r\none\r\nTWO\r\n");
    EXPECT_EQ(list_.Objects(0), &b);
    EXPECT_EQ(list_.Objects(2), &a);  // the string changed, its object stayed
    EXPECT_EQ(list_.IndexOf("two"), 2);
    EXPECT_EQ(list_.IndexOf("three"), -1);
    EXPECT_EQ(list_.IndexOfObject(&a), 2);
    list_.Delete(0);
    EXPECT_EQ(list_[0], "one");
    EXPECT_EQ(list_.Objects(0), nullptr);
    list_.Exchange(0, 1);
    EXPECT_EQ(list_.Text(), "TWO\r\none\r\n");
    EXPECT_EQ(list_.Objects(0), &a);
}

struct OutOfBounds {
    const char* name;
    void (*act)(TStringList&);
};

class StringListBounds : public ::testing::TestWithParam<OutOfBounds> {};

TEST_P(StringListBounds, AnIndexOutsideTheListRaises) {
    TStringList list;
    list.Add("a");
    EXPECT_THROW(GetParam().act(list), EStringListError);
    EXPECT_EQ(list.Count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Indexes, StringListBounds,
                         ::testing::Values(OutOfBounds{"Get", [](TStringList& l) { (void)l.Get(1); }},
                                           OutOfBounds{"GetNegative", [](TStringList& l) { (void)l.Get(-1); }},
                                           OutOfBounds{"Put", [](TStringList& l) { l.Put(1, "x"); }},
                                           OutOfBounds{"Object", [](TStringList& l) { (void)l.Objects(2); }},
                                           OutOfBounds{"Insert", [](TStringList& l) { l.Insert(2, "x"); }},
                                           OutOfBounds{"Delete", [](TStringList& l) { l.Delete(1); }}),
                         [](const auto& info) { return std::string(info.param.name); });

struct TextCase {
    const char* name;
    const char* text;
    std::vector<std::string> lines;
};

class StringListText : public ::testing::TestWithParam<TextCase> {};

TEST_P(StringListText, TextSplitsAtEveryKindOfLineBreak) {
    TStringList list;
    list.SetText(GetParam().text);
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Breaks, StringListText,
                         ::testing::Values(TextCase{"Empty", "", {}}, TextCase{"NoBreak", "a", {"a"}},
                                           TextCase{"TrailingCrlf", "a\r\n", {"a"}},
                                           TextCase{"Crlf", "a\r\nb", {"a", "b"}}, TextCase{"Lf", "a\nb\n", {"a", "b"}},
                                           TextCase{"Cr", "a\rb", {"a", "b"}},
                                           TextCase{"EmptyLines", "\r\n\r\nx", {"", "", "x"}},
                                           TextCase{"Chinese", "接收数据区\r\n无返回数据 ", {"接收数据区", "无返回数据 "}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StringListTest, EachChangeIsAnnouncedBeforeAndReportedAfter) {
    list_.Add("a");
    list_.Put(0, "b");
    list_.Delete(0);
    list_.Clear();  // already empty: no change
    EXPECT_EQ(log_, (std::vector<std::string>{"changing 0", "change 1", "changing 1", "change 1", "changing 1", "change 0"}));
}

TEST_F(StringListTest, AnUpdateReportsOnceAtItsOutermostEnd) {
    list_.BeginUpdate();
    list_.BeginUpdate();
    list_.Add("a");
    list_.SetText("x\r\ny\r\nz");
    list_.EndUpdate();
    EXPECT_EQ(log_, (std::vector<std::string>{"changing 0"}));
    list_.EndUpdate();
    EXPECT_EQ(log_, (std::vector<std::string>{"changing 0", "change 3"}));
    // An update without a change reports nothing.
    log_.clear();
    list_.BeginUpdate();
    list_.EndUpdate();
    EXPECT_TRUE(log_.empty());
    // SetText alone is one change.
    list_.SetText("1\n2");
    EXPECT_EQ(log_, (std::vector<std::string>{"changing 3", "change 2"}));
}

TEST_F(StringListTest, AssignCopiesStringsAndObjectsAsOneChange) {
    Tag t;
    TStringList source;
    source.Add("p");
    source.AddObject("q", &t);
    list_.Add("old");
    log_.clear();
    list_.Assign(source);
    EXPECT_TRUE(list_.Equals(source));
    EXPECT_EQ(list_.Objects(1), &t);
    EXPECT_EQ(log_, (std::vector<std::string>{"changing 1", "change 2"}));
}

}  // namespace
}  // namespace vcl
