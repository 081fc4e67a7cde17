// The window tree: creation, destruction, parents, z-order, bounds, visibility and enabling.

#include "platform/window/WindowSystem.h"

#include <algorithm>
#include <stdexcept>

#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

namespace {

// Distinct addresses for the special insert-after values.
TWindow* Marker(int which) {
    static char markers[3];
    return reinterpret_cast<TWindow*>(&markers[which]);
}

void EraseWindow(std::vector<HWND>& list, HWND window) {
    const auto it = std::find(list.begin(), list.end(), window);
    if (it != list.end()) list.erase(it);
}

bool IsTopMost(HWND window) { return (window->ExStyle() & WS_EX_TOPMOST) != 0; }

}  // namespace

HWND HwndBottom() { return Marker(0); }
HWND HwndTopMost() { return Marker(1); }
HWND HwndNoTopMost() { return Marker(2); }

TWindow::TWindow(const TCreateParams& params, HWND parent, HWND owner)
    : parent_(parent),
      owner_(owner),
      bounds_(vcl::Bounds(params.X, params.Y, std::max(params.Width, 0), std::max(params.Height, 0))),
      style_(params.Style & ~WS_VISIBLE),
      exStyle_(params.ExStyle),
      classStyle_(params.ClassStyle),
      object_(params.Object),
      text_(params.Caption),
      proc_(params.WndProc) {}

TWindow::~TWindow() = default;

TWindowProc TWindow::SetWindowProc(TWindowProc proc) {
    TWindowProc old = std::move(proc_);
    proc_ = std::move(proc);
    return old;
}

void TWindow::HandleMessage(TMessage& message) {
    if (destroyed_) return;
    // A handler may destroy its own window; the object lives until the outermost handler returns.
    ++dispatching_;
    const rtl::ScopeExit guard([this] {
        if (--dispatching_ == 0 && destroyed_) TWindowSystem::Instance().Reap(this);
    });
    if (!proc_) {
        DefWindowProc(this, message);
        return;
    }
    // Keep the procedure alive even if the handler replaces it.
    const TWindowProc proc = proc_;
    proc(this, message);
}

TWindowSystem& TWindowSystem::Instance() {
    static rtl::NeverDestroyed<TWindowSystem> system;
    return *system;
}

void TWindowSystem::SetBackend(TBackend* backend) {
    if (backend == backend_) return;
    DestroyAllWindows();
    backend_ = backend;
    if (backend_) {
        SetClock(&backend_->Clock());
        MessageQueue().SetSource(this);
    } else {
        SetClock(nullptr);
        if (MessageQueue().Source() == this) MessageQueue().SetSource(nullptr);
    }
}

void TWindowSystem::DestroyAllWindows() {
    while (!topLevels_.empty()) Destroy(topLevels_.back());
    raw_.clear();
    input_.clear();
    keys_.fill(0);
    asyncKeys_.fill(0);
    asyncButtons_ = 0;
    lastClick_ = {};
    const HWND captured = capture_;
    focus_ = active_ = capture_ = hover_ = nullptr;
    if (captured) NotifyCaptureChanged(captured, nullptr);
    pointerInside_ = false;
    composing_ = false;
    imeResult_.clear();
    imeComposition_.clear();
    cursorShape_ = TCursorShape::Arrow;
}

HWND TWindowSystem::Create(const TCreateParams& params) {
    const bool child = (params.Style & WS_CHILD) != 0;
    if (child && !IsAlive(params.Parent)) return nullptr;
    if (!child && !backend_) throw std::logic_error("top-level windows need a backend");
    HWND owner = child ? nullptr : (IsAlive(params.Parent) ? TopLevelOf(params.Parent) : nullptr);
    auto window = std::make_unique<TWindow>(params, child ? params.Parent : nullptr, owner);
    HWND handle = window.get();
    windows_.emplace(handle, std::move(window));
    if (child) {
        // A new child lies above its older siblings.
        handle->parent_->children_.insert(handle->parent_->children_.begin(), handle);
    } else {
        TNativeWindowSpec spec;
        spec.Title = params.Caption;
        spec.Bounds = handle->bounds_;
        spec.Popup = (params.Style & WS_CAPTION) != WS_CAPTION;
        spec.TopMost = IsTopMost(handle);
        spec.NoActivate = (params.ExStyle & WS_EX_NOACTIVATE) != 0;
        spec.Resizable = (params.Style & WS_THICKFRAME) != 0;
        handle->native_ = backend_->CreateNativeWindow(spec);
        handle->backBuffer_.Resize(handle->bounds_.Width(), handle->bounds_.Height());
        InsertTopLevel(handle, true);
    }
    TCreateParams copy = params;
    if (SendMessage(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(&copy)) == -1) {
        Destroy(handle);
        return nullptr;
    }
    if (IsAlive(handle) && (params.Style & WS_VISIBLE)) Show(handle, SW_SHOW);
    if (IsAlive(handle) && !child && (params.Style & (WS_MAXIMIZE | WS_MINIMIZE))) {
        // Created maximised or minimised: the native window is told like any later change.
        handle->style_ &= ~(WS_MAXIMIZE | WS_MINIMIZE);
        SetState(handle, (params.Style & WS_MAXIMIZE) ? TNativeWindowState::Maximized : TNativeWindowState::Minimized);
    }
    return IsAlive(handle) ? handle : nullptr;
}

