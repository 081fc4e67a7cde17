#include "platform/backend/sdl/X11Display.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <set>
#include <utility>

namespace vcl::x11 {

namespace {

std::function<void(const std::string&)>& Sink() {
    static std::function<void(const std::string&)> sink;
    return sink;
}

unsigned long errorCount = 0;

void Report(const std::string& line) {
    if (const auto& sink = Sink()) {
        sink(line);
        return;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
}

// The request's name from Xlib's error database ("X_SendEvent"), or its number.
std::string RequestName(Display* display, int request) {
    const std::string number = std::to_string(request);
    char name[128] = {};
    XGetErrorDatabaseText(display, "XRequest", number.c_str(), "", name, sizeof name);
    return name[0] ? std::string(name) + " (" + number + ")" : "request " + number;
}

int OnError(Display* display, XErrorEvent* error) {
    ++errorCount;
    // Called for errors of every connection, so the kinds already told are the process's.
    static std::set<std::pair<int, int>> told;
    if (!told.insert({error->error_code, error->request_code}).second) return 0;
    char text[160] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    char resource[32];
    std::snprintf(resource, sizeof resource, "0x%lx", error->resourceid);
    Report(std::string("velmo-modbus: X error ") + text + " in " + RequestName(display, error->request_code) +
           " on " + resource + "; going on (later errors of this kind are not shown)");
    return 0;
}

}  // namespace

void InstallErrorHandler() { XSetErrorHandler(&OnError); }

void SetErrorSink(std::function<void(const std::string&)> sink) { Sink() = std::move(sink); }

unsigned long ErrorCount() { return errorCount; }

int ConnectionDescriptor(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return -1;
    return ConnectionNumber(info.info.x11.display);
}

}  // namespace vcl::x11
