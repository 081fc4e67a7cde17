#pragma once
// A form's stored values as C++ data, the way a stored form reads: the components by designer
// name and class, each with its parent and its properties in stored order, and the event
// bindings by handler name. ReadStoredForm applies them to a form under the loading state, each
// property through the table its component's class registered (platform/runtime/StoredProperties.h);
// the form binds the handlers afterwards, so none runs while the values are applied.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/StoredProperties.h"
#include "platform/toolkit/Form.h"

namespace app {

using vcl::EReadError;
using vcl::TCollectionItems;
using vcl::TIdent;
using vcl::TIdentSet;
using vcl::TStoredValue;
using vcl::TStringItems;

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

// Creates the components of a stored form and applies their values in stored order, all while
// the form carries the loading state. Values that wait for every sibling (tab orders) are applied
// after the last component, lowest first, so they come out as stored. An unknown class, parent,
// property or identifier raises EReadError naming the component, the property and the value.
void ReadStoredForm(vcl::TCustomForm& form, const TStoredForm& stored);

// Handlers by name; BindStoredEvents connects each stored binding to its handler.
using TNotifyHandlers = std::map<std::string, vcl::TNotifyEvent, std::less<>>;
using TKeyPressHandlers = std::map<std::string, std::function<void(vcl::TObject*, char32_t&)>, std::less<>>;
void BindStoredEvents(vcl::TCustomForm& form, const TStoredForm& stored, const TNotifyHandlers& notify,
                      const TKeyPressHandlers& keyPress);

}  // namespace app
