#pragma once
// A private X server for tests that drive real windows (the SDL backend) with xdotool, and the
// helpers they share: running a program, pumping real time until a condition holds.

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/draw/PixelSection.h"

namespace vcl::testing_support {

class PrivateXServer {
public:
    // Starts Xvfb (1024 x 768 x 24 unless told otherwise) on the first free display from :57. Like a
    // desktop's server it does not reset when its last client leaves, so a program started after
    // another one meets the same server, not one busy rebuilding its keymap and resources.
    explicit PrivateXServer(int width = 1024, int height = 768);
    ~PrivateXServer();
    PrivateXServer(const PrivateXServer&) = delete;
    PrivateXServer& operator=(const PrivateXServer&) = delete;

    bool Running() const { return pid_ >= 0; }
    const std::string& Display() const { return display_; }
    // Why it is not running.
    const std::string& Reason() const { return reason_; }

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string reason_ = "no free display";
};

// Runs a program to its end with its output discarded; its exit code, -1 when it cannot run.
int RunProgram(const std::vector<std::string>& args);
// Runs a program to its end, with extra environment entries ("NAME=value"); what it wrote to
// standard output.
std::string ProgramOutput(const std::vector<std::string>& args, const std::vector<std::string>& environment = {});

// A top-level window of a display as xdotool finds it by its name (an extended regular
// expression): its id and client area on the screen; Id 0 when there is none.
struct ScreenWindow {
    unsigned long Id = 0;
    int Left = 0, Top = 0, Width = 0, Height = 0;
};
ScreenWindow FindWindow(const std::string& display, const std::string& name);
// Waits until a window of that name shows (or the time is up).
ScreenWindow WaitForWindow(const std::string& display, const std::string& name,
                           std::chrono::milliseconds limit = std::chrono::seconds(5));
// Waits until no window of that name is left; false when one still is when the time is up.
bool WaitForNoWindow(const std::string& display, const std::string& name,
                     std::chrono::milliseconds limit = std::chrono::seconds(5));
// The window's client area on the screen (xdotool's own answer counts a window manager's frame
// twice); false when there is no such window.
bool WindowGeometry(const std::string& display, unsigned long window, ScreenWindow& place);
// xdotool with these arguments on the current DISPLAY; false when it fails.
bool Xdotool(std::vector<std::string> args);
// A left click at a point of a window's client area.
bool ClickAt(const ScreenWindow& window, int x, int y);
// Asks the window to close as a window manager's close button does (WM_DELETE_WINDOW).
bool RequestClose(const std::string& display, unsigned long window);

// The whole screen of an X display as pixels (0xFFRRGGBB), taken with xwd; false when it cannot be
// taken or is not a 24- or 32-bit true-colour screen.
bool CaptureScreen(const std::string& display, PixelSection& shot);

// A program running beside the caller, its output discarded (or its standard error written to
// errorFile), with extra environment entries ("NAME=value", replacing inherited ones) and, when
// reportFd >= 0, a pipe from its descriptor reportFd to the caller. Ended when it goes: SIGTERM,
// then SIGKILL after two seconds.
class RunningProgram {
public:
    RunningProgram(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                   int reportFd = -1, const std::string& errorFile = "");
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Running() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }
    // The next line written to the report descriptor, without its end; empty at its end, on a
    // timeout or without a report pipe.
    std::string ReadLine(std::chrono::milliseconds limit);
    // Ends the program (see above); whether it ended of SIGTERM.
    bool Stop();
    // Waits for the program to end by itself: its exit code, or 128 + the signal that ended it;
    // -1 when it is still running when the time is up (it is then left running).
    int WaitForExit(std::chrono::milliseconds limit);
    // Whether it is still running (it may have ended by itself).
    bool Alive();

private:
    pid_t pid_ = -1;
    int report_ = -1;
    std::string buffered_;
};

// Dispatches the application's messages in real time until condition holds or the time is up.
bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(5));

}  // namespace vcl::testing_support
