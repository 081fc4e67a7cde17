#include "platform/toolkit/Logo.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace vcl {

namespace {

struct Point {
    double x, y;
};

// A stroke: a segment, or an arc (angles in degrees, y pointing down, from start to end
// clockwise), of a given width.
struct Stroke {
    bool arc;
    Point a, b;        // segment ends
    Point centre;      // arc
    double radius;
    double from, to;   // arc angles
    double width;
};

Stroke Line(Point a, Point b, double width) { return {false, a, b, {}, 0, 0, 0, width}; }
Stroke Arc(Point centre, double radius, double from, double to, double width) {
    return {true, {}, {}, centre, radius, from, to, width};
}

double Distance(Point p, Point q) { return std::hypot(p.x - q.x, p.y - q.y); }

double SegmentDistance(Point p, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t = length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0.0;
    return Distance(p, {a.x + t * dx, a.y + t * dy});
}

Point OnArc(const Stroke& s, double degrees) {
    const double r = degrees * std::numbers::pi / 180;
    return {s.centre.x + s.radius * std::cos(r), s.centre.y + s.radius * std::sin(r)};
}

double ArcDistance(Point p, const Stroke& s) {
    double angle = std::atan2(p.y - s.centre.y, p.x - s.centre.x) * 180 / std::numbers::pi;
    const double span = std::fmod(s.to - s.from + 720, 360.0);
    const double offset = std::fmod(angle - s.from + 720, 360.0);
    if (offset <= span || span == 0) return std::abs(Distance(p, s.centre) - s.radius);
    return std::min(Distance(p, OnArc(s, s.from)), Distance(p, OnArc(s, s.to)));
}

bool Covers(const std::vector<const Stroke*>& strokes, Point p) {
    return std::any_of(strokes.begin(), strokes.end(), [&](const Stroke* s) {
        const double d = s->arc ? ArcDistance(p, *s) : SegmentDistance(p, s->a, s->b);
        return d <= s->width / 2;
    });
}

// Where a stroke can cover anything: its segment's or its whole circle's box, widened by half the
// stroke and a margin against rounding. A point outside it is farther than half the width.
struct Box {
    double left, top, right, bottom;
};

Box Reach(const Stroke& s) {
    const double r = s.width / 2 + 0.01;
    if (s.arc) {
        return {s.centre.x - s.radius - r, s.centre.y - s.radius - r, s.centre.x + s.radius + r,
                s.centre.y + s.radius + r};
    }
    return {std::min(s.a.x, s.b.x) - r, std::min(s.a.y, s.b.y) - r, std::max(s.a.x, s.b.x) + r,
            std::max(s.a.y, s.b.y) + r};
}

// Fraction of the pixel (x, y) the strokes cover, from 4 x 4 samples. Only the strokes that reach
// the pixel are measured (the distances are the start-up's largest cost otherwise); the others
// could not have covered a sample, so the result is the same.
double Coverage(const std::vector<Stroke>& strokes, int x, int y) {
    std::vector<const Stroke*> near;
    for (const Stroke& s : strokes) {
        const Box b = Reach(s);
        if (b.right >= x && b.left <= x + 1 && b.bottom >= y && b.top <= y + 1) near.push_back(&s);
    }
    if (near.empty()) return 0;
    int hits = 0;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            if (Covers(near, {x + (i + 0.5) / 4, y + (j + 0.5) / 4})) ++hits;
        }
    }
    return hits / 16.0;
}

uint8_t Mix(uint8_t under, uint8_t over, double amount) {
    return static_cast<uint8_t>(std::lround(under + (over - under) * amount));
}

}  // namespace

std::unique_ptr<TBitmap> CreateLogoBitmap() {
    constexpr double w = 3.4;  // letter stroke
    // "Velmo" on a baseline at 26, x-height 14.
    const std::vector<Stroke> letters = {
        // V
        Line({32, 6.5}, {39, 25.5}, w), Line({39, 25.5}, {46, 6.5}, w),
        // e: a bowl open at the lower right, and its bar
        Arc({55.5, 19}, 6.3, 50, 5, w), Line({49.5, 19}, {61.5, 19}, 2.6),
        // l
        Line({67.5, 5.5}, {67.5, 25.5}, w),
        // m
        Line({74, 12.8}, {74, 25.5}, w), Arc({78.7, 17.2}, 4.7, 180, 360, w), Line({83.4, 17.2}, {83.4, 25.5}, w),
        Arc({88.1, 17.2}, 4.7, 180, 360, w), Line({92.8, 17.2}, {92.8, 25.5}, w),
        // o
        Arc({102.5, 19.2}, 6.2, 0, 360, w),
    };
    // A line signal before the word and a rule under it.
    const std::vector<Stroke> signal = {
        Line({4, 24}, {4, 12}, 2), Line({4, 12}, {10, 12}, 2), Line({10, 12}, {10, 24}, 2), Line({10, 24}, {16, 24}, 2),
        Line({16, 24}, {16, 12}, 2), Line({16, 12}, {22, 12}, 2), Line({22, 12}, {22, 24}, 2), Line({22, 24}, {26, 24}, 2),
        Line({32, 30}, {110, 30}, 1.5),
    };
    auto bitmap = std::make_unique<TBitmap>(kLogoWidth, kLogoHeight);
    bitmap->SetPixelFormat(pf24bit);
    const uint8_t face[3] = {192, 192, 192};        // the form's silver
    const uint8_t orange[3] = {224, 112, 16};
    const uint8_t top[3] = {10, 36, 106};           // the highlight navy, lighter downwards
    const uint8_t bottom[3] = {58, 110, 165};
    for (int y = 0; y < kLogoHeight; ++y) {
        uint32_t* row = bitmap->ScanLine(y);
        const double t = std::clamp((y - 5.0) / 21.0, 0.0, 1.0);
        for (int x = 0; x < kLogoWidth; ++x) {
            const double marked = Coverage(signal, x, y);
            const double lettered = Coverage(letters, x, y);
            uint8_t rgb[3];
            for (int c = 0; c < 3; ++c) {
                const uint8_t ink = Mix(top[c], bottom[c], t);
                rgb[c] = Mix(Mix(face[c], orange[c], marked), ink, lettered);
            }
            row[x] = 0xFF000000u | (uint32_t{rgb[0]} << 16) | (uint32_t{rgb[1]} << 8) | rgb[2];
        }
    }
    return bitmap;
}

}  // namespace vcl
