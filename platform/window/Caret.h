#pragma once
// The caret: one per thread, owned by a window. It blinks at the user's caret-blink time; while in
// its visible phase its rectangle is inverted in the owner's back buffer after each paint of the
// owner, so whatever the window paints the caret stays on top.

#include "platform/draw/Geometry.h"
#include "platform/window/Window.h"

namespace vcl {

// Creates a hidden caret of the given size (client pixels) for window, replacing any other.
bool CreateCaret(HWND window, int width, int height);
bool DestroyCaret();
// Moves the caret (client coordinates of its window).
bool SetCaretPos(int x, int y);
bool GetCaretPos(TPoint& position);
// Show and hide nest: a caret shows once ShowCaret has been called as often as HideCaret (and
// once after creation).
bool ShowCaret(HWND window);
bool HideCaret(HWND window);

// What the caret is now, for tests and for painting code.
HWND GetCaretWindow();
TRect GetCaretRect();
bool IsCaretShown();        // shown (hide count 0), whatever the blink phase
bool IsCaretInvertedNow();  // shown and in the visible phase of its blink

// Called by EndPaint: inverts the caret's rectangle in what the paint DC may touch.
void PaintCaretOver(HWND window, HDC paintDC);

}  // namespace vcl
