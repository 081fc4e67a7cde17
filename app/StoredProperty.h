#pragma once
// The reader's view of one stored property while it is applied, shared by the reader's units.
// (The combo box is applied in a unit of its own: its header cannot share a translation unit with
// the label's and the check box's, which declare the same enumerators.)

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "app/StoredForm.h"
#include "controls/foundation/CustomControl.h"
#include "platform/draw/ColorNames.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf.h"

namespace app::stored {

[[noreturn]] inline void Fail(std::string_view component, std::string_view property, std::string_view why) {
    throw EReadError(rtl::Format("%.*s.%.*s: %.*s", static_cast<int>(component.size()), component.data(),
                                 static_cast<int>(property.size()), property.data(), static_cast<int>(why.size()),
                                 why.data()));
}

// One property being applied, with typed access to its value.
struct TProp {
    std::string_view component;
    std::string_view name;
    const TStoredValue& value;

    template <typename T>
    const T& As() const {
        if (const T* v = std::get_if<T>(&value)) return *v;
        Fail(component, name, "value of the wrong kind");
    }
    int Int() const { return As<int>(); }
    bool Bool() const { return As<bool>(); }
    std::string Text() const { return std::string(As<std::string_view>()); }
    std::u16string WideText() const { return rtl::Utf8ToUtf16(As<std::string_view>()); }

    template <typename E>
    E Ident(std::initializer_list<std::pair<std::string_view, E>> names) const {
        return IdentOf(As<TIdent>().name, names);
    }
    template <typename E>
    E IdentOf(std::string_view ident, std::initializer_list<std::pair<std::string_view, E>> names) const {
        for (const auto& [n, v] : names) {
            if (n == ident) return v;
        }
        Fail(component, name, "unknown identifier");
    }
};

inline vcl::TColor ColorOf(const TProp& p) {
    const std::optional<vcl::TColor> color = vcl::StringToColor(p.As<TIdent>().name);
    if (!color) Fail(p.component, p.name, "unknown colour");
    return *color;
}

inline se::TSeBevelCut BevelCutOf(const TProp& p) {
    return p.Ident<se::TSeBevelCut>({{"kbvNone", se::kbvNone},
                                     {"kbvLowered", se::kbvLowered},
                                     {"kbvRaised", se::kbvRaised},
                                     {"kbvSpace", se::kbvSpace},
                                     {"kbvBorder", se::kbvBorder},
                                     {"kbvFlatBorder", se::kbvFlatBorder}});
}

// The ring, buffering and transparency of the control set's windowed controls; false when the
// name is not one of them.
bool ApplySeControl(se::TSeCustomControl& c, const TProp& p);

}  // namespace app::stored
