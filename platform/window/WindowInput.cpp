// Input: backend events become routed messages; focus, activation, capture and key state.

#include <algorithm>
#include <cstdlib>

#include "platform/rtl/Utf.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowSystem.h"

namespace vcl {

namespace {

constexpr uint8_t kDown = 0x80, kToggled = 0x01;

UINT ButtonMessage(int button, bool down, bool doubleClick, bool client) {
    static constexpr UINT clientDown[3] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    static constexpr UINT ncDown[3] = {WM_NCLBUTTONDOWN, WM_NCRBUTTONDOWN, WM_NCMBUTTONDOWN};
    // Down, up and double click follow each other in both families.
    const UINT base = client ? clientDown[button] : ncDown[button];
    if (!down) return base + 1;
    return doubleClick ? base + 2 : base;
}

bool IsButtonDown(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK:
            return true;
        default:
            return false;
    }
}

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEWHEEL) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

bool IsKeyMessage(UINT message) { return message >= WM_KEYFIRST && message <= WM_KEYLAST; }

bool IsAsciiLetterOrDigit(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

// ---- key state ---------------------------------------------------------------------------------

int16_t TWindowSystem::KeyState(int virtualKey) const {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    const uint8_t k = keys_[static_cast<size_t>(virtualKey)];
    return static_cast<int16_t>(((k & kDown) ? 0x8000 : 0) | ((k & kToggled) ? 1 : 0));
}

int16_t TWindowSystem::AsyncKeyState(int virtualKey) const {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    return static_cast<int16_t>((asyncKeys_[static_cast<size_t>(virtualKey)] & kDown) ? 0x8000 : 0);
}

void TWindowSystem::UpdateAsyncModifiers(TShiftState shift) {
    const auto set = [&](uint16_t vk, bool down) {
        auto& k = asyncKeys_[vk];
        k = down ? static_cast<uint8_t>(k | kDown) : static_cast<uint8_t>(k & ~kDown);
    };
    set(VK_SHIFT, (shift & ssShift) != 0);
    set(VK_CONTROL, (shift & ssCtrl) != 0);
    set(VK_MENU, (shift & ssAlt) != 0);
}

TShiftState TWindowSystem::AsyncShift() const {
    TShiftState s = 0;
    if (asyncKeys_[VK_SHIFT] & kDown) s |= ssShift;
    if (asyncKeys_[VK_CONTROL] & kDown) s |= ssCtrl;
    if (asyncKeys_[VK_MENU] & kDown) s |= ssAlt;
    return s;
}

WPARAM TWindowSystem::MouseKeyFlags() const {
    WPARAM flags = 0;
    if (asyncButtons_ & 1) flags |= MK_LBUTTON;
    if (asyncButtons_ & 2) flags |= MK_RBUTTON;
    if (asyncButtons_ & 4) flags |= MK_MBUTTON;
    if (asyncKeys_[VK_SHIFT] & kDown) flags |= MK_SHIFT;
    if (asyncKeys_[VK_CONTROL] & kDown) flags |= MK_CONTROL;
    return flags;
}

// ---- the message source ------------------------------------------------------------------------

void TWindowSystem::Poll() {
    if (!backend_) return;
    TBackendEvent event;
    while (backend_->PollEvent(event)) raw_.push_back(event);
}

bool TWindowSystem::PeekInput(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove) {
    const bool anyRange = first == 0 && last == 0;
    for (;;) {
        const auto it = std::find_if(input_.begin(), input_.end(), [&](const QueuedInput& q) {
            return (!filter || q.msg.Target == filter) && (anyRange || (q.msg.Message >= first && q.msg.Message <= last));
        });
        if (it != input_.end()) {
            msg = it->msg;
            if (remove) {
                const QueuedInput taken = *it;
                input_.erase(it);
                OnInputRemoved(taken);
            }
            return true;
        }
        if (raw_.empty()) return false;
        // Events are routed only when the queue reaches them, so capture and focus changes made by
        // earlier messages' handlers apply to later events.
        const TBackendEvent event = raw_.front();
        raw_.pop_front();
        TranslateRaw(event);
    }
}

void TWindowSystem::Wait(std::optional<uint64_t> deadline) {
    PresentAll();
    if (!backend_) throw EWaitStalled("waiting for input without a backend");
    if (!raw_.empty() || !input_.empty()) return;
    backend_->WaitEvent(deadline);
}

void TWindowSystem::QueueInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT hit) {
    input_.push_back(QueuedInput{TMsg{target, message, wParam, lParam, GetTickCount(), cursor_.X, cursor_.Y}, AsyncShift(),
                                 asyncButtons_, hit});
}

