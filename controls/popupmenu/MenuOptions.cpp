#include "controls/popupmenu/MenuOptions.h"

#include <algorithm>

namespace se {

// ---- TSeShadow ---------------------------------------------------------------------------------

void TSeShadow::SetEnabled(bool value) {
    if (value == enabled_) return;
    enabled_ = value;
    Changed();
}

void TSeShadow::SetSize(int value) {
    value = std::min(value, 20);
    const bool enabled = value <= 0 ? false : enabled_;
    if (value == size_ && enabled == enabled_) return;
    size_ = value;
    enabled_ = enabled;
    Changed();
}

void TSeShadow::Assign(const vcl::TPersistent& source) {
    const auto* other = dynamic_cast<const TSeShadow*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    enabled_ = other->enabled_;
    size_ = other->size_;
    Changed();
}

void TSeShadow::Changed() { vcl::Fire(OnChange, this); }

// ---- TSeAnimation ------------------------------------------------------------------------------

TseRotation RotationOf(TSeDirection direction) {
    switch (direction) {
        case kdRotate90: return krRotate90;
        case kdRotate180: return krRotate180;
        case kdRotate270: return krRotate270;
        default: return krNone;
    }
}

TSeDirection DirectionOf(TseRotation rotation) {
    switch (rotation) {
        case krRotate90: return kdRotate90;
        case krRotate180: return kdRotate180;
        case krRotate270: return kdRotate270;
        default: return kdNone;
    }
}

TSeAnimation::TSeAnimation() : rec_(nullptr) {}

void TSeAnimation::SetEnabled(bool value) {
    if (value == rec_.Enabled()) return;
    rec_.SetEnabled(value);
    Changed();
}

void TSeAnimation::SetEffectKind(const std::string& value) {
    if (value == rec_.Effect()) return;
    rec_.SetEffect(value);
    Changed();
}

void TSeAnimation::SetTime(int value) {
    const int before = rec_.Time();
    rec_.SetTime(value);
    if (rec_.Time() != before) Changed();
}

void TSeAnimation::SetResolution(int value) {
    const int before = rec_.Resolution();
    rec_.SetResolution(value);
    if (rec_.Resolution() != before) Changed();
}

void TSeAnimation::SetTileCount(int value) {
    const int before = rec_.TileCount();
    rec_.SetTileCount(value);
    if (rec_.TileCount() != before) Changed();
}

void TSeAnimation::SetDirection(TSeDirection value) {
    const TseRotation rotation = RotationOf(value);
    if (rotation == rec_.Rotation()) return;
    rec_.SetRotation(rotation);
    Changed();
}

void TSeAnimation::Assign(const vcl::TPersistent& source) {
    const auto* other = dynamic_cast<const TSeAnimation*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other != this) rec_.Assign(other->rec_);
    Changed();
}

void TSeAnimation::Changed() { vcl::Fire(OnChange, this); }

// ---- TSePopupMenuOptions -----------------------------------------------------------------------

TSePopupMenuOptions::TSePopupMenuOptions() { Connect(); }

TSePopupMenuOptions::~TSePopupMenuOptions() {
    blending_.OnChange = nullptr;
    shadow_.OnChange = nullptr;
    animation_.OnChange = nullptr;
}

void TSePopupMenuOptions::Connect() {
    const auto changed = [this](vcl::TObject*) {
        if (!assigning_) Changed();
    };
    blending_.OnChange = changed;
    shadow_.OnChange = changed;
    animation_.OnChange = changed;
}

void TSePopupMenuOptions::Assign(const vcl::TPersistent& source) {
    const auto* other = dynamic_cast<const TSePopupMenuOptions*>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other != this) {
        assigning_ = true;
        blending_.Assign(other->blending_);
        shadow_.Assign(other->shadow_);
        animation_.Assign(other->animation_);
        assigning_ = false;
    }
    Changed();
}

void TSePopupMenuOptions::Changed() { vcl::Fire(OnChange, this); }

}  // namespace se
