#pragma once
// The backend of the tests: a virtual screen (1024 x 768 unless told otherwise), a virtual clock,
// input that the test injects, a clipboard in memory and screenshots of what was presented.
//
// Typical use:
//   THeadlessBackend screen;                 // installs nothing by itself
//   WindowSystem().SetBackend(&screen);      // windows, clock and queue now run on it
//   screen.ClickAt(button->Handle(), {5, 5});
//   screen.Advance(250);                     // 250 ms of virtual time, ticks dispatched in order
//   SavePng(screen.Screenshot(), "shot.png");

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/window/Backend.h"
#include "platform/window/Window.h"

namespace vcl {

class THeadlessWindow;

class THeadlessBackend final : public TBackend {
public:
    explicit THeadlessBackend(int screenWidth = 1024, int screenHeight = 768);
    ~THeadlessBackend() override;

    // TBackend.
    std::unique_ptr<TNativeWindow> CreateNativeWindow(const TNativeWindowSpec& spec) override;
    bool PollEvent(TBackendEvent& event) override;
    void WaitEvent(std::optional<uint64_t> deadline) override;
    TClock& Clock() override { return clock_; }
    std::vector<TMonitorInfo> Monitors() override { return monitors_; }
    TInputSettings InputSettings() override { return settings_; }
    void SetCursor(TCursorShape shape) override { cursor_ = shape; }
    std::string ClipboardText() override { return clipboard_; }
    bool HasClipboardText() override { return hasClipboard_; }
    void SetClipboardText(const std::string& text) override;
    void StartTextInput() override { textInput_ = true; }
    void StopTextInput() override { textInput_ = false; }
    void SetTextInputRect(const TRect& rect) override { textInputRect_ = rect; }
    // While on, pointer events over the bare desktop go to the top-most visible window, in its
    // coordinates (outside its area), as a real pointer grab reports them.
    void CapturePointer(bool on) override { pointerCaptured_ = on; }
    bool PointerCaptured() const { return pointerCaptured_; }

    // The virtual screen and the user's settings.
    void SetMonitors(std::vector<TMonitorInfo> monitors) { monitors_ = std::move(monitors); }
    void SetInputSettings(const TInputSettings& settings) { settings_ = settings; }
    TVirtualClock& VirtualClock() { return clock_; }

    // Moves virtual time on by ms, dispatching due timer ticks at their exact times, in order,
    // and everything else waiting on the way.
    void Advance(uint32_t ms);

    // Pointer input, in screen coordinates or relative to a window's client area. While a button
    // is held the window it went down on keeps getting the pointer, as on a real desktop.
    void MoveMouse(int x, int y);
    void MoveMouseTo(HWND window, TPoint client);
    void PressButton(TMouseButton button = TMouseButton::Left);
    void ReleaseButton(TMouseButton button = TMouseButton::Left);
    void Click(TMouseButton button = TMouseButton::Left);
    void ClickAt(HWND window, TPoint client, TMouseButton button = TMouseButton::Left);
    void DoubleClickAt(HWND window, TPoint client);
    void Wheel(int delta);
    TPoint MousePosition() const { return mouse_; }

    // Keyboard input. Modifier keys pressed with KeyDown stay held until KeyUp; PressKey holds the
    // given modifiers around one press of the key.
    void KeyDown(uint16_t key, bool repeat = false);
    void KeyUp(uint16_t key);
    void PressKey(uint16_t key, TShiftState modifiers = 0);
    void TypeText(const std::string& utf8);
    // An input method's composition in progress (empty: cancelled); TypeText while composing commits.
    void Compose(const std::string& utf8);
    TShiftState Modifiers() const { return modifiers_; }

    // The window manager's side.
    void RequestClose(HWND topLevel);
    void MoveNativeWindow(HWND topLevel, int x, int y);
    void ResizeNativeWindow(HWND topLevel, int width, int height);
    void ActivateNativeWindow(HWND topLevel);
    void DeactivateNativeWindow(HWND topLevel);
    // The user maximises (to the work area of the window's monitor), minimises or restores it.
    void SetNativeWindowState(HWND topLevel, TNativeWindowState state);

