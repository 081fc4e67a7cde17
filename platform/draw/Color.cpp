#include "platform/draw/Color.h"

#include <array>
#include <cstddef>

namespace vcl {
namespace {

constexpr std::array<COLORREF, kSystemColorCount> kPalette = [] {
    std::array<COLORREF, kSystemColorCount> p{};
    p[COLOR_SCROLLBAR] = RGB(212, 208, 200);
    p[COLOR_BACKGROUND] = RGB(58, 110, 165);
    p[COLOR_ACTIVECAPTION] = RGB(10, 36, 106);
    p[COLOR_INACTIVECAPTION] = RGB(128, 128, 128);
    p[COLOR_MENU] = RGB(212, 208, 200);
    p[COLOR_WINDOW] = RGB(255, 255, 255);
    p[COLOR_WINDOWFRAME] = RGB(0, 0, 0);
    p[COLOR_MENUTEXT] = RGB(0, 0, 0);
    p[COLOR_WINDOWTEXT] = RGB(0, 0, 0);
    p[COLOR_CAPTIONTEXT] = RGB(255, 255, 255);
    p[COLOR_ACTIVEBORDER] = RGB(212, 208, 200);
    p[COLOR_INACTIVEBORDER] = RGB(212, 208, 200);
    p[COLOR_APPWORKSPACE] = RGB(128, 128, 128);
    p[COLOR_HIGHLIGHT] = RGB(10, 36, 106);
    p[COLOR_HIGHLIGHTTEXT] = RGB(255, 255, 255);
    p[COLOR_BTNFACE] = RGB(212, 208, 200);
    p[COLOR_BTNSHADOW] = RGB(128, 128, 128);
    p[COLOR_GRAYTEXT] = RGB(128, 128, 128);
    p[COLOR_BTNTEXT] = RGB(0, 0, 0);
    p[COLOR_INACTIVECAPTIONTEXT] = RGB(212, 208, 200);
    p[COLOR_BTNHIGHLIGHT] = RGB(255, 255, 255);
    p[COLOR_3DDKSHADOW] = RGB(64, 64, 64);
    p[COLOR_3DLIGHT] = RGB(212, 208, 200);
    p[COLOR_INFOTEXT] = RGB(0, 0, 0);
    p[COLOR_INFOBK] = RGB(255, 255, 225);
    p[COLOR_HOTLIGHT] = RGB(0, 0, 128);
    p[COLOR_GRADIENTACTIVECAPTION] = RGB(166, 202, 240);
    p[COLOR_GRADIENTINACTIVECAPTION] = RGB(192, 192, 192);
    p[COLOR_MENUHILIGHT] = RGB(10, 36, 106);
    p[COLOR_MENUBAR] = RGB(212, 208, 200);
    return p;
}();

}  // namespace

COLORREF GetSysColor(int index) {
    return index >= 0 && index < kSystemColorCount ? kPalette[static_cast<size_t>(index)] : 0;
}

COLORREF ColorToRGB(TColor color) {
    if (IsSystemColor(color)) return GetSysColor(color & 0xFF);
    if (color == clNone || color == clDefault) return 0;
    return static_cast<COLORREF>(color) & 0x00FFFFFF;
}

}  // namespace vcl
