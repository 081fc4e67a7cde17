#include "platform/backend/sdl/SdlBackend.h"

#include <SDL.h>

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

#include "platform/backend/sdl/X11Display.h"
#include "platform/rtl/Exception.h"

namespace vcl {

namespace {

TShiftState ShiftOf(uint16_t mod) {
    TShiftState s = 0;
    if (mod & KMOD_SHIFT) s |= ssShift;
    if (mod & KMOD_CTRL) s |= ssCtrl;
    if (mod & KMOD_ALT) s |= ssAlt;
    return s;
}

std::optional<TMouseButton> ButtonOf(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return TMouseButton::Left;
        case SDL_BUTTON_RIGHT: return TMouseButton::Right;
        case SDL_BUTTON_MIDDLE: return TMouseButton::Middle;
        default: return std::nullopt;
    }
}

SDL_SystemCursor SystemCursorOf(TCursorShape shape) {
    switch (shape) {
        case TCursorShape::IBeam: return SDL_SYSTEM_CURSOR_IBEAM;
        case TCursorShape::Wait: return SDL_SYSTEM_CURSOR_WAIT;
        case TCursorShape::Cross: return SDL_SYSTEM_CURSOR_CROSSHAIR;
        case TCursorShape::AppStarting: return SDL_SYSTEM_CURSOR_WAITARROW;
        case TCursorShape::SizeNWSE: return SDL_SYSTEM_CURSOR_SIZENWSE;
        case TCursorShape::SizeNESW: return SDL_SYSTEM_CURSOR_SIZENESW;
        case TCursorShape::SizeWE: return SDL_SYSTEM_CURSOR_SIZEWE;
        case TCursorShape::SizeNS: return SDL_SYSTEM_CURSOR_SIZENS;
        case TCursorShape::SizeAll: return SDL_SYSTEM_CURSOR_SIZEALL;
        case TCursorShape::No: return SDL_SYSTEM_CURSOR_NO;
        case TCursorShape::Hand: return SDL_SYSTEM_CURSOR_HAND;
        default: return SDL_SYSTEM_CURSOR_ARROW;
    }
}

TRect RectOf(const SDL_Rect& r) { return Bounds(r.x, r.y, r.w, r.h); }

// Marks the SDL windows of pop-ups that must never hold the keyboard.
constexpr const char* kNoActivateKey = "velmo.noactivate";

bool IsNoActivate(SDL_Window* window) { return window && SDL_GetWindowData(window, kNoActivateKey); }

// Start-up measurement: with VELMO_REPORT_FIRST_FRAME=<descriptor> in the environment, the first
// frame presented writes one line there, "first-frame cpu-us=<CPU time the process has used>", so
// a benchmark can time process start to first frame from outside. -1: not asked, or done.
int firstFrameReport = -1;

void ReportFirstFrame() {
    if (firstFrameReport < 0) return;
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    char line[64];
    const int length = std::snprintf(line, sizeof line, "first-frame cpu-us=%lld\n",
                                     static_cast<long long>(cpu.tv_sec) * 1000000 + cpu.tv_nsec / 1000);
    if (length > 0) (void)!write(firstFrameReport, line, static_cast<size_t>(length));
    firstFrameReport = -1;
}

}  // namespace

// ---- windows -----------------------------------------------------------------------------------

TSdlWindow::TSdlWindow(SDL_Window* window, const TNativeWindowSpec& spec)
    : window_(window), id_(SDL_GetWindowID(window)), noActivate_(spec.NoActivate) {
    if (noActivate_) SDL_SetWindowData(window_, kNoActivateKey, this);
}

TSdlWindow::~TSdlWindow() { SDL_DestroyWindow(window_); }

void TSdlWindow::SetBounds(const TRect& b) {
    SDL_SetWindowPosition(window_, b.Left, b.Top);
    SDL_SetWindowSize(window_, std::max(b.Width(), 1), std::max(b.Height(), 1));
}

