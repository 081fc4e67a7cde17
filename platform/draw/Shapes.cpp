#include "platform/draw/Shapes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/GdiState.h"

namespace vcl {
namespace {

DeviceContext* Valid(HDC dc) { return IsDeviceContext(dc) ? dc : nullptr; }

// One row of a convex shape: x from First to Last inclusive; empty when First > Last.
struct Span {
    int First = 0;
    int Last = -1;
    bool Empty() const { return First > Last; }
};

// Dash patterns of cosmetic pens, in pixels on and off.
std::vector<int> DashPattern(int style) {
    switch (style) {
        case PS_DASH: return {18, 6};
        case PS_DOT: return {3, 3};
        case PS_DASHDOT: return {9, 6, 3, 6};
        case PS_DASHDOTDOT: return {9, 3, 3, 3, 3, 3};
        case PS_ALTERNATE: return {1, 1};
        default: return {};
    }
}

class PenPainter {
public:
    explicit PenPainter(DeviceContext& dc) : dc_(dc) {
        const PenObject* pen = dc.State().pen;
        style_ = pen != nullptr ? pen->style & PS_STYLE_MASK : PS_NULL;
        width_ = pen != nullptr ? pen->width : 1;
        ink_ = dc.PenInk();
        gap_ = dc.ColorInk(dc.State().bkColor, dc.State().rop2);
        dashes_ = width_ == 1 ? DashPattern(style_) : std::vector<int>{};
    }

    bool Visible() const { return style_ != PS_NULL; }
    bool Solid() const { return dashes_.empty(); }
    int Width() const { return width_; }
    const Ink& Color() const { return ink_; }

    // Bresenham from a to b in device coordinates, without b.
    void Line(TPoint a, TPoint b) {
        if (!Visible()) return;
        if (Batched() && (a.X == b.X || a.Y == b.Y)) {
            // Straight across or down (frames, edges): the dots form one run, known without stepping.
            if (a == b) return;
            const TPoint last{a.X == b.X ? a.X : (b.X > a.X ? b.X - 1 : b.X + 1),
                              a.Y == b.Y ? a.Y : (b.Y > a.Y ? b.Y - 1 : b.Y + 1)};
            const int half = (width_ - 1) / 2;
            const int left = std::min(a.X, last.X) - half, top = std::min(a.Y, last.Y) - half;
            dc_.Fill(TRect{left, top, std::max(a.X, last.X) - half + width_, std::max(a.Y, last.Y) - half + width_},
                     ink_);
            return;
        }
        const int dx = std::abs(b.X - a.X), sx = a.X < b.X ? 1 : -1;
        const int dy = -std::abs(b.Y - a.Y), sy = a.Y < b.Y ? 1 : -1;
        int error = dx + dy;
        TPoint p = a;
        while (p != b) {
            Dot(p);
            const int twice = 2 * error;
            if (twice >= dy) {
                error += dy;
                p.X += sx;
            }
            if (twice <= dx) {
                error += dx;
                p.Y += sy;
            }
        }
        FlushRun();
    }

private:
    void Dot(TPoint p) {
        bool on = true;
        if (!dashes_.empty()) {
            int position = step_++ % Period();
            size_t i = 0;
            while (position >= dashes_[i]) position -= dashes_[i++];
            on = i % 2 == 0;
        }
        if (on) {
            const int half = (width_ - 1) / 2;
            const TRect square{p.X - half, p.Y - half, p.X - half + width_, p.Y - half + width_};
            if (Batched()) {
                Extend(square);
            } else {
                dc_.Fill(square, ink_);
            }
        } else if (dc_.State().bkMode == OPAQUE) {
            dc_.Plot(p.X, p.Y, gap_);
        }
    }
    // A solid line is filled run by run (a whole frame edge is one fill) instead of dot by dot: a
    // one-pixel pen never paints a pixel twice, and for wider pens, whose dots overlap, the copy
    // mode gives the same pixels either way; other modes on wide pens go dot by dot.
    bool Batched() const { return dashes_.empty() && (width_ == 1 || ink_.rop2 == R2_COPYPEN); }
    void Extend(const TRect& square) {
        if (!run_.IsEmpty()) {
            const bool row = square.Top == run_.Top && square.Bottom == run_.Bottom && square.Left <= run_.Right &&
                             square.Right >= run_.Left;
            const bool column = square.Left == run_.Left && square.Right == run_.Right &&
                                square.Top <= run_.Bottom && square.Bottom >= run_.Top;
            if (row || column) {
                run_ = UnionRect(run_, square);
                return;
            }
            dc_.Fill(run_, ink_);
        }
        run_ = square;
    }
    void FlushRun() {
        if (!run_.IsEmpty()) dc_.Fill(run_, ink_);
        run_ = TRect{};
    }
    int Period() const {
        int sum = 0;
        for (int d : dashes_) sum += d;
        return sum;
    }

