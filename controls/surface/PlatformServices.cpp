#include "controls/surface/PlatformServices.h"

#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowSystem.h"
#include "platform/rtl/NeverDestroyed.h"

namespace se {
namespace {

vcl::HWND AsWindow(WindowHandle window) { return static_cast<vcl::HWND>(window); }

int SystemParameter(uint32_t action, int fallback) {
    int value = fallback;
    return vcl::SystemParametersInfo(action, 0, &value, 0) ? value : fallback;
}

}  // namespace

void PlatformWindowServices::SetCapture(WindowHandle window) { vcl::SetCapture(AsWindow(window)); }
WindowHandle PlatformWindowServices::GetCapture() const { return vcl::GetCapture(); }
void PlatformWindowServices::ReleaseCapture() { vcl::ReleaseCapture(); }

PlatformWindowServices::~PlatformWindowServices() {
    if (observer_ != 0) vcl::RemoveCaptureObserver(observer_);
}

void PlatformWindowServices::WatchCapture(std::function<void(WindowHandle lost)> lost) {
    lost_ = std::move(lost);
    // One observer for the life of the process; it forwards to whoever watches now.
    if (observer_ == 0) {
        observer_ = vcl::AddCaptureObserver([this](vcl::HWND old, vcl::HWND) {
            if (old && lost_) lost_(old);
        });
    }
}
int PlatformWindowServices::KeyboardDelay() const { return SystemParameter(vcl::SPI_GETKEYBOARDDELAY, 1); }
int PlatformWindowServices::KeyboardSpeed() const { return SystemParameter(vcl::SPI_GETKEYBOARDSPEED, 31); }

std::vector<MonitorInfo> PlatformWindowServices::Monitors() const {
    std::vector<MonitorInfo> monitors;
    for (const vcl::TMonitorInfo& m : vcl::GetMonitors()) monitors.push_back({m.Bounds, m.WorkArea});
    return monitors;
}

TSize PlatformWindowServices::ScreenSize() const {
    return {vcl::GetSystemMetrics(vcl::SM_CXSCREEN), vcl::GetSystemMetrics(vcl::SM_CYSCREEN)};
}

std::optional<TRect> PlatformWindowServices::DesktopWorkArea() const {
    TRect area;
    if (!vcl::SystemParametersInfo(vcl::SPI_GETWORKAREA, 0, &area, 0)) return std::nullopt;
    return area;
}

TRect PlatformWindowServices::WindowBounds(WindowHandle window) const { return vcl::GetWindowRect(AsWindow(window)); }

PlatformWindowServices& PlatformServices() {
    static rtl::NeverDestroyed<PlatformWindowServices> services;
    return *services;
}

bool PlatformServicesAvailable() { return vcl::WindowSystem().Backend() != nullptr; }

}  // namespace se
