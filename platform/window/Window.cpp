// The platform's window functions and the default window procedure.

#include "platform/window/Window.h"

#include "platform/rtl/Utf.h"
#include "platform/runtime/Keys.h"
#include "platform/window/Caret.h"
#include "platform/window/Input.h"
#include "platform/window/WindowSystem.h"

namespace vcl {

namespace {

TWindowSystem& System() { return WindowSystem(); }

LPARAM ScreenPointParam(TPoint p) { return MAKELPARAM(p.X, p.Y); }

void DefaultSetCursor(HWND window, TMessage& m) {
    if (window->Parent() && SendMessage(window->Parent(), WM_SETCURSOR, m.WParam, m.LParam) != 0) {
        m.Result = 1;
        return;
    }
    if (static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(m.LParam))) == HTCLIENT) SetCursor(TCursorShape::Arrow);
    m.Result = 1;
}

void DefaultWindowPosChanged(HWND window, const WINDOWPOS& pos) {
    if (!(pos.flags & SWP_NOMOVE)) SendMessage(window, WM_MOVE, 0, MAKELPARAM(window->Bounds().Left, window->Bounds().Top));
    if (!(pos.flags & SWP_NOSIZE)) {
        const WPARAM kind = (window->Style() & WS_MAXIMIZE) ? SIZE_MAXIMIZED : (window->Style() & WS_MINIMIZE) ? SIZE_MINIMIZED : SIZE_RESTORED;
        SendMessage(window, WM_SIZE, kind, MAKELPARAM(window->Bounds().Width(), window->Bounds().Height()));
    }
}

void DefaultImeComposition(HWND window, const TMessage& m) {
    if (!(m.LParam & GCS_RESULTSTR)) return;
    const std::string& text = ImmGetResultString();
    for (size_t i = 0; i < text.size();) {
        const char32_t cp = rtl::NextCodePoint(text, i);
        PostMessage(window, WM_CHAR, cp, 1);
    }
}

}  // namespace

void DefWindowProc(HWND window, TMessage& m) {
    m.Result = 0;
    if (!IsWindow(window)) return;
    switch (m.Msg) {
        case WM_CLOSE:
            DestroyWindow(window);
            return;
        case WM_SYSCOMMAND:
            if ((m.WParam & 0xFFF0) == SC_CLOSE) SendMessage(window, WM_CLOSE);
            return;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, paint);
            EndPaint(window, paint);
            return;
        }
        case WM_NCHITTEST:
            m.Result = GetWindowRect(window).Contains({GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)}) ? HTCLIENT : HTNOWHERE;
            return;
        case WM_SETCURSOR:
            DefaultSetCursor(window, m);
            return;
        case WM_MOUSEACTIVATE:
            if (window->Parent()) m.Result = SendMessage(window->Parent(), WM_MOUSEACTIVATE, m.WParam, m.LParam);
            if (m.Result == 0) m.Result = MA_ACTIVATE;
            return;
        case WM_ACTIVATE:
            if (LOWORD(m.WParam) != WA_INACTIVE && !IsChild(window, GetFocus()) && GetFocus() != window) SetFocus(window);
            return;
        case WM_NCACTIVATE:
            m.Result = 1;
            return;
        case WM_CANCELMODE:
            if (GetCapture() == window) ReleaseCapture();
            return;
        case WM_WINDOWPOSCHANGED:
            DefaultWindowPosChanged(window, *reinterpret_cast<const WINDOWPOS*>(m.LParam));
            return;
        case WM_RBUTTONUP:
            SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), ScreenPointParam(GetCursorPos()));
            return;
        case WM_NCRBUTTONUP:
            SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), m.LParam);
            return;
        case WM_CONTEXTMENU:
        case WM_MOUSEWHEEL:
            if (window->IsChildWindow()) m.Result = SendMessage(window->Parent(), m.Msg, m.WParam, m.LParam);
            return;
        case WM_KEYUP:
            // The menu key asks for a context menu at no particular point.
            if (m.WParam == VK_APPS) SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(-1, -1));
            return;
        case WM_SYSKEYDOWN:
            if (m.WParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)) {
                SendMessage(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(-1, -1));
            } else if (m.WParam == VK_F4 && (m.LParam & KF_ALTDOWN_LPARAM)) {
                PostMessage(GetAncestorTopLevel(window), WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return;
        case WM_SETTEXT:
            SetWindowText(window, reinterpret_cast<const char*>(m.LParam));
            m.Result = 1;
            return;
        case WM_IME_COMPOSITION:
            DefaultImeComposition(window, m);
            return;
        default:
            return;
    }
}

HWND CreateWindowEx(const TCreateParams& params) { return System().Create(params); }
bool DestroyWindow(HWND window) { return System().Destroy(window); }
bool IsWindow(HWND window) { return System().IsAlive(window); }
HWND GetParent(HWND window) { return IsWindow(window) ? window->Parent() : nullptr; }
HWND GetOwner(HWND window) { return IsWindow(window) ? window->Owner() : nullptr; }
HWND GetAncestorTopLevel(HWND window) { return System().TopLevelOf(window); }

bool IsChild(HWND parent, HWND window) {
    if (!IsWindow(parent) || !IsWindow(window)) return false;
    for (HWND w = window->Parent(); w; w = w->Parent()) {
        if (w == parent) return true;
    }
    return false;
}

HWND SetParent(HWND window, HWND newParent) { return System().SetParent(window, newParent); }
std::vector<HWND> GetTopLevelWindows() { return System().TopLevels(); }

bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return System().SetPos(window, insertAfter, x, y, cx, cy, flags);
}

bool MoveWindow(HWND window, int x, int y, int cx, int cy, bool repaint) {
    return System().SetPos(window, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

bool ShowWindow(HWND window, int command) { return System().Show(window, command); }
bool EnableWindow(HWND window, bool enable) { return System().Enable(window, enable); }
bool IsWindowVisible(HWND window) { return System().IsVisible(window); }
bool IsZoomed(HWND window) { return System().State(window) == TNativeWindowState::Maximized; }
bool IsIconic(HWND window) { return System().State(window) == TNativeWindowState::Minimized; }
bool IsWindowEnabled(HWND window) { return IsWindow(window) && !(window->Style() & WS_DISABLED); }
bool SetWindowText(HWND window, const std::string& text) { return System().SetText(window, text); }
std::string GetWindowText(HWND window) { return IsWindow(window) ? window->Text() : std::string(); }
uint32_t GetWindowStyle(HWND window) { return IsWindow(window) ? window->Style() : 0; }
uint32_t GetWindowExStyle(HWND window) { return IsWindow(window) ? window->ExStyle() : 0; }
void SetWindowStyle(HWND window, uint32_t style) { System().SetStyle(window, style); }
void SetWindowExStyle(HWND window, uint32_t exStyle) { System().SetExStyle(window, exStyle); }

TRect GetWindowRect(HWND window) {
    if (!IsWindow(window)) return {};
    const TPoint origin = System().ClientOrigin(window);
    return Bounds(origin.X, origin.Y, window->Bounds().Width(), window->Bounds().Height());
}

TRect GetClientRect(HWND window) { return IsWindow(window) ? window->ClientRect() : TRect{}; }

TPoint ClientToScreen(HWND window, TPoint p) {
    const TPoint origin = System().ClientOrigin(window);
    return {p.X + origin.X, p.Y + origin.Y};
}

TPoint ScreenToClient(HWND window, TPoint p) {
    const TPoint origin = System().ClientOrigin(window);
    return {p.X - origin.X, p.Y - origin.Y};
}

TPoint MapWindowPoint(HWND from, HWND to, TPoint p) {
    const TPoint screen = from ? ClientToScreen(from, p) : p;
    return to ? ScreenToClient(to, screen) : screen;
}

HWND WindowFromPoint(TPoint screen) { return System().FromPoint(screen); }
HWND ChildWindowFromPoint(HWND parent, TPoint client) { return System().ChildFromPoint(parent, client); }

bool InvalidateRect(HWND window, const TRect* rect, bool erase) { return System().Invalidate(window, rect, erase); }
bool ValidateRect(HWND window, const TRect* rect) { return System().Validate(window, rect); }

bool RedrawWindow(HWND window, const TRect* rect, UINT flags) {
    if (!IsWindow(window)) return false;
    const TRect area = rect ? *rect : window->ClientRect();
    if (flags & RDW_INVALIDATE) {
        if (flags & RDW_ALLCHILDREN) {
            System().InvalidateWithChildren(window, area, (flags & RDW_ERASE) != 0);
        } else {
            System().Invalidate(window, &area, (flags & RDW_ERASE) != 0);
        }
    }
    if (flags & RDW_VALIDATE) System().Validate(window, rect);
    if (flags & RDW_UPDATENOW) {
        if (flags & RDW_ALLCHILDREN) System().UpdateWithChildren(window);
        else System().Update(window);
    }
    return true;
}

bool GetUpdateRect(HWND window, TRect& rect) {
    rect = IsWindow(window) ? window->UpdateRegion().Bounds() : TRect{};
    return !rect.IsEmpty();
}

bool UpdateWindow(HWND window) { return System().Update(window); }
HDC BeginPaint(HWND window, PAINTSTRUCT& paint) { return System().BeginPaint(window, paint); }
void EndPaint(HWND window, const PAINTSTRUCT& paint) { System().EndPaint(window, paint); }
HDC GetDC(HWND window) { return System().GetDC(window); }
HDC GetWindowDC(HWND window) { return System().GetDC(window); }
int ReleaseDC(HWND, HDC dc) { return System().ReleaseDC(dc) ? 1 : 0; }

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(window)) return 0;
    return MessageQueue().Send(window, message, wParam, lParam);
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(window)) return false;
    return MessageQueue().Post(window, message, wParam, lParam);
}

void PostQuitMessage(int exitCode) { MessageQueue().PostQuit(exitCode); }

bool PeekMessage(TMsg& msg, HWND window, UINT first, UINT last, UINT flags) {
    return MessageQueue().Peek(msg, window, first, last, flags);
}

bool GetMessage(TMsg& msg) { return MessageQueue().Get(msg); }
void WaitMessage() { MessageQueue().WaitMessage(); }
bool TranslateMessage(const TMsg& msg) { return System().Translate(msg); }
void DispatchMessage(const TMsg& msg) { MessageQueue().Dispatch(msg); }

void PumpWaitingMessages() {
    TMsg msg;
    while (PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.Message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.WParam));
            return;
        }
        TranslateMessage(msg);
        DispatchMessage(msg);
    }
}

uintptr_t SetTimer(HWND window, uintptr_t id, uint32_t intervalMs) {
    if (!IsWindow(window)) return 0;
    MessageQueue().SetTimer(window, id, intervalMs);
    return id;
}

bool KillTimer(HWND window, uintptr_t id) { return MessageQueue().KillTimer(window, id); }

}  // namespace vcl