    DeviceContext& dc_;
    int style_ = PS_SOLID;
    int width_ = 1;
    Ink ink_;
    Ink gap_;
    std::vector<int> dashes_;
    int step_ = 0;
    TRect run_;  // dots of a solid line not filled yet
};

// Rows of the ellipse inscribed in the bounding rectangle (device coordinates): the pixels whose
// centres lie inside it.
std::vector<Span> EllipseRows(const TRect& box) {
    std::vector<Span> rows(static_cast<size_t>(std::max(box.Height(), 0)));
    const double a = box.Width() / 2.0, b = box.Height() / 2.0;
    if (a <= 0 || b <= 0) return rows;
    const double cx = box.Left + a, cy = box.Top + b;
    for (int y = box.Top; y < box.Bottom; ++y) {
        const double dy = (y + 0.5 - cy) / b;
        if (std::abs(dy) >= 1.0) continue;
        const double half = a * std::sqrt(1.0 - dy * dy) + 1e-9;
        rows[static_cast<size_t>(y - box.Top)] = {static_cast<int>(std::ceil(cx - half - 0.5)),
                                                  static_cast<int>(std::floor(cx + half - 0.5))};
    }
    return rows;
}

std::vector<Span> RoundRectRows(const TRect& box, int cornerWidth, int cornerHeight) {
    const int w = std::min(std::abs(cornerWidth), box.Width());
    const int h = std::min(std::abs(cornerHeight), box.Height());
    std::vector<Span> rows(static_cast<size_t>(std::max(box.Height(), 0)), Span{box.Left, box.Right - 1});
    if (w < 2 || h < 2) return rows;
    const std::vector<Span> corner = EllipseRows(TRect{box.Left, box.Top, box.Left + w, box.Top + h});
    const int stretch = box.Width() - w;
    for (int y = box.Top; y < box.Bottom; ++y) {
        int row = -1;
        if (y - box.Top < h / 2) {
            row = y - box.Top;
        } else if (box.Bottom - 1 - y < h / 2) {
            row = h - (box.Bottom - y);
        }
        if (row < 0) continue;
        const Span& s = corner[static_cast<size_t>(row)];
        rows[static_cast<size_t>(y - box.Top)] = s.Empty() ? Span{} : Span{s.First, s.Last + stretch};
    }
    return rows;
}

using RowShape = std::function<std::vector<Span>(const TRect&)>;

// Draws a convex row shape: the outline ring in the pen (the shape less the interior of the shape
// shrunk by the pen width less one) and the inside in the brush.
void DrawShape(DeviceContext& dc, TRect box, const RowShape& shape) {
    PenPainter pen(dc);
    const std::optional<Ink> brush = dc.BrushInk();
    const int width = pen.Visible() ? pen.Width() : 0;
    if (dc.State().pen != nullptr && (dc.State().pen->style & PS_STYLE_MASK) == PS_INSIDEFRAME) {
        // The whole outline stays inside the bounding box.
    } else if (width > 1) {
        box = box.Inflate(width / 2, width / 2);
    }
    const std::vector<Span> outer = shape(box);
    const TRect innerBox = box.Inflate(-(std::max(width, 1) - 1), -(std::max(width, 1) - 1));
    const std::vector<Span> inner = innerBox.IsEmpty() ? std::vector<Span>{} : shape(innerBox);
    auto innerRow = [&](int y) -> Span {
        const int i = y - innerBox.Top;
        if (i < 0 || i >= static_cast<int>(inner.size())) return Span{};
        return inner[static_cast<size_t>(i)];
    };
    for (int y = box.Top; y < box.Bottom; ++y) {
        const Span row = outer[static_cast<size_t>(y - box.Top)];
        if (row.Empty()) continue;
        // The interior: pixels of the inner shape whose four neighbours are inside it too.
        Span inside = innerRow(y);
        if (!inside.Empty()) {
            const Span above = innerRow(y - 1), below = innerRow(y + 1);
            if (above.Empty() || below.Empty()) {
                inside = Span{};
            } else {
                inside.First = std::max({inside.First + 1, above.First, below.First});
                inside.Last = std::min({inside.Last - 1, above.Last, below.Last});
            }
        }
        if (width == 0) inside = row;
        if (brush && !inside.Empty()) dc.Fill(TRect{inside.First, y, inside.Last + 1, y + 1}, *brush);
        if (width == 0) continue;
        if (inside.Empty()) {
            dc.Fill(TRect{row.First, y, row.Last + 1, y + 1}, pen.Color());
            continue;
        }
        dc.Fill(TRect{row.First, y, inside.First, y + 1}, pen.Color());
        dc.Fill(TRect{inside.Last + 1, y, row.Last + 1, y + 1}, pen.Color());
    }
}

TRect Normalised(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

void FillPolygon(DeviceContext& dc, const std::vector<TPoint>& points, const Ink& ink) {
    int top = points[0].Y, bottom = points[0].Y;
    for (const TPoint& p : points) {
        top = std::min(top, p.Y);
        bottom = std::max(bottom, p.Y);
    }
    const bool winding = dc.State().polyFillMode == WINDING;
    struct Crossing {
        double x;
        int direction;
    };
    std::vector<Crossing> crossings;
    for (int y = top; y < bottom; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (size_t i = 0; i < points.size(); ++i) {
            const TPoint a = points[i], b = points[(i + 1) % points.size()];
            if (a.Y == b.Y) continue;
            const bool down = a.Y < b.Y;
            const double y0 = down ? a.Y : b.Y, y1 = down ? b.Y : a.Y;
            if (yc < y0 || yc >= y1) continue;
            const double x = a.X + (yc - a.Y) * (b.X - a.X) / static_cast<double>(b.Y - a.Y);
            crossings.push_back({x, down ? 1 : -1});
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        int count = 0;
        for (size_t i = 0; i + 1 < crossings.size(); ++i) {
            count += winding ? crossings[i].direction : 1;
            const bool inside = winding ? count != 0 : (count % 2) == 1;
            if (!inside) continue;
            const int x0 = static_cast<int>(std::ceil(crossings[i].x - 0.5));
            const int x1 = static_cast<int>(std::ceil(crossings[i + 1].x - 0.5));
            if (x1 > x0) dc.Fill(TRect{x0, y, x1, y + 1}, ink);
        }
    }
}

}  // namespace

bool MoveToEx(HDC dc, int x, int y, TPoint* previous) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    if (previous != nullptr) *previous = context->State().penPos;
    context->MutableState().penPos = {x, y};
    return true;
}

bool LineTo(HDC dc, int x, int y) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    PenPainter pen(*context);
    pen.Line(context->ToDevice(context->State().penPos), context->ToDevice(TPoint{x, y}));
    context->MutableState().penPos = {x, y};
    return true;
}

bool Polyline(HDC dc, const TPoint* points, int count) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || points == nullptr || count < 2) return false;
    PenPainter pen(*context);
    for (int i = 0; i + 1 < count; ++i) pen.Line(context->ToDevice(points[i]), context->ToDevice(points[i + 1]));
    return true;
}

