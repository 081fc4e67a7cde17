#include "controls/foundation/PaintBuffer.h"

#include <algorithm>

#include "controls/surface/SharedBuffer.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/WinControl.h"

namespace se {

using namespace vcl;

namespace {

bool sharedBufferBusy = false;

}  // namespace

TSeCanvasRedirect::TSeCanvasRedirect(TCanvas& canvas, HDC dc)
    : canvas_(canvas), previous_(canvas.HandleAllocated() ? canvas.Handle() : nullptr) {
    canvas_.Refresh();
    canvas_.SetHandle(dc);
}

TSeCanvasRedirect::~TSeCanvasRedirect() {
    canvas_.Refresh();
    canvas_.SetHandle(previous_);
}

TSePaintBuffer::TSePaintBuffer(TCanvas& canvas, TSePerformance mode, int width, int height, bool keyFill)
    : canvas_(canvas), mode_(mode), width_(width), height_(height), target_(canvas.Handle()) {
    if (mode_ == kspSharedBuffer && sharedBufferBusy) mode_ = kspDoubleBuffer;
    const TRect area{0, 0, width_, height_};
    if (mode_ == kspSharedBuffer) {
        TseBitmap& shared = SizedSharedBuffer();
        if (width_ > shared.Width() || height_ > shared.Height()) {
            shared.SetSize(std::max(width_, shared.Width()), std::max(height_, shared.Height()));
        }
        surface_ = &shared;
        holdsShared_ = true;
        sharedBufferBusy = true;
    } else if (mode_ == kspDoubleBuffer) {
        private_ = std::make_unique<TseBitmap>();
        private_->SetSize(width_, height_);
        surface_ = private_.get();
    }
    if (!surface_) return;
    if (keyFill) surface_->FillPixels(area, KeyColor);
    canvas_.Refresh();
    canvas_.SetHandle(surface_->DC());
}

TSePaintBuffer::~TSePaintBuffer() {
    if (surface_) {
        canvas_.Refresh();
        canvas_.SetHandle(target_);
    }
    if (holdsShared_) sharedBufferBusy = false;
}

bool TSePaintBuffer::SharedBufferBusy() { return sharedBufferBusy; }

void TSePaintBuffer::MergeOver(const TseBitmap& background, int value) {
    const TRect area{0, 0, width_, height_};
    surface_->SetAlphaRect(static_cast<uint8_t>(value), area);
    surface_->MergeBackground(background, 0, 0, area);
}

void TSePaintBuffer::Output() const {
    if (!surface_) return;
    surface_->DrawRect(target_, 0, 0, {0, 0, width_, height_});
}

void SendBackgroundRequest(TControl& control, HDC dc) {
    TWinControl* parent = control.Parent();
    if (!parent) return;
    const TRect bounds = control.BoundsRect();
    BackgroundRequest request;
    request.left = bounds.Left;
    request.top = bounds.Top;
    request.right = bounds.Right;
    request.bottom = bounds.Bottom;
    const auto wParam = reinterpret_cast<WPARAM>(dc);
    const auto lParam = reinterpret_cast<LPARAM>(&request);
    if (auto* form = dynamic_cast<TCustomForm*>(parent)) {
        SendMessage(form->Handle(), WM_ERASEBKGND, wParam, lParam);
    } else {
        parent->Perform(WM_ERASEBKGND, wParam, lParam);
    }
}

namespace {

// The parent's background and, when asked, its window-less children, into dc whose origin has
// been moved so the parent's point at the control lands on pixel (0, 0).
void PaintParentInto(TControl& control, HDC dc, bool paintGraphicSiblings) {
    SendBackgroundRequest(control, dc);
    if (!paintGraphicSiblings) return;
    TWinControl* parent = control.Parent();
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* sibling = parent->Controls(i);
        if (dynamic_cast<TWinControl*>(sibling) || !sibling->Visible()) continue;
        vcl::TSavedDC saved(dc);
        OffsetWindowOrgEx(dc, -sibling->Left(), -sibling->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, sibling->Width(), sibling->Height());
        sibling->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    }
}

}  // namespace

void CopyParentBackground(TControl& control, HDC dc, bool buffered, int width, int height, bool paintGraphicSiblings) {
    TWinControl* parent = control.Parent();
    if (!parent || width <= 0 || height <= 0 || !dc) return;
    vcl::TSavedDC saved(dc);
    // The control's client origin in the parent's client area: the window origin becomes it, so the
    // parent's pixel there is the DC's pixel (0, 0).
    const TPoint p = parent->ScreenToClient(control.ClientOrigin());
    // A dc that is an off-screen surface already (a child's background request reaching an unbuffered
    // control) takes the parent's painting directly too: a temporary of this control's size would be
    // painted in full only for the child's few pixels to be copied out of it.
    if (buffered || FindSurface(dc) != nullptr) {
        // Only the control's own pixels: the shared buffer is far larger than the control.
        IntersectClipRect(dc, 0, 0, width, height);
        OffsetWindowOrgEx(dc, p.X, p.Y, nullptr);
        PaintParentInto(control, dc, paintGraphicSiblings);
        OffsetWindowOrgEx(dc, -p.X, -p.Y, nullptr);
        return;
    }
    TseBitmap background;
    background.SetSize(width, height);
    OffsetWindowOrgEx(background.DC(), p.X, p.Y, nullptr);
    PaintParentInto(control, background.DC(), paintGraphicSiblings);
    OffsetWindowOrgEx(background.DC(), -p.X, -p.Y, nullptr);
    background.Draw(dc, 0, 0);
}

}  // namespace se
