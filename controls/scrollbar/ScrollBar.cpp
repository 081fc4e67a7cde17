#include "controls/scrollbar/ScrollBar.h"

#include <algorithm>
#include <cmath>

#include "controls/surface/Primitives.h"
#include "controls/surface/WindowServices.h"
#include "platform/draw/FrameControl.h"
#include "platform/draw/Gdi.h"
#include "platform/window/SystemMetrics.h"

namespace se {

using namespace vcl;

namespace {

int ThumbMetric() { return GetSystemMetrics(SM_CYVTHUMB); }

bool InRect(const TRect& r, int x, int y) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; }

}  // namespace

int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

TSeCustomScrollBar::TSeCustomScrollBar(TComponent* AOwner) : TSeGraphicControl(AOwner) {
    controlStyle_ |= csCaptureMouse;
    // The height is taken while the border is still 0: the metric alone.
    SetBounds(Left(), Top(), 121, ThumbMetric());
    SetPerformance(kspDoubleBuffer);
}

TSeCustomScrollBar::~TSeCustomScrollBar() = default;

void TSeCustomScrollBar::SetPosition(int value) {
    if (value == position_) return;
    position_ = std::clamp(value, min_, max_);
    Invalidate();
    Change();
}

void TSeCustomScrollBar::SetMax(int value) {
    if (value == max_) return;
    value = std::max(value, min_);
    max_ = value;
    if (value < position_) SetPosition(value);
    pageSize_ = std::min(pageSize_, max_ - min_ + 1);
    Invalidate();
}

void TSeCustomScrollBar::SetMin(int value) {
    if (value == min_) return;
    value = std::min(value, max_);
    min_ = value;
    if (position_ < value) SetPosition(value);
    pageSize_ = std::min(pageSize_, max_ - min_ + 1);
    Invalidate();
}

void TSeCustomScrollBar::SetPageSize(int value) {
    if (value < 0 || value == pageSize_) return;
    pageSize_ = std::min(value, max_ - min_ + 1);
    Invalidate();
}

void TSeCustomScrollBar::SetKind(TScrollBarKind value) {
    if (value == kind_) return;
    kind_ = value;
    if (HasState(csDesigning) && ((kind_ == sbHorizontal && Width() < Height()) || (kind_ == sbVertical && Height() < Width())))
        SetBounds(Left(), Top(), Height(), Width());
    Invalidate();
}

void TSeCustomScrollBar::SetBorderWidth(int value) {
    if (value == borderWidth_) return;
    borderWidth_ = value;
    Invalidate();
}

void TSeCustomScrollBar::SetShowButtons(bool value) {
    if (value == showButtons_) return;
    showButtons_ = value;
    Invalidate();
}

void TSeCustomScrollBar::UpdateThickness() {
    const int thickness = ThumbMetric() + 2 * borderWidth_;
    if (Vertical()) SetBounds(Left(), Top(), thickness, Height());
    else SetBounds(Left(), Top(), Width(), thickness);
}

void TSeCustomScrollBar::SetAutoScrollUp(bool on) {
    if (on == autoScrollUp_) return;
    autoScrollUp_ = on;
    if (on) {
        SetAutoScrollDown(false);
        StartRepeat(false);
    } else if (repeatTimer_) {
        repeatTimer_->SetEnabled(false);
    }
}

void TSeCustomScrollBar::SetAutoScrollDown(bool on) {
    if (on == autoScrollDown_) return;
    autoScrollDown_ = on;
    if (on) {
        SetAutoScrollUp(false);
        StartRepeat(false);
    } else if (repeatTimer_) {
        repeatTimer_->SetEnabled(false);
    }
}

// --- Geometry ---------------------------------------------------------------------------------

int TSeCustomScrollBar::GetButtonSize() {
    const int m = ThumbMetric();
    const int n = (Vertical() ? Height() : Width()) - 2 * borderWidth_;
    return n < 2 * m ? n / 2 : m;
}

void TSeCustomScrollBar::GetTrackRect(TRect& rect) {
    const int b = borderWidth_;
    rect = TRect{b, b, Width() - b, Height() - b};
    if (!showButtons_) return;
    const int s = GetButtonSize();
    if (Vertical()) {
        rect.Top += s;
        rect.Bottom -= s;
    } else {
        rect.Left += s;
        rect.Right -= s;
    }
}

void TSeCustomScrollBar::GetUpButtonRect(TRect& rect) {
    const int b = borderWidth_, s = GetButtonSize();
    rect = Vertical() ? TRect{b, b, Width() - b, b + s} : TRect{b, b, b + s, Height() - b};
}

