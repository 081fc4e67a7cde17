#include "platform/draw/Blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace vcl {
namespace {

DeviceContext* Valid(HDC dc) { return IsDeviceContext(dc) ? dc : nullptr; }

uint32_t Rop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d) {
    switch (code) {
        case 0xCC: return s;
        case 0xF0: return p | 0xFF000000u;
        case 0x55: return (~d & 0x00FFFFFFu) | (d & 0xFF000000u);
        case 0x00: return 0xFF000000u;
        case 0xFF: return 0xFFFFFFFFu;
        default: break;
    }
    uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if (((code >> i) & 1) == 0) continue;
        result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    // Operations that read the destination keep its alpha; the others give opaque pixels.
    const bool readsDestination = ((code >> 1) & 0x55) != (code & 0x55);
    return (result & 0x00FFFFFFu) | (readsDestination ? d & 0xFF000000u : 0xFF000000u);
}

bool UsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }

// One axis of a transfer: destination start and length, and for each destination step the
// source coordinate (nearest pixel, centre sampling, mirrored for opposite signs).
struct Axis {
    int start = 0;
    int length = 0;
    std::vector<int> source;
};

Axis MakeAxis(int destination, int destinationLength, int source, int sourceLength) {
    Axis axis;
    bool mirror = false;
    if (destinationLength < 0) {
        destination += destinationLength + 1;
        destinationLength = -destinationLength;
        mirror = !mirror;
    }
    if (sourceLength < 0) {
        source += sourceLength + 1;
        sourceLength = -sourceLength;
        mirror = !mirror;
    }
    axis.start = destination;
    axis.length = destinationLength;
    if (sourceLength == 0) return Axis{};
    axis.source.resize(static_cast<size_t>(destinationLength));
    for (int i = 0; i < destinationLength; ++i) {
        const int k = mirror ? destinationLength - 1 - i : i;
        axis.source[static_cast<size_t>(i)] =
            source + static_cast<int>((int64_t{2} * k + 1) * sourceLength / (int64_t{2} * destinationLength));
    }
    return axis;
}

// Source pixels in device coordinates of the source DC; a copy first when both DCs draw on the
// same surface, so overlapping moves read the original pixels. Rows are handed out as pointers
// with the range they cover, so a transfer reads pixels directly instead of one call per pixel.
class SourceReader {
public:
    SourceReader(DeviceContext* dc, const Axis& xs, const Axis& ys, bool sameSurface)
        : surface_(dc != nullptr ? dc->Surface() : nullptr), origin_(dc != nullptr ? dc->Origin() : TPoint{}) {
        if (surface_ == nullptr || !sameSurface || xs.source.empty() || ys.source.empty()) return;
        const auto [minX, maxX] = std::minmax_element(xs.source.begin(), xs.source.end());
        const auto [minY, maxY] = std::minmax_element(ys.source.begin(), ys.source.end());
        box_ = TRect{*minX, *minY, *maxX + 1, *maxY + 1};
        copy_.resize(static_cast<size_t>(box_.Width()) * static_cast<size_t>(box_.Height()));
        for (int y = box_.Top; y < box_.Bottom; ++y) {
            for (int x = box_.Left; x < box_.Right; ++x) copy_[Index(x, y)] = Direct(x, y);
        }
        copied_ = true;
    }

    // Source row y: pixel x (device coordinates) is begin[x - first] for first <= x < last, 0 elsewhere.
    struct Row {
        const uint32_t* begin = nullptr;
        int first = 0;
        int last = 0;
        uint32_t At(int x) const { return x >= first && x < last ? begin[x - first] : 0; }
    };
    Row RowAt(int y) const {
        if (copied_) {
            if (y < box_.Top || y >= box_.Bottom) return {};
            return {copy_.data() + Index(box_.Left, y), box_.Left, box_.Right};
        }
        const int by = y + origin_.Y;
        if (surface_ == nullptr || by < 0 || by >= surface_->Height() || surface_->Width() == 0) return {};
        return {surface_->Row(by), -origin_.X, surface_->Width() - origin_.X};
    }

private:
    uint32_t Direct(int x, int y) const { return surface_->At(x + origin_.X, y + origin_.Y); }
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y - box_.Top) * static_cast<size_t>(box_.Width()) + static_cast<size_t>(x - box_.Left);
    }
    const PixelSection* surface_;
    TPoint origin_;
    TRect box_;
    std::vector<uint32_t> copy_;
    bool copied_ = false;
};

