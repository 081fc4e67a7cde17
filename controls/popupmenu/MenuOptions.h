#pragma once
// The window options every menu window takes: blending (whole-window translucency), a drop
// shadow and an opening animation. Each change calls the owner's change notification (OnChange)
// when one is connected.

#include <cstdint>
#include <string>

#include "controls/effects/AnimationRec.h"
#include "controls/foundation/Blending.h"
#include "platform/runtime/Object.h"

namespace se {

class TSeShadow : public vcl::TPersistent {
public:
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // A size of 0 or less also switches the shadow off; sizes above 20 become 20.
    int Size() const { return size_; }
    void SetSize(int value);

    void Assign(const vcl::TPersistent& source) override;

    vcl::TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    bool enabled_ = false;
    int size_ = 4;
};

// Which way the opening animation is turned. kdNoRotate reads back as kdNone.
enum TSeDirection : uint8_t { kdNone, kdNoRotate, kdRotate90, kdRotate180, kdRotate270 };

TseRotation RotationOf(TSeDirection direction);
TSeDirection DirectionOf(TseRotation rotation);

// The opening animation; its values live in a TseAnimationRec, which clamps them.
class TSeAnimation : public vcl::TPersistent {
public:
    TSeAnimation();

    bool Enabled() const { return rec_.Enabled(); }
    void SetEnabled(bool value);
    const std::string& EffectKind() const { return rec_.Effect(); }
    void SetEffectKind(const std::string& value);
    // Milliseconds, 50 … 9000.
    int Time() const { return rec_.Time(); }
    void SetTime(int value);
    // 1 … 10.
    int Resolution() const { return rec_.Resolution(); }
    void SetResolution(int value);
    // 1 … 20.
    int TileCount() const { return rec_.TileCount(); }
    void SetTileCount(int value);
    TSeDirection Direction() const { return DirectionOf(rec_.Rotation()); }
    void SetDirection(TSeDirection value);

    const TseAnimationRec& Rec() const { return rec_; }

    void Assign(const vcl::TPersistent& source) override;

    vcl::TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    TseAnimationRec rec_;
};

class TSePopupMenuOptions : public vcl::TPersistent {
public:
    TSePopupMenuOptions();
    ~TSePopupMenuOptions() override;

    TSeBlending& Blending() { return blending_; }
    const TSeBlending& Blending() const { return blending_; }
    TSeShadow& Shadow() { return shadow_; }
    const TSeShadow& Shadow() const { return shadow_; }
    TSeAnimation& Animation() { return animation_; }
    const TSeAnimation& Animation() const { return animation_; }
    void SetBlending(const TSeBlending& value) { blending_.Assign(value); }
    void SetShadow(const TSeShadow& value) { shadow_.Assign(value); }
    void SetAnimation(const TSeAnimation& value) { animation_.Assign(value); }

    // Copies all three, then notifies once.
    void Assign(const vcl::TPersistent& source) override;

    vcl::TNotifyEvent OnChange;

protected:
    virtual void Changed();

private:
    void Connect();

    TSeBlending blending_;
    TSeShadow shadow_;
    TSeAnimation animation_;
    bool assigning_ = false;
};

}  // namespace se