void TSeCustomScrollBar::GetDownButtonRect(TRect& rect) {
    const int b = borderWidth_, s = GetButtonSize(), w = Width(), h = Height();
    rect = Vertical() ? TRect{b, h - b - s, w - b, h - b} : TRect{w - b - s, b, w - b, h - b};
}

int TSeCustomScrollBar::TrackLength() {
    TRect r;
    GetTrackRect(r);
    return Vertical() ? r.Height() : r.Width();
}

int TSeCustomScrollBar::TrackStart() {
    TRect r;
    GetTrackRect(r);
    return Vertical() ? r.Top : r.Left;
}

int TSeCustomScrollBar::GetThumbSize() {
    const int m = ThumbMetric();
    const int t = TrackLength();
    int l = m;
    if (pageSize_ > 0) {
        l = RoundHalfEven(static_cast<double>(t) * pageSize_ / (max_ - min_ + 1));
        l = std::max(l, (m / 3) * 2);
    }
    return l < t ? l : 0;
}

int TSeCustomScrollBar::PositionToPixel(int p) {
    const int s = TrackStart();
    const int r = max_ - min_ - pageSize_ + (pageSize_ != 0 ? 1 : 0);
    const int f = TrackLength() - GetThumbSize();
    if (max_ - min_ - pageSize_ + 1 <= 0 || r <= 0) return s;
    if (p > max_ - pageSize_ + 1) return s + f;
    return s + RoundHalfEven(static_cast<double>(p - min_) * f / r);
}

int TSeCustomScrollBar::PixelToPosition(int x) {
    const int s = TrackStart();
    const int r = max_ - min_ - pageSize_ + (pageSize_ != 0 ? 1 : 0);
    const int f = TrackLength() - GetThumbSize();
    int value = 0;
    if (f != 0 && r > 0) value = RoundHalfEven(static_cast<double>(x - s) * r / f + min_);
    value = std::max(value, min_);
    value = std::min(value, max_ - pageSize_ + 1);
    return value;
}

void TSeCustomScrollBar::GetThumbRect(TRect& rect) {
    TRect track;
    GetTrackRect(track);
    const int t = PositionToPixel(position_);
    const int l = GetThumbSize();
    rect = Vertical() ? TRect{track.Left, t, track.Right, t + l} : TRect{t, track.Top, t + l, track.Bottom};
}

void TSeCustomScrollBar::GetPageUpRect(TRect& rect) {
    TRect track;
    GetTrackRect(track);
    const int t = PositionToPixel(position_);
    rect = Vertical() ? TRect{track.Left, track.Top, track.Right, t} : TRect{track.Left, track.Top, t, track.Bottom};
}

void TSeCustomScrollBar::GetPageDownRect(TRect& rect) {
    TRect track;
    GetTrackRect(track);
    const int end = PositionToPixel(position_) + GetThumbSize();
    rect = Vertical() ? TRect{track.Left, end, track.Right, track.Bottom} : TRect{end, track.Top, track.Right, track.Bottom};
}

bool TSeCustomScrollBar::IsOnUpButton(int x, int y) {
    TRect r;
    GetUpButtonRect(r);
    return InRect(r, x, y);
}

bool TSeCustomScrollBar::IsOnDownButton(int x, int y) {
    TRect r;
    GetDownButtonRect(r);
    return InRect(r, x, y);
}

bool TSeCustomScrollBar::IsOnThumb(int x, int y) {
    TRect r;
    GetThumbRect(r);
    return InRect(r, x, y);
}

bool TSeCustomScrollBar::IsOnPageUp(int x, int y) {
    TRect r;
    GetPageUpRect(r);
    return InRect(r, x, y);
}

bool TSeCustomScrollBar::IsOnPageDown(int x, int y) {
    TRect r;
    GetPageDownRect(r);
    return InRect(r, x, y);
}

bool TSeCustomScrollBar::ThumbVisible() {
    if (!Enabled() && !HasState(csDesigning)) return false;
    TRect r;
    GetThumbRect(r);
    return r.Width() >= 1 && r.Height() >= 1;
}

// --- Actions ----------------------------------------------------------------------------------

void TSeCustomScrollBar::Change() {
    if (OnChange) OnChange(this);
}

void TSeCustomScrollBar::HostIn(bool vertical, TScrollRelay relay) {
    SetKind(vertical ? sbVertical : sbHorizontal);
    SetBorderWidth(0);
    SetTransparent(false);
    OnScroll = [this, relay = std::move(relay)](TObject*, TSeScrollCode code, int& pos) {
        relay(code, pos);
        pos = Position();
    };
}

