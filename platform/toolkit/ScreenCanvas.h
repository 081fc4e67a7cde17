#pragma once
// TScreenCanvas: a canvas on a screen DC of its own, for measuring text outside a paint (where a
// control's own canvas would create its window). The DC is released when it ends.

#include "platform/draw/Canvas.h"
#include "platform/draw/Gdi.h"

namespace vcl {

class TScreenCanvas {
public:
    TScreenCanvas();
    explicit TScreenCanvas(const TFont& font);
    ~TScreenCanvas();
    TScreenCanvas(const TScreenCanvas&) = delete;
    TScreenCanvas& operator=(const TScreenCanvas&) = delete;

    TCanvas& Canvas() { return canvas_; }
    HDC Handle() { return canvas_.Handle(); }
    // The font's line height (tmHeight).
    int LineHeight();

private:
    HDC dc_;
    TCanvas canvas_;
};

}  // namespace vcl
