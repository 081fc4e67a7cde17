#include "controls/foundation/CustomControl.h"

#include "controls/surface/Primitives.h"
#include "platform/window/SystemMetrics.h"

namespace se {

using namespace vcl;

TSeCustomControl::TSeCustomControl(TComponent* AOwner) : TSePaintSettings(AOwner) {
    SetBounds(0, 0, 100, 30);
    SetDoubleBuffered(false);
    controlStyle_ |= csOpaque;
    SetColor(clBtnFace);
    ListenToBlending();
}

TSeCustomControl::~TSeCustomControl() = default;

const TStoredProperties& TSeCustomControl::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeCustomControl>(&TSePaintSettings::StoredProperties(), {
        {"BevelSides", [](auto& c, auto& v) {
             TSeBevelSides sides = 0;
             for (const TIdent& side : v.Idents()) sides |= BevelSide(v.EnumOf(side.name, kBevelSideNames));
             c.SetBevelSides(sides);
         }},
        {"BevelInner", [](auto& c, auto& v) { c.SetBevelInner(v.Enum(kBevelCutNames)); }},
        {"BevelOuter", [](auto& c, auto& v) { c.SetBevelOuter(v.Enum(kBevelCutNames)); }},
        {"BevelKind", [](auto& c, auto& v) { c.SetBevelKind(v.Enum(kBevelKindNames)); }},
        {"BevelWidth", [](auto& c, auto& v) { c.SetBevelWidth(v.Int()); }},
        {"BorderWidth", [](auto& c, auto& v) { c.SetBorderWidth(v.Int()); }},
    });
    return table;
}

void TSeCustomControl::SetBorderWidth(int value) {
    if (value == borderWidth_) return;
    borderWidth_ = value;
    BorderPropertyChanged();
}

void TSeCustomControl::SetBevelInner(TSeBevelCut value) {
    if (value == bevelInner_) return;
    SetBevelKind(kbkNone);
    bevelInner_ = value;
    BorderPropertyChanged();
}

void TSeCustomControl::SetBevelOuter(TSeBevelCut value) {
    if (value == bevelOuter_) return;
    SetBevelKind(kbkNone);
    bevelOuter_ = value;
    BorderPropertyChanged();
}

void TSeCustomControl::SetBevelSides(TSeBevelSides value) {
    if (value == bevelSides_) return;
    bevelSides_ = value;
    BorderPropertyChanged();
}

void TSeCustomControl::SetBevelKind(TSeBevelKind value) {
    if (value == bevelKind_) return;
    if (value != kbkNone) bevelInner_ = bevelOuter_ = BevelKindCut(value);
    bevelKind_ = value;
    BorderPropertyChanged();
}

void TSeCustomControl::SetBevelWidth(int value) {
    if (value == bevelWidth_) return;
    bevelWidth_ = value;
    BorderPropertyChanged();
}

void TSeCustomControl::BorderPropertyChanged() {
    BorderChanged();
    Invalidate();
}

void TSeCustomControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    const bool resized = AWidth != cachedWidth_ || AHeight != cachedHeight_;
    TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
    cachedWidth_ = AWidth;
    cachedHeight_ = AHeight;
    // Without a window the toolkit lays the children out before the cache has the new size.
    if (resized) Realign();
    LayoutScrollBars();
}

TRect TSeCustomControl::GetClientRect() const {
    TRect r = GetInnerRect();
    if (vertScrollBar_) r.Right -= vertScrollBar_->BarControl().Width();
    if (horzScrollBar_) r.Bottom -= horzScrollBar_->BarControl().Height();
    return r;
}

int TSeCustomControl::GetScrollBarSize() { return GetSystemMetrics(SM_CYVTHUMB); }

void TSeCustomControl::SetScrollBars(TSeScrollStyle value) {
    if (value == scrollBars_) return;
    scrollBars_ = value;
    // Without a window the bars wait for CreateWnd.
    if (HandleAllocated()) UpdateScrollBars();
    Invalidate();
}

