#pragma once
// What painting one window (or one window-less control inside it) has at hand: the top-level's back
// buffer, the painted area's origin in that buffer and the visible part it may touch. A device
// context is built from this; until then controls fill rectangles through it.

#include <cstdint>
#include <vector>

#include "platform/draw/Geometry.h"
#include "platform/draw/PixelSection.h"

namespace vcl {

struct TPaintTarget {
    PixelSection* Buffer = nullptr;  // the top-level's back buffer (0xAARRGGBB, top-down)
    TPoint Origin;                   // buffer position of the painted area's (0, 0)
    std::vector<TRect> Clip;         // disjoint rectangles in buffer coordinates

    bool IsEmpty() const { return Buffer == nullptr || Clip.empty(); }
    // The clip in the painted area's own coordinates, as one bounding rectangle.
    TRect ClipBounds() const;
    // Fills a rectangle (painted-area coordinates) with a pixel value, inside the clip only.
    void Fill(const TRect& rect, uint32_t pixel) const;
    // The part for a rectangle of this area (painted-area coordinates): origin moved to its
    // top-left and clip narrowed to it. Window-less controls paint through this.
    TPaintTarget ForChild(const TRect& childBounds) const;
    // The same target with a rectangle (painted-area coordinates) taken out of the clip.
    TPaintTarget Excluding(const TRect& rect) const;
};

// What BeginPaint hands over. rcPaint is the bounding rectangle of the invalid area in client
// coordinates; fErase is set when the background still has to be erased.
struct PAINTSTRUCT {
    TPaintTarget Target;
    TRect rcPaint;
    bool fErase = false;
};

}  // namespace vcl
