#include "controls/effects/MaskEffects.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace se {

namespace {

// Where along the run a cell turns over, 0 first and 1 last.
enum class Order {
    Diagonal,     // from the top-left corner to the bottom-right one
    DiagonalIn,   // from those two corners towards the diagonal between the others
    DiagonalOut,  // from that diagonal towards the two corners
    Down,         // from the top edge to the bottom one
    In,           // from the left and right edges towards the middle
    Out,          // from the middle column towards the left and right edges
    CrossOut,     // a cross through the middle that thickens
    CrossIn,      // from the four corners towards that cross
    RectIn,       // rectangles shrinking from the border towards the middle
    RectOut,      // rectangles growing from the middle
    CircleIn,     // circles shrinking from the corners towards the middle
    CircleOut,    // circles growing from the middle
    Circles,      // a field of small circles, each growing from its centre
    DiamondIn,    // diamonds shrinking towards the middle
    DiamondOut,   // diamonds growing from the middle
    Rotate,       // a hand sweeping clockwise from twelve o'clock
    Pixels,       // single cells at random moments
    Lines,        // whole rows at random moments
    Stream,       // columns pouring down from the top, each a little behind or ahead
    Plasma,       // the contours of a plasma cloud
};

// How wide the moving edge is, as a share of the whole run.
enum class Edge { Slide, Smooth, Fade, Speckle };

constexpr float Softness(Edge edge) {
    switch (edge) {
    case Edge::Slide: return 0.0f;
    case Edge::Smooth: return 0.3f;
    case Edge::Speckle: return 0.5f;
    case Edge::Fade: return 1.0f;
    }
    return 0.0f;
}

// A repeatable scatter value in [0, 1) for a cell.
float ScatterOf(uint32_t x, uint32_t y) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ 0x9E3779B9u;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return static_cast<float>(h >> 8) / 16777216.0f;
}

struct Geometry {
    Geometry(int width, int height)
        : w(width), h(height), cx((width - 1) / 2.0f), cy((height - 1) / 2.0f),
          radius(std::max(std::hypot(cx, cy), 1.0f)), circle(std::max(4.0f, std::max(width, height) / 6.0f)) {}

    // Position across the grid in [0, 1], the middle for a grid one cell wide.
    float U(int x) const { return w > 1 ? x / static_cast<float>(w - 1) : 0.5f; }
    float V(int y) const { return h > 1 ? y / static_cast<float>(h - 1) : 0.5f; }

    int w, h;
    float cx, cy;
    float radius;  // middle to corner
    float circle;  // cell size of the circle field
};

