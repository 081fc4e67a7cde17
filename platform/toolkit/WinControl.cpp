#include "platform/toolkit/WinControl.h"

#include <algorithm>

#include "platform/toolkit/ControlCanvas.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/Screen.h"
#include "platform/draw/Gdi.h"
#include "platform/runtime/StoredProperties.h"
#include "platform/window/Input.h"
#include "platform/rtl/ScopeExit.h"

namespace vcl {

namespace {

// Depth of window messages being handled; DCs canvases got on demand go when it is back at 0.
int messageDepth = 0;

template <typename T>
void EraseItem(std::vector<T*>& list, const void* item) {
    const auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState s = 0;
    if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
    if (keyData & KF_ALTDOWN_LPARAM) s |= ssAlt;
    return s;
}

}  // namespace

TCustomForm* GetParentForm(const TControl* control) {
    while (control && control->Parent()) control = control->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(control));
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) { brush_.SetColor(Color()); }

TWinControl::~TWinControl() {
    Destroying();
    if (parent_) RemoveFocus(true);
    // A windowed control destroys its child controls, whoever owns them.
    while (!winControls_.empty() || !controls_.empty()) {
        TControl* last = !winControls_.empty() ? static_cast<TControl*>(winControls_.back()) : controls_.back();
        delete last;
    }
    DestroyHandle();
    // Leave the parent while this is still a whole windowed control.
    if (parent_) parent_->RemoveControl(this);
}

HWND TWinControl::Handle() {
    if (handle_ || creatingHandle_) return handle_;
    if (parent_) {
        // Creating the parent's window creates the children's windows too.
        parent_->Handle();
        if (handle_) return handle_;
    }
    creatingHandle_ = true;
    try {
        CreateWnd();
    } catch (...) {
        creatingHandle_ = false;
        throw;
    }
    creatingHandle_ = false;
    for (TWinControl* child : std::vector<TWinControl*>(winControls_)) child->Handle();
    CreateHandleDone();
    return handle_;
}

void TWinControl::CreateParams(TCreateParams& p) {
    p.Caption = Text();
    p.Style = parent_ ? (WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN) : WS_POPUP;
    if (parent_ && Visible()) p.Style |= WS_VISIBLE;
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (tabStop_) p.Style |= WS_TABSTOP;
    p.ExStyle = 0;
    p.ClassStyle = (controlStyle_ & csDoubleClicks) ? CS_DBLCLKS : 0;
    p.X = Left();
    p.Y = Top();
    p.Width = Width();
    p.Height = Height();
    p.Parent = parent_ ? parent_->handle_ : nullptr;
    p.Object = this;
}

void TWinControl::CreateWnd() {
    TCreateParams p;
    CreateParams(p);
    p.WndProc = [this](HWND window, TMessage& m) {
        // The window procedure runs before CreateWindowEx returns (WM_CREATE).
        if (!handle_ && !(controlState_ & csDestroyingHandle)) handle_ = window;
        MainWndProc(m);
    };
    HWND window = CreateWindowEx(p);
    if (!window) throw EInvalidOperation("Error creating window");
    handle_ = window;
}

void TWinControl::DestroyHandle() {
    if (!handle_) return;
    controlState_ |= csDestroyingHandle;
    DestroyWnd();
    controlState_ &= ~static_cast<TControlState>(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
    // Canvases must not keep DCs of windows that go away.
    FreeDeviceContexts();
    if (handle_) DestroyWindow(handle_);
    handle_ = nullptr;
    showing_ = false;
}

void TWinControl::RecreateWnd() {
    if (!handle_) return;
    DestroyHandle();
    UpdateShowing();
}

void TWinControl::MainWndProc(TMessage& m) {
    ++messageDepth;
    const rtl::ScopeExit depth([] {
        if (--messageDepth == 0) FreeDeviceContexts();
    });
    WindowProc(m);
}

HDC TWinControl::GetDeviceContext(HWND& windowHandle) {
    windowHandle = Handle();
    HDC dc = GetDC(windowHandle);
    if (!dc) throw EInvalidOperation("Error creating window device context");
    return dc;
}

TControl* TWinControl::Controls(int index) const {
    const size_t i = static_cast<size_t>(index);
    if (i < controls_.size()) return controls_[i];
    return winControls_.at(i - controls_.size());
}

bool TWinControl::ContainsControl(const TControl* control) const {
    for (const TControl* c = control; c; c = c->Parent()) {
        if (c == this) return true;
    }
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allowWinControls) const {
    const auto hit = [&](TControl* c) {
        return c->Visible() && (allowDisabled || c->Enabled()) && c->BoundsRect().Contains(pos);
    };
    if (allowWinControls) {
        for (auto it = winControls_.rbegin(); it != winControls_.rend(); ++it) {
            if (hit(*it)) return *it;
        }
    }
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        if (hit(*it)) return *it;
    }
    return nullptr;
}

