#pragma once
// Drawing objects (pens, brushes, fonts, bitmaps, regions) behind the handles, and the calls that
// create, inspect and delete them. Objects live in a process-wide table: a handle is valid from
// its creation until DeleteObject, and an object still selected into a device context (or held by
// a saved state) is deleted only once the last device context lets it go.

#include <array>
#include <memory>
#include <span>

#include "platform/draw/GdiTypes.h"
#include "platform/draw/PixelSection.h"
#include "platform/draw/Region.h"

namespace vcl {

class FontInstance;

struct GdiObject {
    explicit GdiObject(int objectType) : type(objectType) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    virtual ~GdiObject() = default;

    const int type;
    int references = 0;  // selections in device contexts and their saved states
    bool deletePending = false;
    bool stock = false;
};

struct PenObject : GdiObject {
    PenObject() : GdiObject(OBJ_PEN) {}
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct BrushObject : GdiObject {
    BrushObject() : GdiObject(OBJ_BRUSH) {}
    int style = BS_SOLID;
    COLORREF color = 0;
    int hatch = 0;
    std::array<uint32_t, 64> pattern{};  // 8 x 8 pixels for BS_PATTERN, row by row
};

struct FontObject : GdiObject {
    FontObject() : GdiObject(OBJ_FONT) {}
    LOGFONT logFont;
    std::shared_ptr<const FontInstance> instance;  // resolved on first use
};

struct BitmapObject : GdiObject {
    BitmapObject() : GdiObject(OBJ_BITMAP) {}
    PixelSection pixels;
    bool dibSection = false;  // made by CreateDIBSection (its pixels are addressable by the caller)
    DeviceContext* selectedInto = nullptr;
};

struct RegionObject : GdiObject {
    RegionObject() : GdiObject(OBJ_REGION) {}
    Region region;
};

// Creation.
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
// The top-left 8 x 8 pixels of the bitmap become the pattern (repeated when it is smaller).
HBRUSH CreatePatternBrush(HBITMAP bitmap);
// A shared brush of a system colour; never deleted.
HBRUSH GetSysColorBrush(int index);
HFONT CreateFontIndirect(const LOGFONT* font);
// 32 bits per pixel only; a negative height gives rows stored top-down. *bits receives the pixel
// memory (null on failure).
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, unsigned usage, void** bits, void* section = nullptr,
                         uint32_t offset = 0);
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// 32 bits per pixel; bits (rows top-down) may be null.
HBITMAP CreateBitmap(int width, int height, unsigned planes, unsigned bitsPerPixel, const void* bits);
HGDIOBJ GetStockObject(int index);

// Inspection and deletion.
int GetObjectType(HGDIOBJ object);
// Fills a BITMAP, DIBSECTION (DIB sections only), LOGBRUSH or LOGFONT according to size; returns
// the number of bytes written, 0 on failure.
int GetObject(HGDIOBJ object, int size, void* out);
bool DeleteObject(HGDIOBJ object);

// Regions.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const TRect* rect);
HRGN ExtCreateRegion(const void* transform, uint32_t size, const RGNDATA* data);
bool SetRectRgn(HRGN region, int left, int top, int right, int bottom);
int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
int OffsetRgn(HRGN region, int dx, int dy);
int GetRgnBox(HRGN region, TRect* box);
bool PtInRegion(HRGN region, int x, int y);
bool RectInRegion(HRGN region, const TRect* rect);
bool EqualRgn(HRGN a, HRGN b);
// Writes header and rectangles when size is large enough; returns the size needed.
uint32_t GetRegionData(HRGN region, uint32_t size, RGNDATA* data);

// Device contexts. A memory DC draws into the bitmap selected into it.
HDC CreateCompatibleDC(HDC dc);
// A DC over a top-level window's back buffer: origin is the window's client top-left in the
// buffer, visible its visible part in buffer coordinates (children already left out).
HDC CreateWindowBufferDC(PixelSection& buffer, TPoint origin, std::span<const TRect> visible);
bool DeleteDC(HDC dc);
// The window layer's name for giving back a window DC.
inline bool ReleaseDC(HDC dc) { return DeleteDC(dc); }
// Returns the object selected before (for a region: null; the clip region is replaced).
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
HPEN SelectObject(HDC dc, HPEN pen);
HBRUSH SelectObject(HDC dc, HBRUSH brush);
HFONT SelectObject(HDC dc, HFONT font);
HBITMAP SelectObject(HDC dc, HBITMAP bitmap);
HGDIOBJ GetCurrentObject(HDC dc, int type);
bool IsDeviceContext(HDC dc);

// Reference keeping for DeviceContext (selections and saved states).
namespace gdi {
bool IsLive(const GdiObject* object);
void Retain(GdiObject* object);
void Release(GdiObject* object);
}  // namespace gdi

}  // namespace vcl
