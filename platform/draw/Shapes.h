#pragma once
// Lines, outlined and filled shapes, rectangle fills and pixels. Shapes take the selected pen for
// outlines and the selected brush for interiors, through the DC's mix mode; lines leave out their
// end point; rectangles cover Left..Right-1 and Top..Bottom-1.

#include "platform/draw/GdiTypes.h"

namespace vcl {

bool MoveToEx(HDC dc, int x, int y, TPoint* previous);
bool LineTo(HDC dc, int x, int y);
bool Polyline(HDC dc, const TPoint* points, int count);
bool Polygon(HDC dc, const TPoint* points, int count);
bool Rectangle(HDC dc, int left, int top, int right, int bottom);
// Corners are quarters of an ellipse cornerWidth wide and cornerHeight high.
bool RoundRect(HDC dc, int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
bool Ellipse(HDC dc, int left, int top, int right, int bottom);

// Fills with the given brush (not the selected one), ignoring the mix mode.
bool FillRect(HDC dc, const TRect* rect, HBRUSH brush);
// A one-pixel frame in the given brush.
bool FrameRect(HDC dc, const TRect* rect, HBRUSH brush);
bool InvertRect(HDC dc, const TRect* rect);
// The dotted focus frame, drawn by inverting every other pixel: a second call removes it.
bool DrawFocusRect(HDC dc, const TRect* rect);

bool FillRgn(HDC dc, HRGN region, HBRUSH brush);
bool PaintRgn(HDC dc, HRGN region);  // with the selected brush
bool InvertRgn(HDC dc, HRGN region);

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
// CLR_INVALID outside the drawing surface.
COLORREF GetPixel(HDC dc, int x, int y);

}  // namespace vcl
