// velmo-modbus: the main window on the desktop's display, until it is closed.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <optional>

#include "app/Project1.h"
#include "platform/backend/scaled/ScaledBackend.h"
#include "platform/backend/sdl/DesktopScale.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/toolkit/AppIcon.h"
#include "platform/toolkit/Application.h"
#include "platform/window/WindowSystem.h"

namespace {

// The window icon's size: what docks and task switchers pick from.
constexpr int kWindowIconSize = 64;

}  // namespace

int main(int argc, char** argv) {
    // Two options answer on the terminal; every other argument is ignored.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("velmo-modbus %s\n", VELMO_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::printf("Usage: velmo-modbus [--help | --version]: a window for testing Modbus RTU devices over a serial port (see man velmo-modbus)\n");
            return 0;
        }
    }
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "velmo-modbus: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY is set)\n");
        return 2;
    }
    // SDL would turn SIGINT and SIGTERM into a quit event the window never asks for; the default
    // actions end the program as a terminal user or a service manager expects.
    setenv("SDL_NO_SIGNAL_HANDLERS", "1", 0);
    // The window paints itself into a back buffer; SDL's accelerated window surface would load the
    // whole OpenGL stack (about 90 MB resident) for nothing.
    setenv("SDL_FRAMEBUFFER_ACCELERATION", "0", 0);
    try {
        vcl::TSdlBackend screen({VELMO_DESKTOP_ID, vcl::DrawAppIcon(kWindowIconSize)});
        // On a high-density desktop every pixel becomes a block; at scale 1 the screen is used as it is.
        std::optional<vcl::TScaledBackend> scaled;
        if (const vcl::TDisplayScale scale = vcl::ChooseScale(vcl::ReadScaleSources()); scale.Pixels > 1) {
            scaled.emplace(screen, scale);
        }
        vcl::WindowSystem().SetBackend(scaled ? static_cast<vcl::TBackend*>(&*scaled) : &screen);
        // Also when start-up or the loop raises: the forms and windows go before their backend.
        const rtl::ScopeExit shutDown(app::ShutDown);
        app::StartUp();
        vcl::Application->Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmo-modbus: %s\n", e.what());
        return 1;
    }
    return 0;
}
