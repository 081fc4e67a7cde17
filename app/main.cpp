// velmo-modbus: the main window on the desktop's display, until it is closed.

#include <cstdio>
#include <cstdlib>
#include <exception>

#include "app/Project1.h"
#include "platform/backend/sdl/SdlBackend.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/toolkit/Application.h"
#include "platform/window/WindowSystem.h"

int main() {
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
        vcl::TSdlBackend backend;
        vcl::WindowSystem().SetBackend(&backend);
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
