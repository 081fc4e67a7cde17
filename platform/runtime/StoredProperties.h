#pragma once
// Stored properties: the values a stored form holds for its components, written as C++ data, and
// the table each class keeps of the properties a stored form may set on it. A class registers its
// table once, by overriding TComponent::StoredProperties with a function-local table whose parent
// is its base class's table, so names are inherited along the class tree and a class's own entry
// hides an inherited one of the same name. The stored-form reader looks every stored name up in the
// component's table; an unknown name, an unknown identifier or a value of the wrong kind raises
// EReadError naming the component, the property and the value.
//
//   const vcl::TStoredProperties& TMyControl::StoredProperties() const {
//       static const auto table = vcl::TStoredProperties::Of<TMyControl>(&TControl::StoredProperties(), {
//           {"Spacing", [](auto& c, auto& v) { c.SetSpacing(v.Int()); }},
//           {"Layout", [](auto& c, auto& v) { c.SetLayout(v.Enum(kLayoutNames)); }},
//       });
//       return table;
//   }

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Strings.h"

namespace vcl {

// An enumeration value by its name ("kspNoBuffer", "clSilver", "pnCOM2").
struct TIdent {
    std::string_view name;
};
// A set of enumeration values ("[kbsLeft, kbsTop]").
using TIdentSet = std::vector<TIdent>;
// A string list (Items).
using TStringItems = std::vector<std::string_view>;
// The items of a collection (a status bar's Panels), each with its integer properties.
using TCollectionItems = std::vector<std::vector<std::pair<std::string_view, int>>>;

// Texts are UTF-8.
using TStoredValue = std::variant<int, bool, std::string_view, TIdent, TIdentSet, TStringItems, TCollectionItems>;

// The value as a stored form would spell it: 12, True, "text", kspNoBuffer, [kbsLeft, kbsTop].
std::string StoredValueText(const TStoredValue& value);

// A stored form the reader cannot apply: an unknown class, property, identifier or parent.
class EReadError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// Raises EReadError as every stored-value error reads: "<component>.<property> = <value>: <why>".
[[noreturn]] void FailStoredValue(std::string_view component, std::string_view property, std::string_view value,
                                  std::string_view why);

// The stored name of one value of an enumeration; each enumeration's names are listed once.
template <typename E>
struct TEnumName {
    std::string_view name;
    E value;
};

// Values that can only be applied once every component of the form exists (a tab order places a
// control among siblings created after it). They run lowest rank first, equal ranks in the order
// they were stored.
class TStoredFixups {
public:
    void Add(int rank, std::function<void()> apply) { pending_.emplace_back(rank, std::move(apply)); }
    void Apply();

private:
    std::vector<std::pair<int, std::function<void()>>> pending_;
};

// One stored value on its way into a component, read as the kind its setter wants.
class TStoredWrite {
public:
    TStoredWrite(std::string_view component, std::string_view property, const TStoredValue& value,
                 TStoredFixups& fixups)
        : component_(component), property_(property), value_(value), fixups_(fixups) {}

    int Int() const { return As<int>(); }
    bool Bool() const { return As<bool>(); }
    std::string Text() const { return std::string(As<std::string_view>()); }
    std::u16string WideText() const;
    std::string_view Ident() const { return As<TIdent>().name; }
    const TIdentSet& Idents() const { return As<TIdentSet>(); }
    const TStringItems& Items() const { return As<TStringItems>(); }
    // The string list as a toolkit list, to assign from.
    std::unique_ptr<TStringList> Strings() const;
    const TCollectionItems& Collection() const { return As<TCollectionItems>(); }

    // The identifier's value among an enumeration's names.
    template <typename E, size_t N>
    E Enum(const TEnumName<E> (&names)[N]) const {
        return EnumOf(Ident(), names);
    }
    // One identifier of the value (a member of a set) among names.
    template <typename E, size_t N>
    E EnumOf(std::string_view ident, const TEnumName<E> (&names)[N]) const {
        for (const TEnumName<E>& n : names) {
            if (n.name == ident) return n.value;
        }
        Fail("unknown identifier");
    }

    TStoredFixups& Fixups() const { return fixups_; }

    // Raises EReadError: "<component>.<property> = <value>: <why>".
    [[noreturn]] void Fail(std::string_view why) const;

private:
    template <typename T>
    const T& As() const {
        if (const T* v = std::get_if<T>(&value_)) return *v;
        WrongKind(TStoredValue(std::in_place_type<T>).index());
    }
    [[noreturn]] void WrongKind(size_t wanted) const;

    std::string_view component_;
    std::string_view property_;
    const TStoredValue& value_;
    TStoredFixups& fixups_;
};

// A class's stored properties: name -> setter, over the table of its base class.
class TStoredProperties {
public:
    using TSetter = std::function<void(TComponent&, const TStoredWrite&)>;
    // A setter of class C; captureless lambdas taking (auto& control, auto& value) convert to it.
    template <typename C>
    struct TEntry {
        std::string_view name;
        void (*apply)(C&, const TStoredWrite&);
    };

    // The root table: no property at all.
    TStoredProperties() = default;

    // Class C's table: its own entries over inherited (its base class's table). Only components
    // of class C or below are ever looked up in it.
    template <typename C>
    static TStoredProperties Of(const TStoredProperties* inherited, std::initializer_list<TEntry<C>> own) {
        TStoredProperties table;
        table.inherited_ = inherited;
        table.own_.reserve(own.size());
        for (const TEntry<C>& entry : own) {
            table.own_.emplace_back(entry.name, [apply = entry.apply](TComponent& c, const TStoredWrite& value) {
                apply(static_cast<C&>(c), value);
            });
        }
        return table;
    }

    // The setter of name: the class's own first, then along its ancestors; null when none has it.
    const TSetter* Find(std::string_view name) const;

private:
    const TStoredProperties* inherited_ = nullptr;
    std::vector<std::pair<std::string_view, TSetter>> own_;
};

}  // namespace vcl