void TWinControl::InsertControl(TControl* control) {
    control->parent_ = this;
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        winControls_.push_back(windowed);
        tabList_.push_back(windowed);
    } else {
        controls_.push_back(control);
    }
    control->ApplyParentFont();
    control->ApplyParentColor();
    control->Perform(CM_PARENTSHOWHINTCHANGED);
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        if (handle_) windowed->UpdateShowing();
    } else {
        control->Invalidate();
    }
    if (control->Align() != alNone) Realign();
    Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
    if (!HasState(csDestroying)) Perform(CM_CONTROLCHANGE, reinterpret_cast<WPARAM>(control), 0);
    // Found by address: the control may be half destroyed, past any dynamic_cast.
    const auto windowedAt = std::find(winControls_.begin(), winControls_.end(), control);
    if (windowedAt != winControls_.end()) {
        TWinControl* windowed = *windowedAt;
        windowed->RemoveFocus(true);
        windowed->DestroyHandle();
        EraseItem(winControls_, windowed);
        EraseItem(tabList_, windowed);
    } else {
        if (handle_ && control->Visible()) control->InvalidateArea(control->BoundsRect());
        EraseItem(controls_, control);
    }
    control->parent_ = nullptr;
    if (control->Align() != alNone) Realign();
}

int TWinControl::TabOrder() const {
    if (!parent_) return -1;
    const auto& list = parent_->tabList_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int value) {
    if (!parent_) return;
    auto& list = parent_->tabList_;
    const int count = static_cast<int>(list.size());
    value = std::clamp(value, 0, count - 1);
    if (value == TabOrder()) return;
    EraseItem(list, this);
    list.insert(list.begin() + value, this);
}

const TStoredProperties& TWinControl::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TWinControl>(&TControl::StoredProperties(), {
        // A tab order places the control among its siblings: it waits until all of them exist.
        {"TabOrder",
         [](auto& c, auto& v) { v.Fixups().Add(v.Int(), [&c, order = v.Int()] { c.SetTabOrder(order); }); }},
    });
    return table;
}

void TWinControl::SetTabStop(bool value) {
    if (value == tabStop_) return;
    tabStop_ = value;
    if (handle_) {
        const uint32_t style = GetWindowStyle(handle_);
        SetWindowStyle(handle_, value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
    }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* c : tabList_) {
        list.push_back(c);
        c->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int count = static_cast<int>(list.size());
    int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
    if (start == count) start = goForward ? count - 1 : 0;
    int i = start;
    do {
        i = goForward ? (i + 1) % count : (i + count - 1) % count;
        TWinControl* candidate = list[static_cast<size_t>(i)];
        if (candidate->CanFocus() && (!checkTabStop || candidate->TabStop()) && (!checkParent || candidate->Parent() == this)) {
            return candidate;
        }
    } while (i != start);
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop);
    if (next) next->SetFocus();
}

bool TWinControl::CanFocus() const {
    const TCustomForm* form = GetParentForm(this);
    if (!form) return false;
    for (const TControl* c = this; c != form; c = c->Parent()) {
        if (!c->Visible() || !c->Enabled()) return false;
    }
    return true;
}

void TWinControl::SetFocus() {
    if (TCustomForm* form = GetParentForm(this)) {
        form->FocusControl(this);
        return;
    }
    if (!Visible() || !Enabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    vcl::SetFocus(Handle());
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

void TWinControl::RemoveFocus(bool removing) {
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, removing);
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
    if (handle_) {
        // The window has the last word (WM_WINDOWPOSCHANGING may adjust); its bounds are adopted.
        SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBoundsFromWindow();
    } else {
        ApplyBounds({ALeft, ATop, ALeft + AWidth, ATop + AHeight});
    }
    RequestAlign();
}

void TWinControl::UpdateBoundsFromWindow() {
    if (handle_) ApplyBounds(handle_->Bounds());
}

void TWinControl::ApplyBounds(const TRect& r) {
    if (r.Left == Left() && r.Top == Top() && r.Width() == Width() && r.Height() == Height()) return;
    const int oldWidth = ClientWidth();
    const int oldHeight = ClientHeight();
    const bool sized = r.Width() != Width() || r.Height() != Height();
    left_ = r.Left;
    top_ = r.Top;
    width_ = r.Width();
    height_ = r.Height();
    if (!sized) return;
    if (!HasState(csLoading)) AnchorChildren(ClientWidth() - oldWidth, ClientHeight() - oldHeight);
    Realign();
    if (!HasState(csLoading)) Resize();
}

void TWinControl::AnchorChildren(int dw, int dh) {
    if (dw == 0 && dh == 0) return;
    // Children anchored to the right or bottom edge keep their distance to it (or stretch when
    // anchored to both sides); the default top-left anchoring keeps them where they are.
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Align() != alNone) continue;
        const TAnchors a = c->Anchors();
        int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
        if (a & akRight) (a & akLeft) ? w += dw : l += dw;
        if (a & akBottom) (a & akTop) ? h += dh : t += dh;
        c->SetBounds(l, t, w, h);
    }
}

