#pragma once
// The drawing vocabulary of the controls: coloured fills and frames, the 3-D frame and bevel
// lines, focus rectangles, dither and gradient fills, wide text drawing and measuring, text
// shortening and rectangle arithmetic. The primitives leave the canvas brush and pen as they set
// them.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/draw/Canvas.h"
#include "platform/draw/Graphic.h"

namespace se {

using vcl::TCanvas;
using vcl::TColor;
using vcl::TRect;

enum TSeBevelSide : uint8_t { kbsLeft, kbsTop, kbsRight, kbsBottom };
// A set of sides: bit 0 left, 1 top, 2 right, 3 bottom.
using TSeBevelSides = uint8_t;
constexpr TSeBevelSides BevelSide(TSeBevelSide side) { return static_cast<TSeBevelSides>(1u << side); }
inline constexpr TSeBevelSides kAllBevelSides = 0x0F;

void FillRectColor(TCanvas& canvas, const TRect& rect, TColor color);
// Outline covering x = Left..Right − 1 and y = Top..Bottom − 1.
void FrameRectColor(TCanvas& canvas, const TRect& rect, TColor color);
// Left column and top row in topLeft (top-left corner included); right column and bottom row in
// bottomRight (the other three corners).
void Draw3DFrame(TCanvas& canvas, const TRect& rect, TColor topLeft, TColor bottomRight);
// width times: lines on the chosen sides (left, top, bottom, right), then those edges move in.
void DrawBevelLines(TCanvas& canvas, TRect& rect, TSeBevelSides sides, int width, TColor topLeft, TColor bottomRight);
void LineToColor(TCanvas& canvas, int x, int y, TColor color);
void DrawFocusRectColor(TCanvas& canvas, const TRect& rect, TColor color);
void FillRoundRectColor(TCanvas& canvas, const TRect& rect, int radius, TColor color);
// Checkerboard: color2 where x and y are both even or both odd, aligned to the brush origin.
void FillDitherPattern(TCanvas& canvas, TRect rect, TColor color1, TColor color2);
void FillGradient(TCanvas& canvas, const TRect& rect, TColor color1, bool vertical, TColor color2);
void DrawIconCentered(TCanvas& canvas, const TRect& rect, const vcl::TGraphic& icon);

// Transparent background, then the platform's wide DrawText; returns its result.
int DrawWideText(TCanvas& canvas, std::u16string_view text, TRect& rect, unsigned flags);
int WideTextWidth(TCanvas& canvas, std::u16string_view text, unsigned flags = 0);
int WideTextHeight(TCanvas& canvas, std::u16string_view text);
// The text, or its longest start that fits with "..." appended (just "..." when none does).
std::u16string FitTextWithEllipsis(vcl::HDC dc, std::u16string_view text, int maxWidth);

constexpr int RectWidth(const TRect& r) { return r.Right - r.Left; }
constexpr int RectHeight(const TRect& r) { return r.Bottom - r.Top; }
constexpr bool RectIsEmpty(const TRect& r) { return RectWidth(r) < 1 || RectHeight(r) < 1; }
constexpr bool RectsEqual(const TRect& a, const TRect& b) { return a == b; }
// r moved so it is centred in bounds (offsets truncated toward zero).
TRect CenterRect(const TRect& r, const TRect& bounds);
// r moved to bounds' left edge and centred vertically.
TRect CenterRectVert(const TRect& r, const TRect& bounds);

}  // namespace se
