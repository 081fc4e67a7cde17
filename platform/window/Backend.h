#pragma once
// What the window layer needs from the machine: native top-level windows that show a back buffer,
// input and window-manager events, a clock, monitors, the clipboard, cursors and the user's input
// settings. The headless backend (tests) and the SDL backend (screen) implement it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/draw/Geometry.h"
#include "platform/draw/PixelSection.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Keys.h"

namespace vcl {

enum class TCursorShape : uint8_t {
    Arrow, IBeam, Wait, Cross, UpArrow, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand, AppStarting, Help, Hidden
};

enum class TMouseButton : uint8_t { Left, Right, Middle };

// How a top-level window sits on the desktop.
enum class TNativeWindowState : uint8_t { Normal, Maximized, Minimized };

struct TMonitorInfo {
    TRect Bounds;    // the whole monitor, in screen coordinates
    TRect WorkArea;  // the part not covered by panels and docks
    bool Primary = false;
};

// The user's input settings, in the platform's units.
struct TInputSettings {
    int KeyboardDelay = 1;          // 0..3: 250 ms to 1 s before a key repeats
    int KeyboardSpeed = 31;         // 0..31: about 2.5 to 30 repeats a second
    uint32_t DoubleClickTime = 500; // ms between the clicks of a double click
    int WheelScrollLines = 3;
    uint32_t CaretBlinkTime = 530;  // ms
};

// How a top-level window appears on the desktop.
struct TNativeWindowSpec {
    std::string Title;
    TRect Bounds;              // client area in screen coordinates
    bool Popup = false;        // borderless: drop-down lists, menus, hints, the click handler
    bool TopMost = false;      // above every normal window
    bool NoActivate = false;   // showing or clicking it does not take the keyboard
    bool Resizable = false;
};

class TNativeWindow {
public:
    TNativeWindow() = default;
    TNativeWindow(const TNativeWindow&) = delete;
    TNativeWindow& operator=(const TNativeWindow&) = delete;
    virtual ~TNativeWindow() = default;

    // The id events carry to name this window.
    virtual uint32_t Id() const = 0;
    virtual void SetBounds(const TRect& screenBounds) = 0;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void Show(bool activate) = 0;
    virtual void Hide() = 0;
    // Raises the window and gives it the keyboard.
    virtual void Activate() = 0;
    // Maximises, minimises or restores the window; the window manager reports the new bounds
    // (Resized, Moved) as it applies them.
    virtual void SetState(TNativeWindowState state) = 0;
    // Copies the back buffer to the screen; dirty lists the changed rectangles (buffer coordinates).
    virtual void Present(const PixelSection& buffer, const std::vector<TRect>& dirty) = 0;
};

enum class TBackendEventKind : uint8_t {
    PointerMove,   // X, Y
    PointerLeave,  // the pointer left the window
    ButtonDown,    // Button, X, Y
    ButtonUp,
    Wheel,         // WheelDelta (120 per notch, positive away from the user), X, Y
    KeyDown,       // Key, Repeat
    KeyUp,
    Text,          // Text: characters typed or committed by an input method (UTF-8)
    Composition,   // Text: an input method's unfinished composition (empty: cancelled)
    CloseRequest,  // the user asked the window manager to close the window
    Activated,     // the window got the keyboard
    Deactivated,
    Moved,         // X, Y: new client origin in screen coordinates
    Resized,       // Width, Height
    Exposed,       // the window needs its back buffer shown again
    StateChanged,  // State: the window was maximised, minimised or restored
};

struct TBackendEvent {
    TBackendEventKind Kind = TBackendEventKind::PointerMove;
    uint32_t Window = 0;          // TNativeWindow::Id
    int X = 0;                    // pointer events: client coordinates of Window
    int Y = 0;
    TMouseButton Button = TMouseButton::Left;
    int WheelDelta = 0;
    uint16_t Key = 0;             // virtual-key code
    bool Repeat = false;
    TShiftState Shift = 0;        // ssShift, ssCtrl, ssAlt held with the event
    std::string Text;
    int Width = 0;
    int Height = 0;
    TNativeWindowState State = TNativeWindowState::Normal;
};

class TBackend {
public:
    TBackend() = default;
    TBackend(const TBackend&) = delete;
    TBackend& operator=(const TBackend&) = delete;
    virtual ~TBackend() = default;

    virtual std::unique_ptr<TNativeWindow> CreateNativeWindow(const TNativeWindowSpec& spec) = 0;
    // The next waiting event, without blocking.
    virtual bool PollEvent(TBackendEvent& event) = 0;
    // Blocks until an event may be waiting or the clock passes the deadline (microseconds).
    virtual void WaitEvent(std::optional<uint64_t> deadline) = 0;
    virtual TClock& Clock() = 0;

    virtual std::vector<TMonitorInfo> Monitors() = 0;
    virtual TInputSettings InputSettings() = 0;
    virtual void SetCursor(TCursorShape shape) = 0;

    virtual std::string ClipboardText() = 0;
    virtual bool HasClipboardText() = 0;
    virtual void SetClipboardText(const std::string& text) = 0;

    // Text input: where an input method should place its composition window (screen coordinates).
    virtual void StartTextInput() {}
    virtual void StopTextInput() {}
    virtual void SetTextInputRect(const TRect&) {}

    // While on, pointer events are reported wherever the pointer is, also over other programs'
    // windows and the desktop (relative to one of ours), so that a pop-up holding the capture
    // sees a click anywhere. The window layer turns it on while a non-activating pop-up holds it.
    virtual void CapturePointer(bool on) { (void)on; }
};

}  // namespace vcl