void TSdlWindow::SetTitle(const std::string& title) { SDL_SetWindowTitle(window_, title.c_str()); }

void TSdlWindow::Show(bool activate) {
    // The hint is read when the window is shown.
    SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, activate && !noActivate_ ? "0" : "1");
    SDL_ShowWindow(window_);
    if (activate && !noActivate_) SDL_RaiseWindow(window_);
}

void TSdlWindow::Hide() { SDL_HideWindow(window_); }

void TSdlWindow::Activate() {
    if (noActivate_) return;
    SDL_RaiseWindow(window_);
    // Raising asks the window manager for the keyboard; without one (a bare X server) nobody
    // would give it back to this window after a message box over it closes.
    const uint32_t flags = SDL_GetWindowFlags(window_);
    if ((flags & SDL_WINDOW_SHOWN) && !(flags & SDL_WINDOW_MINIMIZED)) SDL_SetWindowInputFocus(window_);
}

void TSdlWindow::SetState(TNativeWindowState state) {
    switch (state) {
        case TNativeWindowState::Maximized: SDL_MaximizeWindow(window_); return;
        case TNativeWindowState::Minimized: SDL_MinimizeWindow(window_); return;
        case TNativeWindowState::Normal: SDL_RestoreWindow(window_); return;
    }
}

SDL_Surface* TSdlWindow::Surface() {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface || surface == surface_) return surface;
    surface_ = surface;
    // A new surface's pages, all at once: touched one by one by the first present they fault one
    // by one, which on a virtual machine costs more than drawing the window (a 2x window has 1,300).
    const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto first = reinterpret_cast<uintptr_t>(surface->pixels) & ~(page - 1);
    const auto end = reinterpret_cast<uintptr_t>(surface->pixels) + static_cast<uintptr_t>(surface->h) * static_cast<uintptr_t>(surface->pitch);
#ifdef MADV_POPULATE_WRITE
    // Older kernels refuse it; the pages then come as they are touched.
    (void)madvise(reinterpret_cast<void*>(first), end - first, MADV_POPULATE_WRITE);
#endif
    return surface;
}

void TSdlWindow::Present(const PixelSection& buffer, const std::vector<TRect>& dirty) {
    SDL_Surface* surface = Surface();
    if (!surface || buffer.Empty()) return;
    const TRect area = IntersectRect({0, 0, buffer.Width(), buffer.Height()}, {0, 0, surface->w, surface->h});
    std::vector<SDL_Rect> rects;
    for (const TRect& d : dirty) {
        const TRect r = IntersectRect(d, area);
        if (r.IsEmpty()) continue;
        if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
        auto* destination = static_cast<uint8_t*>(surface->pixels) + r.Top * surface->pitch +
                            r.Left * surface->format->BytesPerPixel;
        // The back buffer is 0xAARRGGBB in memory order of a 32-bit word: SDL's ARGB8888.
        SDL_ConvertPixels(r.Width(), r.Height(), SDL_PIXELFORMAT_ARGB8888, buffer.Row(r.Top) + r.Left,
                          buffer.Width() * 4, surface->format->format, destination, surface->pitch);
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        rects.push_back(SDL_Rect{r.Left, r.Top, r.Width(), r.Height()});
    }
    if (rects.empty()) return;
    SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    ReportFirstFrame();
}

