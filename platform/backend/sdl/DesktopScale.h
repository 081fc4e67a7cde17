#pragma once
// The scale the program's windows take on the desktop: an integer 1, 2 or 3 (every pixel a square
// block, bitmap fonts crisp), from where desktops announce it: VELMO_SCALE overrides, then the
// Wayland output's scale as SDL's high-DPI drawable shows it, GDK_SCALE, and the X resource Xft.dpi
// (144 and above is 2, 240 and above is 3).

#include <optional>
#include <string>
#include <string_view>

#include "platform/backend/scaled/ScaledBackend.h"

namespace vcl {

struct TScaleSources {
    std::optional<std::string> VelmoScale{};  // VELMO_SCALE
    // Drawable pixels per window unit of a high-DPI SDL window (above 1 on a scaled Wayland output).
    int DrawableRatio = 1;
    std::optional<std::string> GdkScale{};    // GDK_SCALE
    std::string XResources{};                 // the X server's resource string (RESOURCE_MANAGER)
};

// The scale the sources ask for; window units follow the drawable (points on Wayland).
TDisplayScale ChooseScale(const TScaleSources& sources);

// Xft.dpi of an X resource string, when it holds one.
std::optional<double> XftDpiOf(std::string_view resources);

// The sources of this process and display. SDL's video must be running.
TScaleSources ReadScaleSources();

}  // namespace vcl
