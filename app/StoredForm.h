#pragma once
// A form's stored values as C++ data, the way a stored form reads: the components by designer
// name and class, each with its parent and its properties in stored order, and the event
// bindings by handler name. TStoredFormReader applies them to a form under the loading state;
// the form binds the handlers afterwards, so none runs while the values are applied.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/toolkit/Form.h"

namespace app {

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

struct TStoredProperty {
    std::string_view name;
    TStoredValue value;
};

struct TStoredComponent {
    std::string_view className;
    std::string_view name;
    std::string_view parent;  // empty: the form itself (or no parent for non-visual components)
    std::vector<TStoredProperty> properties;
};

struct TStoredEvent {
    std::string_view component;  // empty: the form
    std::string_view event;
    std::string_view handler;
};

struct TStoredForm {
    std::vector<TStoredProperty> formProperties;
    std::vector<TStoredComponent> components;  // in creation order
    std::vector<TStoredEvent> events;
};

// A stored value the reader cannot apply: an unknown class, property, identifier or parent.
class EReadError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// Creates the components of a stored form and applies their values in stored order, all while
// the form carries the loading state. Tab orders are applied after every sibling exists, lowest
// first, so they come out as stored.
void ReadStoredForm(vcl::TCustomForm& form, const TStoredForm& stored);

// Handlers by name; BindStoredEvents connects each stored binding to its handler.
using TNotifyHandlers = std::map<std::string, vcl::TNotifyEvent, std::less<>>;
using TKeyPressHandlers = std::map<std::string, std::function<void(vcl::TObject*, char32_t&)>, std::less<>>;
void BindStoredEvents(vcl::TCustomForm& form, const TStoredForm& stored, const TNotifyHandlers& notify,
                      const TKeyPressHandlers& keyPress);

}  // namespace app
