#include "platform/runtime/Strings.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "platform/rtl/ScopeExit.h"

namespace vcl {

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Updates nest; the outermost pair is what the list sees.
auto UpdateScope(TStrings& strings) {
    strings.BeginUpdate();
    return rtl::ScopeExit([&strings] { strings.EndUpdate(); });
}

}  // namespace

// ---- TStrings ----------------------------------------------------------------------------------

void TStrings::IndexError(int index) { throw EStringListError("List index out of bounds (" + std::to_string(index) + ")"); }

void TStrings::Put(int index, const std::string& value) {
    const auto update = UpdateScope(*this);
    TObject* object = GetObject(index);
    Delete(index);
    InsertObject(index, value, object);
}

TObject* TStrings::GetObject(int index) const {
    if (index < 0 || index >= Count()) IndexError(index);
    return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

int TStrings::AddObject(const std::string& value, TObject* object) {
    const int index = Count();
    InsertObject(index, value, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string& value, TObject* object) {
    const auto update = UpdateScope(*this);
    Insert(index, value);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& strings) {
    const auto update = UpdateScope(*this);
    for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::Exchange(int index1, int index2) {
    const auto update = UpdateScope(*this);
    const std::string text1 = Get(index1);
    TObject* object1 = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, text1);
    PutObject(index2, object1);
}

int TStrings::IndexOf(const std::string& value) const {
    for (int i = 0; i < Count(); ++i) {
        if (SameText(Get(i), value)) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < Count(); ++i) {
        if (GetObject(i) == object) return i;
    }
    return -1;
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& value) {
    const auto update = UpdateScope(*this);
    Clear();
    size_t start = 0;
    while (start < value.size()) {
        size_t end = value.find_first_of("\r\n", start);
        if (end == std::string::npos) end = value.size();
        Add(value.substr(start, end - start));
        start = end;
        if (start < value.size() && value[start] == '\r') ++start;
        if (start < value.size() && value[start] == '\n') ++start;
    }
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) SetUpdateState(false);
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i) {
        if (Get(i) != other.Get(i)) return false;
    }
    return true;
}

void TStrings::Assign(const TPersistent& source) {
    const auto* strings = dynamic_cast<const TStrings*>(&source);
    if (!strings) {
        TPersistent::Assign(source);
        return;
    }
    if (strings == this) return;
    const auto update = UpdateScope(*this);
    Clear();
    AddStrings(*strings);
}

// ---- TStringList -------------------------------------------------------------------------------

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TStringList::Check(int index, int count) const {
    if (index < 0 || index >= count) IndexError(index);
}

std::string TStringList::Get(int index) const {
    Check(index, Count());
    return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const std::string& value) {
    Check(index, Count());
    Changing();
    items_[static_cast<size_t>(index)].text = value;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    Check(index, Count());
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
    Check(index, Count());
    if (items_[static_cast<size_t>(index)].object == object) return;
    Changing();
    items_[static_cast<size_t>(index)].object = object;
    Changed();
}

void TStringList::Insert(int index, const std::string& value) {
    Check(index, Count() + 1);
    Changing();
    items_.insert(items_.begin() + index, Item{value, nullptr});
    Changed();
}

void TStringList::Delete(int index) {
    Check(index, Count());
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::SetText(const std::string& value) {
    const auto update = UpdateScope(*this);
    TStrings::SetText(value);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating) {
        changedWhileUpdating_ = false;
        return;
    }
    if (!changedWhileUpdating_) return;
    changedWhileUpdating_ = false;
    Fire(OnChange, this);
}

void TStringList::Changing() {
    // During an update only the first change announces itself.
    if (UpdateCount() > 0) {
        if (changedWhileUpdating_) return;
        changedWhileUpdating_ = true;
    }
    Fire(OnChanging, this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0) Fire(OnChange, this);
}

}  // namespace vcl
