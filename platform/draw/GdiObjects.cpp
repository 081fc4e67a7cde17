#include "platform/draw/GdiObjects.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>

#include "platform/draw/DeviceContext.h"
#include "platform/rtl/NeverDestroyed.h"

namespace vcl {
namespace {

struct HandleTable {
    std::unordered_map<const GdiObject*, std::unique_ptr<GdiObject>> objects;
    std::unordered_map<const DeviceContext*, std::unique_ptr<DeviceContext>> contexts;
    std::array<GdiObject*, DEFAULT_GUI_FONT + 1> stock{};
    std::array<BrushObject*, kSystemColorCount> systemBrushes{};
};

HandleTable& Table() {
    static rtl::NeverDestroyed<HandleTable> table;
    return *table;
}

template <typename T>
T* Adopt(std::unique_ptr<T> object) {
    T* handle = object.get();
    Table().objects.emplace(handle, std::move(object));
    return handle;
}

template <typename T>
T* Live(GdiObject* object, int type) {
    if (!gdi::IsLive(object) || object->type != type) return nullptr;
    return static_cast<T*>(object);
}

RegionObject* LiveRegion(HRGN region) { return Live<RegionObject>(region, OBJ_REGION); }

int RegionKind(const Region& region) {
    if (region.IsEmpty()) return NULLREGION;
    return region.Rects().size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

HBRUSH MakeStockBrush(COLORREF color, int style = BS_SOLID) {
    auto brush = std::make_unique<BrushObject>();
    brush->style = style;
    brush->color = color;
    brush->stock = true;
    return Adopt(std::move(brush));
}

HPEN MakeStockPen(COLORREF color, int style = PS_SOLID) {
    auto pen = std::make_unique<PenObject>();
    pen->style = style;
    pen->color = color;
    pen->stock = true;
    return Adopt(std::move(pen));
}

HFONT MakeStockFont() {
    auto font = std::make_unique<FontObject>();
    font->logFont.lfHeight = -11;
    font->logFont.lfFaceName = "MS Sans Serif";
    font->stock = true;
    return Adopt(std::move(font));
}

constexpr int64_t kMaxBitmapPixels = int64_t{1} << 28;

BitmapObject* MakeBitmap(int width, int height, bool bottomUp, bool dib) {
    if (width <= 0 || height <= 0) return nullptr;
    if (int64_t{width} * height > kMaxBitmapPixels) return nullptr;
    try {
        auto bitmap = std::make_unique<BitmapObject>();
        bitmap->pixels.Resize(width, height, bottomUp);
        bitmap->dibSection = dib;
        return Adopt(std::move(bitmap));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

}  // namespace

namespace gdi {

bool IsLive(const GdiObject* object) {
    if (object == nullptr) return false;
    const auto& objects = Table().objects;
    const auto found = objects.find(object);
    return found != objects.end() && !found->second->deletePending;
}

void Retain(GdiObject* object) {
    if (object != nullptr) ++object->references;
}

void Release(GdiObject* object) {
    if (object == nullptr) return;
    if (--object->references > 0) return;
    if (object->type == OBJ_BITMAP) static_cast<BitmapObject*>(object)->selectedInto = nullptr;
    if (object->deletePending) Table().objects.erase(object);
}

}  // namespace gdi

HPEN CreatePen(int style, int width, COLORREF color) {
    auto pen = std::make_unique<PenObject>();
    pen->style = style;
    pen->width = std::max(width, 1);
    pen->color = color & 0x00FFFFFF;
    return Adopt(std::move(pen));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    auto brush = std::make_unique<BrushObject>();
    brush->color = color & 0x00FFFFFF;
    return Adopt(std::move(brush));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    auto brush = std::make_unique<BrushObject>();
    brush->style = BS_HATCHED;
    brush->hatch = hatch;
    brush->color = color & 0x00FFFFFF;
    return Adopt(std::move(brush));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (brush == nullptr) return nullptr;
    switch (brush->lbStyle) {
        case BS_SOLID: return CreateSolidBrush(brush->lbColor);
        case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
        case BS_HATCHED: return CreateHatchBrush(brush->lbHatch, brush->lbColor);
        default: return nullptr;
    }
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
    const BitmapObject* source = Live<BitmapObject>(bitmap, OBJ_BITMAP);
    if (source == nullptr) return nullptr;
    auto brush = std::make_unique<BrushObject>();
    brush->style = BS_PATTERN;
    const PixelSection& pixels = source->pixels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            brush->pattern[static_cast<size_t>(y * 8 + x)] = pixels.At(x % pixels.Width(), y % pixels.Height());
        }
    }
    return Adopt(std::move(brush));
}

HBRUSH GetSysColorBrush(int index) {
    if (index < 0 || index >= kSystemColorCount) return nullptr;
    auto& brush = Table().systemBrushes[static_cast<size_t>(index)];
    if (brush == nullptr) brush = MakeStockBrush(GetSysColor(index));
    return brush;
}

HFONT CreateFontIndirect(const LOGFONT* font) {
    if (font == nullptr) return nullptr;
    auto object = std::make_unique<FontObject>();
    object->logFont = *font;
    return Adopt(std::move(object));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, unsigned, void** bits, void*, uint32_t) {
    if (bits != nullptr) *bits = nullptr;
    if (info == nullptr) return nullptr;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biBitCount != 32 || (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS)) {
        return nullptr;
    }
    const int height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    BitmapObject* bitmap = MakeBitmap(header.biWidth, height, header.biHeight > 0, true);
    if (bitmap != nullptr && bits != nullptr) *bits = bitmap->pixels.Bits();
    return bitmap;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) { return MakeBitmap(width, height, false, false); }

HBITMAP CreateBitmap(int width, int height, unsigned, unsigned bitsPerPixel, const void* bits) {
    if (bitsPerPixel != 32) return nullptr;
    BitmapObject* bitmap = MakeBitmap(width, height, false, false);
    if (bitmap != nullptr && bits != nullptr) {
        std::memcpy(bitmap->pixels.Bits(), bits, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    }
    return bitmap;
}

HGDIOBJ GetStockObject(int index) {
    if (index < 0 || index > DEFAULT_GUI_FONT) return nullptr;
    auto& stock = Table().stock;
    GdiObject*& object = stock[static_cast<size_t>(index)];
    if (object != nullptr) return object;
    switch (index) {
        case WHITE_BRUSH: object = MakeStockBrush(RGB(255, 255, 255)); break;
        case LTGRAY_BRUSH: object = MakeStockBrush(RGB(192, 192, 192)); break;
        case GRAY_BRUSH: object = MakeStockBrush(RGB(128, 128, 128)); break;
        case DKGRAY_BRUSH: object = MakeStockBrush(RGB(64, 64, 64)); break;
        case BLACK_BRUSH: object = MakeStockBrush(RGB(0, 0, 0)); break;
        case NULL_BRUSH: object = MakeStockBrush(0, BS_NULL); break;
        case WHITE_PEN: object = MakeStockPen(RGB(255, 255, 255)); break;
        case BLACK_PEN: object = MakeStockPen(RGB(0, 0, 0)); break;
        case NULL_PEN: object = MakeStockPen(0, PS_NULL); break;
        case SYSTEM_FONT:
        case DEFAULT_GUI_FONT: object = MakeStockFont(); break;
        default: break;
    }
    return object;
}

int GetObjectType(HGDIOBJ object) { return gdi::IsLive(object) ? object->type : 0; }

int GetObject(HGDIOBJ object, int size, void* out) {
    if (!gdi::IsLive(object) || out == nullptr) return 0;
    if (object->type == OBJ_BITMAP) {
        const auto* bitmap = static_cast<const BitmapObject*>(object);
        BITMAP info;
        info.bmWidth = bitmap->pixels.Width();
        info.bmHeight = bitmap->pixels.Height();
        info.bmWidthBytes = info.bmWidth * 4;
        info.bmBits = bitmap->dibSection ? const_cast<uint32_t*>(bitmap->pixels.Bits()) : nullptr;
        if (size == static_cast<int>(sizeof(DIBSECTION)) && bitmap->dibSection) {
            DIBSECTION section;
            section.dsBm = info;
            section.dsBmih.biWidth = info.bmWidth;
            section.dsBmih.biHeight = bitmap->pixels.BottomUp() ? info.bmHeight : -info.bmHeight;
            section.dsBmih.biSizeImage = static_cast<uint32_t>(info.bmWidthBytes * info.bmHeight);
            *static_cast<DIBSECTION*>(out) = section;
            return static_cast<int>(sizeof(DIBSECTION));
        }
        if (size < static_cast<int>(sizeof(BITMAP))) return 0;
        *static_cast<BITMAP*>(out) = info;
        return static_cast<int>(sizeof(BITMAP));
    }
    if (object->type == OBJ_BRUSH && size >= static_cast<int>(sizeof(LOGBRUSH))) {
        const auto* brush = static_cast<const BrushObject*>(object);
        *static_cast<LOGBRUSH*>(out) = LOGBRUSH{brush->style, brush->color, brush->hatch};
        return static_cast<int>(sizeof(LOGBRUSH));
    }
    if (object->type == OBJ_FONT && size == static_cast<int>(sizeof(LOGFONT))) {
        *static_cast<LOGFONT*>(out) = static_cast<const FontObject*>(object)->logFont;
        return static_cast<int>(sizeof(LOGFONT));
    }
    return 0;
}

bool DeleteObject(HGDIOBJ object) {
    if (!gdi::IsLive(object) || object->stock) return false;
    if (object->references > 0) {
        object->deletePending = true;  // goes when the last device context lets it go
        return true;
    }
    Table().objects.erase(object);
    return true;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    auto region = std::make_unique<RegionObject>();
    region->region = Region(TRect{std::min(left, right), std::min(top, bottom), std::max(left, right),
                                  std::max(top, bottom)});
    return Adopt(std::move(region));
}

HRGN CreateRectRgnIndirect(const TRect* rect) {
    return rect == nullptr ? nullptr : CreateRectRgn(rect->Left, rect->Top, rect->Right, rect->Bottom);
}

HRGN ExtCreateRegion(const void*, uint32_t size, const RGNDATA* data) {
    if (data == nullptr || size < sizeof(RGNDATAHEADER)) return nullptr;
    const RGNDATAHEADER& header = data->rdh;
    if (header.dwSize < sizeof(RGNDATAHEADER) || header.iType != RDH_RECTANGLES) return nullptr;
    if (uint64_t{header.dwSize} + uint64_t{header.nCount} * sizeof(TRect) > size) return nullptr;
    auto region = std::make_unique<RegionObject>();
    region->region = Region::FromRects(std::span<const TRect>(data->Rects(), header.nCount));
    return Adopt(std::move(region));
}

bool SetRectRgn(HRGN region, int left, int top, int right, int bottom) {
    RegionObject* object = LiveRegion(region);
    if (object == nullptr) return false;
    object->region = Region(TRect{left, top, right, bottom});
    return true;
}

int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode) {
    RegionObject* target = LiveRegion(destination);
    const RegionObject* a = LiveRegion(source1);
    if (target == nullptr || a == nullptr) return ERROR;
    if (mode == RGN_COPY) {
        target->region = a->region;
        return RegionKind(target->region);
    }
    const RegionObject* b = LiveRegion(source2);
    if (b == nullptr) return ERROR;
    Region result = a->region;
    switch (mode) {
        case RGN_AND: result.Intersect(b->region); break;
        case RGN_OR: result.Union(b->region); break;
        case RGN_XOR: result.Xor(b->region); break;
        case RGN_DIFF: result.Subtract(b->region); break;
        default: return ERROR;
    }
    target->region = std::move(result);
    return RegionKind(target->region);
}

int OffsetRgn(HRGN region, int dx, int dy) {
    RegionObject* object = LiveRegion(region);
    if (object == nullptr) return ERROR;
    object->region.Offset(dx, dy);
    return RegionKind(object->region);
}

int GetRgnBox(HRGN region, TRect* box) {
    const RegionObject* object = LiveRegion(region);
    if (object == nullptr || box == nullptr) return ERROR;
    *box = object->region.Bounds();
    return RegionKind(object->region);
}

bool PtInRegion(HRGN region, int x, int y) {
    const RegionObject* object = LiveRegion(region);
    return object != nullptr && object->region.Contains({x, y});
}

bool RectInRegion(HRGN region, const TRect* rect) {
    const RegionObject* object = LiveRegion(region);
    return object != nullptr && rect != nullptr && object->region.Intersects(*rect);
}

bool EqualRgn(HRGN a, HRGN b) {
    const RegionObject* ra = LiveRegion(a);
    const RegionObject* rb = LiveRegion(b);
    return ra != nullptr && rb != nullptr && ra->region == rb->region;
}

uint32_t GetRegionData(HRGN region, uint32_t size, RGNDATA* data) {
    const RegionObject* object = LiveRegion(region);
    if (object == nullptr) return 0;
    const auto& rects = object->region.Rects();
    const uint32_t needed = static_cast<uint32_t>(sizeof(RGNDATAHEADER) + rects.size() * sizeof(TRect));
    if (data == nullptr || size < needed) return needed;
    data->rdh = RGNDATAHEADER{};
    data->rdh.nCount = static_cast<uint32_t>(rects.size());
    data->rdh.nRgnSize = static_cast<uint32_t>(rects.size() * sizeof(TRect));
    data->rdh.rcBound = object->region.Bounds();
    std::memcpy(reinterpret_cast<char*>(data) + sizeof(RGNDATAHEADER), rects.data(), rects.size() * sizeof(TRect));
    return needed;
}

HDC CreateCompatibleDC(HDC) {
    auto dc = std::make_unique<DeviceContext>();
    HDC handle = dc.get();
    Table().contexts.emplace(handle, std::move(dc));
    return handle;
}

HDC CreateWindowBufferDC(PixelSection& buffer, TPoint origin, std::span<const TRect> visible) {
    auto dc = std::make_unique<DeviceContext>(buffer, origin, visible);
    HDC handle = dc.get();
    Table().contexts.emplace(handle, std::move(dc));
    return handle;
}

bool IsDeviceContext(HDC dc) { return dc != nullptr && Table().contexts.count(dc) != 0; }

bool DeleteDC(HDC dc) {
    if (!IsDeviceContext(dc)) return false;
    Table().contexts.erase(dc);
    return true;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    if (!IsDeviceContext(dc) || !gdi::IsLive(object)) return nullptr;
    return dc->Select(object);
}

HPEN SelectObject(HDC dc, HPEN pen) {
    return IsDeviceContext(dc) && gdi::IsLive(pen) ? dc->SelectPen(pen) : nullptr;
}

HBRUSH SelectObject(HDC dc, HBRUSH brush) {
    return IsDeviceContext(dc) && gdi::IsLive(brush) ? dc->SelectBrush(brush) : nullptr;
}

HFONT SelectObject(HDC dc, HFONT font) {
    return IsDeviceContext(dc) && gdi::IsLive(font) ? dc->SelectFont(font) : nullptr;
}

HBITMAP SelectObject(HDC dc, HBITMAP bitmap) {
    return IsDeviceContext(dc) && gdi::IsLive(bitmap) ? dc->SelectBitmap(bitmap) : nullptr;
}

HGDIOBJ GetCurrentObject(HDC dc, int type) { return IsDeviceContext(dc) ? dc->Current(type) : nullptr; }

}  // namespace vcl
