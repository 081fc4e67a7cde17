#include "platform/toolkit/ScreenCanvas.h"

#include "platform/draw/Text.h"
#include "platform/window/Window.h"

namespace vcl {

TScreenCanvas::TScreenCanvas() : dc_(GetDC(nullptr)) { canvas_.SetHandle(dc_); }

TScreenCanvas::TScreenCanvas(const TFont& font) : TScreenCanvas() { canvas_.Font().Assign(font); }

TScreenCanvas::~TScreenCanvas() {
    canvas_.SetHandle(nullptr);
    ReleaseDC(nullptr, dc_);
}

int TScreenCanvas::LineHeight() {
    TEXTMETRIC metrics{};
    GetTextMetrics(canvas_.Handle(), &metrics);
    return metrics.tmHeight;
}

}  // namespace vcl
