#include "controls/surface/WindowServices.h"

#include "controls/surface/PlatformServices.h"

#include <algorithm>
#include <cmath>

#include "platform/rtl/NeverDestroyed.h"

namespace se {
namespace {

class StandInServices final : public SurfaceWindowServices {
public:
    void SetCapture(WindowHandle window) override { Change(window); }
    WindowHandle GetCapture() const override { return capture_; }
    void ReleaseCapture() override { Change(nullptr); }
    void WatchCapture(std::function<void(WindowHandle)> lost) override { lost_ = std::move(lost); }
    int KeyboardDelay() const override { return 1; }
    int KeyboardSpeed() const override { return 31; }
    std::vector<MonitorInfo> Monitors() const override { return {}; }
    TSize ScreenSize() const override { return {1024, 768}; }
    std::optional<TRect> DesktopWorkArea() const override { return TRect{0, 0, 1024, 768}; }
    TRect WindowBounds(WindowHandle) const override { return {}; }

private:
    void Change(WindowHandle window) {
        const WindowHandle old = capture_;
        capture_ = window;
        if (old != nullptr && old != window && lost_) lost_(old);
    }

    WindowHandle capture_ = nullptr;
    std::function<void(WindowHandle)> lost_;
};

SurfaceWindowServices* g_services = nullptr;

struct CaptureState {
    int count = 0;
    WindowHandle window = nullptr;
};

CaptureState& Capture() {
    static rtl::NeverDestroyed<CaptureState> state;
    return *state;
}

int64_t DistanceSquared(const TRect& r, TPoint p) {
    const int64_t dx = p.X < r.Left ? r.Left - p.X : (p.X >= r.Right ? p.X - r.Right + 1 : 0);
    const int64_t dy = p.Y < r.Top ? r.Top - p.Y : (p.Y >= r.Bottom ? p.Y - r.Bottom + 1 : 0);
    return dx * dx + dy * dy;
}

TRect Fallback(bool workArea) {
    const SurfaceWindowServices& services = WindowServices();
    if (workArea) {
        if (const auto area = services.DesktopWorkArea()) return *area;
    }
    const TSize screen = services.ScreenSize();
    return {0, 0, screen.cx, screen.cy};
}

TRect Pick(const MonitorInfo& monitor, bool workArea) { return workArea ? monitor.workArea : monitor.bounds; }

void CaptureLost(WindowHandle lost) {
    CaptureState& state = Capture();
    if (state.count > 0 && lost == state.window) state = {};
}

}  // namespace

void SetWindowServices(SurfaceWindowServices* services) { g_services = services; }

SurfaceWindowServices& WindowServices() {
    static rtl::NeverDestroyed<StandInServices> standIn;
    if (g_services != nullptr) return *g_services;
    if (PlatformServicesAvailable()) return PlatformServices();
    return *standIn;
}

void CaptureMouse(WindowHandle window) {
    CaptureState& state = Capture();
    if (state.count == 0) {
        SurfaceWindowServices& services = WindowServices();
        services.WatchCapture(&CaptureLost);
        services.SetCapture(window);
        // Remembered after taking it: the previous holder's loss is not this count's.
        state.window = window;
    }
    ++state.count;
}

void ReleaseMouse() {
    CaptureState& state = Capture();
    // A release without a capture does nothing; the count never goes below zero.
    if (state.count == 0) return;
    if (--state.count > 0) return;
    if (WindowServices().GetCapture() == state.window) WindowServices().ReleaseCapture();
    state.window = nullptr;
}

int CaptureCount() { return Capture().count; }

int KeyRepeatDelay() { return 200 + 200 * std::clamp(WindowServices().KeyboardDelay(), 0, 3); }

int KeyRepeatInterval() {
    const int speed = std::clamp(WindowServices().KeyboardSpeed(), 0, 31);
    return static_cast<int>(std::lround(1000.0 / ((speed + 1) * 2.3)));
}

TRect MonitorRect(TPoint point, bool workArea) {
    const std::vector<MonitorInfo> monitors = WindowServices().Monitors();
    if (monitors.size() < 2) return Fallback(workArea);
    const auto nearest = std::min_element(monitors.begin(), monitors.end(), [&](const MonitorInfo& a, const MonitorInfo& b) {
        return DistanceSquared(a.bounds, point) < DistanceSquared(b.bounds, point);
    });
    return Pick(*nearest, workArea);
}

TRect MonitorRect(WindowHandle window, bool workArea) {
    const std::vector<MonitorInfo> monitors = WindowServices().Monitors();
    if (monitors.size() < 2) return Fallback(workArea);
    const TRect bounds = WindowServices().WindowBounds(window);
    // The monitor sharing the most area with the window; without any, the one nearest its centre.
    int64_t bestArea = 0;
    const MonitorInfo* best = nullptr;
    for (const MonitorInfo& monitor : monitors) {
        const TRect common = vcl::IntersectRect(monitor.bounds, bounds);
        const int64_t area = int64_t{common.Width()} * common.Height();
        if (area > bestArea) {
            bestArea = area;
            best = &monitor;
        }
    }
    if (best != nullptr) return Pick(*best, workArea);
    return MonitorRect(TPoint{(bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2}, workArea);
}

bool ThemesActive() { return false; }

}  // namespace se
