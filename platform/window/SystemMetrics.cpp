#include "platform/window/SystemMetrics.h"

#include <algorithm>
#include <climits>

#include "platform/window/WindowSystem.h"

namespace vcl {

namespace {

// The screen without a backend: the headless default.
constexpr TRect kFallbackScreen{0, 0, 1024, 768};

TInputSettings Settings() {
    TBackend* backend = WindowSystem().Backend();
    return backend ? backend->InputSettings() : TInputSettings{};
}

TRect PrimaryBounds() {
    for (const TMonitorInfo& m : GetMonitors()) {
        if (m.Primary) return m.Bounds;
    }
    return kFallbackScreen;
}

TRect VirtualScreen() {
    TRect all;
    for (const TMonitorInfo& m : GetMonitors()) all = UnionRect(all, m.Bounds);
    return all.IsEmpty() ? kFallbackScreen : all;
}

long long DistanceSquared(const TRect& r, TPoint p) {
    const long long dx = p.X < r.Left ? r.Left - p.X : (p.X >= r.Right ? p.X - r.Right + 1 : 0);
    const long long dy = p.Y < r.Top ? r.Top - p.Y : (p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0);
    return dx * dx + dy * dy;
}

HMONITOR Primary(const std::vector<TMonitorInfo>& monitors) {
    for (size_t i = 0; i < monitors.size(); ++i) {
        if (monitors[i].Primary) return i + 1;
    }
    return monitors.empty() ? 0 : 1;
}

}  // namespace

int GetSystemMetrics(int index) {
    // The classic metrics of the Windows 2000 look at 96 dots per inch.
    switch (index) {
        case SM_CXSCREEN: return PrimaryBounds().Width();
        case SM_CYSCREEN: return PrimaryBounds().Height();
        case SM_CXFULLSCREEN: return GetWorkArea().Width();
        case SM_CYFULLSCREEN: return GetWorkArea().Height() - 18;
        case SM_XVIRTUALSCREEN: return VirtualScreen().Left;
        case SM_YVIRTUALSCREEN: return VirtualScreen().Top;
        case SM_CXVIRTUALSCREEN: return VirtualScreen().Width();
        case SM_CYVIRTUALSCREEN: return VirtualScreen().Height();
        case SM_CMONITORS: return std::max<int>(1, static_cast<int>(GetMonitors().size()));
        case SM_CXVSCROLL: case SM_CYHSCROLL: case SM_CYVSCROLL: case SM_CXHSCROLL:
        case SM_CYVTHUMB: case SM_CXHTHUMB: return 16;
        case SM_CYCAPTION: return 19;
        case SM_CXBORDER: case SM_CYBORDER: return 1;
        case SM_CXDLGFRAME: case SM_CYDLGFRAME: return 3;
        case SM_CXFRAME: case SM_CYFRAME: return 4;
        case SM_CXEDGE: case SM_CYEDGE: return 2;
        case SM_CXICON: case SM_CYICON: case SM_CXCURSOR: case SM_CYCURSOR: return 32;
        case SM_CXSMICON: case SM_CYSMICON: return 16;
        case SM_CYMENU: case SM_CXMENUSIZE: case SM_CYMENUSIZE: return 19;
        case SM_CXSIZE: case SM_CYSIZE: return 18;
        case SM_CXMIN: return 112;
        case SM_CYMIN: return 27;
        case SM_CXDOUBLECLK: case SM_CYDOUBLECLK: return 4;
        case SM_CXDRAG: case SM_CYDRAG: return 4;
        case SM_CXMENUCHECK: case SM_CYMENUCHECK: return 13;
        case SM_SWAPBUTTON: return 0;
        default: return 0;
    }
}

std::vector<TMonitorInfo> GetMonitors() {
    TBackend* backend = WindowSystem().Backend();
    if (!backend) return {TMonitorInfo{kFallbackScreen, kFallbackScreen, true}};
    return backend->Monitors();
}

HMONITOR MonitorFromPoint(TPoint screen, uint32_t flags) {
    const std::vector<TMonitorInfo> monitors = GetMonitors();
    for (size_t i = 0; i < monitors.size(); ++i) {
        if (monitors[i].Bounds.Contains(screen)) return i + 1;
    }
    if (flags == MONITOR_DEFAULTTOPRIMARY) return Primary(monitors);
    if (flags != MONITOR_DEFAULTTONEAREST || monitors.empty()) return 0;
    size_t best = 0;
    long long bestDistance = LLONG_MAX;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const long long d = DistanceSquared(monitors[i].Bounds, screen);
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best + 1;
}

HMONITOR MonitorFromRect(const TRect& screen, uint32_t flags) {
    const std::vector<TMonitorInfo> monitors = GetMonitors();
    long long bestArea = 0;
    HMONITOR best = 0;
    for (size_t i = 0; i < monitors.size(); ++i) {
        const TRect common = IntersectRect(monitors[i].Bounds, screen);
        const long long area = static_cast<long long>(common.Width()) * common.Height();
        if (area > bestArea) {
            bestArea = area;
            best = i + 1;
        }
    }
    if (best) return best;
    return MonitorFromPoint({screen.Left + screen.Width() / 2, screen.Top + screen.Height() / 2}, flags);
}

bool GetMonitorInfo(HMONITOR monitor, TMonitorInfo& info) {
    const std::vector<TMonitorInfo> monitors = GetMonitors();
    if (monitor == 0 || monitor > monitors.size()) return false;
    info = monitors[monitor - 1];
    return true;
}

TRect GetWorkArea() {
    for (const TMonitorInfo& m : GetMonitors()) {
        if (m.Primary) return m.WorkArea;
    }
    return kFallbackScreen;
}

uint32_t GetDoubleClickTime() { return Settings().DoubleClickTime; }
uint32_t GetCaretBlinkTime() { return Settings().CaretBlinkTime; }
int GetKeyboardDelay() { return std::clamp(Settings().KeyboardDelay, 0, 3); }
int GetKeyboardSpeed() { return std::clamp(Settings().KeyboardSpeed, 0, 31); }
int GetWheelScrollLines() { return Settings().WheelScrollLines; }

int WheelStep(int wheelDelta, int wheelScrollLines) {
    const int n = std::clamp(wheelScrollLines, 1, 120);
    return wheelDelta / (120 / n);
}

bool SystemParametersInfo(uint32_t action, uint32_t, void* pv, uint32_t) {
    if (!pv) return false;
    switch (action) {
        case SPI_GETKEYBOARDDELAY: *static_cast<int*>(pv) = GetKeyboardDelay(); return true;
        case SPI_GETKEYBOARDSPEED: *static_cast<int*>(pv) = GetKeyboardSpeed(); return true;
        case SPI_GETWHEELSCROLLLINES: *static_cast<int*>(pv) = GetWheelScrollLines(); return true;
        case SPI_GETWORKAREA: *static_cast<TRect*>(pv) = GetWorkArea(); return true;
        default: return false;
    }
}

}  // namespace vcl
