#pragma once
// A backend over another one for high-density screens: the windows above it keep working in 1x
// pixels while the device backend's windows, pointer and monitors count in its own units. Every
// pixel of a 1x back buffer becomes a square block of screen pixels (nearest neighbour, so bitmap
// fonts stay crisp), window places and sizes are multiplied out, pointer coordinates divided back.
// The SDL backend runs under it on a scaled desktop; tests put it over the headless backend.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/Backend.h"

namespace vcl {

struct TDisplayScale {
    // Device units (window places, sizes, pointer) per 1x pixel.
    int Units = 1;
    // Screen pixels per 1x pixel: Units, or more where the window system counts in points that
    // hold several pixels each (Wayland's high-DPI drawable).
    int Pixels = 1;
    friend bool operator==(const TDisplayScale&, const TDisplayScale&) = default;
};

// Copies the area of source with each pixel a scale x scale block at (x, y) * scale of a 32-bit
// target whose rows are pitch pixels apart: one row is widened, then copied whole to the rows under
// it. The target must hold the block area.
void CopyScaled(const PixelSection& source, const TRect& area, int scale, uint32_t* target, size_t pitch);

// A device window that shows a scaled back buffer straight from its own pixels, without the copy
// the scaled window otherwise keeps for it.
class TScaledPresenter {
public:
    virtual ~TScaledPresenter() = default;
    // As TNativeWindow::Present with each pixel a scale x scale block; false when this window
    // cannot (its pixels are not 32-bit 0x..RRGGBB), and nothing was shown.
    virtual bool PresentScaled(const PixelSection& buffer, const std::vector<TRect>& dirty, int scale) = 0;
};

class TScaledBackend final : public TBackend {
public:
    TScaledBackend(TBackend& device, TDisplayScale scale);

    TDisplayScale Scale() const { return scale_; }

    std::unique_ptr<TNativeWindow> CreateNativeWindow(const TNativeWindowSpec& spec) override;
    bool PollEvent(TBackendEvent& event) override;
    void WaitEvent(std::optional<uint64_t> deadline) override { device_.WaitEvent(deadline); }
    TClock& Clock() override { return device_.Clock(); }
    std::vector<TMonitorInfo> Monitors() override;
    TInputSettings InputSettings() override { return device_.InputSettings(); }
    void SetCursor(TCursorShape shape) override { device_.SetCursor(shape); }
    std::string ClipboardText() override { return device_.ClipboardText(); }
    bool HasClipboardText() override { return device_.HasClipboardText(); }
    void SetClipboardText(const std::string& text) override { device_.SetClipboardText(text); }
    void StartTextInput() override { device_.StartTextInput(); }
    void StopTextInput() override { device_.StopTextInput(); }
    void SetTextInputRect(const TRect& rect) override;
    void CapturePointer(bool on) override { device_.CapturePointer(on); }

private:
    TBackend& device_;
    TDisplayScale scale_;
};

// A device window showing a 1x back buffer at the scale.
class TScaledWindow final : public TNativeWindow {
public:
    TScaledWindow(std::unique_ptr<TNativeWindow> device, TDisplayScale scale);

    uint32_t Id() const override { return device_->Id(); }
    void SetBounds(const TRect& screenBounds) override;
    void SetTitle(const std::string& title) override { device_->SetTitle(title); }
    void Show(bool activate) override { device_->Show(activate); }
    void Hide() override { device_->Hide(); }
    void Activate() override { device_->Activate(); }
    void SetState(TNativeWindowState state) override { device_->SetState(state); }
    void Present(const PixelSection& buffer, const std::vector<TRect>& dirty) override;

private:
    std::unique_ptr<TNativeWindow> device_;
    TScaledPresenter* direct_;  // the device window, when it presents scaled itself
    TDisplayScale scale_;
    PixelSection pixels_;  // otherwise the scaled copy the device window shows
};

}  // namespace vcl
