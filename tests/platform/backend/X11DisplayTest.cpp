// The SDL backend's X error handler on a real X server: protocol errors are told once per kind
// and the process goes on, where Xlib's own handler would have ended it.

#include "platform/backend/sdl/X11Display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/RealScreen.h"

// Last: Xlib's macros would reach into the headers above.
#include <X11/Xlib.h>

namespace {

TEST(X11ErrorHandler, ProtocolErrorsAreToldOncePerKindAndTheProcessGoesOn) {
    vcl::testing_support::PrivateXServer server;
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here (" << server.Reason() << ")";
    Display* display = XOpenDisplay(server.Display().c_str());
    ASSERT_NE(display, nullptr);
    std::vector<std::string> told;
    vcl::x11::SetErrorSink([&](const std::string& line) { told.push_back(line); });
    vcl::x11::InstallErrorHandler();
    const unsigned long before = vcl::x11::ErrorCount();

    // A window id nobody holds, as a message box's window just destroyed.
    const Window gone = 0x1FFFFFF;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = gone;
    event.xclient.format = 8;
    XSendEvent(display, gone, False, NoEventMask, &event);
    XSendEvent(display, gone, False, NoEventMask, &event);
    XMapWindow(display, gone);
    XSync(display, False);

    EXPECT_EQ(vcl::x11::ErrorCount() - before, 3u);
    ASSERT_EQ(told.size(), 2u) << "one line for each kind";
    EXPECT_NE(told[0].find("BadWindow"), std::string::npos) << told[0];
    EXPECT_NE(told[0].find("X_SendEvent"), std::string::npos) << told[0];
    EXPECT_NE(told[1].find("X_MapWindow"), std::string::npos) << told[1];
    // Still connected and answering.
    EXPECT_NE(XDefaultRootWindow(display), 0u);
    XSync(display, False);
    vcl::x11::SetErrorSink(nullptr);
    XCloseDisplay(display);
}

}  // namespace
