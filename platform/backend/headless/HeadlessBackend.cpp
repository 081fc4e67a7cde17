#include "platform/backend/headless/HeadlessBackend.h"

#include <algorithm>

#include "platform/draw/Color.h"
#include "platform/draw/Png.h"
#include "platform/rtl/Utf.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/window/WindowSystem.h"

namespace vcl {

namespace {

uint8_t ButtonBit(TMouseButton button) { return static_cast<uint8_t>(1u << static_cast<unsigned>(button)); }

TShiftState ModifierOf(uint16_t key) {
    switch (key) {
        case VK_SHIFT: case VK_LSHIFT: case VK_RSHIFT: return ssShift;
        case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: return ssCtrl;
        case VK_MENU: case VK_LMENU: case VK_RMENU: return ssAlt;
        default: return 0;
    }
}

}  // namespace

// ---- native windows ----------------------------------------------------------------------------

THeadlessWindow::THeadlessWindow(THeadlessBackend& backend, uint32_t id, const TNativeWindowSpec& spec)
    : backend_(backend), id_(id), spec_(spec), bounds_(spec.Bounds), title_(spec.Title) {}

THeadlessWindow::~THeadlessWindow() { backend_.Forget(this); }

void THeadlessWindow::SetBounds(const TRect& bounds) { bounds_ = bounds; }

void THeadlessWindow::Show(bool activate) {
    visible_ = true;
    backend_.Raise(this);
    if (activate && !spec_.NoActivate) backend_.keyboardWindow_ = id_;
}

void THeadlessWindow::Activate() {
    backend_.Raise(this);
    backend_.keyboardWindow_ = id_;
}

void THeadlessWindow::SetState(TNativeWindowState state) {
    if (state == state_) return;
    const TNativeWindowState old = state_;
    state_ = state;
    // Like a window manager: a maximised window fills its monitor's work area and gets its old
    // place back when restored; the new bounds are reported as events.
    TRect target = bounds_;
    if (state == TNativeWindowState::Maximized) {
        if (old == TNativeWindowState::Normal) restoreBounds_ = bounds_;
        target = backend_.WorkAreaAt(bounds_);
    } else if (state == TNativeWindowState::Normal && old == TNativeWindowState::Maximized) {
        target = restoreBounds_;
    }
    if (target == bounds_) return;
    bounds_ = target;
    TBackendEvent moved;
    moved.Kind = TBackendEventKind::Moved;
    moved.Window = id_;
    moved.X = target.Left;
    moved.Y = target.Top;
    backend_.Push(moved);
    TBackendEvent resized;
    resized.Kind = TBackendEventKind::Resized;
    resized.Window = id_;
    resized.Width = target.Width();
    resized.Height = target.Height();
    backend_.Push(resized);
}

void THeadlessWindow::Present(const PixelSection& buffer, const std::vector<TRect>& dirty) {
    ++presents_;
    if (presented_.Width() != buffer.Width() || presented_.Height() != buffer.Height()) {
        presented_ = buffer;
        return;
    }
    for (const TRect& r : dirty) {
        const TRect clipped = IntersectRect(r, {0, 0, buffer.Width(), buffer.Height()});
        for (int y = clipped.Top; y < clipped.Bottom; ++y) {
            std::copy(buffer.Row(y) + clipped.Left, buffer.Row(y) + clipped.Right, presented_.Row(y) + clipped.Left);
        }
    }
}

// ---- the backend -------------------------------------------------------------------------------

THeadlessBackend::THeadlessBackend(int screenWidth, int screenHeight) {
    const TRect screen{0, 0, screenWidth, screenHeight};
    monitors_ = {TMonitorInfo{screen, screen, true}};
}

THeadlessBackend::~THeadlessBackend() {
    if (WindowSystem().Backend() == this) WindowSystem().SetBackend(nullptr);
}

std::unique_ptr<TNativeWindow> THeadlessBackend::CreateNativeWindow(const TNativeWindowSpec& spec) {
    auto window = std::make_unique<THeadlessWindow>(*this, nextId_++, spec);
    stacking_.push_back(window.get());  // hidden windows sit at the bottom until shown
    return window;
}

void THeadlessBackend::Forget(THeadlessWindow* window) {
    stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), window), stacking_.end());
    if (pointerWindow_ == window->Id()) pointerWindow_ = 0;
    if (grabWindow_ == window->Id()) grabWindow_ = 0;
    if (keyboardWindow_ == window->Id()) keyboardWindow_ = 0;
}

