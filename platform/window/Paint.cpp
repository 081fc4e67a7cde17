#include "platform/window/Paint.h"

#include <algorithm>

#include "platform/draw/Region.h"

namespace vcl {

TRect TPaintTarget::ClipBounds() const {
    TRect bounds;
    for (const TRect& r : Clip) bounds = UnionRect(bounds, r);
    return bounds.IsEmpty() ? TRect{} : bounds.Offset(-Origin.X, -Origin.Y);
}

void TPaintTarget::Fill(const TRect& rect, uint32_t pixel) const {
    if (!Buffer) return;
    const TRect area = rect.Offset(Origin.X, Origin.Y);
    const TRect bufferRect{0, 0, Buffer->Width(), Buffer->Height()};
    for (const TRect& c : Clip) {
        const TRect r = IntersectRect(IntersectRect(area, c), bufferRect);
        for (int y = r.Top; y < r.Bottom; ++y) std::fill(Buffer->Row(y) + r.Left, Buffer->Row(y) + r.Right, pixel);
    }
}

TPaintTarget TPaintTarget::ForChild(const TRect& childBounds) const {
    TPaintTarget child{Buffer, {Origin.X + childBounds.Left, Origin.Y + childBounds.Top}, {}};
    const TRect area = childBounds.Offset(Origin.X, Origin.Y);
    for (const TRect& c : Clip) {
        const TRect r = IntersectRect(c, area);
        if (!r.IsEmpty()) child.Clip.push_back(r);
    }
    return child;
}

TPaintTarget TPaintTarget::Excluding(const TRect& rect) const {
    Region region;
    for (const TRect& c : Clip) region.Union(c);
    region.Subtract(rect.Offset(Origin.X, Origin.Y));
    return TPaintTarget{Buffer, Origin, region.Rects()};
}

}  // namespace vcl
