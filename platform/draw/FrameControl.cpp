#include "platform/draw/FrameControl.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace vcl {
namespace {

DeviceContext* Valid(HDC dc) { return IsDeviceContext(dc) ? dc : nullptr; }

// Drawing in logical coordinates with plain system colours, whatever is selected into the DC.
class Painter {
public:
    explicit Painter(DeviceContext& dc) : dc_(dc) {}
    void Fill(const TRect& r, int colorIndex) { dc_.Fill(dc_.ToDevice(r), InkOf(colorIndex)); }
    void Pixel(int x, int y, int colorIndex) { Fill(TRect{x, y, x + 1, y + 1}, colorIndex); }
    void Dither(const TRect& r, int first, int second) {
        const vcl::Ink a = InkOf(first), b = InkOf(second);
        const TRect d = dc_.ToDevice(r);
        for (int y = d.Top; y < d.Bottom; ++y)
            for (int x = d.Left; x < d.Right; ++x) dc_.Plot(x, y, ((x + y) & 1) == 0 ? a : b);
    }

private:
    vcl::Ink InkOf(int colorIndex) const { return dc_.ColorInk(GetSysColor(colorIndex)); }
    DeviceContext& dc_;
};

// One-pixel lines on the chosen sides: top and left in topLeft, then bottom and right in
// bottomRight, so the bottom-left and top-right corners take the bottom-right colour.
void EdgeLines(Painter& paint, TRect& r, unsigned sides, int topLeft, int bottomRight) {
    if (r.IsEmpty()) return;
    if (sides & BF_TOP) paint.Fill({r.Left, r.Top, r.Right, r.Top + 1}, topLeft);
    if (sides & BF_LEFT) paint.Fill({r.Left, r.Top, r.Left + 1, r.Bottom}, topLeft);
    if (sides & BF_BOTTOM) paint.Fill({r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
    if (sides & BF_RIGHT) paint.Fill({r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
    if (sides & BF_LEFT) ++r.Left;
    if (sides & BF_TOP) ++r.Top;
    if (sides & BF_RIGHT) --r.Right;
    if (sides & BF_BOTTOM) --r.Bottom;
}

TRect Edge(DeviceContext& dc, TRect r, unsigned edge, unsigned flags) {
    Painter paint(dc);
    const unsigned outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
    const unsigned sides = flags & BF_RECT;
    struct Line {
        int topLeft, bottomRight;
    };
    std::vector<Line> lines;
    if (flags & BF_MONO) {
        if (outer || inner) lines.push_back({COLOR_WINDOWFRAME, COLOR_WINDOWFRAME});
        if (outer && inner) lines.push_back({COLOR_WINDOW, COLOR_WINDOW});
    } else if (flags & BF_FLAT) {
        if (outer || inner) lines.push_back({COLOR_BTNSHADOW, COLOR_BTNSHADOW});
        if (outer && inner) lines.push_back({COLOR_BTNFACE, COLOR_BTNFACE});
    } else {
        const bool soft = (flags & BF_SOFT) != 0;
        if (outer == BDR_RAISEDOUTER) lines.push_back({soft ? COLOR_BTNHIGHLIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW});
        if (outer == BDR_SUNKENOUTER) lines.push_back({soft ? COLOR_3DDKSHADOW : COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT});
        if (inner == BDR_RAISEDINNER) lines.push_back({soft ? COLOR_3DLIGHT : COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW});
        if (inner == BDR_SUNKENINNER) lines.push_back({soft ? COLOR_BTNSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT});
    }
    for (const Line& line : lines) EdgeLines(paint, r, sides, line.topLeft, line.bottomRight);
    if (flags & BF_MIDDLE) paint.Fill(r, (flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
    return r;
}

// The classic 7 x 7 check mark.
constexpr std::array<const char*, 7> kCheckMark = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

void DrawMask(Painter& paint, int left, int top, const char* const* rows, int count, int colorIndex) {
    for (int y = 0; y < count; ++y)
        for (int x = 0; rows[y][x] != '\0'; ++x)
            if (rows[y][x] == '#') paint.Pixel(left + x, top + y, colorIndex);
}

TRect SquareAtLeft(const TRect& r) {
    const int size = std::min(r.Width(), r.Height());
    const int top = r.Top + (r.Height() - size) / 2;
    return {r.Left, top, r.Left + size, top + size};
}

void CheckBox(DeviceContext& dc, const TRect& rect, unsigned state) {
    Painter paint(dc);
    TRect box = SquareAtLeft(rect);
    if (state & DFCS_FLAT) {
        box = Edge(dc, box, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
    } else {
        box = Edge(dc, box, EDGE_SUNKEN, BF_RECT);
    }
    const bool grayed = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
    if (state & (DFCS_PUSHED | DFCS_INACTIVE)) {
        paint.Fill(box, COLOR_BTNFACE);
    } else if (grayed) {
        paint.Dither(box, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE);
    } else {
        paint.Fill(box, COLOR_WINDOW);
    }
    if (!(state & DFCS_CHECKED)) return;
    const int markColor = (state & DFCS_INACTIVE) || grayed ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
    const int left = box.Left + (box.Width() - 7) / 2, top = box.Top + (box.Height() - 7) / 2;
    DrawMask(paint, left, top, kCheckMark.data(), 7, markColor);
}

// The classic 12 x 12 radio mark: outer ring shadow / highlight, inner ring dark shadow / light,
// field and dot. Letters: s shadow, h highlight, d dark shadow, l light, w field.
constexpr std::array<const char*, 12> kRadio = {
    "....ssss....", "..ssddddss..", ".sddwwwwddh.", ".sdwwwwwwlh.", "sdwwwwwwwwlh", "sdwwwwwwwwlh",
    "sdwwwwwwwwlh", "sdwwwwwwwwlh", ".sdwwwwwwlh.", ".hllwwwwllh.", "..hhllllhh..", "....hhhh....",
};
constexpr std::array<const char*, 4> kRadioDot = {".##.", "####", "####", ".##."};

void RadioButton(DeviceContext& dc, const TRect& rect, unsigned state) {
    Painter paint(dc);
    const TRect box = SquareAtLeft(rect);
    const int left = box.Left + (box.Width() - 12) / 2, top = box.Top + (box.Height() - 12) / 2;
    const bool flat = (state & DFCS_FLAT) != 0;
    const int field = (state & (DFCS_PUSHED | DFCS_INACTIVE)) ? COLOR_BTNFACE : COLOR_WINDOW;
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 12; ++x) {
            int color = -100;
            switch (kRadio[static_cast<size_t>(y)][x]) {
                case 's': color = COLOR_BTNSHADOW; break;
                case 'h': color = flat ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT; break;
                case 'd': color = flat ? field : COLOR_3DDKSHADOW; break;
                case 'l': color = flat ? field : COLOR_3DLIGHT; break;
                case 'w': color = field; break;
                default: break;
            }
            if (color != -100) paint.Pixel(left + x, top + y, color);
        }
    }
    if (state & DFCS_CHECKED) {
        const int dot = (state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT;
        DrawMask(paint, left + 4, top + 4, kRadioDot.data(), 4, dot);
    }
}

void PushButton(DeviceContext& dc, const TRect& rect, unsigned state) {
    Painter paint(dc);
    const bool down = (state & (DFCS_PUSHED | DFCS_CHECKED)) != 0;
    TRect inside = rect;
    if (state & DFCS_FLAT) {
        inside = Edge(dc, rect, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_FLAT);
    } else {
        inside = Edge(dc, rect, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT);
    }
    if (state & DFCS_CHECKED) {
        paint.Dither(inside, COLOR_BTNHIGHLIGHT, COLOR_BTNFACE);
    } else {
        paint.Fill(inside, COLOR_BTNFACE);
    }
}

enum class Direction { Up, Down, Left, Right };

// A filled triangle arrow pointing in a direction, centred in r.
void Arrow(Painter& paint, const TRect& r, Direction direction, int colorIndex) {
    const int size = std::min(r.Width(), r.Height());
    const int depth = std::max(1, (size + 2) / 4);
    const int span = 2 * depth - 1;
    const bool vertical = direction == Direction::Up || direction == Direction::Down;
    const int boxWidth = vertical ? span : depth, boxHeight = vertical ? depth : span;
    const int left = r.Left + (r.Width() - boxWidth) / 2;
    // A down arrow sits a pixel low, like the platform's.
    const int top = r.Top + (r.Height() - boxHeight) / 2 + (direction == Direction::Down ? 1 : 0);
    for (int i = 0; i < depth; ++i) {
        // Row i from the point: 2i + 1 pixels long.
        const int length = 2 * i + 1;
        const int from = depth - 1 - i;
        switch (direction) {
            case Direction::Up: paint.Fill({left + from, top + i, left + from + length, top + i + 1}, colorIndex); break;
            case Direction::Down:
                paint.Fill({left + from, top + depth - 1 - i, left + from + length, top + depth - i}, colorIndex);
                break;
            case Direction::Left: paint.Fill({left + i, top + from, left + i + 1, top + from + length}, colorIndex); break;
            case Direction::Right:
                paint.Fill({left + depth - 1 - i, top + from, left + depth - i, top + from + length}, colorIndex);
                break;
        }
    }
}

void ScrollArrow(DeviceContext& dc, const TRect& rect, unsigned state, Direction direction) {
    Painter paint(dc);
    const bool pushed = (state & DFCS_PUSHED) != 0;
    const unsigned flat = state & DFCS_FLAT;
    Edge(dc, rect, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_MIDDLE | flat);
    TRect area = rect;
    if (pushed) area = area.Offset(1, 1);
    if (state & DFCS_INACTIVE) {
        Arrow(paint, area.Offset(1, 1), direction, COLOR_BTNHIGHLIGHT);
        Arrow(paint, area, direction, COLOR_BTNSHADOW);
        return;
    }
    Arrow(paint, area, direction, COLOR_BTNTEXT);
}

void SizeGrip(DeviceContext& dc, const TRect& rect) {
    Painter paint(dc);
    paint.Fill(rect, COLOR_BTNFACE);
    const int size = std::min(rect.Width(), rect.Height());
    // Diagonals counted from the bottom-right corner: shadow, shadow, highlight, face; three times.
    for (int d = 1; d <= size && d <= 12; ++d) {
        const int phase = (d - 1) % 4;
        if (phase == 3) continue;
        const int color = phase == 2 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW;
        for (int k = 0; k < d; ++k) paint.Pixel(rect.Right - d + k, rect.Bottom - 1 - k, color);
    }
}

void MenuMark(DeviceContext& dc, const TRect& rect, unsigned state) {
    // Monochrome like the platform's: the mark in black on white, for use as a mask or as is.
    const Ink white = dc.ColorInk(RGB(255, 255, 255)), black = dc.ColorInk(RGB(0, 0, 0));
    dc.Fill(dc.ToDevice(rect), white);
    auto mask = [&](int width, int height, const char* const* rows) {
        const int left = rect.Left + (rect.Width() - width) / 2, top = rect.Top + (rect.Height() - height) / 2;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                if (rows[y][x] == '#') dc.Fill(dc.ToDevice(TRect{left + x, top + y, left + x + 1, top + y + 1}), black);
    };
    static constexpr std::array<const char*, 7> kSubmenuArrow = {"#...", "##..", "###.", "####", "###.", "##..", "#..."};
    switch (state & 0xFF) {
        case DFCS_MENUCHECK: mask(7, 7, kCheckMark.data()); break;
        case DFCS_MENUBULLET: mask(4, 4, kRadioDot.data()); break;
        default: mask(4, 7, kSubmenuArrow.data()); break;
    }
}

}  // namespace

bool DrawEdge(HDC handle, TRect* rect, unsigned edge, unsigned flags) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr || rect == nullptr) return false;
    const TRect inside = Edge(*dc, *rect, edge, flags);
    if (flags & BF_ADJUST) *rect = inside;
    return true;
}

bool DrawFrameControl(HDC handle, TRect* rect, unsigned type, unsigned state) {
    DeviceContext* dc = Valid(handle);
    if (dc == nullptr || rect == nullptr) return false;
    switch (type) {
        case DFC_BUTTON:
            if (state & DFCS_BUTTONPUSH) {
                PushButton(*dc, *rect, state);
            } else if (state & (DFCS_BUTTONRADIO | DFCS_BUTTONRADIOIMAGE)) {
                RadioButton(*dc, *rect, state);
            } else {
                CheckBox(*dc, *rect, state);
            }
            return true;
        case DFC_SCROLL:
            switch (state & 0xFF) {
                case DFCS_SCROLLUP: ScrollArrow(*dc, *rect, state, Direction::Up); return true;
                case DFCS_SCROLLDOWN:
                case DFCS_SCROLLCOMBOBOX: ScrollArrow(*dc, *rect, state, Direction::Down); return true;
                case DFCS_SCROLLLEFT: ScrollArrow(*dc, *rect, state, Direction::Left); return true;
                case DFCS_SCROLLRIGHT: ScrollArrow(*dc, *rect, state, Direction::Right); return true;
                case DFCS_SCROLLSIZEGRIP:
                case DFCS_SCROLLSIZEGRIPRIGHT: SizeGrip(*dc, *rect); return true;
                default: return false;
            }
        case DFC_MENU: MenuMark(*dc, *rect, state); return true;
        default: return false;
    }
}

}  // namespace vcl
