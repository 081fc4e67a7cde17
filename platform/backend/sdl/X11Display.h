#pragma once
// What the SDL backend does on X11 itself, apart from SDL:
// - an X error handler for the whole process. Xlib's default ends the program on any protocol
//   error, also on one that harms nothing (a request naming a window that went away a moment
//   before); ours writes each kind of error to standard error once and the program goes on.
// - the descriptor of the X connection, so the backend waits on it with poll() instead of SDL's
//   wait. SDL 2.26's wait wakes itself by sending an event to the newest window over a second
//   connection; that event can reach the server after the window has been destroyed on the
//   first one (a message box just closed), and the server answers BadWindow.
// Nothing here names an X type, so the backend's own source stays free of X11's macros.

#include <functional>
#include <string>

struct SDL_Window;

namespace vcl::x11 {

// Installs the handler for every display connection of the process (SDL's included); calling it
// again changes nothing. The handler ignores nothing silently: each kind (error code, request
// code) is reported once, later ones of that kind are counted.
void InstallErrorHandler();

// Where the report lines go (one line each, no end of line); standard error by default. An empty
// sink restores the default.
void SetErrorSink(std::function<void(const std::string& line)> sink);

// How many errors the handler has seen since the process started.
unsigned long ErrorCount();

// The descriptor of the X connection the window is shown on; -1 when it is not on X11.
int ConnectionDescriptor(SDL_Window* window);

}  // namespace vcl::x11
