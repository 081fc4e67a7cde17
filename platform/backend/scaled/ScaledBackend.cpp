#include "platform/backend/scaled/ScaledBackend.h"

#include <algorithm>
#include <cstring>

namespace vcl {

namespace {

// Rounds towards minus infinity: a captured pointer left of or above a window stays outside it.
int FloorDiv(int value, int by) { return value >= 0 ? value / by : -((-value + by - 1) / by); }

int CeilDiv(int value, int by) { return FloorDiv(value + by - 1, by); }

TRect Times(const TRect& r, int by) { return {r.Left * by, r.Top * by, r.Right * by, r.Bottom * by}; }

// The 1x rectangle inside a device rectangle: a maximised window stays within the work area.
TRect Inside(const TRect& r, int by) {
    return {CeilDiv(r.Left, by), CeilDiv(r.Top, by), FloorDiv(r.Right, by), FloorDiv(r.Bottom, by)};
}

template <int Scale>
void WidenRow(const uint32_t* source, int width, uint32_t* target) {
    for (int x = 0; x < width; ++x, target += Scale) std::fill_n(target, Scale, source[x]);
}

}  // namespace

void CopyScaled(const PixelSection& source, const TRect& area, int scale, uint32_t* target, size_t pitch) {
    const int width = area.Width();
    const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(scale) * sizeof(uint32_t);
    for (int y = area.Top; y < area.Bottom; ++y) {
        const uint32_t* from = source.Row(y) + area.Left;
        uint32_t* first = target + static_cast<size_t>(y * scale) * pitch + static_cast<size_t>(area.Left * scale);
        // Fixed factors let the compiler unroll the widening.
        switch (scale) {
            case 2: WidenRow<2>(from, width, first); break;
            case 3: WidenRow<3>(from, width, first); break;
            default:
                for (int x = 0; x < width; ++x) std::fill_n(first + x * scale, scale, from[x]);
                break;
        }
        for (int k = 1; k < scale; ++k) std::memcpy(first + k * pitch, first, rowBytes);
    }
}

// ---- windows -----------------------------------------------------------------------------------

TScaledWindow::TScaledWindow(std::unique_ptr<TNativeWindow> device, TDisplayScale scale)
    : device_(std::move(device)), direct_(dynamic_cast<TScaledPresenter*>(device_.get())), scale_(scale) {}

void TScaledWindow::SetBounds(const TRect& screenBounds) { device_->SetBounds(Times(screenBounds, scale_.Units)); }

void TScaledWindow::Present(const PixelSection& buffer, const std::vector<TRect>& dirty) {
    const int scale = scale_.Pixels;
    if (scale == 1) {
        device_->Present(buffer, dirty);
        return;
    }
    if (direct_ && direct_->PresentScaled(buffer, dirty, scale)) return;
    const TRect whole{0, 0, buffer.Width(), buffer.Height()};
    std::vector<TRect> areas = dirty;
    if (pixels_.Width() != buffer.Width() * scale || pixels_.Height() != buffer.Height() * scale) {
        // A new size: the scaled copy starts from the whole buffer, not only what changed.
        pixels_.Resize(buffer.Width() * scale, buffer.Height() * scale);
        areas = {whole};
    }
    std::vector<TRect> scaled;
    scaled.reserve(areas.size());
    for (const TRect& d : areas) {
        const TRect r = IntersectRect(d, whole);
        if (r.IsEmpty()) continue;
        CopyScaled(buffer, r, scale, pixels_.Bits(), static_cast<size_t>(pixels_.Width()));
        scaled.push_back(Times(r, scale));
    }
    device_->Present(pixels_, scaled);
}

// ---- the backend -------------------------------------------------------------------------------

TScaledBackend::TScaledBackend(TBackend& device, TDisplayScale scale) : device_(device), scale_(scale) {}

std::unique_ptr<TNativeWindow> TScaledBackend::CreateNativeWindow(const TNativeWindowSpec& spec) {
    TNativeWindowSpec device = spec;
    device.Bounds = Times(spec.Bounds, scale_.Units);
    return std::make_unique<TScaledWindow>(device_.CreateNativeWindow(device), scale_);
}

bool TScaledBackend::PollEvent(TBackendEvent& event) {
    if (!device_.PollEvent(event)) return false;
    const int units = scale_.Units;
    switch (event.Kind) {
        case TBackendEventKind::PointerMove:
        case TBackendEventKind::ButtonDown:
        case TBackendEventKind::ButtonUp:
        case TBackendEventKind::Wheel:
        case TBackendEventKind::Moved:
            event.X = FloorDiv(event.X, units);
            event.Y = FloorDiv(event.Y, units);
            break;
        case TBackendEventKind::Resized:
            // The back buffer covers the whole window; a window manager's odd size leaves a sliver.
            event.Width = CeilDiv(event.Width, units);
            event.Height = CeilDiv(event.Height, units);
            break;
        default:
            break;
    }
    return true;
}

std::vector<TMonitorInfo> TScaledBackend::Monitors() {
    std::vector<TMonitorInfo> monitors = device_.Monitors();
    for (TMonitorInfo& m : monitors) {
        m.Bounds = Inside(m.Bounds, scale_.Units);
        m.WorkArea = Inside(m.WorkArea, scale_.Units);
    }
    return monitors;
}

void TScaledBackend::SetTextInputRect(const TRect& rect) { device_.SetTextInputRect(Times(rect, scale_.Units)); }

}  // namespace vcl
