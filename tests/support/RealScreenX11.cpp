// What the real-window tests ask of the X server itself: a window's place and size, and the
// window manager's close button. Xlib's own types and macros stay in this file.

#include "tests/support/RealScreen.h"

#include <X11/Xlib.h>

namespace vcl::testing_support {

bool RequestClose(const std::string& display, unsigned long window) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) return false;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(connection, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(connection, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const bool sent = XSendEvent(connection, window, False, NoEventMask, &event) != 0;
    XSync(connection, False);
    XCloseDisplay(connection);
    return sent;
}

bool WindowGeometry(const std::string& display, unsigned long window, ScreenWindow& place) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) return false;
    XWindowAttributes attributes{};
    Window child = 0;
    int x = 0, y = 0;
    // The client area's origin on the screen, wherever a window manager's frame put it.
    const bool known = XGetWindowAttributes(connection, window, &attributes) != 0 &&
                       XTranslateCoordinates(connection, window, DefaultRootWindow(connection), 0, 0, &x, &y, &child);
    XCloseDisplay(connection);
    if (!known) return false;
    place = {window, x, y, attributes.width, attributes.height};
    return true;
}

}  // namespace vcl::testing_support
