#pragma once
// Keyboard focus, activation, pointer capture, key state, the pointer and its cursor, and the input
// method's strings.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/window/Window.h"

namespace vcl {

// Gives the keyboard focus to window (activating its top-level); WM_KILLFOCUS goes to the old
// focus and WM_SETFOCUS to the new one, each naming the other in wParam. Hidden or disabled
// windows cannot take it. Returns the previous focus.
HWND SetFocus(HWND window);
HWND GetFocus();
// Activates a top-level: WM_NCACTIVATE and WM_ACTIVATE to the old and the new one.
HWND SetActiveWindow(HWND window);
HWND GetActiveWindow();
bool SetForegroundWindow(HWND window);
HWND GetForegroundWindow();

// While a window holds the capture every pointer message goes to it. WM_CAPTURECHANGED tells the
// window that loses it.
HWND SetCapture(HWND window);
bool ReleaseCapture();
HWND GetCapture();
// Told after the capture changed hands, whatever the cause: SetCapture, ReleaseCapture,
// WM_CANCELMODE, the holder hidden, disabled or destroyed. lost or gained may be nullptr; lost may
// already be a stale handle. Counted captures built on this one reset themselves here.
using TCaptureObserver = std::function<void(HWND lost, HWND gained)>;
uintptr_t AddCaptureObserver(TCaptureObserver observer);
void RemoveCaptureObserver(uintptr_t id);

// Key state as of the last input message taken from the queue: bit 15 pressed, bit 0 toggled.
int16_t GetKeyState(int virtualKey);
// Key state right now.
int16_t GetAsyncKeyState(int virtualKey);
// ssShift, ssCtrl and ssAlt from the key state.
TShiftState GetShiftState();

TPoint GetCursorPos();
// The window under the pointer; nullptr while the pointer is outside every window of ours.
HWND GetWindowUnderPointer();
// Shows a cursor shape over the application's windows.
void SetCursor(TCursorShape shape);
TCursorShape GetCursor();

// The last composition an input method committed (WM_IME_COMPOSITION with GCS_RESULTSTR) and the
// one in progress, both UTF-8.
std::string ImmGetResultString();
std::string ImmGetCompositionString();
// Where the composition window belongs (client coordinates of window).
void ImmSetCompositionWindow(HWND window, const TRect& area);

}  // namespace vcl
