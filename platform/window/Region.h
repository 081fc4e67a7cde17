#pragma once
// A region: a set of pixels kept as disjoint rectangles. Update regions of windows and the
// visible regions painting is clipped to.

#include <vector>

#include "platform/draw/Geometry.h"

namespace vcl {

class TRegion {
public:
    TRegion() = default;
    explicit TRegion(const TRect& rect) { Add(rect); }

    bool IsEmpty() const { return rects_.empty(); }
    const std::vector<TRect>& Rects() const { return rects_; }
    // The smallest rectangle holding the region; (0, 0, 0, 0) when empty.
    TRect Bounds() const;
    bool Contains(TPoint p) const;
    long long Area() const;

    void Clear() { rects_.clear(); }
    void Add(const TRect& rect);
    void Add(const TRegion& other);
    void Subtract(const TRect& rect);
    void Intersect(const TRect& rect);
    void Intersect(const TRegion& other);
    void Offset(int dx, int dy);

private:
    std::vector<TRect> rects_;
};

}  // namespace vcl