void TSeCustomControl::UpdateScrollBars() {
    const bool horz = scrollBars_ == kssHorizontal || scrollBars_ == kssBoth;
    const bool vert = scrollBars_ == kssVertical || scrollBars_ == kssBoth;
    if (!horz) DestroyScrollBar(horzScrollBar_);
    if (!vert) DestroyScrollBar(vertScrollBar_);
    const auto make = [this](bool vertical) {
        ISeHostedScrollBar* bar = CreateScrollBar();
        if (!bar) return bar;
        bar->HostIn(vertical, [this, vertical](int code, int pos) {
            Perform(vertical ? WM_VSCROLL : WM_HSCROLL, static_cast<WPARAM>(code), pos);
        });
        bar->BarControl().SetParent(this);
        return bar;
    };
    if (horz && !horzScrollBar_) horzScrollBar_ = make(false);
    if (vert && !vertScrollBar_) vertScrollBar_ = make(true);
    LayoutScrollBars();
}

void TSeCustomControl::DestroyScrollBar(ISeHostedScrollBar*& bar) {
    if (!bar) return;
    delete &bar->BarControl();
    bar = nullptr;
}

void TSeCustomControl::LayoutScrollBars() {
    if (!horzScrollBar_ && !vertScrollBar_) return;
    const TRect inner = GetInnerRect();
    const int size = GetScrollBarSize();
    const int right = vertScrollBar_ ? inner.Right - size : inner.Right;
    const int bottom = horzScrollBar_ ? inner.Bottom - size : inner.Bottom;
    if (horzScrollBar_) horzScrollBar_->BarControl().SetBounds(inner.Left, bottom, right - inner.Left, size);
    if (vertScrollBar_) vertScrollBar_->BarControl().SetBounds(right, inner.Top, size, bottom - inner.Top);
}

void TSeCustomControl::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    // Hosted bars are controls of the set, never the platform's.
    params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TSeCustomControl::CreateWnd() {
    TCustomControl::CreateWnd();
    if (Parent()) UpdateScrollBars();
}

void TSeCustomControl::Loaded() {
    TCustomControl::Loaded();
    LayoutScrollBars();
}

TRect TSeCustomControl::GetInnerRect() const {
    TRect r{0, 0, cachedWidth_, cachedHeight_};
    r = r.Inflate(-borderWidth_, -borderWidth_);
    const int bevel = bevelWidth_ * ((bevelInner_ != kbvNone ? 1 : 0) + (bevelOuter_ != kbvNone ? 1 : 0));
    if (bevelSides_ & BevelSide(kbsLeft)) r.Left += bevel;
    if (bevelSides_ & BevelSide(kbsTop)) r.Top += bevel;
    if (bevelSides_ & BevelSide(kbsRight)) r.Right -= bevel;
    if (bevelSides_ & BevelSide(kbsBottom)) r.Bottom -= bevel;
    return r;
}

bool TSeCustomControl::StoreWideCaption(std::u16string_view value) {
    if (value == caption_) return false;
    caption_ = value;
    return true;
}

void TSeCustomControl::CopyParentBackground(HDC dc) {
    const bool buffered = Performance() != kspNoBuffer;
    se::CopyParentBackground(*this, dc, buffered, cachedWidth_, cachedHeight_, Blending().Enabled() && buffered);
}

void TSeCustomControl::Paint() {
    if (Width() <= 0 || Height() <= 0) return;
    TCanvas& canvas = *Canvas();
    TSePaintBuffer buffer(canvas, Performance(), cachedWidth_, cachedHeight_, true);
    PaintFont().Assign(Font());
    if (Transparent()) CopyParentBackground(canvas.Handle());
    PaintRingAndFace(canvas);
    if (Blending().Enabled() && buffer.Buffered()) {
        buffer.Blend(BlendBuffer(), Blending().Value(), [this](HDC dc) { CopyParentBackground(dc); });
    }
    buffer.Output();
}

