#pragma once
// TSeBlending: a control's translucency settings. Each setter that changes a value, and assigning
// another TSeBlending, fires OnChange.

#include <cstdint>

#include "platform/runtime/Object.h"

namespace se {

class TSeBlending : public vcl::TPersistent {
public:
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // 0 invisible over the parent .. 255 opaque.
    int Value() const { return value_; }
    // Clamped to 0..255.
    void SetValue(int value);

    void Assign(const vcl::TPersistent& source) override;

    vcl::TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    bool enabled_ = false;
    int value_ = 150;
};

}  // namespace se
