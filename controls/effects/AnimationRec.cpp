#include "controls/effects/AnimationRec.h"

#include <algorithm>

namespace se {

TseAnimationRec::TseAnimationRec(vcl::TComponent* AOwner)
    : vcl::TComponent(AOwner), bitmap_(std::make_unique<TseBitmap>()) {}

TseAnimationRec::~TseAnimationRec() = default;

void TseAnimationRec::SetEnabled(bool value) { enabled_ = value; }

void TseAnimationRec::SetTime(int value) { time_ = std::clamp(value, 50, 9000); }

void TseAnimationRec::SetResolution(int value) { resolution_ = std::clamp(value, 1, 10); }

void TseAnimationRec::SetTileCount(int value) { tileCount_ = std::clamp(value, 1, 20); }

void TseAnimationRec::SetEffect(const std::string& value) { effect_ = value; }

void TseAnimationRec::SetRotation(TseRotation value) { rotation_ = value; }

void TseAnimationRec::SetBitmap(const vcl::TPersistent& value) {
    if (&value == bitmap_.get()) return;
    // A surface cannot be sized down to nothing, so an empty picture takes a fresh one.
    auto copy = std::make_unique<TseBitmap>();
    const auto* surface = dynamic_cast<const TseBitmap*>(&value);
    if (surface == nullptr || !surface->Empty()) copy->Assign(value);
    bitmap_ = std::move(copy);
}

void TseAnimationRec::Assign(const vcl::TPersistent& source) {
    const auto* other = dynamic_cast<const TseAnimationRec*>(&source);
    if (other == nullptr) {
        vcl::TComponent::Assign(source);
        return;
    }
    if (other == this) return;
    SetEnabled(other->enabled_);
    SetTime(other->time_);
    SetResolution(other->resolution_);
    SetTileCount(other->tileCount_);
    SetEffect(other->effect_);
    SetRotation(other->rotation_);
    SetBitmap(*other->bitmap_);
}

}  // namespace se