void THeadlessBackend::Raise(THeadlessWindow* window) {
    stacking_.erase(std::remove(stacking_.begin(), stacking_.end(), window), stacking_.end());
    // Top-most windows stay above the others.
    auto at = window->TopMost() ? stacking_.begin()
                                : std::find_if(stacking_.begin(), stacking_.end(), [](THeadlessWindow* w) { return !w->TopMost(); });
    stacking_.insert(at, window);
}

bool THeadlessBackend::PollEvent(TBackendEvent& event) {
    if (events_.empty()) return false;
    event = std::move(events_.front());
    events_.pop_front();
    return true;
}

void THeadlessBackend::WaitEvent(std::optional<uint64_t>) {
    ++waits_;
    if (!events_.empty()) return;
    const uint64_t before = clock_.NowMicroseconds();
    const size_t posted = MessageQueue().PostedCount();
    if (idle_ && idle_()) return;
    // Something may have changed without the handler saying so.
    if (!events_.empty() || clock_.NowMicroseconds() != before || MessageQueue().PostedCount() != posted) return;
    throw EWaitStalled("the application waits for input or time, and the test provides neither "
                       "(inject input, advance the clock or answer the box from an idle handler)");
}

void THeadlessBackend::SetClipboardText(const std::string& text) {
    clipboard_ = text;
    hasClipboard_ = true;
}

void THeadlessBackend::Advance(uint32_t ms) { AdvanceVirtualTime(clock_, uint64_t{ms} * 1000); }

void THeadlessBackend::Push(TBackendEvent event) {
    event.Shift = modifiers_;
    events_.push_back(std::move(event));
}

THeadlessWindow* THeadlessBackend::WindowAt(TPoint screen) const {
    for (THeadlessWindow* w : stacking_) {
        if (w->Visible() && w->Bounds().Contains(screen)) return w;
    }
    return nullptr;
}

THeadlessWindow* THeadlessBackend::PointerWindow() const {
    const uint32_t id = grabWindow_ ? grabWindow_ : 0;
    if (id) {
        for (THeadlessWindow* w : stacking_) {
            if (w->Id() == id) return w;
        }
    }
    if (THeadlessWindow* under = WindowAt(mouse_)) return under;
    if (!pointerCaptured_) return nullptr;
    for (THeadlessWindow* w : stacking_) {
        if (w->Visible()) return w;
    }
    return nullptr;
}

void THeadlessBackend::SendPointer(TBackendEventKind kind, TMouseButton button) {
    THeadlessWindow* window = PointerWindow();
    if (pointerWindow_ && (!window || window->Id() != pointerWindow_)) {
        TBackendEvent leave;
        leave.Kind = TBackendEventKind::PointerLeave;
        leave.Window = pointerWindow_;
        Push(leave);
        pointerWindow_ = 0;
    }
    if (!window) return;
    pointerWindow_ = window->Id();
    TBackendEvent e;
    e.Kind = kind;
    e.Window = window->Id();
    e.X = mouse_.X - window->Bounds().Left;
    e.Y = mouse_.Y - window->Bounds().Top;
    e.Button = button;
    Push(e);
}

void THeadlessBackend::MoveMouse(int x, int y) {
    mouse_ = {x, y};
    SendPointer(TBackendEventKind::PointerMove);
}

void THeadlessBackend::MoveMouseTo(HWND window, TPoint client) {
    const TPoint p = ClientToScreen(window, client);
    MoveMouse(p.X, p.Y);
}

void THeadlessBackend::PressButton(TMouseButton button) {
    if (!buttons_) {
        THeadlessWindow* under = WindowAt(mouse_);
        grabWindow_ = under ? under->Id() : 0;
    }
    buttons_ |= ButtonBit(button);
    SendPointer(TBackendEventKind::ButtonDown, button);
}

