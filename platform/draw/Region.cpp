#include "platform/draw/Region.h"

#include <algorithm>

namespace vcl {
namespace {

struct Interval {
    int Left;
    int Right;
};

bool ByTop(const TRect& a, const TRect& b) { return a.Top < b.Top; }

// The merged x-intervals of the rectangles (sorted by top) that cover the band [y0, y1), into merged
// (sorted, neither overlapping nor touching). spans is scratch space.
void BandIntervals(const std::vector<TRect>& rects, int y0, int y1, std::vector<Interval>& spans,
                   std::vector<Interval>& merged) {
    spans.clear();
    merged.clear();
    for (const TRect& r : rects) {
        if (r.Top > y0) break;
        if (r.Bottom >= y1) spans.push_back({r.Left, r.Right});
    }
    std::sort(spans.begin(), spans.end(), [](const Interval& a, const Interval& b) { return a.Left < b.Left; });
    for (const Interval& s : spans) {
        if (!merged.empty() && s.Left <= merged.back().Right) {
            merged.back().Right = std::max(merged.back().Right, s.Right);
        } else {
            merged.push_back(s);
        }
    }
}

// Whether x lies in one of the merged spans, for x rising from call to call: cursor walks along.
bool Inside(const std::vector<Interval>& spans, size_t& cursor, int x) {
    while (cursor < spans.size() && spans[cursor].Right <= x) ++cursor;
    return cursor < spans.size() && spans[cursor].Left <= x;
}

}  // namespace

Region::Region(const TRect& rect) {
    if (!rect.IsEmpty()) rects_.push_back(rect);
}

Region Region::FromRects(std::span<const TRect> rects) {
    std::vector<TRect> input(rects.begin(), rects.end());
    Region region;
    region.rects_ = Combine(input, {}, Op::Union);
    return region;
}

// Sweeps the horizontal bands between all top and bottom edges, combines the two interval lists
// of each band, and joins equal spans of touching bands vertically again.
std::vector<TRect> Region::Combine(const std::vector<TRect>& a, const std::vector<TRect>& b, Op op) {
    std::vector<TRect> sa, sb;
    for (const TRect& r : a)
        if (!r.IsEmpty()) sa.push_back(r);
    for (const TRect& r : b)
        if (!r.IsEmpty()) sb.push_back(r);
    std::sort(sa.begin(), sa.end(), ByTop);
    std::sort(sb.begin(), sb.end(), ByTop);
    std::vector<int> ys;
    for (const auto* list : {&sa, &sb}) {
        for (const TRect& r : *list) {
            ys.push_back(r.Top);
            ys.push_back(r.Bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    // Clip regions are combined on every paint: the per-band lists live outside the loop, so a
    // combination allocates a handful of times, not a handful of times per band.
    std::vector<TRect> out;
    std::vector<size_t> previous, current;  // rectangles reaching down to the current band's top
    std::vector<Interval> scratch, ia, ib, band;
    std::vector<int> xs;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const int y0 = ys[i], y1 = ys[i + 1];
        BandIntervals(sa, y0, y1, scratch, ia);
        BandIntervals(sb, y0, y1, scratch, ib);
        xs.clear();
        for (const auto* spans : {&ia, &ib}) {
            for (const Interval& s : *spans) {
                xs.push_back(s.Left);
                xs.push_back(s.Right);
            }
        }
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        band.clear();
        size_t cursorA = 0, cursorB = 0;
        for (size_t k = 0; k + 1 < xs.size(); ++k) {
            const bool inA = Inside(ia, cursorA, xs[k]);
            const bool inB = Inside(ib, cursorB, xs[k]);
            bool keep = false;
            switch (op) {
                case Op::Union: keep = inA || inB; break;
                case Op::Subtract: keep = inA && !inB; break;
                case Op::Intersect: keep = inA && inB; break;
                case Op::Xor: keep = inA != inB; break;
            }
            if (!keep) continue;
            if (!band.empty() && band.back().Right == xs[k]) {
                band.back().Right = xs[k + 1];
            } else {
                band.push_back({xs[k], xs[k + 1]});
            }
        }
        current.clear();
        for (const Interval& s : band) {
            const auto match = std::find_if(previous.begin(), previous.end(), [&](size_t p) {
                return out[p].Bottom == y0 && out[p].Left == s.Left && out[p].Right == s.Right;
            });
            if (match != previous.end()) {
                out[*match].Bottom = y1;
                current.push_back(*match);
            } else {
                current.push_back(out.size());
                out.push_back({s.Left, y0, s.Right, y1});
            }
        }
        std::swap(previous, current);
    }
    std::sort(out.begin(), out.end(), [](const TRect& x, const TRect& y) {
        return x.Top != y.Top ? x.Top < y.Top : x.Left < y.Left;
    });
    return out;
}

TRect Region::Bounds() const {
    TRect bounds;
    for (const TRect& r : rects_) bounds = UnionRect(bounds, r);
    return bounds;
}

bool Region::Contains(TPoint point) const {
    return std::any_of(rects_.begin(), rects_.end(), [&](const TRect& r) { return r.Contains(point); });
}

bool Region::Intersects(const TRect& rect) const {
    return std::any_of(rects_.begin(), rects_.end(), [&](const TRect& r) { return !IntersectRect(r, rect).IsEmpty(); });
}

void Region::Union(const TRect& rect) {
    if (rect.IsEmpty()) return;
    rects_ = Combine(rects_, {rect}, Op::Union);
}

void Region::Union(const Region& other) { rects_ = Combine(rects_, other.rects_, Op::Union); }

// The clip of a device context is changed on every paint of every control, mostly a single
// rectangle against another: those cases are answered here, with the same rectangles the band
// sweep would give, and only the others go through it.

void Region::Subtract(const TRect& rect) {
    if (rect.IsEmpty() || !Intersects(rect)) return;
    if (rects_.size() == 1) {
        // At most a band above, the parts left and right of the hole, and a band below.
        const TRect whole = rects_.front();
        const TRect hole = IntersectRect(whole, rect);
        rects_.clear();
        if (hole.Top > whole.Top) rects_.push_back({whole.Left, whole.Top, whole.Right, hole.Top});
        if (hole.Left > whole.Left) rects_.push_back({whole.Left, hole.Top, hole.Left, hole.Bottom});
        if (hole.Right < whole.Right) rects_.push_back({hole.Right, hole.Top, whole.Right, hole.Bottom});
        if (hole.Bottom < whole.Bottom) rects_.push_back({whole.Left, hole.Bottom, whole.Right, whole.Bottom});
        return;
    }
    rects_ = Combine(rects_, {rect}, Op::Subtract);
}

void Region::Subtract(const Region& other) {
    if (other.rects_.size() == 1) return Subtract(other.rects_.front());
    rects_ = Combine(rects_, other.rects_, Op::Subtract);
}

void Region::Intersect(const TRect& rect) {
    if (rects_.empty()) return;
    if (rect.IsEmpty()) {
        rects_.clear();
        return;
    }
    const TRect bounds = Bounds();
    if (IntersectRect(bounds, rect) == bounds) return;  // nothing is cut off
    if (rects_.size() == 1) {
        const TRect part = IntersectRect(rects_.front(), rect);
        if (part.IsEmpty()) {
            rects_.clear();
        } else {
            rects_.front() = part;
        }
        return;
    }
    rects_ = Combine(rects_, {rect}, Op::Intersect);
}

void Region::Intersect(const Region& other) {
    if (other.rects_.size() == 1) return Intersect(other.rects_.front());
    if (rects_.size() == 1 && other.rects_.size() > 1) {
        // Commutes: the other region cut to this one rectangle.
        Region cut = other;
        cut.Intersect(rects_.front());
        rects_ = std::move(cut.rects_);
        return;
    }
    rects_ = Combine(rects_, other.rects_, Op::Intersect);
}

void Region::Xor(const Region& other) { rects_ = Combine(rects_, other.rects_, Op::Xor); }

void Region::Offset(int dx, int dy) {
    for (TRect& r : rects_) r = r.Offset(dx, dy);
}

bool operator==(const Region& a, const Region& b) {
    return Region::Combine(a.rects_, b.rects_, Region::Op::Xor).empty();
}

}  // namespace vcl