void TWindowSystem::TranslateRaw(const TBackendEvent& e) {
    HWND top = WindowForNative(e.Window);
    UpdateAsyncModifiers(e.Shift);
    const auto toScreen = [&] {
        if (!top) return;
        cursor_ = {top->bounds_.Left + e.X, top->bounds_.Top + e.Y};
        pointerInside_ = true;
    };
    switch (e.Kind) {
        case TBackendEventKind::PointerMove:
            if (!top) return;
            toScreen();
            RouteMouse(WM_MOUSEMOVE, -1, false);
            return;
        case TBackendEventKind::PointerLeave:
            // Leaving one of our windows for another: the move that follows updates the hover.
            if (!raw_.empty() && raw_.front().Window != e.Window &&
                (raw_.front().Kind == TBackendEventKind::PointerMove || raw_.front().Kind == TBackendEventKind::ButtonDown ||
                 raw_.front().Kind == TBackendEventKind::ButtonUp) &&
                WindowForNative(raw_.front().Window)) {
                return;
            }
            if (!capture_) pointerInside_ = false;
            if (hover_ && !capture_) {
                QueueInput(hover_, WM_MOUSELEAVE, 0, 0);
                hover_ = nullptr;
            }
            return;
        case TBackendEventKind::ButtonDown:
        case TBackendEventKind::ButtonUp: {
            if (!top) return;
            toScreen();
            const int button = static_cast<int>(e.Button);
            const bool down = e.Kind == TBackendEventKind::ButtonDown;
            asyncButtons_ = down ? static_cast<uint8_t>(asyncButtons_ | (1 << button))
                                 : static_cast<uint8_t>(asyncButtons_ & ~(1 << button));
            RouteMouse(0, button, down);
            return;
        }
        case TBackendEventKind::Wheel: {
            if (top) toScreen();
            HWND target = focus_ ? focus_ : active_ ? active_ : FromPoint(cursor_);
            if (!target || !IsEnabledChain(target)) return;
            QueueInput(target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(MouseKeyFlags()), e.WheelDelta),
                       MAKELPARAM(cursor_.X, cursor_.Y));
            return;
        }
        case TBackendEventKind::KeyDown:
        case TBackendEventKind::KeyUp: {
            const bool down = e.Kind == TBackendEventKind::KeyDown;
            auto& k = asyncKeys_[e.Key & 0xFF];
            k = down ? static_cast<uint8_t>(k | kDown) : static_cast<uint8_t>(k & ~kDown);
            HWND target = focus_ ? focus_ : active_;
            if (!target || !IsEnabledChain(TopLevelOf(target))) return;
            const bool alt = (e.Shift & ssAlt) != 0;
            const bool ctrl = (e.Shift & ssCtrl) != 0;
            const bool system = (alt && !ctrl) || e.Key == VK_F10 || (!focus_ && e.Key != VK_MENU) || e.Key == VK_MENU;
            UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
            LPARAM lParam = 1;
            if (alt) lParam |= KF_ALTDOWN_LPARAM;
            if (e.Repeat || !down) lParam |= LPARAM{1} << 30;
            if (!down) lParam |= static_cast<LPARAM>(static_cast<intptr_t>(1) << 31);
            QueueInput(target, message, e.Key, lParam);
            return;
        }
        case TBackendEventKind::Text: {
            // Typed text goes to the focus, or to the active window when nothing has the focus.
            HWND target = focus_ ? focus_ : active_;
            if (!target || !IsEnabledChain(TopLevelOf(target))) return;
            if (composing_) {
                composing_ = false;
                imeComposition_.clear();
                imeResult_ = e.Text;
                QueueInput(target, WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
                QueueInput(target, WM_IME_ENDCOMPOSITION, 0, 0);
                return;
            }
            const bool alt = (e.Shift & ssAlt) != 0;
            const bool ctrl = (e.Shift & ssCtrl) != 0;
            for (size_t i = 0; i < e.Text.size();) {
                const char32_t cp = rtl::NextCodePoint(e.Text, i);
                // Alt+letter and Ctrl+letter are typed by TranslateMessage from the key itself.
                if ((alt != ctrl) && IsAsciiLetterOrDigit(cp)) continue;
                QueueInput(target, WM_CHAR, cp, 1);
            }
            return;
        }
        case TBackendEventKind::Composition:
            if (!focus_) return;
            if (!e.Text.empty() && !composing_) {
                composing_ = true;
                QueueInput(focus_, WM_IME_STARTCOMPOSITION, 0, 0);
            }
            if (!composing_) return;
            imeComposition_ = e.Text;
            if (e.Text.empty()) {
                composing_ = false;
                QueueInput(focus_, WM_IME_ENDCOMPOSITION, 0, 0);
                return;
            }
            QueueInput(focus_, WM_IME_COMPOSITION, 0, GCS_COMPSTR);
            return;
        case TBackendEventKind::CloseRequest:
            if (top && IsEnabledChain(top)) SendMessage(top, WM_SYSCOMMAND, SC_CLOSE, 0);
            return;
        case TBackendEventKind::Activated:
            if (top && top != active_ && !(top->exStyle_ & WS_EX_NOACTIVATE) && IsEnabledChain(top)) {
                applyingBackendChange_ = true;
                Activate(top, WA_ACTIVE);
                applyingBackendChange_ = false;
            }
            return;
        case TBackendEventKind::Deactivated:
            if (top && top == active_) {
                applyingBackendChange_ = true;
                Activate(nullptr);
                applyingBackendChange_ = false;
            }
            return;
        case TBackendEventKind::Moved:
            if (top) ApplyBackendBounds(top, Bounds(e.X, e.Y, top->bounds_.Width(), top->bounds_.Height()));
            return;
        case TBackendEventKind::Resized:
            if (top) ApplyBackendBounds(top, Bounds(top->bounds_.Left, top->bounds_.Top, e.Width, e.Height));
            return;
        case TBackendEventKind::StateChanged:
            if (top) {
                applyingBackendChange_ = true;
                SetState(top, e.State);
                applyingBackendChange_ = false;
            }
            return;
        case TBackendEventKind::Exposed:
            if (top) top->dirty_.Union(TRect{0, 0, top->backBuffer_.Width(), top->backBuffer_.Height()});
            return;
    }
}