    // What the screen shows: the presented pixels of every visible window over the desktop.
    PixelSection Screenshot() const;
    // What one top-level last presented (empty when it never did).
    PixelSection Screenshot(HWND topLevel) const;
    bool SaveScreenshot(const std::string& path) const;
    bool SaveScreenshot(HWND topLevel, const std::string& path) const;
    int PresentCount(HWND topLevel) const;
    // Native windows, top of the stacking order first.
    std::vector<const THeadlessWindow*> Stacking() const;
    const THeadlessWindow* NativeOf(HWND topLevel) const;

    TCursorShape Cursor() const { return cursor_; }
    bool TextInputActive() const { return textInput_; }
    TRect TextInputRect() const { return textInputRect_; }

    // Called when the application waits and nothing is pending; it may inject input, advance
    // the clock or answer a message box, and returns whether it did anything. Without one, or
    // when it did nothing, waiting raises EWaitStalled instead of hanging the test.
    using TIdleHandler = std::function<bool()>;
    void SetIdleHandler(TIdleHandler handler) { idle_ = std::move(handler); }
    int WaitCount() const { return waits_; }

private:
    friend class THeadlessWindow;

    void Push(TBackendEvent event);
    void PushText(TBackendEventKind kind, const std::string& utf8);
    void Raise(THeadlessWindow* window);
    void Forget(THeadlessWindow* window);
    THeadlessWindow* WindowAt(TPoint screen) const;
    TRect WorkAreaAt(const TRect& bounds) const;
    THeadlessWindow* PointerWindow() const;
    uint32_t IdOf(HWND topLevel) const;
    void SendPointer(TBackendEventKind kind, TMouseButton button = TMouseButton::Left);

    TVirtualClock clock_;
    std::vector<TMonitorInfo> monitors_;
    TInputSettings settings_;
    std::vector<THeadlessWindow*> stacking_;  // top first
    std::deque<TBackendEvent> events_;
    uint32_t nextId_ = 1;
    TPoint mouse_{-1, -1};
    uint32_t pointerWindow_ = 0;  // the window that last got a pointer event
    uint32_t grabWindow_ = 0;     // the window a held button went down on
    uint8_t buttons_ = 0;
    TShiftState modifiers_ = 0;
    uint32_t keyboardWindow_ = 0;
    TCursorShape cursor_ = TCursorShape::Arrow;
    std::string clipboard_;
    bool hasClipboard_ = false;
    bool textInput_ = false;
    bool pointerCaptured_ = false;
    TRect textInputRect_;
    TIdleHandler idle_;
    int waits_ = 0;
};

// A native window of the virtual screen.
class THeadlessWindow final : public TNativeWindow {
public:
    THeadlessWindow(THeadlessBackend& backend, uint32_t id, const TNativeWindowSpec& spec);
    ~THeadlessWindow() override;

    uint32_t Id() const override { return id_; }
    void SetBounds(const TRect& bounds) override;
    void SetTitle(const std::string& title) override { title_ = title; }
    void Show(bool activate) override;
    void Hide() override { visible_ = false; }
    void Activate() override;
    void SetState(TNativeWindowState state) override;
    void Present(const PixelSection& buffer, const std::vector<TRect>& dirty) override;

    const TRect& Bounds() const { return bounds_; }
    TNativeWindowState State() const { return state_; }
    const std::string& Title() const { return title_; }
    // Shown and not minimised.
    bool Visible() const { return visible_ && state_ != TNativeWindowState::Minimized; }
    bool TopMost() const { return spec_.TopMost; }
    bool Popup() const { return spec_.Popup; }
    bool NoActivate() const { return spec_.NoActivate; }
    const PixelSection& Presented() const { return presented_; }
    int PresentCount() const { return presents_; }

private:
    THeadlessBackend& backend_;
    uint32_t id_;
    TNativeWindowSpec spec_;
    TRect bounds_;
    std::string title_;
    bool visible_ = false;
    TNativeWindowState state_ = TNativeWindowState::Normal;
    TRect restoreBounds_;
    PixelSection presented_;
    int presents_ = 0;
};

}  // namespace vcl