bool TSdlWindow::PresentScaled(const PixelSection& buffer, const std::vector<TRect>& dirty, int scale) {
    SDL_Surface* surface = Surface();
    if (!surface || buffer.Empty()) return true;
    // 0x..RRGGBB words, as the back buffer holds them; other layouts take the scaled window's copy.
    const uint32_t format = surface->format->format;
    if (format != SDL_PIXELFORMAT_ARGB8888 && format != SDL_PIXELFORMAT_RGB888) return false;
    const TRect area = IntersectRect({0, 0, buffer.Width(), buffer.Height()}, {0, 0, surface->w / scale, surface->h / scale});
    std::vector<SDL_Rect> rects;
    if (SDL_MUSTLOCK(surface)) SDL_LockSurface(surface);
    for (const TRect& d : dirty) {
        const TRect r = IntersectRect(d, area);
        if (r.IsEmpty()) continue;
        CopyScaled(buffer, r, scale, static_cast<uint32_t*>(surface->pixels), static_cast<size_t>(surface->pitch) / 4);
        rects.push_back(SDL_Rect{r.Left * scale, r.Top * scale, r.Width() * scale, r.Height() * scale});
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (rects.empty()) return true;
    SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size()));
    ReportFirstFrame();
    return true;
}

// ---- the backend -------------------------------------------------------------------------------

TSdlBackend::TSdlBackend(const TDesktopIdentity& identity) {
    if (const char* report = std::getenv("VELMO_REPORT_FIRST_FRAME")) {
        char* end = nullptr;
        const long fd = std::strtol(report, &end, 10);
        if (end != report && *end == '\0' && fd >= 0 && fd <= INT_MAX) firstFrameReport = static_cast<int>(fd);
    }
    // Our own loop decides what a click on an inactive window does.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (!identity.Id.empty()) {
        // SDL reads these when its video starts; a class the user set deliberately stays.
        setenv("SDL_VIDEO_X11_WMCLASS", identity.Id.c_str(), 0);
        setenv("SDL_VIDEO_WAYLAND_WMCLASS", identity.Id.c_str(), 0);
    }
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        throw rtl::Exception(std::string("Cannot start the display: ") + SDL_GetError());
    }
    if (IsX11()) x11::InstallErrorHandler();
    const PixelSection& icon = identity.Icon;
    if (!icon.Empty()) {
        icon_ = SDL_CreateRGBSurfaceWithFormat(0, icon.Width(), icon.Height(), 32, SDL_PIXELFORMAT_ARGB8888);
        for (int y = 0; icon_ && y < icon.Height(); ++y) {
            std::copy_n(icon.Row(y), icon.Width(),
                        reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(icon_->pixels) + y * icon_->pitch));
        }
    }
    SDL_StartTextInput();
}

TSdlBackend::~TSdlBackend() {
    for (auto& [shape, cursor] : cursors_) SDL_FreeCursor(cursor);
    SDL_FreeSurface(icon_);
    SDL_Quit();
}

std::unique_ptr<TNativeWindow> TSdlBackend::CreateNativeWindow(const TNativeWindowSpec& spec) {
    // High-DPI: where the window system counts in points (Wayland) the surface holds every pixel
    // of the output; elsewhere it changes nothing.
    uint32_t flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (spec.Resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (spec.Popup) flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR;
    if (spec.TopMost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    // A pop-up that must not take the keyboard: a menu-like window the window manager leaves alone.
    if (spec.Popup && spec.NoActivate) flags |= SDL_WINDOW_POPUP_MENU;
    const TRect& b = spec.Bounds;
    SDL_Window* window = SDL_CreateWindow(spec.Title.c_str(), b.Left, b.Top, std::max(b.Width(), 1),
                                          std::max(b.Height(), 1), flags);
    if (!window) throw rtl::Exception(std::string("Cannot create a window: ") + SDL_GetError());
    if (displayDescriptor_ < 0 && IsX11()) displayDescriptor_ = x11::ConnectionDescriptor(window);
    // Docks and task switchers show the icon of the windows they list, not of pop-ups.
    if (icon_ && !spec.Popup) SDL_SetWindowIcon(window, icon_);
    return std::make_unique<TSdlWindow>(window, spec);
}

bool TSdlBackend::IsX11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver && std::string_view(driver) == "x11";
}

bool TSdlBackend::PollEvent(TBackendEvent& event) {
    SDL_Event e;
    while (pending_.empty() && SDL_PollEvent(&e)) Translate(e);
    if (pending_.empty()) return false;
    event = std::move(pending_.front());
    pending_.pop_front();
    return true;
}

void TSdlBackend::WaitEvent(std::optional<uint64_t> deadline) {
    if (!pending_.empty()) return;
    const uint64_t now = clock_.NowMicroseconds();
    if (deadline && *deadline <= now) return;
    // Whole milliseconds, rounded up so the deadline has passed on return; -1 waits for ever.
    const int timeout = deadline ? static_cast<int>(std::min<uint64_t>((*deadline - now + 999) / 1000, 1u << 30)) : -1;
    if (displayDescriptor_ < 0) {
        SDL_WaitEventTimeout(nullptr, timeout);
        return;
    }
    // Reads what the connection holds into SDL's queue first: poll() sees only what is still
    // unread on the socket.
    SDL_PumpEvents();
    if (SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT)) return;
    pollfd display{displayDescriptor_, POLLIN, 0};
    (void)poll(&display, 1, timeout);
}