void TWindowSystem::RouteMouse(UINT clientMessage, int button, bool down) {
    HWND under = FromPoint(cursor_);
    if (under != hover_) {
        if (hover_) QueueInput(hover_, WM_MOUSELEAVE, 0, 0);
        hover_ = under;
    }
    HWND target = capture_ ? capture_ : under;
    if (!target) return;
    LRESULT hit = HTCLIENT;
    if (!capture_) {
        // A window may declare parts of itself non-client or let the pointer through.
        for (;;) {
            hit = SendMessage(target, WM_NCHITTEST, 0, MAKELPARAM(cursor_.X, cursor_.Y));
            if (hit != HTTRANSPARENT || !target->parent_) break;
            target = target->parent_;
        }
        if (!IsAlive(target) || hit == HTNOWHERE || hit == HTTRANSPARENT || hit == HTERROR) return;
    }
    const bool client = hit == HTCLIENT;
    UINT message = clientMessage;
    if (button < 0) {
        message = client ? WM_MOUSEMOVE : WM_NCMOUSEMOVE;
    } else {
        bool doubleClick = false;
        if (down) {
            const uint32_t now = GetTickCount();
            const int cx = GetSystemMetrics(SM_CXDOUBLECLK) / 2;
            const int cy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
            doubleClick = (target->classStyle_ & CS_DBLCLKS) && lastClick_.valid && lastClick_.window == target &&
                          lastClick_.button == button && now - lastClick_.time <= GetDoubleClickTime() &&
                          std::abs(cursor_.X - lastClick_.pos.X) <= cx && std::abs(cursor_.Y - lastClick_.pos.Y) <= cy;
            // A double click ends the sequence: a third press starts a new one.
            lastClick_ = doubleClick ? LastClick{} : LastClick{target, button, now, cursor_, true};
        }
        message = ButtonMessage(button, down, doubleClick, client);
    }
    if (client) {
        const TPoint p = ScreenToClient(target, cursor_);
        QueueInput(target, message, MouseKeyFlags(), MAKELPARAM(p.X, p.Y), hit);
    } else {
        QueueInput(target, message, static_cast<WPARAM>(hit), MAKELPARAM(cursor_.X, cursor_.Y), hit);
    }
}