void TSeCustomScrollBar::Scroll(TSeScrollCode code, int& pos) {
    if (OnScroll) OnScroll(this, code, pos);
}

void TSeCustomScrollBar::ScrollAction(TSeScrollCode code, int pos) {
    Scroll(code, pos);
    SetPosition(pos);
}

void TSeCustomScrollBar::ScrollStep(uint16_t key) {
    int pos;
    TSeScrollCode code;
    switch (key) {
        case VK_PRIOR:
            pos = position_ - (pageSize_ >= 1 ? pageSize_ : largeChange_);
            code = kscPageUp;
            break;
        case VK_NEXT:
            pos = position_ + (pageSize_ >= 1 ? pageSize_ : largeChange_);
            code = kscPageDown;
            break;
        case VK_END: pos = max_; code = kscBottom; break;
        case VK_HOME: pos = min_; code = kscTop; break;
        case VK_LEFT:
        case VK_UP: pos = position_ - smallChange_; code = kscLineUp; break;
        case VK_RIGHT:
        case VK_DOWN: pos = position_ + smallChange_; code = kscLineDown; break;
        default: return;
    }
    ScrollAction(code, std::clamp(pos, min_, max_));
    if (code == kscLineDown && position_ >= max_ && autoScrollDown_) SetAutoScrollDown(false);
    if (code == kscLineUp && position_ <= min_ && autoScrollUp_) SetAutoScrollUp(false);
}

void TSeCustomScrollBar::StartRepeat(bool immediate) {
    if (!repeatTimer_) {
        repeatTimer_ = new TTimer(this);
        repeatTimer_->SetEnabled(false);
        repeatTimer_->SetOnTimer([this](TObject*) { RepeatTick(); });
    }
    if (immediate) {
        RepeatTick();
        repeatTimer_->SetInterval(static_cast<uint32_t>(KeyRepeatDelay()));
    } else {
        repeatTimer_->SetInterval(static_cast<uint32_t>(KeyRepeatInterval()));
    }
    repeatTimer_->SetEnabled(true);
}

void TSeCustomScrollBar::RepeatTick() {
    try {
        repeatTimer_->SetInterval(static_cast<uint32_t>(KeyRepeatInterval()));
        if (UpButtonPressed() || autoScrollUp_) {
            ScrollStep(VK_LEFT);
            return;
        }
        if (DownButtonPressed() || autoScrollDown_) {
            ScrollStep(VK_RIGHT);
            return;
        }
        const bool oldUp = pageUpHot_, oldDown = pageDownHot_;
        pageUpHot_ = IsOnPageUp(mouseX_, mouseY_);
        if (PageUpPressed()) {
            ScrollStep(VK_PRIOR);
            return;
        }
        pageDownHot_ = IsOnPageDown(mouseX_, mouseY_);
        if (PageDownPressed()) ScrollStep(VK_NEXT);
        if (oldUp != pageUpHot_ || oldDown != pageDownHot_) Invalidate();
    } catch (...) {
        // A failing handler stops the repetition; the next press starts it again.
        repeatTimer_->SetEnabled(false);
    }
}

// --- Mouse ------------------------------------------------------------------------------------

void TSeCustomScrollBar::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) {
    TSeGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    if (IsOnThumb(x, y)) {
        TRect thumb;
        GetThumbRect(thumb);
        dragOffset_ = Vertical() ? y - thumb.Top : x - thumb.Left;
        ScrollAction(kscTrack, position_);
        Invalidate();
    }
    const bool was[4] = {UpButtonPressed(), DownButtonPressed(), PageUpPressed(), PageDownPressed()};
    upPressed_ = IsOnUpButton(x, y);
    downPressed_ = IsOnDownButton(x, y);
    pageUpPressed_ = IsOnPageUp(x, y);
    pageDownPressed_ = IsOnPageDown(x, y);
    const bool now[4] = {UpButtonPressed(), DownButtonPressed(), PageUpPressed(), PageDownPressed()};
    bool started = false;
    for (int i = 0; i < 4; ++i) started = started || (!was[i] && now[i]);
    if (!started) return;
    Invalidate();
    try {
        StartRepeat(true);
    } catch (...) {
        // The first step failed in a handler; the press still repeats after the keyboard delay.
        repeatTimer_->SetInterval(static_cast<uint32_t>(KeyRepeatDelay()));
        repeatTimer_->SetEnabled(true);
    }
}