TPoint TWinControl::ClientOrigin() const {
    if (handle_) return vcl::ClientToScreen(handle_, {0, 0});
    return TControl::ClientOrigin();
}

void TWinControl::SetText(const std::string& value) {
    if (value == Text()) return;
    if (handle_) SetWindowText(handle_, value);
    TControl::SetText(value);
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, !(controlStyle_ & csOpaque));
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::Realign() {
    if (aligning_) return;
    const rtl::ScopedFlag aligning(aligning_);
    TRect rect = ClientRect();
    AlignControls(rect);
}

void TWinControl::AlignControls(TRect& rect) {
    // Each kind in turn takes its strip off the remaining rectangle; controls of one kind keep
    // their order along the edge they stick to.
    for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient}) {
        std::vector<TControl*> list;
        for (int i = 0; i < ControlCount(); ++i) {
            TControl* c = Controls(i);
            if (c->Align() == kind && c->Visible()) list.push_back(c);
        }
        std::stable_sort(list.begin(), list.end(), [kind](TControl* a, TControl* b) {
            switch (kind) {
                case alTop: return a->Top() < b->Top();
                case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
                case alLeft: return a->Left() < b->Left();
                case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
                default: return false;
            }
        });
        for (TControl* c : list) {
            switch (kind) {
                case alTop:
                    c->SetBounds(rect.Left, rect.Top, rect.Width(), c->Height());
                    rect.Top += c->Height();
                    break;
                case alBottom:
                    c->SetBounds(rect.Left, rect.Bottom - c->Height(), rect.Width(), c->Height());
                    rect.Bottom -= c->Height();
                    break;
                case alLeft:
                    c->SetBounds(rect.Left, rect.Top, c->Width(), rect.Height());
                    rect.Left += c->Width();
                    break;
                case alRight:
                    c->SetBounds(rect.Right - c->Width(), rect.Top, c->Width(), rect.Height());
                    rect.Right -= c->Width();
                    break;
                default:
                    c->SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
                    break;
            }
        }
    }
}

void TWinControl::Broadcast(TMessage& m) {
    for (int i = 0; i < ControlCount(); ++i) {
        Controls(i)->WindowProc(m);
        if (m.Result != 0) return;
    }
}

void TWinControl::NotifyControls(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Copy: a notified control may add or remove controls.
    std::vector<TControl*> children;
    for (int i = 0; i < ControlCount(); ++i) children.push_back(Controls(i));
    for (TControl* c : children) {
        TMessage m{msg, wParam, lParam, 0};
        c->WindowProc(m);
    }
}

void TWinControl::SetShowing(bool value) {
    if (value != showing_) {
        showing_ = value;
        Perform(CM_SHOWINGCHANGED);
    }
    for (TWinControl* child : std::vector<TWinControl*>(winControls_)) {
        if (child->handle_) child->SetShowing(value && (GetWindowStyle(child->handle_) & WS_VISIBLE) != 0);
    }
}

void TWinControl::UpdateShowing() {
    if (!parent_ || !parent_->handle_) return;
    Handle();
    if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNA : SW_HIDE);
}

bool TWinControl::IsControlMouseMsg(TMessage& m) {
    TControl* control = nullptr;
    if (GetCapture() == handle_) {
        TControl* captured = GetCaptureControl();
        if (captured && captured != this && captured->Parent() == this) control = captured;
    } else {
        control = ControlAtPos({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}, false);
    }
    if (!control) return false;
    const int x = GET_X_LPARAM(m.LParam) - control->Left();
    const int y = GET_Y_LPARAM(m.LParam) - control->Top();
    m.Result = control->Perform(m.Msg, m.WParam, MAKELPARAM(x, y));
    return true;
}