void TWindowSystem::OnInputRemoved(const QueuedInput& input) {
    const TMsg& msg = input.msg;
    // The key state follows the messages as they are taken, not the keyboard itself.
    const auto set = [&](size_t vk, bool down) {
        keys_[vk] = down ? static_cast<uint8_t>(keys_[vk] | kDown) : static_cast<uint8_t>(keys_[vk] & ~kDown);
    };
    set(VK_SHIFT, (input.shift & ssShift) != 0);
    set(VK_CONTROL, (input.shift & ssCtrl) != 0);
    set(VK_MENU, (input.shift & ssAlt) != 0);
    set(VK_LBUTTON, (input.buttons & 1) != 0);
    set(VK_RBUTTON, (input.buttons & 2) != 0);
    set(VK_MBUTTON, (input.buttons & 4) != 0);
    if (IsKeyMessage(msg.Message) && msg.Message != WM_CHAR && msg.Message != WM_SYSCHAR) {
        const size_t vk = msg.WParam & 0xFF;
        const bool down = msg.Message == WM_KEYDOWN || msg.Message == WM_SYSKEYDOWN;
        if (down && !(keys_[vk] & kDown)) keys_[vk] ^= kToggled;
        set(vk, down);
    }
    HWND target = static_cast<HWND>(msg.Target);
    if (!IsAlive(target) || !IsMouseMessage(msg.Message)) return;
    if (IsButtonDown(msg.Message)) {
        HWND top = TopLevelOf(target);
        if (top != active_ && !(top->exStyle_ & WS_EX_NOACTIVATE)) {
            const LRESULT answer =
                SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(static_cast<int>(input.hit), static_cast<int>(msg.Message)));
            if (answer != MA_NOACTIVATE && answer != MA_NOACTIVATEANDEAT && IsAlive(top)) Activate(top, WA_CLICKACTIVE);
        }
    }
    if (!capture_ && IsAlive(target)) {
        SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target),
                    MAKELPARAM(static_cast<int>(input.hit), static_cast<int>(msg.Message)));
    }
}

