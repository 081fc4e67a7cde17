#pragma once
// The classic frame controls and 3-D edges, in the system colours of the palette: push buttons,
// check box and radio marks, scroll arrows and the combo drop button, the size grip, and the menu
// check mark, bullet and submenu arrow.

#include "platform/draw/GdiTypes.h"

namespace vcl {

// type DFC_BUTTON, DFC_SCROLL or DFC_MENU with the matching DFCS_ state bits.
bool DrawFrameControl(HDC dc, TRect* rect, unsigned type, unsigned state);
// edge BDR_/EDGE_ bits, flags BF_ sides and modifiers; BF_ADJUST shrinks rect to the inside.
bool DrawEdge(HDC dc, TRect* rect, unsigned edge, unsigned flags);

}  // namespace vcl
