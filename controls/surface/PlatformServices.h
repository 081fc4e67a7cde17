#pragma once
// The window services of the drawing surface answered by the window layer: the pointer capture,
// the keyboard settings, monitors, work area and screen size of the running window system.
// WindowServices() hands it out whenever the window system has a backend and nothing else was set.

#include <cstdint>

#include "controls/surface/WindowServices.h"

namespace se {

class PlatformWindowServices final : public SurfaceWindowServices {
public:
    PlatformWindowServices() = default;
    PlatformWindowServices(const PlatformWindowServices&) = delete;
    PlatformWindowServices& operator=(const PlatformWindowServices&) = delete;
    ~PlatformWindowServices() override;
    void SetCapture(WindowHandle window) override;
    WindowHandle GetCapture() const override;
    void ReleaseCapture() override;
    void WatchCapture(std::function<void(WindowHandle lost)> lost) override;
    int KeyboardDelay() const override;
    int KeyboardSpeed() const override;
    std::vector<MonitorInfo> Monitors() const override;
    TSize ScreenSize() const override;
    std::optional<TRect> DesktopWorkArea() const override;
    TRect WindowBounds(WindowHandle window) const override;

private:
    std::function<void(WindowHandle)> lost_;
    uintptr_t observer_ = 0;
};

PlatformWindowServices& PlatformServices();
// The window system is running: its services are the default ones.
bool PlatformServicesAvailable();

}  // namespace se
