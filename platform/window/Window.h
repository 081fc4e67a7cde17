#pragma once
// Windows ("handles"): a tree of rectangles, each with a window procedure. A top-level window maps
// to one native window with a back buffer; its descendants are rectangles inside it. Bounds are in
// the parent's client coordinates (screen coordinates for top-levels); windows have no non-client
// area, so a window's client rectangle is (0, 0, width, height).
//
// Handles are owned by the window system: DestroyWindow frees a window with its descendants and
// the top-levels it owns. The functions below are the platform's; they accept stale handles.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/draw/GdiTypes.h"
#include "platform/draw/Geometry.h"
#include "platform/draw/PixelSection.h"
#include "platform/draw/Region.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/window/Backend.h"

namespace vcl {

class TWindow;
using HWND = TWindow*;

inline constexpr uint32_t WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
                          WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000,
                          WS_CLIPSIBLINGS = 0x04000000, WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000,
                          WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000,
                          WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
                          WS_THICKFRAME = 0x00040000, WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000,
                          WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000;
inline constexpr uint32_t WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr uint32_t WS_EX_TOPMOST = 0x00000008, WS_EX_TRANSPARENT = 0x00000020, WS_EX_TOOLWINDOW = 0x00000080,
                          WS_EX_CONTROLPARENT = 0x00010000, WS_EX_LAYERED = 0x00080000,
                          WS_EX_NOACTIVATE = 0x08000000;
inline constexpr uint32_t CS_VREDRAW = 0x0001, CS_HREDRAW = 0x0002, CS_DBLCLKS = 0x0008, CS_SAVEBITS = 0x0800;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_NORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
                     SW_MAXIMIZE = 3, SW_SHOWNOACTIVATE = 4, SW_SHOW = 5, SW_MINIMIZE = 6, SW_SHOWMINNOACTIVE = 7,
                     SW_SHOWNA = 8, SW_RESTORE = 9;

// RedrawWindow flags.
inline constexpr UINT RDW_INVALIDATE = 0x0001, RDW_ERASE = 0x0004, RDW_VALIDATE = 0x0008, RDW_ALLCHILDREN = 0x0080,
                      RDW_UPDATENOW = 0x0100, RDW_FRAME = 0x0400;

// Special insert-after values of SetWindowPos.
inline const HWND HWND_TOP = nullptr;
HWND HwndBottom();
HWND HwndTopMost();
HWND HwndNoTopMost();

// A window procedure: handles a message (or passes it to DefWindowProc) and sets Result.
using TWindowProc = std::function<void(HWND window, TMessage& message)>;

// What BeginPaint hands over: the device context for the invalid area, whether the background
// still needs erasing (WM_ERASEBKGND was not answered) and the invalid area's bounding rectangle
// in client coordinates.
struct PAINTSTRUCT {
    HDC hdc = nullptr;
    bool fErase = false;
    TRect rcPaint;
};

struct TCreateParams {
    std::string Caption;
    uint32_t Style = 0;
    uint32_t ExStyle = 0;
    uint32_t ClassStyle = CS_DBLCLKS;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND Parent = nullptr;    // the parent of a WS_CHILD window, else the owner
    TWindowProc WndProc;      // empty: DefWindowProc only
    TObject* Object = nullptr; // the control behind the window (sender of its exceptions)
};

class TWindow final : public TMessageTarget {
public:
    HWND Parent() const { return parent_; }
    HWND Owner() const { return owner_; }
    // Child windows, top of the z-order first.
    const std::vector<HWND>& Children() const { return children_; }
    // In the parent's client coordinates; screen coordinates for a top-level.
    const TRect& Bounds() const { return bounds_; }
    TRect ClientRect() const { return {0, 0, bounds_.Width(), bounds_.Height()}; }
    uint32_t Style() const { return style_; }
    uint32_t ExStyle() const { return exStyle_; }
    uint32_t ClassStyle() const { return classStyle_; }
    bool IsChildWindow() const { return (style_ & WS_CHILD) != 0; }
    TObject* Object() const { return object_; }
    const std::string& Text() const { return text_; }
    const Region& UpdateRegion() const { return update_; }
    bool ErasePending() const { return erase_; }
    // Top-levels only: the native window and the back buffer.
    TNativeWindow* Native() const { return native_.get(); }
    PixelSection* BackBuffer() { return IsChildWindow() ? nullptr : &backBuffer_; }

    const TWindowProc& WindowProc() const { return proc_; }
    // Replaces the window procedure (subclassing); the old one is returned.
    TWindowProc SetWindowProc(TWindowProc proc);

    void HandleMessage(TMessage& message) override;
    TObject* MessageSender() override { return object_; }

    TWindow(const TCreateParams& params, HWND parent, HWND owner);
    ~TWindow() override;

private:
    friend class TWindowSystem;

