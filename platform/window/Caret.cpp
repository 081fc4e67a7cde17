#include "platform/window/Caret.h"

#include "platform/draw/GdiState.h"
#include "platform/draw/Shapes.h"
#include "platform/runtime/Clock.h"
#include "platform/window/SystemMetrics.h"
#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

namespace {

class TCaret final : public TMessageTarget {
public:
    HWND owner = nullptr;
    TRect rect;
    int hideCount = 1;
    bool phaseOn = true;

    void HandleMessage(TMessage& m) override {
        if (m.Msg != WM_TIMER) return;
        if (!IsWindow(owner)) {
            Stop();
            return;
        }
        phaseOn = !phaseOn;
        Refresh();
    }

    // The caret's area repaints, so the paint shows or clears it.
    void Refresh() const {
        if (IsWindow(owner) && !rect.IsEmpty()) InvalidateRect(owner, &rect, false);
    }
    void Restart() {
        phaseOn = true;
        MessageQueue().KillTimer(this, 1);
        if (hideCount == 0) MessageQueue().SetTimer(this, 1, GetCaretBlinkTime());
        Refresh();
    }
    void Stop() {
        MessageQueue().KillTimer(this, 1);
        Refresh();
        owner = nullptr;
        rect = {};
        hideCount = 1;
    }
};

TCaret& Caret() {
    static rtl::NeverDestroyed<TCaret> caret;
    return *caret;
}

bool Owns(HWND window) { return IsWindow(Caret().owner) && (window == nullptr || window == Caret().owner); }

}  // namespace

bool CreateCaret(HWND window, int width, int height) {
    if (!IsWindow(window)) return false;
    TCaret& c = Caret();
    if (c.owner) c.Stop();
    c.owner = window;
    c.rect = Bounds(0, 0, width > 0 ? width : GetSystemMetrics(SM_CXBORDER), height > 0 ? height : 16);
    c.hideCount = 1;
    c.phaseOn = true;
    return true;
}

bool DestroyCaret() {
    if (!Caret().owner) return false;
    Caret().Stop();
    return true;
}

bool SetCaretPos(int x, int y) {
    TCaret& c = Caret();
    if (!Owns(nullptr)) return false;
    if (c.rect.Left == x && c.rect.Top == y) return true;
    c.Refresh();
    c.rect = Bounds(x, y, c.rect.Width(), c.rect.Height());
    // A caret that moved shows at once, in its visible phase.
    c.Restart();
    return true;
}

bool GetCaretPos(TPoint& position) {
    if (!Owns(nullptr)) return false;
    position = Caret().rect.TopLeft();
    return true;
}

bool ShowCaret(HWND window) {
    TCaret& c = Caret();
    if (!Owns(window) || c.hideCount == 0) return false;
    if (--c.hideCount == 0) c.Restart();
    return true;
}

bool HideCaret(HWND window) {
    TCaret& c = Caret();
    if (!Owns(window)) return false;
    if (c.hideCount++ == 0) {
        MessageQueue().KillTimer(&c, 1);
        c.Refresh();
    }
    return true;
}

HWND GetCaretWindow() { return Owns(nullptr) ? Caret().owner : nullptr; }
TRect GetCaretRect() { return Owns(nullptr) ? Caret().rect : TRect{}; }
bool IsCaretShown() { return Owns(nullptr) && Caret().hideCount == 0; }
bool IsCaretInvertedNow() { return IsCaretShown() && Caret().phaseOn; }

void PaintCaretOver(HWND window, HDC paintDC) {
    if (window != GetCaretWindow() || !IsCaretInvertedNow()) return;
    // Whatever the paint left selected, the caret lies in client coordinates within the paint's
    // own area.
    SelectClipRgn(paintDC, nullptr);
    SetWindowOrgEx(paintDC, 0, 0, nullptr);
    SetViewportOrgEx(paintDC, 0, 0, nullptr);
    const TRect r = Caret().rect;
    InvertRect(paintDC, &r);
}

}  // namespace vcl
