#pragma once
// System metrics and parameters: the screen and its monitors (from the backend), the classic
// sizes of scroll bars, borders and menus, and the user's keyboard and mouse settings.

#include <cstdint>
#include <vector>

#include "platform/draw/Geometry.h"
#include "platform/window/Backend.h"

namespace vcl {

inline constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
                     SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CYVTHUMB = 9,
                     SM_CXHTHUMB = 10, SM_CXICON = 11, SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14,
                     SM_CYMENU = 15, SM_CXFULLSCREEN = 16, SM_CYFULLSCREEN = 17, SM_CYVSCROLL = 20,
                     SM_CXHSCROLL = 21, SM_SWAPBUTTON = 23, SM_CXMIN = 28, SM_CYMIN = 29, SM_CXSIZE = 30,
                     SM_CYSIZE = 31, SM_CXFRAME = 32, SM_CYFRAME = 33, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37,
                     SM_CXEDGE = 45, SM_CYEDGE = 46, SM_CXSMICON = 49, SM_CYSMICON = 50, SM_CXMENUCHECK = 71,
                     SM_CYMENUCHECK = 72, SM_CXMENUSIZE = 54, SM_CYMENUSIZE = 55, SM_CXDRAG = 68, SM_CYDRAG = 69,
                     SM_XVIRTUALSCREEN = 76, SM_YVIRTUALSCREEN = 77, SM_CXVIRTUALSCREEN = 78,
                     SM_CYVIRTUALSCREEN = 79, SM_CMONITORS = 80;

int GetSystemMetrics(int index);

// Monitors: handles are 1-based indices into the backend's list; 0 is no monitor.
using HMONITOR = uintptr_t;
inline constexpr uint32_t MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2;
HMONITOR MonitorFromPoint(TPoint screen, uint32_t flags);
HMONITOR MonitorFromRect(const TRect& screen, uint32_t flags);
bool GetMonitorInfo(HMONITOR monitor, TMonitorInfo& info);
std::vector<TMonitorInfo> GetMonitors();
// The work area of the primary monitor.
TRect GetWorkArea();

uint32_t GetDoubleClickTime();
uint32_t GetCaretBlinkTime();
// The keyboard-delay setting (0..3) and keyboard-speed setting (0..31).
int GetKeyboardDelay();
int GetKeyboardSpeed();
int GetWheelScrollLines();
// The lines a wheel delta scrolls: delta / (120 / n), n the wheel-scroll-lines setting clamped to
// 1..120 (0 and the page-wise setting count as 1 and 120 would divide by zero or reverse otherwise).
int WheelStep(int wheelDelta, int wheelScrollLines = GetWheelScrollLines());

// The Win32-shaped query for the settings above.
inline constexpr uint32_t SPI_GETKEYBOARDSPEED = 0x000A, SPI_GETKEYBOARDDELAY = 0x0016, SPI_GETWORKAREA = 0x0030,
                          SPI_GETWHEELSCROLLLINES = 0x0068;
// pv receives an int, or a TRect for SPI_GETWORKAREA. Returns false for other actions.
bool SystemParametersInfo(uint32_t action, uint32_t param, void* pv, uint32_t winIni);

}  // namespace vcl
