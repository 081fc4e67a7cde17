#pragma once
// TseAnimationRec: the settings of one transition — which effect, how long, how coarse its cells,
// how many tiles and which way it is turned — plus the mask picture of the bitmap animation.

#include <memory>
#include <string>

#include "controls/surface/Bitmap.h"
#include "platform/runtime/Component.h"

namespace se {

enum TseRotation : uint8_t { krNone, krRotate90, krRotate180, krRotate270 };

// The two names that choose no registered effect directly.
inline constexpr const char* kRandomEffectName = "[ RANDOM ] - Random selection";
inline constexpr const char* kBitmapEffectName = "[ BITMAP ] - Bitmap Animation";

class TseAnimationRec : public vcl::TComponent {
public:
    explicit TseAnimationRec(vcl::TComponent* AOwner = nullptr);
    ~TseAnimationRec() override;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // Milliseconds, kept within 50 … 9000.
    int Time() const { return time_; }
    void SetTime(int value);
    // Pixels per mask cell, kept within 1 … 10.
    int Resolution() const { return resolution_; }
    void SetResolution(int value);
    // Tiles per side, kept within 1 … 20.
    int TileCount() const { return tileCount_; }
    void SetTileCount(int value);
    const std::string& Effect() const { return effect_; }
    void SetEffect(const std::string& value);
    TseRotation Rotation() const { return rotation_; }
    void SetRotation(TseRotation value);
    // The mask picture of the bitmap animation: bright pixels turn over first. Setting copies it;
    // an empty picture empties it.
    const TseBitmap& Bitmap() const { return *bitmap_; }
    void SetBitmap(const vcl::TPersistent& value);

    void Assign(const vcl::TPersistent& source) override;

private:
    std::unique_ptr<TseBitmap> bitmap_;
    std::string effect_ = kRandomEffectName;
    int time_ = 400;
    int resolution_ = 1;
    int tileCount_ = 1;
    TseRotation rotation_ = krNone;
    bool enabled_ = false;
};

}  // namespace se