void TSdlBackend::Translate(const SDL_Event& e) {
    TBackendEvent out;
    switch (e.type) {
        case SDL_MOUSEMOTION:
            out.Kind = TBackendEventKind::PointerMove;
            out.Window = e.motion.windowID;
            out.X = e.motion.x;
            out.Y = e.motion.y;
            out.Shift = ShiftOf(static_cast<uint16_t>(SDL_GetModState()));
            Push(out);
            return;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const std::optional<TMouseButton> button = ButtonOf(e.button.button);
            if (!button) return;
            out.Kind = e.type == SDL_MOUSEBUTTONDOWN ? TBackendEventKind::ButtonDown : TBackendEventKind::ButtonUp;
            out.Window = e.button.windowID;
            out.X = e.button.x;
            out.Y = e.button.y;
            out.Button = *button;
            out.Shift = ShiftOf(static_cast<uint16_t>(SDL_GetModState()));
            Push(out);
            if (e.type == SDL_MOUSEBUTTONUP && pointerCaptured_ && SDL_GetMouseState(nullptr, nullptr) == 0) {
                // SDL lets its grab go with the last button; the pop-up still wants the pointer.
                SDL_CaptureMouse(SDL_FALSE);
                SDL_CaptureMouse(SDL_TRUE);
            }
            return;
        }
        case SDL_MOUSEWHEEL: {
            int steps = e.wheel.y;
            if (e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) steps = -steps;
            if (steps == 0) return;
            int x = 0, y = 0;
            SDL_GetMouseState(&x, &y);
            out.Kind = TBackendEventKind::Wheel;
            out.Window = e.wheel.windowID;
            out.X = x;
            out.Y = y;
            out.WheelDelta = steps * 120;
            out.Shift = ShiftOf(static_cast<uint16_t>(SDL_GetModState()));
            Push(out);
            return;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const uint16_t key = VirtualKeyOf(e.key.keysym.sym);
            if (!key) return;
            out.Kind = e.type == SDL_KEYDOWN ? TBackendEventKind::KeyDown : TBackendEventKind::KeyUp;
            out.Window = e.key.windowID;
            out.Key = key;
            out.Repeat = e.key.repeat != 0;
            out.Shift = ShiftOf(e.key.keysym.mod);
            // The modifier keys themselves: their own press is part of the state.
            if (e.type == SDL_KEYDOWN) {
                if (key == VK_SHIFT) out.Shift |= ssShift;
                if (key == VK_CONTROL) out.Shift |= ssCtrl;
                if (key == VK_MENU) out.Shift |= ssAlt;
            }
            Push(out);
            return;
        }
        case SDL_TEXTINPUT:
            out.Kind = TBackendEventKind::Text;
            out.Window = e.text.windowID;
            out.Text = e.text.text;
            out.Shift = ShiftOf(static_cast<uint16_t>(SDL_GetModState()));
            Push(out);
            return;
        case SDL_TEXTEDITING:
            out.Kind = TBackendEventKind::Composition;
            out.Window = e.edit.windowID;
            out.Text = e.edit.text;
            Push(out);
            return;
        case SDL_WINDOWEVENT:
            out.Window = e.window.windowID;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: out.Kind = TBackendEventKind::CloseRequest; break;
                case SDL_WINDOWEVENT_FOCUS_GAINED: {
                    SDL_Window* gained = SDL_GetWindowFromID(e.window.windowID);
                    if (IsNoActivate(gained)) {
                        // Without a window manager SDL forces the focus onto every window it
                        // shows; a pop-up gives it straight back to the window that had it.
                        SDL_Window* previous = SDL_GetWindowFromID(lastFocused_);
                        if (previous && previous != gained) SDL_SetWindowInputFocus(previous);
                        return;
                    }
                    lastFocused_ = e.window.windowID;
                    out.Kind = TBackendEventKind::Activated;
                    break;
                }
                case SDL_WINDOWEVENT_FOCUS_LOST:
                    // The keyboard passing to one of our own pop-ups is no change of activation.
                    if (IsNoActivate(SDL_GetKeyboardFocus())) return;
                    out.Kind = TBackendEventKind::Deactivated;
                    break;
                case SDL_WINDOWEVENT_LEAVE: out.Kind = TBackendEventKind::PointerLeave; break;
                case SDL_WINDOWEVENT_EXPOSED:
                case SDL_WINDOWEVENT_SHOWN: out.Kind = TBackendEventKind::Exposed; break;
                case SDL_WINDOWEVENT_MOVED:
                    out.Kind = TBackendEventKind::Moved;
                    out.X = e.window.data1;
                    out.Y = e.window.data2;
                    break;
                case SDL_WINDOWEVENT_MAXIMIZED:
                case SDL_WINDOWEVENT_MINIMIZED:
                case SDL_WINDOWEVENT_RESTORED:
                    out.Kind = TBackendEventKind::StateChanged;
                    out.State = e.window.event == SDL_WINDOWEVENT_MAXIMIZED   ? TNativeWindowState::Maximized
                                : e.window.event == SDL_WINDOWEVENT_MINIMIZED ? TNativeWindowState::Minimized
                                                                              : TNativeWindowState::Normal;
                    break;
                case SDL_WINDOWEVENT_SIZE_CHANGED:
                    out.Kind = TBackendEventKind::Resized;
                    out.Width = e.window.data1;
                    out.Height = e.window.data2;
                    break;
                default: return;
            }
            Push(out);
            return;
        default:
            return;
    }
}

