#include "platform/window/Region.h"

namespace vcl {

namespace {

// The parts of r outside cut, as up to four disjoint rectangles (above, below, left, right).
void AppendDifference(const TRect& r, const TRect& cut, std::vector<TRect>& out) {
    const TRect common = IntersectRect(r, cut);
    if (common.IsEmpty()) {
        out.push_back(r);
        return;
    }
    if (r.Top < common.Top) out.push_back({r.Left, r.Top, r.Right, common.Top});
    if (common.Bottom < r.Bottom) out.push_back({r.Left, common.Bottom, r.Right, r.Bottom});
    if (r.Left < common.Left) out.push_back({r.Left, common.Top, common.Left, common.Bottom});
    if (common.Right < r.Right) out.push_back({common.Right, common.Top, r.Right, common.Bottom});
}

}  // namespace

TRect TRegion::Bounds() const {
    TRect bounds;
    for (const TRect& r : rects_) bounds = UnionRect(bounds, r);
    return bounds;
}

bool TRegion::Contains(TPoint p) const {
    for (const TRect& r : rects_) {
        if (r.Contains(p)) return true;
    }
    return false;
}

long long TRegion::Area() const {
    long long area = 0;
    for (const TRect& r : rects_) area += static_cast<long long>(r.Width()) * r.Height();
    return area;
}

void TRegion::Add(const TRect& rect) {
    if (rect.IsEmpty()) return;
    // Keep the rectangles disjoint: add only the parts of rect not yet covered.
    std::vector<TRect> pieces{rect};
    for (const TRect& existing : rects_) {
        std::vector<TRect> next;
        for (const TRect& piece : pieces) AppendDifference(piece, existing, next);
        pieces.swap(next);
        if (pieces.empty()) return;
    }
    rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void TRegion::Add(const TRegion& other) {
    for (const TRect& r : other.rects_) Add(r);
}

void TRegion::Subtract(const TRect& rect) {
    if (rect.IsEmpty()) return;
    std::vector<TRect> result;
    for (const TRect& r : rects_) AppendDifference(r, rect, result);
    rects_.swap(result);
}

void TRegion::Intersect(const TRect& rect) {
    std::vector<TRect> result;
    for (const TRect& r : rects_) {
        const TRect common = IntersectRect(r, rect);
        if (!common.IsEmpty()) result.push_back(common);
    }
    rects_.swap(result);
}

void TRegion::Intersect(const TRegion& other) {
    std::vector<TRect> result;
    for (const TRect& a : rects_) {
        for (const TRect& b : other.rects_) {
            const TRect common = IntersectRect(a, b);
            if (!common.IsEmpty()) result.push_back(common);
        }
    }
    rects_.swap(result);
}

void TRegion::Offset(int dx, int dy) {
    for (TRect& r : rects_) r = r.Offset(dx, dy);
}

}  // namespace vcl
