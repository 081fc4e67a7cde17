#include "platform/toolkit/HintWindow.h"

#include <algorithm>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Screen.h"
#include "platform/toolkit/ScreenCanvas.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/Utf.h"

namespace vcl {

namespace {

constexpr unsigned kTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
constexpr int kInset = THintWindow::kFrame + THintWindow::kPadding;

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
    SetColor(Application->HintColor());
    SetFont(Screen().HintFont());
    SetVisible(false);
    SetBounds(0, 0, 0, 0);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text) {
    // Measured on a DC of its own, so the window need not exist yet.
    TScreenCanvas measure(Font());
    const std::u16string wide = rtl::Utf8ToUtf16(text);
    TRect r{0, 0, std::max(maxWidth - 2 * kInset, 1), 0};
    DrawTextW(measure.Handle(), wide.c_str(), static_cast<int>(wide.size()), &r, kTextFormat | DT_CALCRECT);
    return {0, 0, r.Width() + 2 * kInset, r.Height() + 2 * kInset};
}

void THintWindow::ActivateHint(const TRect& rect, const std::string& text) {
    SetFont(Screen().HintFont());
    SetCaption(text);
    SetBounds(rect.Left, rect.Top, rect.Width(), rect.Height());
    HWND window = Handle();
    SetWindowPos(window, HwndTopMost(), rect.Left, rect.Top, rect.Width(), rect.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, false);
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

bool THintWindow::Showing() const { return HandleAllocated() && IsWindowVisible(const_cast<THintWindow*>(this)->Handle()); }

TRect THintWindow::TextRect() const { return ClientRect().Inflate(-kInset, -kInset); }

void THintWindow::Paint() {
    TCanvas& canvas = *Canvas();
    const TRect client = ClientRect();
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    canvas.Brush().SetColor(clBlack);
    canvas.FrameRect(client);
    TRect r = TextRect();
    const std::u16string wide = rtl::Utf8ToUtf16(Caption());
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, kTextFormat);
}

}  // namespace vcl