std::vector<TMonitorInfo> TSdlBackend::Monitors() {
    std::vector<TMonitorInfo> monitors;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds{}, usable{};
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        if (SDL_GetDisplayUsableBounds(i, &usable) != 0) usable = bounds;
        monitors.push_back(TMonitorInfo{RectOf(bounds), RectOf(usable), i == 0});
    }
    return monitors;
}

void TSdlBackend::SetCursor(TCursorShape shape) {
    if (shape == TCursorShape::Hidden) {
        SDL_ShowCursor(SDL_DISABLE);
        cursorHidden_ = true;
        return;
    }
    if (cursorHidden_) {
        SDL_ShowCursor(SDL_ENABLE);
        cursorHidden_ = false;
    }
    SDL_Cursor*& cursor = cursors_[shape];
    if (!cursor) cursor = SDL_CreateSystemCursor(SystemCursorOf(shape));
    if (cursor) SDL_SetCursor(cursor);
}

std::string TSdlBackend::ClipboardText() {
    char* text = SDL_GetClipboardText();
    std::string result = text ? text : "";
    SDL_free(text);
    return result;
}

bool TSdlBackend::HasClipboardText() { return SDL_HasClipboardText() == SDL_TRUE; }

void TSdlBackend::SetClipboardText(const std::string& text) { SDL_SetClipboardText(text.c_str()); }

