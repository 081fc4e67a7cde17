#pragma once
// The drawing state of a device context: saved states, clipping, origins, colours and modes.
// Every call fails softly (returns 0, false or CLR_INVALID) on an invalid device context.

#include "platform/draw/GdiTypes.h"

namespace vcl {

inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

int SaveDC(HDC dc);
// A positive level restores that SaveDC result; a negative one counts back from the latest.
bool RestoreDC(HDC dc, int level);

// Saves a DC's state and restores it when it goes, also when the drawing meanwhile raises. Every
// save of a DC's state goes through it.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : dc_(dc), level_(SaveDC(dc)) {}
    ~TSavedDC() {
        if (level_ > 0) RestoreDC(dc_, level_);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;

private:
    HDC dc_;
    int level_;
};

// Clipping (rectangles in logical coordinates, regions in device coordinates).
int SelectClipRgn(HDC dc, HRGN region);  // null removes the clip region
int ExtSelectClipRgn(HDC dc, HRGN region, int mode);
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
int OffsetClipRgn(HDC dc, int dx, int dy);
int GetClipBox(HDC dc, TRect* box);
// 1 and a copy of the clip region, 0 when the DC has none, -1 on error.
int GetClipRgn(HDC dc, HRGN region);
bool PtVisible(HDC dc, int x, int y);
bool RectVisible(HDC dc, const TRect* rect);

// Origins.
bool SetWindowOrgEx(HDC dc, int x, int y, TPoint* previous);
bool OffsetWindowOrgEx(HDC dc, int dx, int dy, TPoint* previous);
bool GetWindowOrgEx(HDC dc, TPoint* origin);
bool SetViewportOrgEx(HDC dc, int x, int y, TPoint* previous);
bool OffsetViewportOrgEx(HDC dc, int dx, int dy, TPoint* previous);
bool GetViewportOrgEx(HDC dc, TPoint* origin);
bool SetBrushOrgEx(HDC dc, int x, int y, TPoint* previous);
bool GetBrushOrgEx(HDC dc, TPoint* origin);
bool LPtoDP(HDC dc, TPoint* points, int count);
bool DPtoLP(HDC dc, TPoint* points, int count);

// Colours and modes.
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
int SetROP2(HDC dc, int mode);
int GetROP2(HDC dc);
int SetPolyFillMode(HDC dc, int mode);
int GetPolyFillMode(HDC dc);
int SetStretchBltMode(HDC dc, int mode);
int GetStretchBltMode(HDC dc);
unsigned SetTextAlign(HDC dc, unsigned align);
unsigned GetTextAlign(HDC dc);
bool GetCurrentPositionEx(HDC dc, TPoint* position);

// 32 bits per pixel at 96 dots per inch; HORZRES and VERTRES give the drawing surface's size.
int GetDeviceCaps(HDC dc, int index);

}  // namespace vcl
