#pragma once
// The window services the drawing primitives need (pointer capture, keyboard repeat settings,
// monitors, screen size), behind an interface. While the window system runs its own services
// answer (PlatformServices.h); without it, a stand-in with one 1024 x 768 screen and remembered
// capture does. Tests may set their own.

#include <functional>
#include <optional>
#include <vector>

#include "platform/draw/Geometry.h"

namespace se {

using vcl::TPoint;
using vcl::TRect;
using vcl::TSize;

// A window of the window layer, opaque here.
using WindowHandle = void*;

struct MonitorInfo {
    TRect bounds;
    TRect workArea;
};

class SurfaceWindowServices {
public:
    virtual ~SurfaceWindowServices() = default;
    virtual void SetCapture(WindowHandle window) = 0;
    virtual WindowHandle GetCapture() const = 0;
    virtual void ReleaseCapture() = 0;
    // From now on lost(window) runs whenever the window holding the capture loses it, by any cause
    // (released, taken by another window, cancelled, destroyed). Replaces the previous watcher.
    virtual void WatchCapture(std::function<void(WindowHandle lost)> lost) { (void)lost; }
    virtual int KeyboardDelay() const = 0;  // 0..3
    virtual int KeyboardSpeed() const = 0;  // 0..31
    // Empty when the platform offers no multi-monitor functions.
    virtual std::vector<MonitorInfo> Monitors() const = 0;
    virtual TSize ScreenSize() const = 0;
    virtual std::optional<TRect> DesktopWorkArea() const = 0;
    // The window's rectangle in screen coordinates.
    virtual TRect WindowBounds(WindowHandle window) const = 0;
};

// Not owned; null goes back to the default (the window system's, else the stand-in).
void SetWindowServices(SurfaceWindowServices* services);
SurfaceWindowServices& WindowServices();

// Counted pointer capture on the window layer's capture: nested pairs capture once and release
// once. When the capture is lost some other way (cancelled, taken, its window destroyed) the count
// drops to zero, so the next CaptureMouse captures again.
void CaptureMouse(WindowHandle window);
void ReleaseMouse();
int CaptureCount();

// Keyboard repeat in milliseconds: 200 + 200 × delay, round(1000 / ((speed + 1) × 2.3)).
int KeyRepeatDelay();
int KeyRepeatInterval();

// The monitor nearest to the point (or window), its work area when asked, when there is more
// than one; otherwise the desktop work area or the whole screen.
TRect MonitorRect(TPoint point, bool workArea);
TRect MonitorRect(WindowHandle window, bool workArea);

// No theme service on this platform: the classic painting is the whole behaviour.
bool ThemesActive();

}  // namespace se
