#pragma once
// Pixels of the control set's surfaces (0xAARRGGBB, alpha 255 opaque), colour conversions, and the
// pixel routines: one blend of a pixel over another and three row operations (copy, key-colour
// copy, blend), in two variants chosen once at start: packed-integer (SSE2, AVX2) or plain.

#include <cstdint>

#include "platform/draw/Color.h"

namespace se {

using TsePixel = uint32_t;

// Pixels whose low 24 bits are this purple are transparent for key-colour copies and regions.
inline constexpr TsePixel KeyColor = 0x7F007F;
inline constexpr bool IsKeyPixel(TsePixel p) { return (p & 0x00FFFFFFu) == KeyColor; }
inline constexpr uint8_t AlphaOf(TsePixel p) { return static_cast<uint8_t>(p >> 24); }

struct PixelRoutines {
    const char* name;
    TsePixel (*blendPixel)(TsePixel top, TsePixel under);
    void (*copyRow)(const TsePixel* source, TsePixel* destination, int count);
    void (*keyRow)(const TsePixel* source, TsePixel* destination, int count);
    void (*blendRow)(const TsePixel* source, TsePixel* destination, int count);
};

// Packed-integer variant: every channel, alpha included, (under × (256 − α) + top × α) div 256;
// rows four pixels at a time in 128-bit registers (SSE2), or eight in 256-bit ones (AVX2) where the
// processor has them. PackedRoutines is the widest of the two.
const PixelRoutines& PackedRoutines();
const PixelRoutines& PackedSse2Routines();
const PixelRoutines* PackedAvx2Routines();  // null when the processor lacks AVX2
// Other processors: α 0 keeps under, α 255 gives top, otherwise the colour channels
// (top × α + under × (255 − α)) div 256 with alpha 255.
const PixelRoutines& PlainRoutines();
// The variant of this run, chosen on first use from the processor's features.
const PixelRoutines& Routines();

inline TsePixel BlendPixel(TsePixel top, TsePixel under) { return Routines().blendPixel(top, under); }

// Colour conversions.
TsePixel ColorToPixel(vcl::TColor color);  // system colours resolved; opaque
TsePixel MakePixel(int red, int green, int blue, int alpha);  // channels clamped, alpha modulo 256
vcl::TColor PixelToColor(TsePixel pixel);
void PixelToHsl(TsePixel pixel, float& hue, float& saturation, float& lightness);
TsePixel HslToPixel(float hue, float saturation, float lightness);
// The hue turned by amount / 255 of a full turn; saturation, lightness and alpha kept.
TsePixel ShiftHue(TsePixel pixel, int amount);

}  // namespace se
