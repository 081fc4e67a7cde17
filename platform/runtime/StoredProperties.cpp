#include "platform/runtime/StoredProperties.h"

#include <algorithm>

#include "platform/rtl/Utf.h"

namespace vcl {

namespace {

// What each kind of stored value is called in a message, by its place in TStoredValue.
constexpr std::string_view kKindNames[] = {"an integer", "True or False", "a text",      "an identifier",
                                           "a set",      "a string list", "a collection"};
static_assert(std::size(kKindNames) == std::variant_size_v<TStoredValue>);

template <typename List, typename Item>
std::string Joined(const List& list, Item item) {
    std::string text;
    for (const auto& element : list) {
        if (!text.empty()) text += ", ";
        text += item(element);
    }
    return text;
}

}  // namespace

std::string StoredValueText(const TStoredValue& value) {
    struct Spell {
        std::string operator()(int v) const { return std::to_string(v); }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(std::string_view v) const { return "\"" + std::string(v) + "\""; }
        std::string operator()(const TIdent& v) const { return std::string(v.name); }
        std::string operator()(const TIdentSet& v) const {
            return "[" + Joined(v, [](const TIdent& i) { return std::string(i.name); }) + "]";
        }
        std::string operator()(const TStringItems& v) const {
            return "(" + Joined(v, [](std::string_view s) { return "\"" + std::string(s) + "\""; }) + ")";
        }
        std::string operator()(const TCollectionItems& v) const {
            const auto property = [](const auto& p) { return std::string(p.first) + " = " + std::to_string(p.second); };
            return "<" + Joined(v, [&](const auto& item) { return "item " + Joined(item, property); }) + ">";
        }
    };
    return std::visit(Spell{}, value);
}

void TStoredFixups::Apply() {
    // Lowest rank first: each lands in its place and later ones go after it.
    std::stable_sort(pending_.begin(), pending_.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [rank, apply] : pending_) apply();
    pending_.clear();
}

std::u16string TStoredWrite::WideText() const { return rtl::Utf8ToUtf16(As<std::string_view>()); }

std::unique_ptr<TStringList> TStoredWrite::Strings() const {
    auto list = std::make_unique<TStringList>();
    for (std::string_view item : Items()) list->Add(std::string(item));
    return list;
}

void FailStoredValue(std::string_view component, std::string_view property, std::string_view value,
                     std::string_view why) {
    throw EReadError(std::string(component) + "." + std::string(property) + " = " + std::string(value) + ": " +
                     std::string(why));
}

void TStoredWrite::Fail(std::string_view why) const {
    FailStoredValue(component_, property_, StoredValueText(value_), why);
}

void TStoredWrite::WrongKind(size_t wanted) const { Fail(std::string(kKindNames[wanted]) + " is wanted"); }

const TStoredProperties::TSetter* TStoredProperties::Find(std::string_view name) const {
    for (const TStoredProperties* table = this; table; table = table->inherited_) {
        const auto& own = table->own_;
        const auto it = std::find_if(own.begin(), own.end(), [&](const auto& entry) { return entry.first == name; });
        if (it != own.end()) return &it->second;
    }
    return nullptr;
}

}  // namespace vcl
