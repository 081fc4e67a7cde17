#pragma once
// The backend of the program on screen: one SDL window per top-level window (pop-ups are
// borderless, top-most and never take the keyboard), real time, SDL's keyboard, mouse, text and
// input-method events, its clipboard, system cursors and displays. Works wherever SDL's video
// works: X11 (Xvfb included) and Wayland.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/backend/scaled/ScaledBackend.h"
#include "platform/window/Backend.h"

struct SDL_Window;
struct SDL_Cursor;
struct SDL_Surface;
union SDL_Event;

namespace vcl {

// How the program's windows name themselves to the desktop: the desktop id that docks and task
// switchers match with the menu entry (the X11 class, the Wayland app id), and the window icon.
struct TDesktopIdentity {
    std::string Id;     // empty: SDL's default, the program's file name
    PixelSection Icon;  // 0xAARRGGBB; empty: none
};

class TSdlBackend final : public TBackend {
public:
    // Starts SDL's video; raises rtl::Exception with SDL's reason when that fails.
    explicit TSdlBackend(const TDesktopIdentity& identity = {});
    ~TSdlBackend() override;

    std::unique_ptr<TNativeWindow> CreateNativeWindow(const TNativeWindowSpec& spec) override;
    bool PollEvent(TBackendEvent& event) override;
    void WaitEvent(std::optional<uint64_t> deadline) override;
    TClock& Clock() override { return clock_; }
    std::vector<TMonitorInfo> Monitors() override;
    TInputSettings InputSettings() override { return TInputSettings{}; }
    void SetCursor(TCursorShape shape) override;
    std::string ClipboardText() override;
    bool HasClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    void StartTextInput() override;
    void StopTextInput() override;
    void SetTextInputRect(const TRect& rect) override;
    void CapturePointer(bool on) override;

    // The SDL keycode's virtual key (0 for keys without one).
    static uint16_t VirtualKeyOf(int32_t sdlKeycode);

private:
    void Translate(const SDL_Event& e);
    static bool IsX11();
    void Push(TBackendEvent event) { pending_.push_back(std::move(event)); }

    TSystemClock clock_;
    SDL_Surface* icon_ = nullptr;
    std::deque<TBackendEvent> pending_;
    std::map<TCursorShape, SDL_Cursor*> cursors_;
    bool cursorHidden_ = false;
    bool pointerCaptured_ = false;
    // The last window that took the keyboard and may keep it (not a pop-up).
    uint32_t lastFocused_ = 0;
    // The X connection's descriptor once the first window exists (-1: not X11, or no window yet).
    int displayDescriptor_ = -1;
};

class TSdlWindow final : public TNativeWindow, public TScaledPresenter {
public:
    TSdlWindow(SDL_Window* window, const TNativeWindowSpec& spec);
    ~TSdlWindow() override;

    uint32_t Id() const override { return id_; }
    void SetBounds(const TRect& screenBounds) override;
    void SetTitle(const std::string& title) override;
    void Show(bool activate) override;
    void Hide() override;
    void Activate() override;
    void SetState(TNativeWindowState state) override;
    void Present(const PixelSection& buffer, const std::vector<TRect>& dirty) override;
    // On a high-density desktop: the blocks go straight into the window's surface.
    bool PresentScaled(const PixelSection& buffer, const std::vector<TRect>& dirty, int scale) override;

private:
    // The window's surface; a new one has its pages made before anything is drawn on it.
    SDL_Surface* Surface();

    SDL_Window* window_;
    SDL_Surface* surface_ = nullptr;
    uint32_t id_;
    bool noActivate_;
};

}  // namespace vcl
