#include "platform/toolkit/AppIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace vcl {

namespace {

constexpr double kGrid = 16;  // the artwork's units across

struct Box {
    double left, top, right, bottom;
};

struct Rgb {
    uint8_t r, g, b;
};

// One paint: disjoint boxes in one colour, or one rounded box in a top-to-bottom gradient.
struct Layer {
    std::vector<Box> boxes;
    Rgb top, bottom;
    double radius = 0;
};

// The logo's colours: the highlight navy lightening downwards, the signal's orange, the face's rule.
constexpr Rgb kNavyTop{10, 36, 106};
constexpr Rgb kNavyBottom{58, 110, 165};
constexpr Rgb kOrange{224, 112, 16};
constexpr Rgb kRule{212, 208, 200};

const std::vector<Layer>& Artwork() {
    static const std::vector<Layer> layers = {
        {{{1, 1, 15, 15}}, kNavyTop, kNavyBottom, 2.5},
        // One pulse of the line signal, _|^|_, in strokes two units wide.
        {{{2, 10, 4, 12}, {4, 4, 6, 12}, {6, 4, 10, 6}, {10, 4, 12, 12}, {12, 10, 14, 12}}, kOrange, kOrange},
        {{{2, 13, 14, 14}}, kRule, kRule},
    };
    return layers;
}

double Overlap(const Box& b, double left, double top, double right, double bottom) {
    const double w = std::min(b.right, right) - std::max(b.left, left);
    const double h = std::min(b.bottom, bottom) - std::max(b.top, top);
    return w > 0 && h > 0 ? w * h : 0;
}

bool InRounded(const Box& b, double radius, double x, double y) {
    if (x < b.left || x >= b.right || y < b.top || y >= b.bottom) return false;
    const double cx = std::clamp(x, b.left + radius, b.right - radius);
    const double cy = std::clamp(y, b.top + radius, b.bottom - radius);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

// The part of the pixel square (left, top, side units wide) the layer covers. Straight edges are
// measured exactly; a pixel touching a rounded corner is sampled 8 x 8.
double Coverage(const Layer& layer, double left, double top, double side) {
    const double right = left + side, bottom = top + side;
    double covered = 0;
    for (const Box& b : layer.boxes) covered += Overlap(b, left, top, right, bottom);
    if (layer.radius <= 0 || covered == 0) return covered / (side * side);
    const Box& b = layer.boxes.front();
    const bool nearCorner = (left < b.left + layer.radius || right > b.right - layer.radius) &&
                            (top < b.top + layer.radius || bottom > b.bottom - layer.radius);
    if (!nearCorner) return covered / (side * side);
    int hits = 0;
    for (int j = 0; j < 8; ++j) {
        for (int i = 0; i < 8; ++i) hits += InRounded(b, layer.radius, left + (i + 0.5) * side / 8, top + (j + 0.5) * side / 8);
    }
    return hits / 64.0;
}

double Channel(uint8_t top, uint8_t bottom, double t) { return (top + (bottom - top) * t) / 255; }

// The layer's extent from top to bottom, for its gradient.
std::pair<double, double> Span(const Layer& layer) {
    double top = layer.boxes.front().top, bottom = layer.boxes.front().bottom;
    for (const Box& b : layer.boxes) {
        top = std::min(top, b.top);
        bottom = std::max(bottom, b.bottom);
    }
    return {top, bottom};
}

std::string Hex(Rgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

}  // namespace

PixelSection DrawAppIcon(int size) {
    PixelSection icon(size, size);
    const double side = kGrid / std::max(size, 1);
    for (int y = 0; y < size; ++y) {
        uint32_t* row = icon.Row(y);
        for (int x = 0; x < size; ++x) {
            // Premultiplied colour and alpha, each layer painted over the ones before.
            double r = 0, g = 0, b = 0, a = 0;
            for (const Layer& layer : Artwork()) {
                const double c = Coverage(layer, x * side, y * side, side);
                if (c <= 0) continue;
                const auto [top, bottom] = Span(layer);
                const double t = std::clamp(((y + 0.5) * side - top) / (bottom - top), 0.0, 1.0);
                r = Channel(layer.top.r, layer.bottom.r, t) * c + r * (1 - c);
                g = Channel(layer.top.g, layer.bottom.g, t) * c + g * (1 - c);
                b = Channel(layer.top.b, layer.bottom.b, t) * c + b * (1 - c);
                a = c + a * (1 - c);
            }
            if (a <= 0) continue;
            const auto byte = [a](double premultiplied) {
                return static_cast<uint32_t>(std::lround(std::clamp(premultiplied / a, 0.0, 1.0) * 255));
            };
            const auto alpha = static_cast<uint32_t>(std::lround(std::min(a, 1.0) * 255));
            row[x] = alpha << 24 | byte(r) << 16 | byte(g) << 8 | byte(b);
        }
    }
    return icon;
}

std::string AppIconSvg() {
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\" viewBox=\"0 0 16 16\">\n";
    int gradients = 0;
    for (const Layer& layer : Artwork()) {
        std::string fill = Hex(layer.top);
        if (layer.top.r != layer.bottom.r || layer.top.g != layer.bottom.g || layer.top.b != layer.bottom.b) {
            const auto [top, bottom] = Span(layer);
            const std::string id = "shade" + std::to_string(gradients++);
            svg += "  <linearGradient id=\"" + id + "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\"" + Number(top) +
                   "\" x2=\"0\" y2=\"" + Number(bottom) + "\">\n    <stop offset=\"0\" stop-color=\"" + Hex(layer.top) +
                   "\"/>\n    <stop offset=\"1\" stop-color=\"" + Hex(layer.bottom) + "\"/>\n  </linearGradient>\n";
            fill = "url(#" + id + ")";
        }
        if (layer.radius > 0) {
            const Box& b = layer.boxes.front();
            svg += "  <rect x=\"" + Number(b.left) + "\" y=\"" + Number(b.top) + "\" width=\"" + Number(b.right - b.left) +
                   "\" height=\"" + Number(b.bottom - b.top) + "\" rx=\"" + Number(layer.radius) + "\" fill=\"" + fill +
                   "\"/>\n";
            continue;
        }
        // One path a layer: abutting boxes render as one shape, without seams between them.
        std::string path;
        for (const Box& b : layer.boxes) {
            path += "M" + Number(b.left) + " " + Number(b.top) + "H" + Number(b.right) + "V" + Number(b.bottom) + "H" +
                    Number(b.left) + "Z";
        }
        svg += "  <path d=\"" + path + "\" fill=\"" + fill + "\"/>\n";
    }
    return svg + "</svg>\n";
}

}  // namespace vcl
