#include "platform/draw/Region.h"

#include <algorithm>

namespace vcl {
namespace {

struct Interval {
    int Left;
    int Right;
};

bool ByTop(const TRect& a, const TRect& b) { return a.Top < b.Top; }

// The rectangles of one list (sorted by top) that cover the band the sweep is at, kept up to date
// as it moves down, so a band looks only at its own rectangles.
struct Covering {
    std::vector<TRect> rects;
    size_t next = 0;  // the first rectangle of the list that has not joined yet

    void Start() {
        rects.clear();
        next = 0;
    }
    // To the band from y0: rectangles that ended above it leave, those that start at it join.
    void MoveTo(const std::vector<TRect>& sorted, int y0) {
        rects.erase(std::remove_if(rects.begin(), rects.end(), [y0](const TRect& r) { return r.Bottom <= y0; }),
                    rects.end());
        while (next < sorted.size() && sorted[next].Top <= y0) rects.push_back(sorted[next++]);
    }
};

// The merged x-intervals of the band's covering rectangles into merged (sorted, neither overlapping
// nor touching). spans is scratch space.
void BandIntervals(const Covering& covering, std::vector<Interval>& spans, std::vector<Interval>& merged) {
    spans.clear();
    merged.clear();
    for (const TRect& r : covering.rects) spans.push_back({r.Left, r.Right});
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

// The band sweep's working lists, kept from one combination to the next: clip regions are
// combined on every paint of every control, and kept storage lets a combination run without
// allocating once the lists have grown.
struct Sweep {
    std::vector<TRect> sa, sb, out, one;
    std::vector<int> ys, xs;
    std::vector<size_t> previous, current;  // rectangles reaching down to the current band's top
    std::vector<Interval> scratch, ia, ib, band;
    Covering ca, cb;
};

Sweep& Scratch() {
    thread_local Sweep sweep;
    return sweep;
}

// The non-empty rectangles of from, sorted by top, into to.
void SortedByTop(const std::vector<TRect>& from, std::vector<TRect>& to) {
    to.clear();
    for (const TRect& r : from) {
        if (!r.IsEmpty()) to.push_back(r);
    }
    // A region's own rectangles are sorted already.
    if (!std::is_sorted(to.begin(), to.end(), ByTop)) std::sort(to.begin(), to.end(), ByTop);
}

}  // namespace

Region::Region(const TRect& rect) {
    if (!rect.IsEmpty()) rects_.push_back(rect);
}

void Region::Reset(const TRect& rect) {
    rects_.clear();
    if (!rect.IsEmpty()) rects_.push_back(rect);
}

Region Region::FromRects(std::span<const TRect> rects) {
    const std::vector<TRect> input(rects.begin(), rects.end());
    std::vector<TRect>& out = Scratch().out;
    Combine(input, {}, Op::Union, out);
    Region region;
    region.rects_.assign(out.begin(), out.end());
    return region;
}

void Region::CombineWith(const std::vector<TRect>& other, Op op) {
    std::vector<TRect>& out = Scratch().out;
    Combine(rects_, other, op, out);
    // The old rectangles' storage becomes the next combination's output.
    rects_.swap(out);
}

void Region::CombineWith(const TRect& rect, Op op) {
    std::vector<TRect>& one = Scratch().one;
    one.assign(1, rect);
    CombineWith(one, op);
}

// Sweeps the horizontal bands between all top and bottom edges, combines the two interval lists
// of each band, and joins equal spans of touching bands vertically again.
void Region::Combine(const std::vector<TRect>& a, const std::vector<TRect>& b, Op op, std::vector<TRect>& out) {
    Sweep& s = Scratch();
    SortedByTop(a, s.sa);
    SortedByTop(b, s.sb);
    std::vector<int>& ys = s.ys;
    ys.clear();
    for (const auto* list : {&s.sa, &s.sb}) {
        for (const TRect& r : *list) {
            ys.push_back(r.Top);
            ys.push_back(r.Bottom);
        }
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());

    out.clear();
    s.previous.clear();
    s.ca.Start();
    s.cb.Start();
    std::vector<int>& xs = s.xs;
    for (size_t i = 0; i + 1 < ys.size(); ++i) {
        const int y0 = ys[i], y1 = ys[i + 1];
        // Every top and bottom edge is a band edge: what covers y0 covers the whole band.
        s.ca.MoveTo(s.sa, y0);
        s.cb.MoveTo(s.sb, y0);
        BandIntervals(s.ca, s.scratch, s.ia);
        BandIntervals(s.cb, s.scratch, s.ib);
        xs.clear();
        for (const auto* spans : {&s.ia, &s.ib}) {
            for (const Interval& span : *spans) {
                xs.push_back(span.Left);
                xs.push_back(span.Right);
            }
        }
        std::sort(xs.begin(), xs.end());
        xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
        s.band.clear();
        size_t cursorA = 0, cursorB = 0;
        for (size_t k = 0; k + 1 < xs.size(); ++k) {
            const bool inA = Inside(s.ia, cursorA, xs[k]);
            const bool inB = Inside(s.ib, cursorB, xs[k]);
            bool keep = false;
            switch (op) {
                case Op::Union: keep = inA || inB; break;
                case Op::Subtract: keep = inA && !inB; break;
                case Op::Intersect: keep = inA && inB; break;
                case Op::Xor: keep = inA != inB; break;
            }
            if (!keep) continue;
            if (!s.band.empty() && s.band.back().Right == xs[k]) {
                s.band.back().Right = xs[k + 1];
            } else {
                s.band.push_back({xs[k], xs[k + 1]});
            }
        }
        s.current.clear();
        for (const Interval& span : s.band) {
            const auto match = std::find_if(s.previous.begin(), s.previous.end(), [&](size_t p) {
                return out[p].Bottom == y0 && out[p].Left == span.Left && out[p].Right == span.Right;
            });
            if (match != s.previous.end()) {
                out[*match].Bottom = y1;
                s.current.push_back(*match);
            } else {
                s.current.push_back(out.size());
                out.push_back({span.Left, y0, span.Right, y1});
            }
        }
        std::swap(s.previous, s.current);
    }
    std::sort(out.begin(), out.end(), [](const TRect& x, const TRect& y) {
        return x.Top != y.Top ? x.Top < y.Top : x.Left < y.Left;
    });
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
    if (rects_.empty()) {
        rects_.push_back(rect);
        return;
    }
    CombineWith(rect, Op::Union);
}

void Region::Union(const Region& other) {
    if (other.rects_.empty()) return;
    if (rects_.empty()) {
        rects_ = other.rects_;
        return;
    }
    CombineWith(other.rects_, Op::Union);
}

// The clip of a device context is changed on every paint of every control, mostly by one
// rectangle: that case is answered piece by piece, with the same rectangles the band sweep would
// give, and only regions against regions go through the sweep.

void Region::Subtract(const TRect& rect) {
    if (rect.IsEmpty() || !Intersects(rect)) return;
    CutByRect(rect, Op::Subtract);
}

void Region::CutByRect(const TRect& rect, Op op) {
    std::vector<TRect>& out = Scratch().out;
    out.clear();
    for (const TRect& r : rects_) {
        const TRect part = IntersectRect(r, rect);
        if (op == Op::Intersect) {
            if (!part.IsEmpty()) out.push_back(part);
            continue;
        }
        if (part.IsEmpty()) {
            out.push_back(r);
            continue;
        }
        // At most a band above, the parts left and right of the hole, and a band below.
        if (part.Top > r.Top) out.push_back({r.Left, r.Top, r.Right, part.Top});
        if (part.Left > r.Left) out.push_back({r.Left, part.Top, part.Left, part.Bottom});
        if (part.Right < r.Right) out.push_back({part.Right, part.Top, r.Right, part.Bottom});
        if (part.Bottom < r.Bottom) out.push_back({r.Left, part.Bottom, r.Right, r.Bottom});
    }
    // The pieces' spans never touch side by side; pieces of one span that touch top to bottom
    // (from different rectangles) join, as the sweep joins them.
    if (out.size() > 1) {
        std::sort(out.begin(), out.end(), [](const TRect& a, const TRect& b) {
            return a.Left != b.Left ? a.Left < b.Left : a.Right != b.Right ? a.Right < b.Right : a.Top < b.Top;
        });
        size_t kept = 0;
        for (size_t i = 1; i < out.size(); ++i) {
            TRect& last = out[kept];
            if (out[i].Left == last.Left && out[i].Right == last.Right && out[i].Top == last.Bottom) {
                last.Bottom = out[i].Bottom;
            } else {
                out[++kept] = out[i];
            }
        }
        out.resize(kept + 1);
        std::sort(out.begin(), out.end(), [](const TRect& a, const TRect& b) {
            return a.Top != b.Top ? a.Top < b.Top : a.Left < b.Left;
        });
    }
    rects_.swap(out);
}

void Region::Subtract(const Region& other) {
    if (other.rects_.size() == 1) return Subtract(other.rects_.front());
    CombineWith(other.rects_, Op::Subtract);
}

void Region::Intersect(const TRect& rect) {
    if (rects_.empty()) return;
    if (rect.IsEmpty()) {
        rects_.clear();
        return;
    }
    const TRect bounds = Bounds();
    if (IntersectRect(bounds, rect) == bounds) return;  // nothing is cut off
    CutByRect(rect, Op::Intersect);
}

void Region::Intersect(const Region& other) {
    if (other.rects_.size() == 1) return Intersect(other.rects_.front());
    if (rects_.size() == 1 && other.rects_.size() > 1) {
        // Commutes: the other region cut to this one rectangle.
        const TRect only = rects_.front();
        rects_ = other.rects_;
        Intersect(only);
        return;
    }
    CombineWith(other.rects_, Op::Intersect);
}

void Region::Xor(const Region& other) { CombineWith(other.rects_, Op::Xor); }

void Region::Offset(int dx, int dy) {
    for (TRect& r : rects_) r = r.Offset(dx, dy);
}

bool operator==(const Region& a, const Region& b) {
    std::vector<TRect>& difference = Scratch().out;
    Region::Combine(a.rects_, b.rects_, Region::Op::Xor, difference);
    return difference.empty();
}

}  // namespace vcl