void TSdlBackend::StartTextInput() { SDL_StartTextInput(); }
void TSdlBackend::StopTextInput() { SDL_StopTextInput(); }

void TSdlBackend::SetTextInputRect(const TRect& rect) {
    // SDL wants it relative to the focused window; the window layer hands screen coordinates.
    SDL_Window* focused = SDL_GetKeyboardFocus();
    int x = 0, y = 0;
    if (focused) SDL_GetWindowPosition(focused, &x, &y);
    SDL_Rect r{rect.Left - x, rect.Top - y, rect.Width(), rect.Height()};
    SDL_SetTextInputRect(&r);
}

void TSdlBackend::CapturePointer(bool on) {
    // SDL grabs the pointer for the window with the keyboard: the program's active window, which a
    // non-activating pop-up leaves active. Its events then carry that window's coordinates.
    pointerCaptured_ = on;
    SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

uint16_t TSdlBackend::VirtualKeyOf(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint16_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint16_t>('0' + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12) return static_cast<uint16_t>(VK_F1 + (key - SDLK_F1));
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return static_cast<uint16_t>(VK_NUMPAD0 + 1 + (key - SDLK_KP_1));
    switch (key) {
        case SDLK_RETURN: case SDLK_KP_ENTER: case SDLK_RETURN2: return VK_RETURN;
        case SDLK_ESCAPE: return VK_ESCAPE;
        case SDLK_BACKSPACE: return VK_BACK;
        case SDLK_TAB: return VK_TAB;
        case SDLK_SPACE: return VK_SPACE;
        case SDLK_LEFT: return VK_LEFT;
        case SDLK_RIGHT: return VK_RIGHT;
        case SDLK_UP: return VK_UP;
        case SDLK_DOWN: return VK_DOWN;
        case SDLK_HOME: return VK_HOME;
        case SDLK_END: return VK_END;
        case SDLK_PAGEUP: return VK_PRIOR;
        case SDLK_PAGEDOWN: return VK_NEXT;
        case SDLK_INSERT: return VK_INSERT;
        case SDLK_DELETE: return VK_DELETE;
        case SDLK_LSHIFT: case SDLK_RSHIFT: return VK_SHIFT;
        case SDLK_LCTRL: case SDLK_RCTRL: return VK_CONTROL;
        case SDLK_LALT: case SDLK_RALT: return VK_MENU;
        case SDLK_APPLICATION: case SDLK_MENU: return VK_APPS;
        case SDLK_CAPSLOCK: return VK_CAPITAL;
        case SDLK_NUMLOCKCLEAR: return VK_NUMLOCK;
        case SDLK_SCROLLLOCK: return VK_SCROLL;
        case SDLK_PAUSE: return VK_PAUSE;
        case SDLK_PRINTSCREEN: return VK_SNAPSHOT;
        case SDLK_KP_0: return VK_NUMPAD0;
        case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
        case SDLK_KP_PLUS: return VK_ADD;
        case SDLK_KP_MINUS: return VK_SUBTRACT;
        case SDLK_KP_PERIOD: return VK_DECIMAL;
        case SDLK_KP_DIVIDE: return VK_DIVIDE;
        case SDLK_SEMICOLON: return VK_OEM_1;
        case SDLK_EQUALS: return VK_OEM_PLUS;
        case SDLK_COMMA: return VK_OEM_COMMA;
        case SDLK_MINUS: return VK_OEM_MINUS;
        case SDLK_PERIOD: return VK_OEM_PERIOD;
        case SDLK_SLASH: return VK_OEM_2;
        case SDLK_BACKQUOTE: return VK_OEM_3;
        case SDLK_LEFTBRACKET: return VK_OEM_4;
        case SDLK_BACKSLASH: return VK_OEM_5;
        case SDLK_RIGHTBRACKET: return VK_OEM_6;
        case SDLK_QUOTE: return VK_OEM_7;
        default: return 0;
    }
}

}  // namespace vcl
