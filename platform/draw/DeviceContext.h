#pragma once
// A device context: the drawing state (selected objects, colours, modes, origins, clip region)
// over a block of 32-bit pixels. Memory DCs draw into the bitmap selected into them; window DCs
// draw into a top-level window's back buffer at the window's origin, limited to its visible
// region. Coordinates pass logical -> device (window and viewport origins) -> buffer (the DC's
// origin in the buffer); clip regions are kept in device coordinates.

#include <optional>
#include <span>
#include <vector>

#include "platform/draw/GdiObjects.h"

namespace vcl {

struct DcState {
    Region clip;  // device coordinates, meaningful when hasClip
    bool hasClip = false;
    TPoint windowOrg;
    TPoint viewportOrg;
    TPoint brushOrg;
    TPoint penPos;
    COLORREF textColor = 0;
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    unsigned textAlign = TA_LEFT | TA_TOP;
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;  // memory DCs only
};

// How drawn pixels combine with the destination: a colour or an 8 x 8 pattern, through a mix mode.
struct Ink {
    uint32_t pixel = 0xFF000000;
    const std::array<uint32_t, 64>* pattern = nullptr;
    TPoint patternOrigin;  // device coordinates of pattern pixel (0, 0)
    int rop2 = R2_COPYPEN;
};

class DeviceContext {
public:
    DeviceContext();
    DeviceContext(PixelSection& buffer, TPoint origin, std::span<const TRect> visible);
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;
    ~DeviceContext();

    bool IsMemory() const { return buffer_ == nullptr; }
    const DcState& State() const { return state_; }
    DcState& MutableState() { return state_; }

    int Save();
    bool Restore(int level);
    // Each returns the object selected before; it may be gone already when it was deleted while
    // selected, so it is a handle to compare or reselect, not to look into.
    HGDIOBJ Select(HGDIOBJ object);
    HPEN SelectPen(HPEN pen);
    HBRUSH SelectBrush(HBRUSH brush);
    HFONT SelectFont(HFONT font);
    HBITMAP SelectBitmap(HBITMAP bitmap);  // memory DCs; null when the bitmap is in another DC
    HGDIOBJ Current(int type) const;

    // Coordinates.
    TPoint ToDevice(TPoint logical) const;
    TRect ToDevice(const TRect& logical) const;
    TPoint ToLogical(TPoint device) const;
    TRect ToLogical(const TRect& device) const;
    TPoint Origin() const { return origin_; }  // device (0, 0) in the buffer
    PixelSection* Surface() const;
    // Everything the DC can draw on, in device coordinates.
    TRect DeviceExtent() const;

    // Clipping. Results are NULLREGION, SIMPLEREGION or COMPLEXREGION of the effective clip.
    int SelectClip(const Region* deviceRegion, int mode);
    int IntersectClip(const TRect& logical);
    int ExcludeClip(const TRect& logical);
    int OffsetClip(int dx, int dy);
    int ClipBox(TRect& logical);
    int ClipKind();
    // The effective clip in buffer coordinates: visible region, clip region and surface bounds.
    const std::vector<TRect>& ClipRects();
    void ClipChanged() { clipValid_ = false; }
    // Limits drawing further while text is drawn into a rectangle (device coordinates).
    void SetExtraClip(std::optional<TRect> device) { extraClip_ = device; }

    // Raster output in device coordinates, clipped.
    void Fill(const TRect& device, const Ink& ink);
    void Plot(int x, int y, const Ink& ink);
    // Blends colour into the pixels of a device rectangle by an 8-bit coverage mask (text).
    void BlendMask(const TRect& device, const uint8_t* coverage, int stride, uint32_t pixel);
    // Reads a pixel in device coordinates (unclipped; 0 outside the surface).
    uint32_t Read(int x, int y) const;

    // Inks from the selected objects.
    Ink PenInk() const;
    std::optional<Ink> BrushInk();  // none for a hollow brush
    Ink BrushInk(HBRUSH brush);
    Ink ColorInk(COLORREF color, int rop2 = R2_COPYPEN) const;

private:
    template <typename T>
    T* Swap(T*& slot, T* replacement);
    void RetainState(const DcState& state);
    void ReleaseState(const DcState& state);
    // The effective clip is worked out for the current surface.
    bool ClipCurrent() const;

    PixelSection* buffer_ = nullptr;  // window DCs
    TPoint origin_;
    Region visible_;  // buffer coordinates, window DCs
    DcState state_;
    std::vector<DcState> saved_;
    // The effective clip and the offset clip region it is made from, kept so that working them out
    // again reuses their storage.
    Region clip_;
    Region offsetClip_;
    bool clipValid_ = false;
    // The effective clip at each saved level, given back by Restore (valid: it was worked out).
    struct SavedClip {
        Region clip;
        bool valid = false;
        const PixelSection* surface = nullptr;
        TRect surfaceBounds;
    };
    std::vector<SavedClip> savedClips_;
    const PixelSection* clipSurface_ = nullptr;
    TRect clipSurfaceBounds_;
    std::optional<TRect> extraClip_;
    std::array<uint32_t, 64> hatch_{};
};

}  // namespace vcl