bool Polygon(HDC dc, const TPoint* points, int count) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || points == nullptr || count < 2) return false;
    std::vector<TPoint> device;
    for (int i = 0; i < count; ++i) device.push_back(context->ToDevice(points[i]));
    if (const std::optional<Ink> brush = context->BrushInk()) FillPolygon(*context, device, *brush);
    PenPainter pen(*context);
    for (size_t i = 0; i < device.size(); ++i) pen.Line(device[i], device[(i + 1) % device.size()]);
    return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    const TRect box = context->ToDevice(Normalised(left, top, right, bottom));
    PenPainter pen(*context);
    const std::optional<Ink> brush = context->BrushInk();
    if (!pen.Visible()) {
        // Without a pen the platform fills one pixel less at the right and bottom.
        if (brush) context->Fill(TRect{box.Left, box.Top, box.Right - 1, box.Bottom - 1}, *brush);
        return true;
    }
    if (!pen.Solid()) {
        if (brush) context->Fill(box.Inflate(-1, -1), *brush);
        const TPoint corners[] = {{box.Left, box.Top}, {box.Right - 1, box.Top}, {box.Right - 1, box.Bottom - 1},
                                  {box.Left, box.Bottom - 1}};
        for (int i = 0; i < 4; ++i) pen.Line(corners[i], corners[(i + 1) % 4]);
        return true;
    }
    DrawShape(*context, box, [](const TRect& r) {
        return std::vector<Span>(static_cast<size_t>(std::max(r.Height(), 0)), Span{r.Left, r.Right - 1});
    });
    return true;
}

