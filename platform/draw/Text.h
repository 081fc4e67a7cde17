#pragma once
// Text output and measurement in the DC's selected font and text colour: metrics, extents,
// TextOut, ExtTextOut and the formatted DrawText. "W" calls take UTF-16, "A" calls UTF-8 (the
// system code page here); counts are code units, −1 meaning up to a terminating zero.

#include <memory>
#include <string_view>

#include "platform/draw/GdiTypes.h"

namespace vcl {

class FontInstance;

bool GetTextMetrics(HDC dc, TEXTMETRIC* metrics);
inline bool GetTextMetricsW(HDC dc, TEXTMETRIC* metrics) { return GetTextMetrics(dc, metrics); }
inline bool GetTextMetricsA(HDC dc, TEXTMETRIC* metrics) { return GetTextMetrics(dc, metrics); }

bool GetTextExtentPoint32W(HDC dc, const char16_t* text, int count, TSize* size);
bool GetTextExtentPoint32A(HDC dc, const char* text, int count, TSize* size);
bool GetCharWidth32W(HDC dc, unsigned first, unsigned last, int* widths);

bool TextOutW(HDC dc, int x, int y, const char16_t* text, int count);
bool TextOutA(HDC dc, int x, int y, const char* text, int count);
// ETO_OPAQUE fills rect with the background colour, ETO_CLIPPED clips to it; dx, when given,
// holds each character's advance.
bool ExtTextOutW(HDC dc, int x, int y, unsigned options, const TRect* rect, const char16_t* text, int count,
                 const int* dx);

// Returns the text height (the offset from rect's top to the text's bottom with DT_VCENTER or
// DT_BOTTOM), 0 on failure. DT_CALCRECT measures only and sets rect's right and bottom.
int DrawTextW(HDC dc, const char16_t* text, int count, TRect* rect, unsigned format);
int DrawTextA(HDC dc, const char* text, int count, TRect* rect, unsigned format);
// Disabled text as the classic look engraves it: DrawText's layout and glyph masks, drawn in the
// highlight colour one pixel down and to the right, then in the shadow colour in place. Grey
// coverage (outline glyphs) is thresholded to whole pixels here only, so both coats stay sharp.
int DrawDisabledTextW(HDC dc, const char16_t* text, int count, TRect* rect, unsigned format);
int DrawDisabledTextA(HDC dc, const char* text, int count, TRect* rect, unsigned format);

// The font the DC draws with.
std::shared_ptr<const FontInstance> SelectedFont(HDC dc);

}  // namespace vcl