void TWinControl::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_PAINT: WMPaint(m); return;
        case WM_ERASEBKGND: WMEraseBkgnd(m); return;
        case WM_WINDOWPOSCHANGING: WMWindowPosChanging(m); return;
        case WM_WINDOWPOSCHANGED: WMWindowPosChanged(m); return;
        case WM_SIZE:
            // A WM_SIZE sent on its own reads the window's bounds too.
            UpdateBoundsFromWindow();
            WMSize(m);
            return;
        case WM_SHOWWINDOW:
            // Sent before the window's visibility changes; Showing follows it now.
            DefaultHandler(m);
            SetShowing(m.WParam != 0 && (!parent_ || parent_->Showing()));
            return;
        case WM_SETFOCUS: WMSetFocus(m); return;
        case WM_KILLFOCUS: WMKillFocus(m); return;
        case WM_SETCURSOR: WMSetCursor(m); return;
        case WM_GETDLGCODE: WMGetDlgCode(m); return;
        case WM_NCDESTROY: WMNCDestroy(m); return;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (!DoKeyDown(m)) DefaultHandler(m);
            return;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (!DoKeyUp(m)) DefaultHandler(m);
            return;
        case WM_CHAR:
            if (!DoKeyPress(m)) DefaultHandler(m);
            return;
        case CN_KEYDOWN:
        case CN_SYSKEYDOWN: CNKeyDown(m); return;
        case CN_CHAR: CNChar(m); return;
        case CN_SYSCHAR: CNSysChar(m); return;
        case CM_DIALOGKEY: CMDialogKey(m); return;
        case CM_DIALOGCHAR: CMDialogChar(m); return;
        case CM_CHILDKEY: CMChildKey(m); return;
        case CM_ENTER: CMEnter(m); return;
        case CM_EXIT: CMExit(m); return;
        case CM_FOCUSCHANGED: CMFocusChanged(m); return;
        case CM_SHOWHINTCHANGED: NotifyControls(CM_PARENTSHOWHINTCHANGED); return;
        default: break;
    }
    if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST && m.Msg != WM_MOUSEWHEEL && IsControlMouseMsg(m)) {
        // The window still offers a right click as a context-menu request.
        if (m.Msg == WM_RBUTTONUP && handle_) DefWindowProc(handle_, m);
        return;
    }
    TControl::WndProc(m);
}

void TWinControl::DefaultHandler(TMessage& m) {
    if (handle_) DefWindowProc(handle_, m);
}

void TWinControl::WMPaint(TMessage& m) { PaintHandler(m); }