float OrderOf(Order order, int x, int y, const Geometry& g) {
    const float u = g.U(x), v = g.V(y);
    const float cu = std::fabs(2 * u - 1), cv = std::fabs(2 * v - 1);  // 0 on the middle lines, 1 at the edges
    switch (order) {
    case Order::Diagonal: return (u + v) / 2;
    case Order::DiagonalIn: return 1 - std::fabs(u + v - 1);
    case Order::DiagonalOut: return std::fabs(u + v - 1);
    case Order::Down: return v;
    case Order::In: return 1 - cu;
    case Order::Out: return cu;
    case Order::CrossOut: return std::min(cu, cv);
    case Order::CrossIn: return 1 - std::min(cu, cv);
    case Order::RectIn: return 1 - std::max(cu, cv);
    case Order::RectOut: return std::max(cu, cv);
    case Order::CircleIn: return 1 - std::min(1.0f, std::hypot(x - g.cx, y - g.cy) / g.radius);
    case Order::CircleOut: return std::min(1.0f, std::hypot(x - g.cx, y - g.cy) / g.radius);
    case Order::Circles: {
        const float half = g.circle / 2;
        const float dx = std::fmod(static_cast<float>(x), g.circle) - half;
        const float dy = std::fmod(static_cast<float>(y), g.circle) - half;
        return std::min(1.0f, std::hypot(dx, dy) / (half * std::numbers::sqrt2_v<float>));
    }
    case Order::DiamondIn: return 1 - (cu + cv) / 2;
    case Order::DiamondOut: return (cu + cv) / 2;
    case Order::Rotate: {
        float angle = std::atan2(x - g.cx, g.cy - y);  // 0 straight up, growing clockwise
        if (angle < 0) angle += 2 * std::numbers::pi_v<float>;
        return std::min(1.0f, angle / (2 * std::numbers::pi_v<float>));
    }
    case Order::Pixels: return ScatterOf(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
    case Order::Lines: return ScatterOf(0x51EDu, static_cast<uint32_t>(y));
    case Order::Stream: return 0.6f * v + 0.4f * ScatterOf(static_cast<uint32_t>(x), 0x57EAu);
    case Order::Plasma: {
        const float k = 2 * std::numbers::pi_v<float> / static_cast<float>(std::max(std::max(g.w, g.h), 2));
        const float sum = std::sin(3 * k * x) + std::sin(2 * k * y) + std::sin(2.5f * k * (x + y)) +
                          std::sin(4 * k * std::hypot(x - g.cx * 0.6f, y - g.cy * 1.4f));
        return (sum + 4) / 8;
    }
    }
    return 0;
}

// The opacity of a cell with order t at percent, for an edge of the given softness: nothing at
// 0 %, everything at 100 %, and in between the edge sweeps from order 0 past order 1.
uint8_t Opacity(float t, int percent, float softness) {
    if (percent <= 0) return 0;
    if (percent >= 100) return 255;
    const float q = percent / 100.0f;
    if (softness <= 0) return t < q ? 255 : 0;
    const float value = std::clamp((q * (1 + softness) - t) / softness, 0.0f, 1.0f);
    return static_cast<uint8_t>(std::lround(value * 255));
}

template <Order order, Edge edge>
void Sweep(uint8_t* mask, int width, int height, int percent) {
    const Geometry g(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = mask + static_cast<ptrdiff_t>(y) * width;
        for (int x = 0; x < width; ++x) row[x] = Opacity(OrderOf(order, x, y, g), percent, Softness(edge));
    }
}

// The whole image at once.
void Fade(uint8_t* mask, int width, int height, int percent) {
    const auto value = static_cast<uint8_t>(std::lround(255.0 * std::clamp(percent, 0, 100) / 100));
    std::fill_n(mask, static_cast<size_t>(width) * static_cast<size_t>(height), value);
}

}  // namespace

