#include "platform/controls/HintWindow.h"

#include <algorithm>

#include "platform/controls/Application.h"
#include "platform/rtl/Utf.h"

namespace vcl {

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(Application->HintColor());
    SetVisible(false);
    SetBounds(0, 0, 0, 0);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text) {
    // Until text is measured by the font layer: an average glyph of 6 pixels on a 13-pixel line,
    // with a 2-pixel margin and the frame.
    const std::u16string wide = rtl::Utf8ToUtf16(text);
    const int width = std::min(maxWidth, static_cast<int>(wide.size()) * 6 + 6);
    return {0, 0, width, 13 + 6};
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& text) {
    SetCaption(text);
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    HWND window = Handle();
    SetWindowPos(window, HwndTopMost(), rect.Left, rect.Top, rect.Width(), rect.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, false);
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

bool THintWindow::Showing() const { return HandleAllocated() && IsWindowVisible(const_cast<THintWindow*>(this)->Handle()); }

void THintWindow::Paint() {
    // A frame in the info text colour around the info background.
    const TRect r = ClientRect();
    Canvas()->Brush().SetColor(clInfoText);
    Canvas()->FillRect(r);
    Canvas()->Brush().SetColor(Color());
    Canvas()->FillRect(r.Inflate(-1, -1));
}

}  // namespace vcl
