#pragma once
// The enumerations every control of the set shares, with their stored names, and the record that
// travels with a request for a parent's background.

#include <cstdint>

#include "controls/surface/Primitives.h"
#include "platform/draw/Geometry.h"
#include "platform/runtime/StoredProperties.h"

namespace se {

// How a paint reaches the screen: straight into the window, through the one shared off-screen
// surface, or through a surface of the control's own made for each paint.
enum TSePerformance : uint8_t { kspNoBuffer, kspSharedBuffer, kspDoubleBuffer };
inline constexpr vcl::TEnumName<TSePerformance> kPerformanceNames[] = {
    {"kspNoBuffer", kspNoBuffer}, {"kspSharedBuffer", kspSharedBuffer}, {"kspDoubleBuffer", kspDoubleBuffer}};

enum TSeBevelCut : uint8_t { kbvNone, kbvLowered, kbvRaised, kbvSpace, kbvBorder, kbvFlatBorder };
inline constexpr vcl::TEnumName<TSeBevelCut> kBevelCutNames[] = {
    {"kbvNone", kbvNone},     {"kbvLowered", kbvLowered}, {"kbvRaised", kbvRaised},
    {"kbvSpace", kbvSpace},   {"kbvBorder", kbvBorder},   {"kbvFlatBorder", kbvFlatBorder}};

// Presets that give both bevels one cut; kbkNone leaves the cuts alone.
enum TSeBevelKind : uint8_t { kbkNone, kbkSingle, kbkTile, kbkSoft, kbkBorder, kbkFlat };
inline constexpr vcl::TEnumName<TSeBevelKind> kBevelKindNames[] = {
    {"kbkNone", kbkNone}, {"kbkSingle", kbkSingle}, {"kbkTile", kbkTile},
    {"kbkSoft", kbkSoft}, {"kbkBorder", kbkBorder}, {"kbkFlat", kbkFlat}};

// TSeBevelSide and TSeBevelSides (bit 0 left, 1 top, 2 right, 3 bottom) come with the surface's
// DrawBevelLines.
inline constexpr vcl::TEnumName<TSeBevelSide> kBevelSideNames[] = {
    {"kbsLeft", kbsLeft}, {"kbsTop", kbsTop}, {"kbsRight", kbsRight}, {"kbsBottom", kbsBottom}};

// The cut a bevel kind gives both bevels (kbkNone: none, the caller keeps the cuts).
TSeBevelCut BevelKindCut(TSeBevelKind kind);

// The four colours of a bevel cut: outer top-left, outer bottom-right, inner top-left, inner
// bottom-right.
struct TSeBevelColors {
    vcl::TColor outerTopLeft;
    vcl::TColor outerBottomRight;
    vcl::TColor innerTopLeft;
    vcl::TColor innerBottomRight;
};
TSeBevelColors BevelColors(TSeBevelCut cut);

// Horizontal alignment of a caption or text in its rectangle.
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
// Vertical placement of a caption in its rectangle.
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
// A check mark's state, in the order the usual TCheckBoxState has it.
enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

// Hosted scroll bars (none in every control of this program).
enum TSeScrollStyle : uint8_t { kssNone, kssHorizontal, kssVertical, kssBoth };

// Sent with WM_ERASEBKGND (lParam points at it) when a control asks its parent to paint its
// background into the DC in wParam. Receivers only test that the address is not null; an
// ordinary erase by the window system comes with 0 and paints nothing.
#pragma pack(push, 1)
struct BackgroundRequest {
    uint8_t marker = 1;
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};
#pragma pack(pop)
static_assert(sizeof(BackgroundRequest) == 17);

}  // namespace se