bool TWindowSystem::Destroy(HWND window) {
    if (!IsAlive(window) || window->destroying_) return false;
    // Owned top-levels go first.
    for (bool again = true; again;) {
        again = false;
        for (HWND top : topLevels_) {
            if (top->owner_ == window) {
                Destroy(top);
                again = true;
                break;
            }
        }
    }
    if (!IsAlive(window)) return true;
    if (capture_ && ContainsWindow(window, capture_)) ReleaseCapture();
    KillFocusWithin(window);
    if (!window->IsChildWindow() && active_ == window) ActivateNextAfter(window);
    if (window->IsChildWindow() && IsVisible(window)) {
        InvalidateWithChildren(window->parent_, window->bounds_, true);
    }
    if (!window->IsChildWindow() && window->native_) window->native_->Hide();
    DestroyTree(window);
    return true;
}

void TWindowSystem::DestroyTree(HWND window) {
    window->destroying_ = true;
    SendMessage(window, WM_DESTROY);
    const std::vector<HWND> children = window->children_;
    for (HWND child : children) {
        if (IsAlive(child)) DestroyTree(child);
    }
    SendMessage(window, WM_NCDESTROY);
    Unlink(window);
}

void TWindowSystem::Unlink(HWND window) {
    if (window->parent_) EraseWindow(window->parent_->children_, window);
    EraseWindow(topLevels_, window);
    const bool captured = capture_ == window;
    for (HWND* slot : {&focus_, &active_, &capture_, &hover_}) {
        if (*slot == window) *slot = nullptr;
    }
    if (captured) NotifyCaptureChanged(window, nullptr);
    if (lastClick_.window == window) lastClick_ = {};
    input_.erase(std::remove_if(input_.begin(), input_.end(), [&](const QueuedInput& q) { return q.msg.Target == window; }),
                 input_.end());
    MessageQueue().Forget(window);
    CloseDCsOf(window);
    window->destroyed_ = true;
    window->native_.reset();
    auto it = windows_.find(window);
    std::unique_ptr<TWindow> owned = std::move(it->second);
    windows_.erase(it);
    if (window->dispatching_ > 0) {
        graveyard_.push_back(std::move(owned));
    }
}

void TWindowSystem::Reap(TWindow* window) {
    const auto it = std::find_if(graveyard_.begin(), graveyard_.end(), [&](const auto& p) { return p.get() == window; });
    if (it != graveyard_.end()) graveyard_.erase(it);
}

HWND TWindowSystem::TopLevelOf(HWND window) const {
    if (!IsAlive(window)) return nullptr;
    while (window->parent_) window = window->parent_;
    return window;
}

bool TWindowSystem::ContainsWindow(HWND ancestor, HWND window) const {
    for (HWND w = window; w; w = w->parent_) {
        if (w == ancestor) return true;
    }
    return false;
}

void TWindowSystem::InsertTopLevel(HWND window, bool atTop) {
    EraseWindow(topLevels_, window);
    // Top-most windows form the upper band; a window goes to the top or bottom of its band.
    const bool topMost = IsTopMost(window);
    auto bandBegin = topMost ? topLevels_.begin()
                             : std::find_if(topLevels_.begin(), topLevels_.end(), [](HWND w) { return !IsTopMost(w); });
    auto bandEnd = topMost ? std::find_if(topLevels_.begin(), topLevels_.end(), [](HWND w) { return !IsTopMost(w); })
                           : topLevels_.end();
    topLevels_.insert(atTop ? bandBegin : bandEnd, window);
}