bool RoundRect(HDC dc, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    const TRect box = context->ToDevice(Normalised(left, top, right, bottom));
    DrawShape(*context, box, [&](const TRect& r) { return RoundRectRows(r, cornerWidth, cornerHeight); });
    return true;
}

bool Ellipse(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    DrawShape(*context, context->ToDevice(Normalised(left, top, right, bottom)), EllipseRows);
    return true;
}

bool FillRect(HDC dc, const TRect* rect, HBRUSH brush) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || rect == nullptr || GetObjectType(brush) != OBJ_BRUSH) return false;
    if (brush->style == BS_NULL) return true;
    Ink ink = context->BrushInk(brush);
    ink.rop2 = R2_COPYPEN;
    context->Fill(context->ToDevice(*rect), ink);
    return true;
}

bool FrameRect(HDC dc, const TRect* rect, HBRUSH brush) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || rect == nullptr || GetObjectType(brush) != OBJ_BRUSH) return false;
    if (brush->style == BS_NULL || rect->IsEmpty()) return true;
    Ink ink = context->BrushInk(brush);
    ink.rop2 = R2_COPYPEN;
    const TRect r = context->ToDevice(*rect);
    context->Fill({r.Left, r.Top, r.Right, r.Top + 1}, ink);
    context->Fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, ink);
    context->Fill({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, ink);
    context->Fill({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, ink);
    return true;
}

bool InvertRect(HDC dc, const TRect* rect) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || rect == nullptr) return false;
    context->Fill(context->ToDevice(*rect), context->ColorInk(0, R2_NOT));
    return true;
}

bool DrawFocusRect(HDC dc, const TRect* rect) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || rect == nullptr) return false;
    if (rect->IsEmpty()) return true;
    // Every other pixel of the one-pixel frame is inverted; each frame pixel is touched once.
    static const std::array<uint32_t, 64> kCheckerboard = [] {
        std::array<uint32_t, 64> p{};
        for (int i = 0; i < 64; ++i) p[static_cast<size_t>(i)] = ((i / 8 + i % 8) % 2 == 0) ? 0x00FFFFFFu : 0;
        return p;
    }();
    Ink ink;
    ink.pattern = &kCheckerboard;
    ink.rop2 = R2_XORPEN;
    const TRect r = context->ToDevice(*rect);
    context->Fill({r.Left, r.Top, r.Right, r.Top + 1}, ink);
    if (r.Height() > 1) context->Fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, ink);
    context->Fill({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, ink);
    if (r.Width() > 1) context->Fill({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1}, ink);
    return true;
}

bool FillRgn(HDC dc, HRGN region, HBRUSH brush) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || GetObjectType(region) != OBJ_REGION || GetObjectType(brush) != OBJ_BRUSH) return false;
    if (brush->style == BS_NULL) return true;
    Ink ink = context->BrushInk(brush);
    ink.rop2 = R2_COPYPEN;
    // Region coordinates are logical here, like the platform's.
    for (const TRect& r : region->region.Rects()) context->Fill(context->ToDevice(r), ink);
    return true;
}

bool PaintRgn(HDC dc, HRGN region) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    return FillRgn(dc, region, context->State().brush);
}

bool InvertRgn(HDC dc, HRGN region) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || GetObjectType(region) != OBJ_REGION) return false;
    for (const TRect& r : region->region.Rects()) context->Fill(context->ToDevice(r), context->ColorInk(0, R2_NOT));
    return true;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return CLR_INVALID;
    const TPoint p = context->ToDevice(TPoint{x, y});
    context->Plot(p.X, p.Y, context->ColorInk(color));
    return color & 0x00FFFFFF;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return CLR_INVALID;
    const TPoint p = context->ToDevice(TPoint{x, y});
    const PixelSection* surface = context->Surface();
    const TPoint b{p.X + context->Origin().X, p.Y + context->Origin().Y};
    if (surface == nullptr || !surface->Inside(b.X, b.Y)) return CLR_INVALID;
    return PixelToRgb(surface->At(b.X, b.Y));
}

}  // namespace vcl