void RegisterMaskEffects(TseProcList& list) {
    using enum Order;
    using enum Edge;
    list.RegisterEffect("SmoothDiagonal", &Sweep<Diagonal, Smooth>);
    list.RegisterEffect("SmoothDiagonalIn", &Sweep<DiagonalIn, Smooth>);
    list.RegisterEffect("SmoothDiagonalOut", &Sweep<DiagonalOut, Smooth>);
    list.RegisterEffect("SmoothDown", &Sweep<Down, Smooth>);
    list.RegisterEffect("SmoothIn", &Sweep<In, Smooth>);
    list.RegisterEffect("SmoothOut", &Sweep<Out, Smooth>);
    list.RegisterEffect("SmoothCrossOut", &Sweep<CrossOut, Smooth>);
    list.RegisterEffect("SmoothCrossIn", &Sweep<CrossIn, Smooth>);
    list.RegisterEffect("SmoothRectIn", &Sweep<RectIn, Smooth>);
    list.RegisterEffect("SmoothRectOut", &Sweep<RectOut, Smooth>);
    list.RegisterEffect("SlideDiagonal", &Sweep<Diagonal, Slide>);
    list.RegisterEffect("SlideDiagonalIn", &Sweep<DiagonalIn, Slide>);
    list.RegisterEffect("SlideDiagonalOut", &Sweep<DiagonalOut, Slide>);
    list.RegisterEffect("SlideDown", &Sweep<Down, Slide>);
    list.RegisterEffect("SlideIn", &Sweep<In, Slide>);
    list.RegisterEffect("SlideOut", &Sweep<Out, Slide>);
    list.RegisterEffect("SlideCrossOut", &Sweep<CrossOut, Slide>);
    list.RegisterEffect("SlideCrossIn", &Sweep<CrossIn, Slide>);
    list.RegisterEffect("SlideRectOut", &Sweep<RectOut, Slide>);
    list.RegisterEffect("SlideRectIn", &Sweep<RectIn, Slide>);
    list.RegisterEffect("Fade", &se::Fade);
    list.RegisterEffect("FadeDiagonal", &Sweep<Diagonal, Edge::Fade>);
    list.RegisterEffect("FadeDiagonalIn", &Sweep<DiagonalIn, Edge::Fade>);
    list.RegisterEffect("FadeDiagonalOut", &Sweep<DiagonalOut, Edge::Fade>);
    list.RegisterEffect("FadeDown", &Sweep<Down, Edge::Fade>);
    list.RegisterEffect("FadeIn", &Sweep<In, Edge::Fade>);
    list.RegisterEffect("FadeOut", &Sweep<Out, Edge::Fade>);
    list.RegisterEffect("FadeCrossOut", &Sweep<CrossOut, Edge::Fade>);
    list.RegisterEffect("FadeCrossIn", &Sweep<CrossIn, Edge::Fade>);
    list.RegisterEffect("FadeRectOut", &Sweep<RectOut, Edge::Fade>);
    list.RegisterEffect("FadeRectIn", &Sweep<RectIn, Edge::Fade>);
    list.RegisterEffect("Pixel", &Sweep<Pixels, Slide>);
    list.RegisterEffect("Pixel fade", &Sweep<Pixels, Speckle>);
    list.RegisterEffect("Pixel line", &Sweep<Lines, Slide>);
    list.RegisterEffect("CircleSlideOut", &Sweep<CircleOut, Slide>);
    list.RegisterEffect("CircleFadeOut", &Sweep<CircleOut, Edge::Fade>);
    list.RegisterEffect("CircleSmoothOut", &Sweep<CircleOut, Smooth>);
    list.RegisterEffect("CircleSlideIn", &Sweep<CircleIn, Slide>);
    list.RegisterEffect("CircleFadeIn", &Sweep<CircleIn, Edge::Fade>);
    list.RegisterEffect("CircleSmoothIn", &Sweep<CircleIn, Smooth>);
    list.RegisterEffect("CircleSlide", &Sweep<Circles, Slide>);
    list.RegisterEffect("CircleFade", &Sweep<Circles, Edge::Fade>);
    list.RegisterEffect("CircleSmooth", &Sweep<Circles, Smooth>);
    list.RegisterEffect("DiamondSlideIn", &Sweep<DiamondIn, Slide>);
    list.RegisterEffect("DiamondFadeIn", &Sweep<DiamondIn, Edge::Fade>);
    list.RegisterEffect("DiamondSmoothIn", &Sweep<DiamondIn, Smooth>);
    list.RegisterEffect("DiamondSlideOut", &Sweep<DiamondOut, Slide>);
    list.RegisterEffect("DiamondFadeOut", &Sweep<DiamondOut, Edge::Fade>);
    list.RegisterEffect("DiamondSmoothOut", &Sweep<DiamondOut, Smooth>);
    list.RegisterEffect("RotateSlide", &Sweep<Rotate, Slide>);
    list.RegisterEffect("RotateFade", &Sweep<Rotate, Edge::Fade>);
    list.RegisterEffect("RotateSmooth", &Sweep<Rotate, Smooth>);
    list.RegisterEffect("Stream", &Sweep<Order::Stream, Smooth>);
    list.RegisterEffect("Plasma", &Sweep<Order::Plasma, Smooth>);
}

}  // namespace se