void TSeCustomScrollBar::MouseMove(TShiftState shift, int x, int y) {
    TSeGraphicControl::MouseMove(shift, x, y);
    mouseX_ = x;
    mouseY_ = y;
    if (IsDragging()) {
        TRect track;
        GetTrackRect(track);
        int p = Vertical() ? y - dragOffset_ : x - dragOffset_;
        p = Vertical() ? std::clamp(p, track.Top, track.Bottom) : std::clamp(p, track.Left, track.Right);
        int offered = PixelToPosition(p);
        Scroll(kscTrack, offered);
        SetPosition(PixelToPosition(p));
    }
    const bool thumb = IsOnThumb(x, y), up = IsOnUpButton(x, y) && showButtons_,
               down = IsOnDownButton(x, y) && showButtons_, pageUp = IsOnPageUp(x, y), pageDown = IsOnPageDown(x, y);
    const bool changed = thumb != thumbHot_ || up != upHot_ || down != downHot_ || pageUp != pageUpHot_ ||
                         pageDown != pageDownHot_;
    thumbHot_ = thumb;
    upHot_ = up;
    downHot_ = down;
    pageUpHot_ = pageUp;
    pageDownHot_ = pageDown;
    if (changed) Invalidate();
}

void TSeCustomScrollBar::MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) {
    TSeGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft) return;
    if (dragOffset_ != -1) ScrollAction(kscPosition, position_);
    dragOffset_ = -1;
    upPressed_ = downPressed_ = pageUpPressed_ = pageDownPressed_ = false;
    if (repeatTimer_) repeatTimer_->SetEnabled(false);
    ScrollAction(kscEndScroll, position_);
    Invalidate();
}

void TSeCustomScrollBar::MouseLeave() {
    TSeGraphicControl::MouseLeave();
    if (!(thumbHot_ || upHot_ || downHot_ || pageUpHot_ || pageDownHot_)) return;
    thumbHot_ = upHot_ = downHot_ = pageUpHot_ = pageDownHot_ = false;
    Invalidate();
}

void TSeCustomScrollBar::CMEnabledChanged(TMessage& message) {
    TSeGraphicControl::CMEnabledChanged(message);
    Invalidate();
}

// --- Painting ---------------------------------------------------------------------------------

void TSeCustomScrollBar::PaintFace() {
    TSeGraphicControl::PaintFace();
    PaintFrame();
    PaintTrack();
    if (showButtons_) {
        PaintUpButton();
        PaintDownButton();
    }
    if (ThumbVisible()) {
        PaintThumb();
        if (PageUpPressed()) PaintPageUp();
        if (PageDownPressed()) PaintPageDown();
    }
}

void TSeCustomScrollBar::PaintFrame() {
    if (borderWidth_ <= 0) return;
    Draw3DFrame(*Canvas(), TRect{0, 0, Width(), Height()}, clBtnShadow, clBtnHighlight);
}

void TSeCustomScrollBar::PaintTrack() {
    TRect r;
    GetTrackRect(r);
    FillDitherPattern(*Canvas(), r, clScrollBar, clBtnHighlight);
}

void TSeCustomScrollBar::PaintUpButton() {
    TRect r;
    GetUpButtonRect(r);
    unsigned state = Vertical() ? DFCS_SCROLLUP : DFCS_SCROLLLEFT;
    if (UpButtonPressed()) state |= DFCS_PUSHED | DFCS_FLAT;
    if (!Enabled() && !HasState(csDesigning)) state |= DFCS_INACTIVE;
    DrawFrameControl(Canvas()->Handle(), &r, DFC_SCROLL, state);
}

void TSeCustomScrollBar::PaintDownButton() {
    TRect r;
    GetDownButtonRect(r);
    unsigned state = Vertical() ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT;
    if (DownButtonPressed()) state |= DFCS_PUSHED | DFCS_FLAT;
    if (!Enabled() && !HasState(csDesigning)) state |= DFCS_INACTIVE;
    DrawFrameControl(Canvas()->Handle(), &r, DFC_SCROLL, state);
}

void TSeCustomScrollBar::PaintThumb() {
    TRect r;
    GetThumbRect(r);
    TCanvas& canvas = *Canvas();
    FillRectColor(canvas, r, clBtnFace);
    if (IsDragging()) {
        FrameRectColor(canvas, r, clBtnShadow);
        return;
    }
    Draw3DFrame(canvas, r.Inflate(-1, -1), clBtnHighlight, clBtnShadow);
    Draw3DFrame(canvas, r, cl3DLight, cl3DDkShadow);
}

void TSeCustomScrollBar::PaintPageUp() {
    TRect r;
    GetPageUpRect(r);
    FillRectColor(*Canvas(), r, cl3DDkShadow);
}

void TSeCustomScrollBar::PaintPageDown() {
    TRect r;
    GetPageDownRect(r);
    FillRectColor(*Canvas(), r, cl3DDkShadow);
}

}  // namespace se
