#pragma once
// A region: a set of pixels kept as disjoint rectangles. Clip regions of device contexts, visible
// regions of windows, invalid areas and shaped-window outlines are all regions.

#include <span>
#include <vector>

#include "platform/draw/Geometry.h"

namespace vcl {

class Region {
public:
    Region() = default;
    explicit Region(const TRect& rect);
    // Union of possibly overlapping rectangles.
    static Region FromRects(std::span<const TRect> rects);

    bool IsEmpty() const { return rects_.empty(); }
    // Disjoint rectangles, sorted top to bottom, then left to right.
    const std::vector<TRect>& Rects() const { return rects_; }
    TRect Bounds() const;
    bool Contains(TPoint point) const;
    bool Intersects(const TRect& rect) const;

    void Clear() { rects_.clear(); }
    // The region becomes rect, keeping its storage.
    void Reset(const TRect& rect);
    void Union(const TRect& rect);
    void Union(const Region& other);
    void Subtract(const TRect& rect);
    void Subtract(const Region& other);
    void Intersect(const TRect& rect);
    void Intersect(const Region& other);
    void Xor(const Region& other);
    void Offset(int dx, int dy);

    // Same pixels, however the rectangles are cut.
    friend bool operator==(const Region& a, const Region& b);

private:
    enum class Op { Union, Subtract, Intersect, Xor };
    // a op b into out (storage kept from call to call; out is neither a nor b).
    static void Combine(const std::vector<TRect>& a, const std::vector<TRect>& b, Op op, std::vector<TRect>& out);
    // This region op other, the result taking over the sweep's output storage.
    void CombineWith(const std::vector<TRect>& other, Op op);
    void CombineWith(const TRect& rect, Op op);
    // This region less rect (Subtract) or within it (Intersect), without the sweep.
    void CutByRect(const TRect& rect, Op op);

    std::vector<TRect> rects_;
};

}  // namespace vcl