    HWND parent_ = nullptr;
    HWND owner_ = nullptr;
    std::vector<HWND> children_;
    TRect bounds_;
    uint32_t style_ = 0;
    uint32_t exStyle_ = 0;
    uint32_t classStyle_ = 0;
    TObject* object_ = nullptr;
    std::string text_;
    TWindowProc proc_;
    Region update_;
    bool erase_ = false;
    bool destroying_ = false;
    bool destroyed_ = false;
    int dispatching_ = 0;
    std::unique_ptr<TNativeWindow> native_;
    PixelSection backBuffer_;
    Region dirty_;  // back-buffer area painted since the last present
};

// The default handling of every message.
void DefWindowProc(HWND window, TMessage& message);

HWND CreateWindowEx(const TCreateParams& params);
bool DestroyWindow(HWND window);
bool IsWindow(HWND window);
HWND GetParent(HWND window);
HWND GetOwner(HWND window);
// The top-level window that holds window (itself for a top-level).
HWND GetAncestorTopLevel(HWND window);
bool IsChild(HWND parent, HWND window);  // window is a descendant of parent
// Moves a child window under another parent (top of its z-order); its bounds are kept, now in the
// new parent's coordinates. Returns the old parent; top-levels cannot be re-parented.
HWND SetParent(HWND window, HWND newParent);
// Top-levels, top of the z-order first (top-most ones before the others).
std::vector<HWND> GetTopLevelWindows();

bool SetWindowPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);

// Deferred moves: positions collected after BeginDeferWindowPos are applied together by
// EndDeferWindowPos, in the order given (a window given twice keeps its last position, merged
// as SetWindowPos flags would be), so the windows repaint once in their final places.
// DeferWindowPos returns the handle to use from then on; for a stale window it fails, frees the
// collection and returns nullptr. EndDeferWindowPos frees the handle; false when a move failed.
struct TDeferredPositions;
using HDWP = TDeferredPositions*;
HDWP BeginDeferWindowPos(int expectedCount);
HDWP DeferWindowPos(HDWP positions, HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
bool EndDeferWindowPos(HDWP positions);
bool MoveWindow(HWND window, int x, int y, int cx, int cy, bool repaint = true);
bool ShowWindow(HWND window, int command);
bool EnableWindow(HWND window, bool enable);
// Visible: the window and all its ancestors carry WS_VISIBLE.
bool IsWindowVisible(HWND window);
// A top-level's state on the desktop (WS_MAXIMIZE, WS_MINIMIZE), as set by ShowWindow
// (SW_MAXIMIZE, SW_MINIMIZE, SW_RESTORE ...) or by the user through the window manager. A change
// sends WM_SIZE with SIZE_MAXIMIZED, SIZE_MINIMIZED or SIZE_RESTORED.
bool IsZoomed(HWND window);
bool IsIconic(HWND window);
// Enabled: the window itself is not disabled (input also needs enabled ancestors).
bool IsWindowEnabled(HWND window);
bool SetWindowText(HWND window, const std::string& text);
std::string GetWindowText(HWND window);
uint32_t GetWindowStyle(HWND window);
uint32_t GetWindowExStyle(HWND window);
void SetWindowStyle(HWND window, uint32_t style);
void SetWindowExStyle(HWND window, uint32_t exStyle);

TRect GetWindowRect(HWND window);  // screen coordinates
TRect GetClientRect(HWND window);
TPoint ClientToScreen(HWND window, TPoint p);
TPoint ScreenToClient(HWND window, TPoint p);
TPoint MapWindowPoint(HWND from, HWND to, TPoint p);
// The deepest visible, enabled window under a screen point (disabled children let it through to
// their parent, WS_EX_TRANSPARENT top-levels to what lies beneath); nullptr outside every window
// or over a disabled top-level's area.
HWND WindowFromPoint(TPoint screen);
// The visible child of parent under a client point, or parent itself, or nullptr outside.
HWND ChildWindowFromPoint(HWND parent, TPoint client);

bool InvalidateRect(HWND window, const TRect* rect, bool erase);
bool ValidateRect(HWND window, const TRect* rect);
bool RedrawWindow(HWND window, const TRect* rect, UINT flags);
bool GetUpdateRect(HWND window, TRect& rect);
// Paints the window now if it has an invalid area (its children are not painted).
bool UpdateWindow(HWND window);
// Device contexts of windows draw into the top-level's back buffer: device (0, 0) is the client
// area's top-left, drawing is clipped to the part of the window nothing covers (children cut
// out), and what was drawn is presented with the next paint.
//
// Starts painting: the DC is clipped further to the invalid area, which becomes valid. Sends
// WM_ERASEBKGND (wParam: the DC) first when an erase was asked for. Null for a stale window.
HDC BeginPaint(HWND window, PAINTSTRUCT& paint);
// Draws the caret over what was painted and frees the DC.
void EndPaint(HWND window, const PAINTSTRUCT& paint);
// A DC for drawing outside WM_PAINT, clipped to the window's visible part; GetDC(nullptr) gives a
// DC without pixels, for measuring. Windows have no frame, so GetWindowDC is the same.
HDC GetDC(HWND window);
HDC GetWindowDC(HWND window);
// Frees a DC of GetDC; 1 when it was one, 0 otherwise. DCs left open die with their window.
int ReleaseDC(HWND window, HDC dc);

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
void PostQuitMessage(int exitCode);
bool PeekMessage(TMsg& msg, HWND window, UINT first, UINT last, UINT flags);
bool GetMessage(TMsg& msg);
void WaitMessage();
// Adds WM_CHAR (or WM_SYSCHAR) for keys that type control characters: Enter, Tab, Escape,
// Backspace, Ctrl+letter; Alt+letter and Alt+digit give WM_SYSCHAR. Printable text arrives from
// the backend's text events.
bool TranslateMessage(const TMsg& msg);
void DispatchMessage(const TMsg& msg);
// Peek, translate and dispatch until nothing is waiting.
void PumpWaitingMessages();

uintptr_t SetTimer(HWND window, uintptr_t id, uint32_t intervalMs);
bool KillTimer(HWND window, uintptr_t id);

}  // namespace vcl