void TWindowSystem::RaiseTopLevel(HWND window) {
    if (!window || window->IsChildWindow()) return;
    InsertTopLevel(window, true);
    // Windows it owns stay above it.
    for (HWND top : std::vector<HWND>(topLevels_)) {
        if (top->owner_ == window && IsVisible(top)) InsertTopLevel(top, true);
    }
}

void TWindowSystem::ReorderChild(HWND window, HWND insertAfter) {
    auto& siblings = window->parent_->children_;
    EraseWindow(siblings, window);
    if (insertAfter == HWND_TOP || insertAfter == HwndTopMost() || insertAfter == HwndNoTopMost()) {
        siblings.insert(siblings.begin(), window);
    } else if (insertAfter == HwndBottom()) {
        siblings.push_back(window);
    } else {
        const auto it = std::find(siblings.begin(), siblings.end(), insertAfter);
        siblings.insert(it == siblings.end() ? siblings.begin() : it + 1, window);
    }
}

HWND TWindowSystem::SetParent(HWND window, HWND parent) {
    if (!IsAlive(window) || !window->IsChildWindow() || !IsAlive(parent) || ContainsWindow(window, parent)) return nullptr;
    HWND old = window->parent_;
    if (old == parent) return old;
    const bool visible = IsVisible(window);
    if (visible) InvalidateWithChildren(old, window->bounds_, true);
    if (hover_ && ContainsWindow(window, hover_)) hover_ = nullptr;
    EraseWindow(old->children_, window);
    window->parent_ = parent;
    parent->children_.insert(parent->children_.begin(), window);
    // The focus cannot stay in a window that moved to a top-level without the focus.
    if (focus_ && ContainsWindow(window, focus_) && TopLevelOf(parent) != TopLevelOf(old)) KillFocusWithin(window);
    if (IsVisible(window)) InvalidateWithChildren(window, window->ClientRect(), true);
    return old;
}