bool TWindowSystem::Translate(const TMsg& msg) {
    if (msg.Message != WM_KEYDOWN && msg.Message != WM_SYSKEYDOWN) return false;
    HWND target = static_cast<HWND>(msg.Target);
    if (!IsAlive(target)) return false;
    const uint16_t vk = static_cast<uint16_t>(msg.WParam);
    const bool alt = (KeyState(VK_MENU) & 0x8000) != 0;
    const bool ctrl = (KeyState(VK_CONTROL) & 0x8000) != 0;
    const bool shift = (KeyState(VK_SHIFT) & 0x8000) != 0;
    const bool letter = vk >= 'A' && vk <= 'Z';
    const bool digit = vk >= '0' && vk <= '9';
    WPARAM ch = 0;
    UINT message = WM_CHAR;
    if (ctrl && !alt && letter) {
        ch = static_cast<WPARAM>(vk - 'A' + 1);
    } else if (alt && !ctrl && (letter || digit)) {
        ch = letter && !shift ? static_cast<WPARAM>(vk - 'A' + 'a') : vk;
        message = WM_SYSCHAR;
    } else if (!alt) {
        switch (vk) {
            case VK_RETURN: ch = ctrl ? 10 : 13; break;
            case VK_TAB: ch = ctrl ? 0 : 9; break;
            case VK_ESCAPE: ch = 27; break;
            case VK_BACK: ch = ctrl ? 127 : 8; break;
            default: break;
        }
    }
    if (ch == 0) return false;
    MessageQueue().Post(target, message, ch, msg.LParam);
    return true;
}

// ---- focus, activation, capture ----------------------------------------------------------------

void TWindowSystem::KillFocusWithin(HWND window) {
    if (!focus_ || !ContainsWindow(window, focus_)) return;
    HWND old = focus_;
    focus_ = nullptr;
    SendMessage(old, WM_KILLFOCUS, 0);
}

HWND TWindowSystem::SetFocus(HWND window) {
    HWND old = focus_;
    if (window == focus_) return old;
    if (window) {
        if (!IsAlive(window) || !IsVisible(window) || !IsEnabledChain(window)) return nullptr;
        HWND top = TopLevelOf(window);
        if (top != active_) Activate(top, WA_ACTIVE);
        if (!IsAlive(window)) return nullptr;
        if (focus_ == window) return old;
        old = focus_;
    }
    if (old) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window));
    if (window && !IsAlive(window)) {
        focus_ = nullptr;
        return old;
    }
    focus_ = window;
    if (window) SendMessage(window, WM_SETFOCUS, IsAlive(old) ? reinterpret_cast<WPARAM>(old) : 0);
    return old;
}

