#pragma once
// The program as its entry point makes it, on the headless screen with a scripted COM1: both
// windows, the main one shown. Torn down as the program ends (every form, then the screen).

#include "app/Project1.h"
#include "app/Unit1.h"
#include "platform/backend/headless/HeadlessBackend.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/serialdev/testing/FakeSerialPorts.h"
#include "platform/toolkit/Application.h"
#include "platform/window/WindowSystem.h"

namespace bench {

class WindowScene {
public:
    WindowScene() {
        vcl::MessageQueue().Reset();
        // Wide enough for the monitor beside the main window.
        screen_.SetMonitors({vcl::TMonitorInfo{{0, 0, 1920, 1080}, {0, 0, 1920, 1050}, true}});
        vcl::WindowSystem().SetBackend(&screen_);
        port_ = &ports_.Add(1);
        app::StartUp();
        app::Form1->Show();
        vcl::Application->ProcessMessages();
    }
    ~WindowScene() {
        vcl::Application->DestroyForms();
        app::Form1 = nullptr;
        vcl::Application->SetMainForm(nullptr);
        vcl::WindowSystem().SetBackend(nullptr);
        vcl::MessageQueue().Reset();
    }
    WindowScene(const WindowScene&) = delete;
    WindowScene& operator=(const WindowScene&) = delete;

    vcl::THeadlessBackend& Screen() { return screen_; }
    vcl::FakeSerialPort& Port() { return *port_; }

private:
    vcl::THeadlessBackend screen_;
    vcl::FakeSerialPorts ports_;
    vcl::FakeSerialPort* port_ = nullptr;
};

}  // namespace bench
