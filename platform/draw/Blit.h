#pragma once
// Block transfers between device contexts: plain and raster-operation copies, stretching copies
// (nearest pixel), pattern fills, the transparent (key-colour) copy and the alpha-blending copy.
// The destination is clipped; the source is read as it is (pixels outside its surface read 0).

#include "platform/draw/GdiTypes.h"

namespace vcl {

bool BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            uint32_t rop);
// Negative sizes mirror.
bool StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, uint32_t rop);
// Raster operations on the destination and the selected brush only (PATCOPY, PATINVERT, DSTINVERT,
// BLACKNESS, WHITENESS).
bool PatBlt(HDC dc, int x, int y, int width, int height, uint32_t rop);
// Copies (stretching) all source pixels except those of the transparent colour; copied pixels
// become opaque.
bool TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, COLORREF transparent);

inline constexpr uint8_t AC_SRC_OVER = 0, AC_SRC_ALPHA = 1;
struct BLENDFUNCTION {
    uint8_t BlendOp = AC_SRC_OVER;
    uint8_t BlendFlags = 0;
    uint8_t SourceConstantAlpha = 255;
    uint8_t AlphaFormat = 0;  // AC_SRC_ALPHA: the source carries premultiplied per-pixel alpha
};
bool AlphaBlend(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, BLENDFUNCTION blend);

}  // namespace vcl