HWND TWindowSystem::Activate(HWND window, WPARAM how) {
    HWND old = active_;
    if (window == active_) return old;
    if (window && (!IsAlive(window) || window->IsChildWindow())) return nullptr;
    active_ = window;
    if (IsAlive(old)) {
        SendMessage(old, WM_NCACTIVATE, 0, reinterpret_cast<LPARAM>(window));
        SendMessage(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    }
    if (active_ != window) return old;  // a handler activated something else meanwhile
    if (!window) {
        if (focus_) KillFocusWithin(TopLevelOf(focus_));
        return old;
    }
    RaiseTopLevel(window);
    if (window->native_ && !applyingBackendChange_) window->native_->Activate();
    SendMessage(window, WM_NCACTIVATE, 1, reinterpret_cast<LPARAM>(old));
    if (!IsAlive(window)) return old;
    SendMessage(window, WM_ACTIVATE, how, IsAlive(old) ? reinterpret_cast<LPARAM>(old) : 0);
    // The focus never stays behind in a window that is no longer active.
    if (focus_ && TopLevelOf(focus_) != active_) KillFocusWithin(TopLevelOf(focus_));
    return old;
}

HWND TWindowSystem::SetCapture(HWND window) {
    HWND old = capture_;
    if (window == capture_) return old;
    if (window && !IsAlive(window)) return old;
    capture_ = window;
    if (IsAlive(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(window));
    NotifyCaptureChanged(old, window);
    return old;
}

bool TWindowSystem::ReleaseCapture() {
    HWND old = capture_;
    capture_ = nullptr;
    if (IsAlive(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
    if (old) NotifyCaptureChanged(old, nullptr);
    return true;
}

uintptr_t TWindowSystem::AddCaptureObserver(std::function<void(HWND lost, HWND gained)> observer) {
    const uintptr_t id = nextCaptureObserver_++;
    captureObservers_.emplace_back(id, std::move(observer));
    return id;
}

void TWindowSystem::RemoveCaptureObserver(uintptr_t id) {
    std::erase_if(captureObservers_, [id](const auto& entry) { return entry.first == id; });
}

void TWindowSystem::NotifyCaptureChanged(HWND lost, HWND gained) {
    // A menu or drop-down holding the capture must see a click outside the program to close.
    if (backend_) {
        HWND top = capture_ && IsAlive(capture_) ? TopLevelOf(capture_) : nullptr;
        backend_->CapturePointer(top && (top->exStyle_ & WS_EX_NOACTIVATE) != 0);
    }
    // A copy: an observer may add or remove observers.
    const auto observers = captureObservers_;
    for (const auto& [id, observer] : observers) observer(lost, gained);
}

void TWindowSystem::SetCursor(TCursorShape shape) {
    if (shape == cursorShape_) return;
    cursorShape_ = shape;
    if (backend_) backend_->SetCursor(shape);
}

void TWindowSystem::SetImeArea(HWND window, const TRect& area) {
    if (!backend_ || !IsAlive(window)) return;
    const TPoint origin = ClientOrigin(window);
    backend_->SetTextInputRect(area.Offset(origin.X, origin.Y));
}

// ---- Input.h -----------------------------------------------------------------------------------

HWND SetFocus(HWND window) { return WindowSystem().SetFocus(window); }
HWND GetFocus() { return WindowSystem().Focus(); }
HWND SetActiveWindow(HWND window) { return WindowSystem().Activate(window, WA_ACTIVE); }
HWND GetActiveWindow() { return WindowSystem().Active(); }
bool SetForegroundWindow(HWND window) { return WindowSystem().Activate(window, WA_ACTIVE) != nullptr || GetActiveWindow() == window; }
HWND GetForegroundWindow() { return WindowSystem().Active(); }
HWND SetCapture(HWND window) { return WindowSystem().SetCapture(window); }
bool ReleaseCapture() { return WindowSystem().ReleaseCapture(); }
HWND GetCapture() { return WindowSystem().Capture(); }
uintptr_t AddCaptureObserver(TCaptureObserver observer) { return WindowSystem().AddCaptureObserver(std::move(observer)); }
void RemoveCaptureObserver(uintptr_t id) { WindowSystem().RemoveCaptureObserver(id); }
int16_t GetKeyState(int virtualKey) { return WindowSystem().KeyState(virtualKey); }
int16_t GetAsyncKeyState(int virtualKey) { return WindowSystem().AsyncKeyState(virtualKey); }

TShiftState GetShiftState() {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) & 0x8000) s |= ssShift;
    if (GetKeyState(VK_CONTROL) & 0x8000) s |= ssCtrl;
    if (GetKeyState(VK_MENU) & 0x8000) s |= ssAlt;
    return s;
}

TPoint GetCursorPos() { return WindowSystem().CursorPos(); }
HWND GetWindowUnderPointer() { return WindowSystem().WindowUnderPointer(); }
void SetCursor(TCursorShape shape) { WindowSystem().SetCursor(shape); }
TCursorShape GetCursor() { return WindowSystem().Cursor(); }
std::string ImmGetResultString() { return WindowSystem().ImeResult(); }
std::string ImmGetCompositionString() { return WindowSystem().ImeComposition(); }
void ImmSetCompositionWindow(HWND window, const TRect& area) { WindowSystem().SetImeArea(window, area); }

}  // namespace vcl