void THeadlessBackend::ReleaseButton(TMouseButton button) {
    buttons_ &= static_cast<uint8_t>(~ButtonBit(button));
    SendPointer(TBackendEventKind::ButtonUp, button);
    if (!buttons_) grabWindow_ = 0;
}

void THeadlessBackend::Click(TMouseButton button) {
    PressButton(button);
    ReleaseButton(button);
}

void THeadlessBackend::ClickAt(HWND window, TPoint client, TMouseButton button) {
    MoveMouseTo(window, client);
    Click(button);
}

void THeadlessBackend::DoubleClickAt(HWND window, TPoint client) {
    MoveMouseTo(window, client);
    Click();
    Click();
}

void THeadlessBackend::Wheel(int delta) {
    THeadlessWindow* window = PointerWindow();
    TBackendEvent e;
    e.Kind = TBackendEventKind::Wheel;
    e.Window = window ? window->Id() : keyboardWindow_;
    if (window) {
        e.X = mouse_.X - window->Bounds().Left;
        e.Y = mouse_.Y - window->Bounds().Top;
    }
    e.WheelDelta = delta;
    Push(e);
}

void THeadlessBackend::KeyDown(uint16_t key, bool repeat) {
    modifiers_ |= ModifierOf(key);
    TBackendEvent e;
    e.Kind = TBackendEventKind::KeyDown;
    e.Window = keyboardWindow_;
    e.Key = key;
    e.Repeat = repeat;
    Push(e);
}

void THeadlessBackend::KeyUp(uint16_t key) {
    modifiers_ &= static_cast<TShiftState>(~ModifierOf(key));
    TBackendEvent e;
    e.Kind = TBackendEventKind::KeyUp;
    e.Window = keyboardWindow_;
    e.Key = key;
    Push(e);
}

void THeadlessBackend::PressKey(uint16_t key, TShiftState modifiers) {
    const std::pair<TShiftState, uint16_t> keys[] = {{ssShift, VK_SHIFT}, {ssCtrl, VK_CONTROL}, {ssAlt, VK_MENU}};
    for (const auto& [flag, vk] : keys) {
        if ((modifiers & flag) && !(modifiers_ & flag)) KeyDown(vk);
    }
    KeyDown(key);
    KeyUp(key);
    for (const auto& [flag, vk] : keys) {
        if (modifiers & flag) KeyUp(vk);
    }
}

void THeadlessBackend::PushText(TBackendEventKind kind, const std::string& utf8) {
    TBackendEvent e;
    e.Kind = kind;
    e.Window = keyboardWindow_;
    e.Text = utf8;
    Push(e);
}

void THeadlessBackend::TypeText(const std::string& utf8) { PushText(TBackendEventKind::Text, utf8); }

void THeadlessBackend::Compose(const std::string& utf8) { PushText(TBackendEventKind::Composition, utf8); }

uint32_t THeadlessBackend::IdOf(HWND topLevel) const {
    HWND top = GetAncestorTopLevel(topLevel);
    return top && top->Native() ? top->Native()->Id() : 0;
}

void THeadlessBackend::RequestClose(HWND topLevel) {
    TBackendEvent e;
    e.Kind = TBackendEventKind::CloseRequest;
    e.Window = IdOf(topLevel);
    Push(e);
}

void THeadlessBackend::MoveNativeWindow(HWND topLevel, int x, int y) {
    const THeadlessWindow* native = NativeOf(topLevel);
    if (!native) return;
    const_cast<THeadlessWindow*>(native)->SetBounds(vcl::Bounds(x, y, native->Bounds().Width(), native->Bounds().Height()));
    TBackendEvent e;
    e.Kind = TBackendEventKind::Moved;
    e.Window = native->Id();
    e.X = x;
    e.Y = y;
    Push(e);
}

void THeadlessBackend::ResizeNativeWindow(HWND topLevel, int width, int height) {
    const THeadlessWindow* native = NativeOf(topLevel);
    if (!native) return;
    const_cast<THeadlessWindow*>(native)->SetBounds(vcl::Bounds(native->Bounds().Left, native->Bounds().Top, width, height));
    TBackendEvent e;
    e.Kind = TBackendEventKind::Resized;
    e.Window = native->Id();
    e.Width = width;
    e.Height = height;
    Push(e);
}