bool TWindowSystem::SetPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!IsAlive(window)) return false;
    WINDOWPOS pos{window, insertAfter, x, y, cx, cy, flags};
    if (flags & SWP_NOMOVE) {
        pos.x = window->bounds_.Left;
        pos.y = window->bounds_.Top;
    }
    if (flags & SWP_NOSIZE) {
        pos.cx = window->bounds_.Width();
        pos.cy = window->bounds_.Height();
    }
    SendMessage(window, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!IsAlive(window)) return false;
    const TRect old = window->bounds_;
    const TRect now = Bounds(pos.x, pos.y, std::max(pos.cx, 0), std::max(pos.cy, 0));
    const bool moved = now.Left != old.Left || now.Top != old.Top;
    const bool sized = now.Width() != old.Width() || now.Height() != old.Height();
    const bool child = window->IsChildWindow();
    if (!(pos.flags & SWP_NOZORDER)) {
        if (child) {
            ReorderChild(window, static_cast<HWND>(pos.hwndInsertAfter));
        } else if (pos.hwndInsertAfter == HwndTopMost() || pos.hwndInsertAfter == HwndNoTopMost()) {
            window->exStyle_ = pos.hwndInsertAfter == HwndTopMost() ? (window->exStyle_ | WS_EX_TOPMOST)
                                                                    : (window->exStyle_ & ~WS_EX_TOPMOST);
            InsertTopLevel(window, true);
        } else {
            InsertTopLevel(window, pos.hwndInsertAfter != HwndBottom());
        }
        if (child && IsVisible(window)) InvalidateWithChildren(window->parent_, now, true);
    }
    if (moved || sized) {
        window->bounds_ = now;
        if (child) {
            if (IsVisible(window->parent_) && (window->style_ & WS_VISIBLE)) {
                // The uncovered place and the new one; the parts of the parent in between stay.
                InvalidateWithChildren(window->parent_, old, true);
                InvalidateWithChildren(window->parent_, now, true);
            }
        } else {
            if (window->native_ && !applyingBackendChange_) window->native_->SetBounds(now);
            if (sized) {
                window->backBuffer_.Resize(now.Width(), now.Height());
                window->dirty_.Clear();
                InvalidateWithChildren(window, window->ClientRect(), true);
            }
        }
    }
    if (pos.flags & SWP_SHOWWINDOW) Show(window, (pos.flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if (pos.flags & SWP_HIDEWINDOW) Show(window, SW_HIDE);
    if (!IsAlive(window)) return false;
    pos.flags |= (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
    SendMessage(window, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    return true;
}

void TWindowSystem::ApplyBackendBounds(HWND top, const TRect& bounds) {
    applyingBackendChange_ = true;
    SetPos(top, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    applyingBackendChange_ = false;
}

bool TWindowSystem::Show(HWND window, int command) {
    if (!IsAlive(window)) return false;
    std::optional<TNativeWindowState> state;
    switch (command) {
        case SW_SHOWMAXIMIZED: state = TNativeWindowState::Maximized; break;
        case SW_SHOWMINIMIZED:
        case SW_MINIMIZE:
        case SW_SHOWMINNOACTIVE: state = TNativeWindowState::Minimized; break;
        case SW_SHOWNORMAL:
        case SW_RESTORE: state = TNativeWindowState::Normal; break;
        default: break;
    }
    const bool wasVisible = ShowOrHide(window, command);
    if (state && IsAlive(window) && !window->IsChildWindow()) SetState(window, *state);
    return wasVisible;
}

TNativeWindowState TWindowSystem::State(HWND window) const {
    if (!IsAlive(window)) return TNativeWindowState::Normal;
    if (window->style_ & WS_MINIMIZE) return TNativeWindowState::Minimized;
    if (window->style_ & WS_MAXIMIZE) return TNativeWindowState::Maximized;
    return TNativeWindowState::Normal;
}

void TWindowSystem::SetState(HWND window, TNativeWindowState state) {
    if (!IsAlive(window) || window->IsChildWindow() || State(window) == state) return;
    window->style_ &= ~(WS_MAXIMIZE | WS_MINIMIZE);
    if (state == TNativeWindowState::Maximized) window->style_ |= WS_MAXIMIZE;
    if (state == TNativeWindowState::Minimized) window->style_ |= WS_MINIMIZE;
    // A change the window manager reported is already done there.
    if (window->native_ && !applyingBackendChange_) window->native_->SetState(state);
    if (state == TNativeWindowState::Minimized && active_ == window) ActivateNextAfter(window);
    const WPARAM kind = state == TNativeWindowState::Maximized   ? SIZE_MAXIMIZED
                        : state == TNativeWindowState::Minimized ? SIZE_MINIMIZED
                                                                 : SIZE_RESTORED;
    SendMessage(window, WM_SIZE, kind, MAKELPARAM(window->bounds_.Width(), window->bounds_.Height()));
}

bool TWindowSystem::ShowOrHide(HWND window, int command) {
    const bool wasVisible = (window->style_ & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    const bool activate = (command == SW_SHOW || command == SW_SHOWNORMAL || command == SW_SHOWMAXIMIZED ||
                           command == SW_SHOWMINIMIZED || command == SW_RESTORE) &&
                          !(window->exStyle_ & WS_EX_NOACTIVATE);
    if (show == wasVisible) {
        if (show && activate && !window->IsChildWindow() && active_ != window) Activate(window);
        return wasVisible;
    }
    SendMessage(window, WM_SHOWWINDOW, show ? 1 : 0);
    if (!IsAlive(window)) return wasVisible;
    if (show) {
        window->style_ |= WS_VISIBLE;
    } else {
        window->style_ &= ~WS_VISIBLE;
    }
    if (window->IsChildWindow()) {
        InvalidateWithChildren(window->parent_, window->bounds_, true);
        if (!show) {
            if (capture_ && ContainsWindow(window, capture_)) ReleaseCapture();
            KillFocusWithin(window);
        }
        return wasVisible;
    }
    if (show) {
        InvalidateWithChildren(window, window->ClientRect(), true);
        if (window->native_) window->native_->Show(activate);
        if (activate) {
            Activate(window);
        } else if (command != SW_SHOWNA && command != SW_SHOWMINNOACTIVE && command != SW_MINIMIZE) {
            RaiseTopLevel(window);
        }
        return wasVisible;
    }
    if (window->native_) window->native_->Hide();
    if (capture_ && ContainsWindow(window, capture_)) ReleaseCapture();
    if (active_ == window) ActivateNextAfter(window);
    KillFocusWithin(window);
    return wasVisible;
}

void TWindowSystem::ActivateNextAfter(HWND window) {
    // The owner if it can take it, else the topmost other visible, enabled, activatable window.
    HWND next = nullptr;
    if (window->owner_ && IsVisible(window->owner_) && IsEnabledChain(window->owner_)) {
        next = window->owner_;
    } else {
        for (HWND top : topLevels_) {
            if (top != window && IsVisible(top) && IsEnabledChain(top) && !(top->exStyle_ & WS_EX_NOACTIVATE)) {
                next = top;
                break;
            }
        }
    }
    Activate(next);
}

bool TWindowSystem::Enable(HWND window, bool enable) {
    if (!IsAlive(window)) return false;
    const bool wasDisabled = (window->style_ & WS_DISABLED) != 0;
    if (wasDisabled != enable) return wasDisabled;
    if (!enable) {
        SendMessage(window, WM_CANCELMODE);
        if (!IsAlive(window)) return wasDisabled;
        window->style_ |= WS_DISABLED;
        if (capture_ && ContainsWindow(window, capture_)) ReleaseCapture();
        KillFocusWithin(window);
    } else {
        window->style_ &= ~WS_DISABLED;
    }
    SendMessage(window, WM_ENABLE, enable ? 1 : 0);
    return wasDisabled;
}

bool TWindowSystem::IsVisible(HWND window) const {
    if (!IsAlive(window)) return false;
    for (HWND w = window; w; w = w->parent_) {
        if (!(w->style_ & WS_VISIBLE)) return false;
    }
    return true;
}

bool TWindowSystem::IsEnabledChain(HWND window) const {
    if (!IsAlive(window)) return false;
    for (HWND w = window; w; w = w->parent_) {
        if (w->style_ & WS_DISABLED) return false;
    }
    return true;
}

bool TWindowSystem::SetText(HWND window, const std::string& text) {
    if (!IsAlive(window)) return false;
    window->text_ = text;
    if (!window->IsChildWindow() && window->native_) window->native_->SetTitle(text);
    return true;
}

void TWindowSystem::SetStyle(HWND window, uint32_t style) {
    if (!IsAlive(window)) return;
    // Visibility and enabling change through ShowWindow and EnableWindow only.
    const uint32_t kept = WS_VISIBLE | WS_DISABLED | WS_CHILD;
    window->style_ = (window->style_ & kept) | (style & ~kept);
}

void TWindowSystem::SetExStyle(HWND window, uint32_t exStyle) {
    if (!IsAlive(window)) return;
    const bool topMostChanged = ((window->exStyle_ ^ exStyle) & WS_EX_TOPMOST) != 0;
    window->exStyle_ = exStyle;
    if (topMostChanged && !window->IsChildWindow()) InsertTopLevel(window, true);
}

TPoint TWindowSystem::ClientOrigin(HWND window) const {
    TPoint p;
    for (HWND w = window; IsAlive(w) && w; w = w->parent_) {
        p.X += w->bounds_.Left;
        p.Y += w->bounds_.Top;
    }
    return p;
}

TPoint TWindowSystem::BufferOrigin(HWND window) const {
    TPoint p;
    for (HWND w = window; w && w->parent_; w = w->parent_) {
        p.X += w->bounds_.Left;
        p.Y += w->bounds_.Top;
    }
    return p;
}

HWND TWindowSystem::Descend(HWND window, TPoint client) const {
    for (HWND child : window->children_) {
        if (!(child->style_ & WS_VISIBLE) || !child->bounds_.Contains(client)) continue;
        // A disabled child lets the pointer through to what lies under it.
        if (child->style_ & WS_DISABLED) continue;
        return Descend(child, {client.X - child->bounds_.Left, client.Y - child->bounds_.Top});
    }
    return window;
}

HWND TWindowSystem::FromPoint(TPoint screen) const {
    for (HWND top : topLevels_) {
        if (!(top->style_ & WS_VISIBLE) || !top->bounds_.Contains(screen)) continue;
        // Transparent windows (hints) let the pointer through to what lies beneath.
        if (top->exStyle_ & WS_EX_TRANSPARENT) continue;
        if (top->style_ & WS_DISABLED) return nullptr;
        return Descend(top, {screen.X - top->bounds_.Left, screen.Y - top->bounds_.Top});
    }
    return nullptr;
}

HWND TWindowSystem::ChildFromPoint(HWND parent, TPoint client) const {
    if (!IsAlive(parent) || !parent->ClientRect().Contains(client)) return nullptr;
    for (HWND child : parent->children_) {
        if ((child->style_ & WS_VISIBLE) && child->bounds_.Contains(client)) return child;
    }
    return parent;
}

HWND TWindowSystem::WindowForNative(uint32_t id) const {
    for (HWND top : topLevels_) {
        if (top->native_ && top->native_->Id() == id) return top;
    }
    return nullptr;
}

}  // namespace vcl