void TSeCustomControl::PaintRingAndFace(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    const TRect client = GetClientRect();
    TRect inner = GetInnerRect();
    // With both bars the corner between them belongs to the ring.
    if (scrollBars_ == kssBoth) {
        inner.Right = client.Right;
        inner.Bottom = client.Bottom;
    }
    {
        // The ring never touches the content area.
        vcl::TSavedDC saved(dc);
        ExcludeClipRect(dc, inner.Left, inner.Top, inner.Right, inner.Bottom);
        PaintBorder();
    }
    // The restore may have put other objects back than the canvas thinks it has selected.
    canvas.Refresh();
    PaintFaceInClient(canvas, client);
}

void TSeCustomControl::PaintFaceInClient(TCanvas& canvas, const TRect& client) {
    if (scrollBars_ != kssBoth) {
        PaintFace();
        return;
    }
    {
        // Saved and restored: the hosted bars paint on this device context after the face.
        vcl::TSavedDC saved(canvas.Handle());
        IntersectClipRect(canvas.Handle(), client.Left, client.Top, client.Right, client.Bottom);
        PaintFace();
    }
    canvas.Refresh();
}

void TSeCustomControl::PaintFace() {
    if (!Transparent()) FillRectColor(*Canvas(), GetInnerRect(), Color());
}

void TSeCustomControl::PaintBorder() {
    TCanvas& canvas = *Canvas();
    TRect r{0, 0, cachedWidth_, cachedHeight_};
    if (scrollBars_ == kssBoth) FillRectColor(canvas, {Width() - 20, Height() - 20, Width(), Height()}, Color());
    if (GetInnerRect() == r) return;
    if (bevelWidth_ > 0) {
        if (bevelOuter_ != kbvNone) {
            const TSeBevelColors colors = BevelColors(bevelOuter_);
            DrawBevelLines(canvas, r, bevelSides_, bevelWidth_, colors.outerTopLeft, colors.outerBottomRight);
        }
        if (bevelInner_ != kbvNone) {
            const TSeBevelColors colors = BevelColors(bevelInner_);
            DrawBevelLines(canvas, r, bevelSides_, bevelWidth_, colors.innerTopLeft, colors.innerBottomRight);
        }
    }
    // Border lines lie inside the bevels, on all four sides whatever BevelSides says.
    for (int i = 0; i < borderWidth_; ++i) {
        FrameRectColor(canvas, r, Color());
        r = r.Inflate(-1, -1);
    }
}

void TSeCustomControl::WndProc(TMessage& m) {
    if (m.Msg == WM_THEMECHANGED) Invalidate();
    TCustomControl::WndProc(m);
}

void TSeCustomControl::WMEraseBkgnd(TMessage& m) {
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    // Only a child's request paints; the window system's own erases are answered without painting.
    if (dc && m.LParam != 0) {
        TCanvas& canvas = *Canvas();
        TSeCanvasLock lock(canvas);
        TSeCanvasRedirect redirect(canvas, dc);
        if (Transparent()) CopyParentBackground(dc);
        PaintBorder();
        PaintFaceInClient(canvas, GetClientRect());
    }
    m.Result = 1;
}

void TSeCustomControl::WMWindowPosChanging(TMessage& m) {
    if (const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam); pos && !(pos->flags & SWP_NOSIZE)) {
        cachedWidth_ = pos->cx;
        cachedHeight_ = pos->cy;
        LayoutScrollBars();
    }
    TCustomControl::WMWindowPosChanging(m);
}

void TSeCustomControl::CMEnter(TMessage& m) {
    FocusEnter();
    TCustomControl::CMEnter(m);
}

void TSeCustomControl::CMExit(TMessage& m) {
    FocusLeave();
    TCustomControl::CMExit(m);
}

void TSeCustomControl::CMTextChanged(TMessage& m) {
    TCustomControl::CMTextChanged(m);
    StoreWideCaption(vcl::WideCaption(Text()));
    Invalidate();
}

void TSeCustomControl::FocusEnter() {
    hasFocus_ = true;
    Invalidate();
}

void TSeCustomControl::FocusLeave() {
    hasFocus_ = false;
    Invalidate();
}

}  // namespace se