// Runs combine(source pixel, pattern pixel, destination pixel) -> new pixel, or the destination
// unchanged, for every visible destination pixel. plainCopy: combine returns the source pixel, so
// an unscaled row whose source lies inside the surface is copied at once.
template <typename Combine>
bool Transfer(HDC destination, TRect logicalDestination, HDC source, TPoint sourceOrigin, TSize sourceSize,
              bool needsSource, Combine combine, bool plainCopy = false) {
    DeviceContext* target = Valid(destination);
    DeviceContext* from = Valid(source);
    if (target == nullptr || (needsSource && from == nullptr)) return false;
    PixelSection* surface = target->Surface();
    if (surface == nullptr) return true;
    const TPoint d = target->ToDevice(logicalDestination.TopLeft());
    const TPoint s = from != nullptr ? from->ToDevice(sourceOrigin) : TPoint{};
    const Axis xs = MakeAxis(d.X, logicalDestination.Width(), s.X, sourceSize.cx);
    const Axis ys = MakeAxis(d.Y, logicalDestination.Height(), s.Y, sourceSize.cy);
    if (xs.length == 0 || ys.length == 0 || xs.source.empty() || ys.source.empty()) return true;
    const SourceReader reader(from, xs, ys, from != nullptr && from->Surface() == surface);
    const std::optional<Ink> brush = target->BrushInk();
    const TPoint origin = target->Origin();
    const TRect area = TRect{xs.start, ys.start, xs.start + xs.length, ys.start + ys.length}.Offset(origin.X, origin.Y);
    // Unscaled and not mirrored: source column = destination column + shift.
    const bool oneToOne = std::adjacent_find(xs.source.begin(), xs.source.end(),
                                             [](int a, int b) { return b != a + 1; }) == xs.source.end();
    const int shift = xs.source.front() - xs.start;
    for (const TRect& clip : target->ClipRects()) {
        const TRect part = IntersectRect(area, clip);
        for (int by = part.Top; by < part.Bottom; ++by) {
            uint32_t* row = surface->Row(by);
            const int dy = by - origin.Y;
            const SourceReader::Row sourceRow = reader.RowAt(ys.source[static_cast<size_t>(dy - ys.start)]);
            if (plainCopy && oneToOne && sourceRow.begin != nullptr) {
                const int first = part.Left - origin.X + shift, last = part.Right - origin.X + shift;
                if (first >= sourceRow.first && last <= sourceRow.last) {
                    std::memmove(row + part.Left, sourceRow.begin + (first - sourceRow.first),
                                 static_cast<size_t>(part.Width()) * sizeof(uint32_t));
                    continue;
                }
            }
            for (int bx = part.Left; bx < part.Right; ++bx) {
                const int dx = bx - origin.X;
                uint32_t pattern = 0;
                if (brush) {
                    pattern = brush->pixel;
                    if (brush->pattern != nullptr) {
                        const int px = (dx - brush->patternOrigin.X) & 7, py = (dy - brush->patternOrigin.Y) & 7;
                        pattern = (*brush->pattern)[static_cast<size_t>(py * 8 + px)];
                    }
                }
                const uint32_t sourcePixel = sourceRow.At(xs.source[static_cast<size_t>(dx - xs.start)]);
                row[bx] = combine(sourcePixel, pattern, row[bx]);
            }
        }
    }
    return true;
}

uint8_t Channel(uint32_t pixel, int shift) { return static_cast<uint8_t>(pixel >> shift); }

}  // namespace

bool BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            uint32_t rop) {
    return StretchBlt(destination, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

bool StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, uint32_t rop) {
    const uint8_t code = static_cast<uint8_t>(rop >> 16);
    if (!UsesSource(code)) return PatBlt(destination, x, y, width, height, rop);
    const TRect area{x, y, x + width, y + height};
    if (code == 0xCC) {
        return Transfer(
            destination, area, source, {sourceX, sourceY}, {sourceWidth, sourceHeight}, true,
            [](uint32_t s, uint32_t, uint32_t) { return s; }, true);
    }
    return Transfer(destination, area, source, {sourceX, sourceY}, {sourceWidth, sourceHeight}, true,
                    [code](uint32_t s, uint32_t p, uint32_t d) { return Rop3(code, p, s, d); });
}

bool PatBlt(HDC dc, int x, int y, int width, int height, uint32_t rop) {
    const uint8_t code = static_cast<uint8_t>(rop >> 16);
    if (UsesSource(code)) return false;
    return Transfer(dc, TRect{x, y, x + width, y + height}, nullptr, {}, {width, height}, false,
                    [code](uint32_t, uint32_t p, uint32_t d) { return Rop3(code, p, 0, d); });
}

bool TransparentBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, COLORREF transparent) {
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return false;
    const uint32_t key = RgbToPixel(transparent) & 0x00FFFFFFu;
    return Transfer(destination, TRect{x, y, x + width, y + height}, source, {sourceX, sourceY},
                    {sourceWidth, sourceHeight}, true, [key](uint32_t s, uint32_t, uint32_t d) {
                        return (s & 0x00FFFFFFu) == key ? d : s | 0xFF000000u;
                    });
}

bool AlphaBlend(HDC destination, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, BLENDFUNCTION blend) {
    if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0 || blend.BlendOp != AC_SRC_OVER) {
        return false;
    }
    const unsigned constant = blend.SourceConstantAlpha;
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    return Transfer(destination, TRect{x, y, x + width, y + height}, source, {sourceX, sourceY},
                    {sourceWidth, sourceHeight}, true, [=](uint32_t s, uint32_t, uint32_t d) {
                        const unsigned alpha = perPixel ? Channel(s, 24) * constant / 255 : constant;
                        uint32_t out = 0;
                        for (int shift = 0; shift < 32; shift += 8) {
                            const unsigned sc = Channel(s, shift) * constant / 255;
                            const unsigned dc = Channel(d, shift);
                            const unsigned value = std::min(255u, sc + dc * (255 - alpha) / 255);
                            out |= value << shift;
                        }
                        return out;
                    });
}

}  // namespace vcl