void THeadlessBackend::ActivateNativeWindow(HWND topLevel) {
    const THeadlessWindow* native = NativeOf(topLevel);
    if (!native) return;
    Raise(const_cast<THeadlessWindow*>(native));
    if (keyboardWindow_ && keyboardWindow_ != native->Id()) {
        TBackendEvent lost;
        lost.Kind = TBackendEventKind::Deactivated;
        lost.Window = keyboardWindow_;
        Push(lost);
    }
    keyboardWindow_ = native->Id();
    TBackendEvent e;
    e.Kind = TBackendEventKind::Activated;
    e.Window = native->Id();
    Push(e);
}

void THeadlessBackend::SetNativeWindowState(HWND topLevel, TNativeWindowState state) {
    const THeadlessWindow* native = NativeOf(topLevel);
    if (!native || native->State() == state) return;
    TBackendEvent e;
    e.Kind = TBackendEventKind::StateChanged;
    e.Window = native->Id();
    e.State = state;
    Push(e);
    const_cast<THeadlessWindow*>(native)->SetState(state);
}

TRect THeadlessBackend::WorkAreaAt(const TRect& bounds) const {
    // The monitor holding the window's centre, else the first.
    const TPoint centre{(bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2};
    for (const TMonitorInfo& m : monitors_) {
        if (m.Bounds.Contains(centre)) return m.WorkArea;
    }
    return monitors_.empty() ? bounds : monitors_.front().WorkArea;
}

void THeadlessBackend::DeactivateNativeWindow(HWND topLevel) {
    const uint32_t id = IdOf(topLevel);
    if (!id) return;
    if (keyboardWindow_ == id) keyboardWindow_ = 0;
    TBackendEvent e;
    e.Kind = TBackendEventKind::Deactivated;
    e.Window = id;
    Push(e);
}

const THeadlessWindow* THeadlessBackend::NativeOf(HWND topLevel) const {
    const uint32_t id = IdOf(topLevel);
    for (THeadlessWindow* w : stacking_) {
        if (w->Id() == id) return w;
    }
    return nullptr;
}

std::vector<const THeadlessWindow*> THeadlessBackend::Stacking() const { return {stacking_.begin(), stacking_.end()}; }

int THeadlessBackend::PresentCount(HWND topLevel) const {
    const THeadlessWindow* native = NativeOf(topLevel);
    return native ? native->PresentCount() : 0;
}

PixelSection THeadlessBackend::Screenshot() const {
    TRect screen;
    for (const TMonitorInfo& m : monitors_) screen = UnionRect(screen, m.Bounds);
    PixelSection shot(screen.Width(), screen.Height());
    const uint32_t desktop = RgbToPixel(ColorToRGB(clBackground));
    for (int y = 0; y < shot.Height(); ++y) std::fill(shot.Row(y), shot.Row(y) + shot.Width(), desktop);
    for (auto it = stacking_.rbegin(); it != stacking_.rend(); ++it) {
        const THeadlessWindow* w = *it;
        if (!w->Visible()) continue;
        const PixelSection& pixels = w->Presented();
        for (int y = 0; y < pixels.Height(); ++y) {
            for (int x = 0; x < pixels.Width(); ++x) {
                shot.Set(w->Bounds().Left + x - screen.Left, w->Bounds().Top + y - screen.Top, pixels.At(x, y));
            }
        }
    }
    return shot;
}

PixelSection THeadlessBackend::Screenshot(HWND topLevel) const {
    const THeadlessWindow* native = NativeOf(topLevel);
    return native ? native->Presented() : PixelSection();
}

bool THeadlessBackend::SaveScreenshot(const std::string& path) const { return SavePng(Screenshot(), path); }

bool THeadlessBackend::SaveScreenshot(HWND topLevel, const std::string& path) const {
    return SavePng(Screenshot(topLevel), path);
}

}  // namespace vcl
