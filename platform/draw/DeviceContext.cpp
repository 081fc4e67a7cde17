#include "platform/draw/DeviceContext.h"

#include <algorithm>
#include <cstring>

namespace vcl {
namespace {

int KindOf(const std::vector<TRect>& rects) {
    if (rects.empty()) return NULLREGION;
    return rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// The 16 mix modes as truth tables: bit (2 * pen + destination) of (mode - 1) is the result.
uint32_t Mix(int rop2, uint32_t pen, uint32_t destination) {
    const unsigned table = static_cast<unsigned>(rop2 - 1) & 0xF;
    if (table == R2_COPYPEN - 1) return pen | 0xFF000000u;
    if (table == R2_NOP - 1) return destination;
    uint32_t result = 0;
    if (table & 1) result |= ~pen & ~destination;
    if (table & 2) result |= ~pen & destination;
    if (table & 4) result |= pen & ~destination;
    if (table & 8) result |= pen & destination;
    const bool readsDestination = ((table & 1) != 0) != ((table & 2) != 0) || ((table & 4) != 0) != ((table & 8) != 0);
    const uint32_t alpha = readsDestination ? destination & 0xFF000000u : 0xFF000000u;
    return (result & 0x00FFFFFFu) | alpha;
}

// count copies of pixel. Long runs are doubled with memcpy, which is vectorised whatever the
// optimisation level the program was built with; a plain loop of 32-bit stores is not at -O2.
void FillSpan(uint32_t* row, size_t count, uint32_t pixel) {
    constexpr size_t kSeed = 16;
    const size_t seed = std::min(count, kSeed);
    for (size_t i = 0; i < seed; ++i) row[i] = pixel;
    for (size_t done = seed; done < count;) {
        const size_t step = std::min(done, count - done);
        std::memcpy(row + done, row, step * sizeof(uint32_t));
        done += step;
    }
}

constexpr std::array<uint8_t, 8> HatchRows(int hatch) {
    switch (hatch) {
        case HS_HORIZONTAL: return {0, 0, 0, 0xFF, 0, 0, 0, 0};
        case HS_VERTICAL: return {0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08};
        case HS_FDIAGONAL: return {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
        case HS_BDIAGONAL: return {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};
        case HS_CROSS: return {0x08, 0x08, 0x08, 0xFF, 0x08, 0x08, 0x08, 0x08};
        default: return {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81};
    }
}

}  // namespace

DeviceContext::DeviceContext() {
    state_.pen = static_cast<HPEN>(GetStockObject(BLACK_PEN));
    state_.brush = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    state_.font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    RetainState(state_);
}

DeviceContext::DeviceContext(PixelSection& buffer, TPoint origin, std::span<const TRect> visible)
    : DeviceContext() {
    buffer_ = &buffer;
    origin_ = origin;
    visible_ = Region::FromRects(visible);
}

DeviceContext::~DeviceContext() {
    ReleaseState(state_);
    for (const DcState& saved : saved_) ReleaseState(saved);
}

void DeviceContext::RetainState(const DcState& state) {
    gdi::Retain(state.pen);
    gdi::Retain(state.brush);
    gdi::Retain(state.font);
    gdi::Retain(state.bitmap);
}

void DeviceContext::ReleaseState(const DcState& state) {
    gdi::Release(state.pen);
    gdi::Release(state.brush);
    gdi::Release(state.font);
    gdi::Release(state.bitmap);
}

int DeviceContext::Save() {
    saved_.push_back(state_);
    RetainState(state_);
    savedClips_.push_back(SavedClip{clip_, clipValid_, clipSurface_, clipSurfaceBounds_});
    return static_cast<int>(saved_.size());
}

bool DeviceContext::Restore(int level) {
    const int count = static_cast<int>(saved_.size());
    const int target = level > 0 ? level : count + 1 + level;
    if (target < 1 || target > count) return false;
    DcState restored = std::move(saved_[static_cast<size_t>(target - 1)]);
    for (int i = target; i < count; ++i) ReleaseState(saved_[static_cast<size_t>(i)]);
    saved_.resize(static_cast<size_t>(target - 1));
    ReleaseState(state_);
    state_ = std::move(restored);
    // The clip of that level comes back with it, worked out as it was.
    SavedClip& clip = savedClips_[static_cast<size_t>(target - 1)];
    clip_ = std::move(clip.clip);
    clipValid_ = clip.valid;
    clipSurface_ = clip.surface;
    clipSurfaceBounds_ = clip.surfaceBounds;
    savedClips_.resize(static_cast<size_t>(target - 1));
    return true;
}

template <typename T>
T* DeviceContext::Swap(T*& slot, T* replacement) {
    T* previous = slot;
    if (previous == replacement) return previous;
    gdi::Retain(replacement);
    slot = replacement;
    gdi::Release(previous);
    return previous;
}

HPEN DeviceContext::SelectPen(HPEN pen) { return Swap(state_.pen, pen); }
HBRUSH DeviceContext::SelectBrush(HBRUSH brush) { return Swap(state_.brush, brush); }
HFONT DeviceContext::SelectFont(HFONT font) { return Swap(state_.font, font); }

HBITMAP DeviceContext::SelectBitmap(HBITMAP bitmap) {
    if (!IsMemory() || (bitmap->selectedInto != nullptr && bitmap->selectedInto != this)) return nullptr;
    bitmap->selectedInto = this;
    clipValid_ = false;
    return Swap(state_.bitmap, bitmap);
}

HGDIOBJ DeviceContext::Select(HGDIOBJ object) {
    switch (object->type) {
        case OBJ_PEN: return SelectPen(static_cast<HPEN>(object));
        case OBJ_BRUSH: return SelectBrush(static_cast<HBRUSH>(object));
        case OBJ_FONT: return SelectFont(static_cast<HFONT>(object));
        case OBJ_BITMAP: return SelectBitmap(static_cast<HBITMAP>(object));
        case OBJ_REGION:
            SelectClip(&static_cast<RegionObject*>(object)->region, RGN_COPY);
            return nullptr;
        default: return nullptr;
    }
}

HGDIOBJ DeviceContext::Current(int type) const {
    switch (type) {
        case OBJ_PEN: return state_.pen;
        case OBJ_BRUSH: return state_.brush;
        case OBJ_FONT: return state_.font;
        case OBJ_BITMAP: return state_.bitmap;
        default: return nullptr;
    }
}

TPoint DeviceContext::ToDevice(TPoint logical) const {
    return {logical.X - state_.windowOrg.X + state_.viewportOrg.X, logical.Y - state_.windowOrg.Y + state_.viewportOrg.Y};
}

TRect DeviceContext::ToDevice(const TRect& logical) const {
    const TPoint shift = ToDevice(TPoint{0, 0});
    return logical.Offset(shift.X, shift.Y);
}

TPoint DeviceContext::ToLogical(TPoint device) const {
    return {device.X + state_.windowOrg.X - state_.viewportOrg.X, device.Y + state_.windowOrg.Y - state_.viewportOrg.Y};
}

TRect DeviceContext::ToLogical(const TRect& device) const {
    const TPoint shift = ToLogical(TPoint{0, 0});
    return device.Offset(shift.X, shift.Y);
}

PixelSection* DeviceContext::Surface() const {
    if (buffer_ != nullptr) return buffer_;
    return state_.bitmap != nullptr ? &state_.bitmap->pixels : nullptr;
}

TRect DeviceContext::DeviceExtent() const {
    const PixelSection* surface = Surface();
    if (surface == nullptr) return {};
    return TRect{0, 0, surface->Width(), surface->Height()}.Offset(-origin_.X, -origin_.Y);
}

int DeviceContext::SelectClip(const Region* deviceRegion, int mode) {
    if (mode == RGN_COPY || (deviceRegion == nullptr)) {
        if (deviceRegion == nullptr && mode != RGN_COPY) return ERROR;
        state_.hasClip = deviceRegion != nullptr;
        state_.clip = deviceRegion != nullptr ? *deviceRegion : Region();
        clipValid_ = false;
        return ClipKind();
    }
    Region current = state_.hasClip ? state_.clip : Region(DeviceExtent());
    switch (mode) {
        case RGN_AND: current.Intersect(*deviceRegion); break;
        case RGN_OR: current.Union(*deviceRegion); break;
        case RGN_XOR: current.Xor(*deviceRegion); break;
        case RGN_DIFF: current.Subtract(*deviceRegion); break;
        default: return ERROR;
    }
    state_.clip = std::move(current);
    state_.hasClip = true;
    clipValid_ = false;
    return ClipKind();
}

// A clip narrowed by a rectangle narrows a worked-out effective clip the same way (in buffer
// coordinates) instead of having it worked out again.

int DeviceContext::IntersectClip(const TRect& logical) {
    const TRect device = ToDevice(logical);
    const bool current = ClipCurrent();
    if (state_.hasClip) {
        state_.clip.Intersect(device);
    } else {
        state_.clip = Region(device);
        state_.hasClip = true;
    }
    if (current) {
        clip_.Intersect(device.Offset(origin_.X, origin_.Y));
    } else {
        clipValid_ = false;
    }
    return ClipKind();
}

int DeviceContext::ExcludeClip(const TRect& logical) {
    const TRect device = ToDevice(logical);
    const bool current = ClipCurrent();
    if (!state_.hasClip) {
        state_.clip = Region(DeviceExtent());
        state_.hasClip = true;
    }
    state_.clip.Subtract(device);
    if (current) {
        clip_.Subtract(device.Offset(origin_.X, origin_.Y));
    } else {
        clipValid_ = false;
    }
    return ClipKind();
}

int DeviceContext::OffsetClip(int dx, int dy) {
    if (state_.hasClip) {
        state_.clip.Offset(dx, dy);
        clipValid_ = false;
    }
    return ClipKind();
}

int DeviceContext::ClipBox(TRect& logical) {
    const auto& rects = ClipRects();
    TRect bounds;
    for (const TRect& r : rects) bounds = UnionRect(bounds, r);
    logical = rects.empty() ? TRect{} : ToLogical(bounds.Offset(-origin_.X, -origin_.Y));
    return KindOf(rects);
}

int DeviceContext::ClipKind() { return KindOf(ClipRects()); }

bool DeviceContext::ClipCurrent() const {
    const PixelSection* surface = Surface();
    // A window's buffer can be resized between calls, so the cache also keys on the surface size.
    const TRect surfaceBounds = surface != nullptr ? TRect{0, 0, surface->Width(), surface->Height()} : TRect{};
    return clipValid_ && clipSurface_ == surface && clipSurfaceBounds_ == surfaceBounds;
}

const std::vector<TRect>& DeviceContext::ClipRects() {
    if (ClipCurrent()) return clip_.Rects();
    const PixelSection* surface = Surface();
    const TRect surfaceBounds = surface != nullptr ? TRect{0, 0, surface->Width(), surface->Height()} : TRect{};
    if (buffer_ != nullptr) {
        clip_ = visible_;
    } else {
        clip_.Reset(surfaceBounds);
    }
    if (state_.hasClip) {
        offsetClip_ = state_.clip;
        offsetClip_.Offset(origin_.X, origin_.Y);
        clip_.Intersect(offsetClip_);
    }
    clip_.Intersect(surfaceBounds);
    clipValid_ = true;
    clipSurface_ = surface;
    clipSurfaceBounds_ = surfaceBounds;
    return clip_.Rects();
}

void DeviceContext::Fill(const TRect& device, const Ink& ink) {
    PixelSection* surface = Surface();
    if (surface == nullptr || device.IsEmpty()) return;
    TRect target = device.Offset(origin_.X, origin_.Y);
    if (extraClip_) target = IntersectRect(target, extraClip_->Offset(origin_.X, origin_.Y));
    if (target.IsEmpty()) return;
    const bool plain = ink.pattern == nullptr && ink.rop2 == R2_COPYPEN;
    for (const TRect& clip : ClipRects()) {
        const TRect part = IntersectRect(target, clip);
        if (part.IsEmpty()) continue;
        const size_t count = static_cast<size_t>(part.Width());
        if (plain) {
            FillSpan(surface->Row(part.Top) + part.Left, count, ink.pixel | 0xFF000000u);
            for (int y = part.Top + 1; y < part.Bottom; ++y) {
                std::memcpy(surface->Row(y) + part.Left, surface->Row(part.Top) + part.Left, count * sizeof(uint32_t));
            }
            continue;
        }
        for (int y = part.Top; y < part.Bottom; ++y) {
            uint32_t* row = surface->Row(y) + part.Left;
            const int py = (y - origin_.Y - ink.patternOrigin.Y) & 7;
            for (size_t i = 0; i < count; ++i) {
                uint32_t source = ink.pixel;
                if (ink.pattern != nullptr) {
                    const int px = (part.Left + static_cast<int>(i) - origin_.X - ink.patternOrigin.X) & 7;
                    source = (*ink.pattern)[static_cast<size_t>(py * 8 + px)];
                }
                row[i] = Mix(ink.rop2, source, row[i]);
            }
        }
    }
}

void DeviceContext::BlendMask(const TRect& device, const uint8_t* coverage, int stride, uint32_t pixel) {
    PixelSection* surface = Surface();
    if (surface == nullptr || device.IsEmpty()) return;
    const TRect whole = device.Offset(origin_.X, origin_.Y);
    TRect target = whole;
    if (extraClip_) target = IntersectRect(target, extraClip_->Offset(origin_.X, origin_.Y));
    if (target.IsEmpty()) return;
    const unsigned red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
    for (const TRect& clip : ClipRects()) {
        const TRect part = IntersectRect(target, clip);
        for (int y = part.Top; y < part.Bottom; ++y) {
            uint32_t* row = surface->Row(y);
            const uint8_t* mask = coverage + static_cast<ptrdiff_t>(y - whole.Top) * stride - whole.Left;
            for (int x = part.Left; x < part.Right; ++x) {
                const unsigned a = mask[x];
                if (a == 0) continue;
                const uint32_t d = row[x];
                const unsigned r = (red * a + ((d >> 16) & 0xFF) * (255 - a) + 127) / 255;
                const unsigned g = (green * a + ((d >> 8) & 0xFF) * (255 - a) + 127) / 255;
                const unsigned b = (blue * a + (d & 0xFF) * (255 - a) + 127) / 255;
                row[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
            }
        }
    }
}

void DeviceContext::Plot(int x, int y, const Ink& ink) { Fill(TRect{x, y, x + 1, y + 1}, ink); }

uint32_t DeviceContext::Read(int x, int y) const {
    const PixelSection* surface = Surface();
    return surface != nullptr ? surface->At(x + origin_.X, y + origin_.Y) : 0;
}

Ink DeviceContext::ColorInk(COLORREF color, int rop2) const {
    Ink ink;
    ink.pixel = RgbToPixel(color);
    ink.rop2 = rop2;
    return ink;
}

Ink DeviceContext::PenInk() const {
    return ColorInk(state_.pen != nullptr ? state_.pen->color : 0, state_.rop2);
}

std::optional<Ink> DeviceContext::BrushInk() {
    if (state_.brush == nullptr || state_.brush->style == BS_NULL) return std::nullopt;
    return BrushInk(state_.brush);
}

Ink DeviceContext::BrushInk(HBRUSH brush) {
    Ink ink = ColorInk(brush->color, state_.rop2);
    if (brush->style == BS_PATTERN) {
        ink.pattern = &brush->pattern;
    } else if (brush->style == BS_HATCHED) {
        // Hatch lines in the brush colour over the background colour.
        auto& pattern = hatch_;
        const auto rows = HatchRows(brush->hatch);
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) {
                const bool line = (rows[static_cast<size_t>(y)] >> (7 - x)) & 1;
                pattern[static_cast<size_t>(y * 8 + x)] = RgbToPixel(line ? brush->color : state_.bkColor);
            }
        }
        ink.pattern = &pattern;
    }
    ink.patternOrigin = state_.brushOrg;
    return ink;
}

}  // namespace vcl
