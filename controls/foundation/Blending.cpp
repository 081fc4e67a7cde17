#include "controls/foundation/Blending.h"

#include <algorithm>

namespace se {

void TSeBlending::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TSeBlending::SetValue(int value) {
    value = std::clamp(value, 0, 255);
    if (value == value_) return;
    value_ = value;
    Changed();
}

void TSeBlending::Assign(const vcl::TPersistent& source) {
    const auto* other = dynamic_cast<const TSeBlending*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    enabled_ = other->enabled_;
    value_ = other->value_;
    Changed();
}

void TSeBlending::Changed() { vcl::Fire(OnChange, this); }

}  // namespace se
