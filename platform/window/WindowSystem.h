#pragma once
// The window system: owns every window, keeps the top-levels' z-order, the focus, the active
// window, the capture and the key state, turns backend events into routed input messages and
// generates WM_PAINT. It is the message source of the GUI thread's queue. The platform functions of
// Window.h and Input.h are its public face; tests and backends use it directly.

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/rtl/NeverDestroyed.h"
#include "platform/runtime/MessageQueue.h"
#include "platform/window/Backend.h"
#include "platform/window/Window.h"

namespace vcl {

class TWindowSystem final : public TMessageSource {
public:
    static TWindowSystem& Instance();

    // Installs the backend (and its clock) and becomes the queue's message source; nullptr
    // destroys every window and detaches.
    void SetBackend(TBackend* backend);
    TBackend* Backend() const { return backend_; }
    // Destroys all windows and forgets all pending input (tests start clean).
    void DestroyAllWindows();

    // Window tree.
    HWND Create(const TCreateParams& params);
    bool Destroy(HWND window);
    bool IsAlive(HWND window) const { return window && windows_.count(window) != 0; }
    HWND TopLevelOf(HWND window) const;
    const std::vector<HWND>& TopLevels() const { return topLevels_; }
    HWND SetParent(HWND window, HWND parent);
    bool SetPos(HWND window, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    bool Show(HWND window, int command);
    // Maximised, minimised or normal: WS_MAXIMIZE and WS_MINIMIZE, WM_SIZE with the kind of change.
    void SetState(HWND window, TNativeWindowState state);
    TNativeWindowState State(HWND window) const;
    bool Enable(HWND window, bool enable);
    bool IsVisible(HWND window) const;
    // The window and all its ancestors are enabled.
    bool IsEnabledChain(HWND window) const;
    bool SetText(HWND window, const std::string& text);
    void SetStyle(HWND window, uint32_t style);
    void SetExStyle(HWND window, uint32_t exStyle);
    // Screen position of the window's client (0, 0).
    TPoint ClientOrigin(HWND window) const;
    // Position of the window's client (0, 0) in its top-level's back buffer.
    TPoint BufferOrigin(HWND window) const;
    HWND FromPoint(TPoint screen) const;
    HWND ChildFromPoint(HWND parent, TPoint client) const;

    // Painting.
    bool Invalidate(HWND window, const TRect* rect, bool erase);
    // Invalidates a client area of window and the same area of every descendant under it.
    void InvalidateWithChildren(HWND window, const TRect& clientRect, bool erase);
    bool Validate(HWND window, const TRect* rect);
    bool Update(HWND window);
    // Update of window and then of every visible descendant, parent before child.
    bool UpdateWithChildren(HWND window);
    HDC BeginPaint(HWND window, PAINTSTRUCT& paint);
    void EndPaint(HWND window, const PAINTSTRUCT& paint);
    HDC GetDC(HWND window);
    bool ReleaseDC(HDC dc);
    int OpenDCCount() const { return static_cast<int>(dcs_.size()); }
    // The part of the window nothing covers, in back-buffer coordinates: clipped by its ancestors,
    // with the siblings above it and its own children cut out.
    Region VisibleRegion(HWND window) const;
    void PresentAll();

    // Focus, activation, capture.
    HWND SetFocus(HWND window);
    HWND Focus() const { return focus_; }
    HWND Activate(HWND window, WPARAM how = WA_ACTIVE);
    HWND Active() const { return active_; }
    HWND SetCapture(HWND window);
    bool ReleaseCapture();
    HWND Capture() const { return capture_; }
    uintptr_t AddCaptureObserver(std::function<void(HWND lost, HWND gained)> observer);
    void RemoveCaptureObserver(uintptr_t id);

    // Keyboard, pointer, cursor.
    int16_t KeyState(int virtualKey) const;
    int16_t AsyncKeyState(int virtualKey) const;
    TPoint CursorPos() const { return cursor_; }
    // The window under the pointer, or nullptr while the pointer is outside the application.
    HWND WindowUnderPointer() const { return pointerInside_ ? FromPoint(cursor_) : nullptr; }
    void SetCursor(TCursorShape shape);
    TCursorShape Cursor() const { return cursorShape_; }
    bool Translate(const TMsg& msg);
    const std::string& ImeResult() const { return imeResult_; }
    const std::string& ImeComposition() const { return imeComposition_; }
    void SetImeArea(HWND window, const TRect& area);

    // TMessageSource.
    bool PeekInput(TMsg& msg, TMessageTarget* filter, UINT first, UINT last, bool remove) override;
    bool PeekPaint(TMsg& msg, TMessageTarget* filter) override;
    void Wait(std::optional<uint64_t> deadline) override;
    void Poll() override;

    // Frees a destroyed window once no message handler of it is running any more.
    void Reap(TWindow* window);

private:
    struct QueuedInput {
        TMsg msg;
        TShiftState shift;
        uint8_t buttons;  // bit 0 left, 1 right, 2 middle, as held after the event
        LRESULT hit;
    };
    struct LastClick {
        HWND window = nullptr;
        int button = -1;
        uint32_t time = 0;
        TPoint pos;
        bool valid = false;
    };

    friend class rtl::NeverDestroyed<TWindowSystem>;
    TWindowSystem() = default;

    void DestroyTree(HWND window);
    void Unlink(HWND window);
    void InsertTopLevel(HWND window, bool atTop);
    void RaiseTopLevel(HWND window);
    void ReorderChild(HWND window, HWND insertAfter);
    void ActivateNextAfter(HWND window);
    void KillFocusWithin(HWND window);
    bool ContainsWindow(HWND ancestor, HWND window) const;
    HWND WindowForNative(uint32_t id) const;
    HWND Descend(HWND window, TPoint client) const;

    void TranslateRaw(const TBackendEvent& event);
    void RouteMouse(UINT clientMessage, int button, bool down);
    void QueueInput(HWND target, UINT message, WPARAM wParam, LPARAM lParam, LRESULT hit = HTCLIENT);
    void OnInputRemoved(const QueuedInput& input);
    void UpdateAsyncModifiers(TShiftState shift);
    TShiftState AsyncShift() const;
    WPARAM MouseKeyFlags() const;

    void NotifyCaptureChanged(HWND lost, HWND gained);
    bool ShowOrHide(HWND window, int command);
    void ApplyBackendBounds(HWND top, const TRect& bounds);
    // Window DCs stay listed until released, so what they drew is presented and they do not
    // outlive their window.
    struct OpenDC {
        HDC dc;
        HWND window;  // nullptr for the measuring DC of GetDC(nullptr)
        HWND top;
        Region area;  // back-buffer coordinates
    };
    HDC OpenWindowDC(HWND window, const Region& area);
    void CloseDCsOf(HWND window);

    TBackend* backend_ = nullptr;
    std::unordered_map<HWND, std::unique_ptr<TWindow>> windows_;
    std::vector<std::unique_ptr<TWindow>> graveyard_;
    std::vector<HWND> topLevels_;  // top of the z-order first
    std::vector<OpenDC> dcs_;
    HWND focus_ = nullptr;
    HWND active_ = nullptr;
    HWND capture_ = nullptr;
    std::vector<std::pair<uintptr_t, std::function<void(HWND, HWND)>>> captureObservers_;
    uintptr_t nextCaptureObserver_ = 1;
    HWND hover_ = nullptr;
    TPoint cursor_;
    bool pointerInside_ = false;
    bool applyingBackendChange_ = false;
    std::deque<TBackendEvent> raw_;
    std::deque<QueuedInput> input_;
    std::array<uint8_t, 256> keys_{};       // as of the last input message taken: 0x80 down, 0x01 toggled
    std::array<uint8_t, 256> asyncKeys_{};  // as the backend reports it now
    uint8_t asyncButtons_ = 0;
    LastClick lastClick_;
    TCursorShape cursorShape_ = TCursorShape::Arrow;
    bool composing_ = false;
    std::string imeResult_;
    std::string imeComposition_;
};

inline TWindowSystem& WindowSystem() { return TWindowSystem::Instance(); }

}  // namespace vcl
