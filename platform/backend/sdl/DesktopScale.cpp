#include "platform/backend/sdl/DesktopScale.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace vcl {

namespace {

constexpr int kLargestScale = 3;

// A whole positive number and nothing else ("2"), clamped to the scales we draw.
std::optional<int> ScaleOf(const std::optional<std::string>& text) {
    if (!text || text->empty() || text->size() > 3) return std::nullopt;
    if (!std::all_of(text->begin(), text->end(), [](char c) { return c >= '0' && c <= '9'; })) return std::nullopt;
    const int value = std::atoi(text->c_str());
    if (value < 1) return std::nullopt;
    return std::min(value, kLargestScale);
}

int ScaleOfDpi(double dpi) { return dpi >= 240 ? 3 : dpi >= 144 ? 2 : 1; }

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

// The resource string the X server holds for its screen; empty without one. A connection of our
// own: SDL shares its display only with a window.
std::string XResourceString() {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return {};
    const char* resources = XResourceManagerString(display);
    std::string text = resources ? resources : "";
    XCloseDisplay(display);
    return text;
}

// Drawable pixels per window unit of a high-DPI window: what SDL gives a new window on Wayland
// (the largest output scale); 1 elsewhere.
int DrawableRatio() {
    SDL_Window* probe = SDL_CreateWindow("", 0, 0, 64, 64, SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!probe) return 1;
    int w = 0, h = 0, pixelsWide = 0, pixelsHigh = 0;
    SDL_GetWindowSize(probe, &w, &h);
    SDL_GetWindowSizeInPixels(probe, &pixelsWide, &pixelsHigh);
    SDL_DestroyWindow(probe);
    return w > 0 ? std::clamp(pixelsWide / w, 1, kLargestScale) : 1;
}

}  // namespace

std::optional<double> XftDpiOf(std::string_view resources) {
    constexpr std::string_view kKey = "Xft.dpi:";
    for (size_t at = 0; at < resources.size();) {
        const size_t end = std::min(resources.find('\n', at), resources.size());
        const std::string_view line = resources.substr(at, end - at);
        at = end + 1;
        if (!line.starts_with(kKey)) continue;
        const std::string value(line.substr(kKey.size()));
        char* stop = nullptr;
        const double dpi = std::strtod(value.c_str(), &stop);
        if (stop == value.c_str() || dpi <= 0) return std::nullopt;
        return dpi;
    }
    return std::nullopt;
}

TDisplayScale ChooseScale(const TScaleSources& sources) {
    const int ratio = std::clamp(sources.DrawableRatio, 1, kLargestScale);
    int wanted = 1;
    if (const std::optional<int> own = ScaleOf(sources.VelmoScale)) {
        wanted = *own;
    } else if (ratio > 1) {
        wanted = ratio;
    } else if (const std::optional<int> gdk = ScaleOf(sources.GdkScale)) {
        wanted = *gdk;
    } else if (const std::optional<double> dpi = XftDpiOf(sources.XResources)) {
        wanted = ScaleOfDpi(*dpi);
    }
    // Where the window system counts in points, the drawable already holds ratio pixels a point.
    const int units = std::max(1, wanted / ratio);
    return TDisplayScale{units, units * ratio};
}

TScaleSources ReadScaleSources() {
    TScaleSources sources;
    sources.VelmoScale = Environment("VELMO_SCALE");
    sources.GdkScale = Environment("GDK_SCALE");
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "wayland") == 0) {
        sources.DrawableRatio = DrawableRatio();
    } else if (driver && std::strcmp(driver, "x11") == 0 && !sources.VelmoScale && !sources.GdkScale) {
        sources.XResources = XResourceString();
    }
    return sources;
}

}  // namespace vcl