void TWinControl::PaintHandler(TMessage& m) {
    PAINTSTRUCT ps;
    // A DC in wParam: painting on someone else's DC (a background request, a copy).
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    if (!dc) dc = BeginPaint(handle_, ps);
    if (!dc) return;
    const bool own = m.WParam == 0;
    const rtl::ScopeExit end([&, window = handle_] {
        if (own) EndPaint(window, ps);
    });
    {
        // Opaque window-less children paint all of their area: the window leaves it to them.
        const TSavedDC saved(dc);
        int clip = SIMPLEREGION;
        for (TControl* c : controls_) {
            if (!c->Visible() || !(c->ControlStyle() & csOpaque)) continue;
            clip = ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
            if (clip == NULLREGION) break;
        }
        if (clip != NULLREGION) PaintWindow(dc);
    }
    PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    const std::vector<TControl*> children(controls_);
    auto it = first ? std::find(children.begin(), children.end(), first) : children.begin();
    if (it == children.end()) it = children.begin();
    for (; it != children.end(); ++it) {
        TControl* c = *it;
        const TRect bounds = c->BoundsRect();
        if (!c->Visible() || !RectVisible(dc, &bounds)) continue;
        const TSavedDC saved(dc);
        OffsetWindowOrgEx(dc, -c->Left(), -c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
    // The client area in the DC's own coordinates, so a moved origin lands where it should.
    if (HDC dc = reinterpret_cast<HDC>(m.WParam)) {
        const TRect client = ClientRect();
        FillRect(dc, &client, brush_.Handle());
    }
    m.Result = 1;
}

void TWinControl::WMWindowPosChanging(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMWindowPosChanged(TMessage& m) {
    // Before the default handling sends WM_MOVE and WM_SIZE, so their handlers (and any WndProc
    // watching them) read the new bounds.
    UpdateBoundsFromWindow();
    DefaultHandler(m);
}

void TWinControl::WMSize(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMSetFocus(TMessage& m) {
    DefaultHandler(m);
    if (HasState(csDesigning)) return;
    if (TCustomForm* form = GetParentForm(this)) form->SetFocusedControl(this);
}

void TWinControl::WMKillFocus(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMSetCursor(TMessage& m) {
    if (reinterpret_cast<HWND>(m.WParam) == handle_ && static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam))) == HTCLIENT) {
        TCursor cursor = Screen().Cursor();
        if (cursor == crDefault) {
            if (TControl* control = ControlAtPos(ScreenToClient(GetCursorPos()), false)) cursor = control->Cursor();
            if (cursor == crDefault) cursor = Cursor();
        }
        if (cursor != crDefault) {
            vcl::SetCursor(CursorShapeOf(cursor));
            m.Result = 1;
            return;
        }
    }
    DefaultHandler(m);
}

void TWinControl::WMGetDlgCode(TMessage& m) { DefaultHandler(m); }

void TWinControl::WMNCDestroy(TMessage& m) {
    DefaultHandler(m);
    handle_ = nullptr;
}

bool TWinControl::DoKeyDown(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyDown(m)) return true;
    if (controlStyle_ & csNoStdEvents) return false;
    uint16_t key = static_cast<uint16_t>(m.WParam);
    KeyDown(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyUp(m)) return true;
    if (controlStyle_ & csNoStdEvents) return false;
    uint16_t key = static_cast<uint16_t>(m.WParam);
    KeyUp(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& m) {
    TCustomForm* form = GetParentForm(this);
    if (form && form != this && form->KeyPreview() && static_cast<TWinControl*>(form)->DoKeyPress(m)) return true;
    if (controlStyle_ & csNoStdEvents) return false;
    char32_t key = static_cast<char32_t>(m.WParam);
    KeyPress(key);
    m.WParam = key;
    return key == 0;
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
    if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::CNKeyDown(TMessage& m) {
    m.Result = 1;
    if (!HasState(csDesigning)) {
        if (Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
        LRESULT mask = 0;
        switch (m.WParam) {
            case VK_TAB: mask = DLGC_WANTTAB; break;
            case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
            case VK_RETURN: case VK_EXECUTE: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
            default: break;
        }
        // Keys the control does not ask for are offered to the form as dialog keys.
        if (mask != 0 && Perform(CM_WANTSPECIALKEY, m.WParam) == 0 && (Perform(WM_GETDLGCODE) & mask) == 0) {
            TCustomForm* form = GetParentForm(this);
            if (form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0) return;
        }
    }
    m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
    m.Result = 1;
    if (!HasState(csDesigning) && (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return;
    }
    m.Result = 0;
}

void TWinControl::CNSysChar(TMessage& m) {
    m.Result = 1;
    if (m.WParam != VK_SPACE) {
        TCustomForm* form = GetParentForm(this);
        if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return;
    }
    m.Result = 0;
}

void TWinControl::CMDialogKey(TMessage& m) { Broadcast(m); }
void TWinControl::CMDialogChar(TMessage& m) { Broadcast(m); }

void TWinControl::CMChildKey(TMessage& m) {
    if (parent_) parent_->WindowProc(m);
}

void TWinControl::CMEnter(TMessage&) { DoEnter(); }
void TWinControl::CMExit(TMessage&) { DoExit(); }
void TWinControl::CMFocusChanged(TMessage& m) { Broadcast(m); }

void TWinControl::DoEnter() {
    if (!HasState(csDestroying)) Fire(OnEnter, this);
}

void TWinControl::DoExit() {
    if (!HasState(csDestroying)) Fire(OnExit, this);
}

void TWinControl::CMEnabledChanged(TMessage& m) {
    if (!Enabled() && parent_) RemoveFocus(false);
    if (handle_) EnableWindow(handle_, Enabled());
    TControl::CMEnabledChanged(m);
}

void TWinControl::CMVisibleChanged(TMessage&) {
    if (!Visible() && parent_) RemoveFocus(false);
    UpdateShowing();
}

void TWinControl::CMFontChanged(TMessage& m) {
    TControl::CMFontChanged(m);
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::CMColorChanged(TMessage& m) {
    brush_.SetColor(Color());
    TControl::CMColorChanged(m);
    NotifyControls(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMParentShowHintChanged(TMessage& m) { TControl::CMParentShowHintChanged(m); }

void TWinControl::WMContextMenu(TMessage& m) {
    if (m.Result != 0) return;
    const TPoint p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (p.X != -1 || p.Y != -1) {
        // A window-less child under the point answers first.
        if (TControl* control = ControlAtPos(ScreenToClient(p), false)) {
            m.Result = control->Perform(WM_CONTEXTMENU, m.WParam, m.LParam);
        }
    }
    // This control's own menu next, else the parent's turn.
    if (m.Result == 0) TControl::WMContextMenu(m);
}

}  // namespace vcl
