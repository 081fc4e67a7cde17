#include "platform/draw/GdiState.h"

#include "platform/draw/DeviceContext.h"

namespace vcl {
namespace {

DeviceContext* Valid(HDC dc) { return IsDeviceContext(dc) ? dc : nullptr; }

bool MoveOrigin(HDC dc, TPoint DcState::*field, TPoint value, TPoint* previous) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    TPoint& origin = context->MutableState().*field;
    if (previous != nullptr) *previous = origin;
    origin = value;
    return true;
}

bool ReadOrigin(HDC dc, TPoint DcState::*field, TPoint* origin) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || origin == nullptr) return false;
    *origin = context->State().*field;
    return true;
}

template <typename T>
T Exchange(HDC dc, T DcState::*field, T value, T failure) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return failure;
    T previous = context->State().*field;
    context->MutableState().*field = value;
    return previous;
}

template <typename T>
T Read(HDC dc, T DcState::*field, T failure) {
    DeviceContext* context = Valid(dc);
    return context == nullptr ? failure : context->State().*field;
}

}  // namespace

int SaveDC(HDC dc) {
    DeviceContext* context = Valid(dc);
    return context == nullptr ? 0 : context->Save();
}

bool RestoreDC(HDC dc, int level) {
    DeviceContext* context = Valid(dc);
    return context != nullptr && context->Restore(level);
}

int SelectClipRgn(HDC dc, HRGN region) { return ExtSelectClipRgn(dc, region, RGN_COPY); }

int ExtSelectClipRgn(HDC dc, HRGN region, int mode) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return ERROR;
    if (region == nullptr) return mode == RGN_COPY ? context->SelectClip(nullptr, RGN_COPY) : ERROR;
    if (GetObjectType(region) != OBJ_REGION) return ERROR;
    return context->SelectClip(&region->region, mode);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = Valid(dc);
    return context == nullptr ? ERROR : context->IntersectClip(TRect{left, top, right, bottom});
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom) {
    DeviceContext* context = Valid(dc);
    return context == nullptr ? ERROR : context->ExcludeClip(TRect{left, top, right, bottom});
}

int OffsetClipRgn(HDC dc, int dx, int dy) {
    DeviceContext* context = Valid(dc);
    return context == nullptr ? ERROR : context->OffsetClip(dx, dy);
}

int GetClipBox(HDC dc, TRect* box) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || box == nullptr) return ERROR;
    return context->ClipBox(*box);
}

int GetClipRgn(HDC dc, HRGN region) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || GetObjectType(region) != OBJ_REGION) return -1;
    if (!context->State().hasClip) return 0;
    region->region = context->State().clip;
    return 1;
}

bool PtVisible(HDC dc, int x, int y) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    const TPoint device = context->ToDevice(TPoint{x, y});
    const TPoint buffer{device.X + context->Origin().X, device.Y + context->Origin().Y};
    for (const TRect& r : context->ClipRects()) {
        if (r.Contains(buffer)) return true;
    }
    return false;
}

bool RectVisible(HDC dc, const TRect* rect) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || rect == nullptr) return false;
    const TRect buffer = context->ToDevice(*rect).Offset(context->Origin().X, context->Origin().Y);
    for (const TRect& r : context->ClipRects()) {
        if (!IntersectRect(r, buffer).IsEmpty()) return true;
    }
    return false;
}

bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous) {
    return MoveOrigin(dc, &DcState::windowOrg, {x, y}, previous);
}

bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* previous) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    const TPoint origin = context->State().windowOrg;
    return MoveOrigin(dc, &DcState::windowOrg, {origin.X + dx, origin.Y + dy}, previous);
}

bool GetWindowOrgEx(HDC dc, TPoint* origin) { return ReadOrigin(dc, &DcState::windowOrg, origin); }

bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous) {
    return MoveOrigin(dc, &DcState::viewportOrg, {x, y}, previous);
}

bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return false;
    const TPoint origin = context->State().viewportOrg;
    return MoveOrigin(dc, &DcState::viewportOrg, {origin.X + dx, origin.Y + dy}, previous);
}

bool GetViewportOrgEx(HDC dc, TPoint* origin) { return ReadOrigin(dc, &DcState::viewportOrg, origin); }

bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* previous) {
    return MoveOrigin(dc, &DcState::brushOrg, {x, y}, previous);
}

bool GetBrushOrgEx(HDC dc, TPoint* origin) { return ReadOrigin(dc, &DcState::brushOrg, origin); }

bool LPtoDP(HDC dc, TPoint* points, int count) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || points == nullptr) return false;
    for (int i = 0; i < count; ++i) points[i] = context->ToDevice(points[i]);
    return true;
}

bool DPtoLP(HDC dc, TPoint* points, int count) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr || points == nullptr) return false;
    for (int i = 0; i < count; ++i) points[i] = context->ToLogical(points[i]);
    return true;
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    return Exchange(dc, &DcState::textColor, color & 0x00FFFFFF, CLR_INVALID);
}
COLORREF GetTextColor(HDC dc) { return Read(dc, &DcState::textColor, CLR_INVALID); }
COLORREF SetBkColor(HDC dc, COLORREF color) { return Exchange(dc, &DcState::bkColor, color & 0x00FFFFFF, CLR_INVALID); }
COLORREF GetBkColor(HDC dc) { return Read(dc, &DcState::bkColor, CLR_INVALID); }

int SetBkMode(HDC dc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return Exchange(dc, &DcState::bkMode, mode, 0);
}
int GetBkMode(HDC dc) { return Read(dc, &DcState::bkMode, 0); }

int SetROP2(HDC dc, int mode) {
    if (mode < R2_BLACK || mode > R2_WHITE) return 0;
    return Exchange(dc, &DcState::rop2, mode, 0);
}
int GetROP2(HDC dc) { return Read(dc, &DcState::rop2, 0); }

int SetPolyFillMode(HDC dc, int mode) {
    if (mode != ALTERNATE && mode != WINDING) return 0;
    return Exchange(dc, &DcState::polyFillMode, mode, 0);
}
int GetPolyFillMode(HDC dc) { return Read(dc, &DcState::polyFillMode, 0); }

int SetStretchBltMode(HDC dc, int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) return 0;
    return Exchange(dc, &DcState::stretchMode, mode, 0);
}
int GetStretchBltMode(HDC dc) { return Read(dc, &DcState::stretchMode, 0); }

unsigned SetTextAlign(HDC dc, unsigned align) { return Exchange(dc, &DcState::textAlign, align, 0xFFFFFFFFu); }
unsigned GetTextAlign(HDC dc) { return Read(dc, &DcState::textAlign, 0xFFFFFFFFu); }

bool GetCurrentPositionEx(HDC dc, TPoint* position) { return ReadOrigin(dc, &DcState::penPos, position); }

int GetDeviceCaps(HDC dc, int index) {
    DeviceContext* context = Valid(dc);
    if (context == nullptr) return 0;
    switch (index) {
        case BITSPIXEL: return 32;
        case PLANES: return 1;
        case NUMCOLORS: return -1;
        case LOGPIXELSX:
        case LOGPIXELSY: return 96;
        case HORZRES: return context->DeviceExtent().Width();
        case VERTRES: return context->DeviceExtent().Height();
        default: return 0;
    }
}

}  // namespace vcl
