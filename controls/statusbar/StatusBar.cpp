#include "controls/statusbar/StatusBar.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "controls/surface/Primitives.h"
#include "platform/draw/FrameControl.h"
#include "platform/draw/GdiState.h"
#include "platform/draw/Text.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Form.h"
#include "platform/window/SystemMetrics.h"
#include "platform/window/WindowSystem.h"

namespace se {

using namespace vcl;

namespace {

}  // namespace

// ---- panel ---------------------------------------------------------------------------------------

TSeStatusPanel::TSeStatusPanel(TCollection* collection) : TCollectionItem(collection) {}

TSeStatusPanel::~TSeStatusPanel() {
    TControl* control = std::exchange(control_, nullptr);
    // Leaving the collection (in the base's destructor) lays the others out again.
    if (TSeCustomStatusBar* bar = StatusBar()) bar->PanelGone(*this);
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed && windowed->HandleAllocated() && !windowed->HasState(csDestroying)) {
        windowed->BringToFront();
        windowed->Perform(CM_SHOWINGCHANGED);
    }
}

TSeCustomStatusBar* TSeStatusPanel::StatusBar() const {
    auto* panels = dynamic_cast<TSeStatusPanels*>(Collection());
    return panels ? panels->StatusBar() : nullptr;
}

void TSeStatusPanel::PanelChanged() {
    if (TSeCustomStatusBar* bar = StatusBar()) bar->PanelChanged(*this);
}

void TSeStatusPanel::LayoutChanged() {
    if (TSeCustomStatusBar* bar = StatusBar()) bar->LayoutChanged();
}

void TSeStatusPanel::SetText(const std::u16string& value) {
    if (value == text_) return;
    text_ = value;
    PanelChanged();
}

void TSeStatusPanel::SetWidth(int value) {
    value = std::clamp(value, 0, std::max(0, span_.MaxWidth));
    if (value == span_.Width) return;
    span_.Width = value;
    LayoutChanged();
}

void TSeStatusPanel::SetMaxWidth(int value) {
    if (value == span_.MaxWidth) return;
    span_.MaxWidth = value;
    if (value < span_.Width) SetWidth(value);
    LayoutChanged();
}

void TSeStatusPanel::SetAlignment(TSePanelAlignment value) {
    if (value == alignment_) return;
    alignment_ = value;
    PanelChanged();
}

void TSeStatusPanel::SetStyle(TSeStatusPanelstyle value) {
    if (value == style_) return;
    style_ = value;
    PanelChanged();
}

void TSeStatusPanel::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    imageIndex_ = value;
    PanelChanged();
}

void TSeStatusPanel::SetShowImage(bool value) {
    if (value == showImage_) return;
    showImage_ = value;
    PanelChanged();
}

void TSeStatusPanel::SetLayout(TSeStatusGliphLayout value) {
    if (value == layout_) return;
    layout_ = value;
    PanelChanged();
}

void TSeStatusPanel::SetMargin(int value) {
    if (value == margin_) return;
    margin_ = value;
    PanelChanged();
}

void TSeStatusPanel::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    PanelChanged();
}

void TSeStatusPanel::SetFramed(bool value) {
    if (value == framed_) return;
    framed_ = value;
    PanelChanged();
    PlaceControl();
}

void TSeStatusPanel::SetViewPriority(uint8_t value) {
    value = std::min<uint8_t>(value, 100);
    if (value == span_.ViewPriority) return;
    span_.ViewPriority = value;
    LayoutChanged();
}

void TSeStatusPanel::SetStretchPriority(uint8_t value) {
    value = std::min<uint8_t>(value, 100);
    if (value == span_.StretchPriority) return;
    span_.StretchPriority = value;
    LayoutChanged();
}

void TSeStatusPanel::SetControl(TControl* value) {
    if (value == control_) return;
    TSeCustomStatusBar* bar = StatusBar();
    if (value && bar) {
        for (const TControl* c = bar; c; c = c->Parent()) {
            if (c == value) throw EInvalidOperation("Can't insert own parent");
        }
        if (TSeStatusPanel* other = bar->PanelHosting(value)) other->SetControl(nullptr);
    }
    TControl* previous = std::exchange(control_, value);
    if (value && bar) value->FreeNotification(bar);
    LayoutChanged();
    if (previous) previous->Perform(CM_SHOWINGCHANGED);
}

void TSeStatusPanel::PlaceControl() {
    TSeCustomStatusBar* bar = StatusBar();
    if (!control_ || !bar) return;
    const TRect r = bar->GetPanelContentRect(*this);
    control_->SetBounds(r.Left, r.Top, r.Width(), r.Height());
    control_->SetVisible(span_.Shown);
}

std::string TSeStatusPanel::DisplayName() const {
    if (!text_.empty()) return rtl::Utf16ToUtf8(text_);
    if (control_) return "[ " + control_->Name() + " ]";
    return TCollectionItem::DisplayName();
}

void TSeStatusPanel::Assign(const TPersistent& source) {
    const auto* other = dynamic_cast<const TSeStatusPanel*>(&source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    SetAlignment(other->alignment_);
    SetImageIndex(other->imageIndex_);
    SetLayout(other->layout_);
    SetMargin(other->margin_);
    SetMaxWidth(other->span_.MaxWidth);
    SetSpacing(other->spacing_);
    SetStyle(other->style_);
    SetShowImage(other->showImage_);
    SetText(other->text_);
    SetWidth(other->span_.Width);
    SetFramed(other->framed_);
    SetViewPriority(other->span_.ViewPriority);
    SetStretchPriority(other->span_.StretchPriority);
    // The control of the same name among the components of this bar's owner.
    TControl* control = nullptr;
    TSeCustomStatusBar* bar = StatusBar();
    if (other->control_ && bar && bar->Owner()) {
        control = dynamic_cast<TControl*>(bar->Owner()->FindComponent(other->control_->Name()));
    }
    SetControl(control);
}

// ---- panel collection ----------------------------------------------------------------------------

TSeStatusPanels::TSeStatusPanels(TSeCustomStatusBar* statusBar)
    : TCollection([statusBar](TCollection* c) -> TCollectionItem* { return statusBar->NewPanel(c); }),
      statusBar_(statusBar) {}

void TSeStatusPanels::Update(TCollectionItem*) { statusBar_->LayoutChanged(); }

// ---- status bar ----------------------------------------------------------------------------------

TSeCustomStatusBar::TSeCustomStatusBar(TComponent* AOwner)
    : TSeCustomControl(AOwner), panels_(std::make_unique<TSeStatusPanels>(this)) {
    SetControlStyle(csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks);
    SetBevelSides(kAllBevelSides);
    SetBevelInner(kbvSpace);
    SetBevelOuter(kbvRaised);
    SetBevelWidth(0);
    SetBorderWidth(2);
    SetThemedBorder(false);
    SetHeight(22);
}

TSeCustomStatusBar::~TSeCustomStatusBar() {
    Destroying();
    pressedPanel_ = nullptr;
    panels_.reset();
}

const TStoredProperties& TSeCustomStatusBar::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeCustomStatusBar>(&TSeCustomControl::StoredProperties(), {
        {"Panels", [](auto& s, auto& v) {
             s.Panels().Clear();
             for (const auto& item : v.Collection()) {
                 TSeStatusPanel* panel = s.Panels().Add();
                 for (const auto& [name, value] : item) {
                     if (name == "Width") panel->SetWidth(value);
                     else if (name == "ImageIndex") panel->SetImageIndex(value);
                     else v.Fail("unknown panel property " + std::string(name));
                 }
             }
         }},
    });
    return table;
}

void TSeCustomStatusBar::SetPanels(const TSeStatusPanels& value) { panels_->Assign(value); }

void TSeCustomStatusBar::SetImages(TCustomImageList* value) {
    if (value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    // Cleared again when the list goes away.
    if (images_) images_->FreeNotification(this);
    // At once on the window; without one, asking the canvas for a DC would create it.
    if (HandleAllocated()) {
        PaintPanels();
    } else {
        Invalidate();
    }
}

void TSeCustomStatusBar::SetSizeGrip(bool value) {
    if (value == sizeGrip_) return;
    sizeGrip_ = value;
    Invalidate();
}

void TSeCustomStatusBar::LayoutPanels() {
    std::vector<TSePanelSpan*> spans;
    for (int i = 0; i < panels_->Count(); ++i) spans.push_back(&panels_->Items(i)->Span());
    LayoutPanelSpans(spans, GetInnerRect());
    for (int i = 0; i < panels_->Count(); ++i) panels_->Items(i)->PlaceControl();
}

TSeStatusPanel* TSeCustomStatusBar::PanelAt(TPoint point) {
    std::vector<const TSePanelSpan*> spans;
    for (int i = 0; i < panels_->Count(); ++i) spans.push_back(&panels_->Items(i)->Span());
    const int index = PanelIndexAt(spans, GetInnerRect(), point);
    return index < 0 ? nullptr : panels_->Items(index);
}

TSeStatusPanel* TSeCustomStatusBar::PanelHosting(const TComponent* control) const {
    for (int i = 0; i < panels_->Count(); ++i) {
        if (panels_->Items(i)->Control() == control) return panels_->Items(i);
    }
    return nullptr;
}

void TSeCustomStatusBar::LayoutChanged() {
    if (HasState(csDestroying)) return;
    LayoutPanels();
    Invalidate();
}

void TSeCustomStatusBar::PanelChanged(TSeStatusPanel& panel) {
    // Without a window there is nothing to paint on yet; asking for one would create it.
    if (!HandleAllocated()) {
        Invalidate();
        return;
    }
    const int index = panel.Index();
    PaintPanelAt(index);
    if (SizeGripVisible() && !IntersectRect(GetPanelRect(index), GetSizeGripRect()).IsEmpty()) PaintSizeGrip();
}

void TSeCustomStatusBar::PanelGone(TSeStatusPanel& panel) {
    if (pressedPanel_ == &panel) pressedPanel_ = nullptr;
}

TRect TSeCustomStatusBar::GetPanelRect(int index) const {
    const TRect inner = GetInnerRect();
    const TSeStatusPanel* panel = panels_->Items(index);
    return {panel->SpanLeft(), inner.Top, panel->SpanRight(), inner.Bottom};
}

TRect TSeCustomStatusBar::GetPanelContentRect(const TSeStatusPanel& panel) const {
    TRect r = GetPanelRect(panel.Index());
    if (panel.Framed()) {
        r = r.Inflate(-1, -1);
        r.Right -= 2;
    }
    return r;
}

TRect TSeCustomStatusBar::PanelsRect() const {
    if (panels_->Count() == 0) return {};
    const TRect inner = GetInnerRect();
    const TRect span{panels_->Items(0)->SpanLeft(), inner.Top, panels_->Items(panels_->Count() - 1)->SpanRight(),
                     inner.Bottom};
    return IntersectRect(span, inner);
}

bool TSeCustomStatusBar::PanelHasImage(const TSeStatusPanel& panel) const {
    return panel.ShowImage() && images_ && panel.ImageIndex() >= 0 && panel.ImageIndex() < images_->Count();
}

TSize TSeCustomStatusBar::GetPanelImageSize(const TSeStatusPanel& panel) const {
    if (!images_ || panel.ImageIndex() < 0 || panel.ImageIndex() >= images_->Count()) return {};
    return {images_->Width(), images_->Height()};
}

TSize TSeCustomStatusBar::GetPanelTextSize(const TSeStatusPanel& panel) {
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    int room = panel.EffectiveWidth() - 2 * panel.Margin();
    if (PanelHasImage(panel)) room -= GetPanelImageSize(panel).cx + panel.Spacing();
    const int width = std::min(WideTextWidth(canvas, panel.Text()), room);
    const int height = panel.Text().empty() ? 0 : WideTextHeight(canvas, u"Pq");
    return {width, height};
}

namespace {

TSePanelContent Content(TSeCustomStatusBar& bar, const TSeStatusPanel& panel) {
    const TRect r = bar.GetPanelContentRect(panel);
    TSePanelContent content;
    content.ContentWidth = r.Width();
    content.ContentHeight = r.Height();
    content.Image = bar.GetPanelImageSize(panel);
    content.Text = bar.GetPanelTextSize(panel);
    content.HasImage = bar.PanelHasImage(panel);
    content.Layout = panel.Layout();
    content.Alignment = panel.Alignment();
    content.Margin = panel.Margin();
    content.Spacing = panel.Spacing();
    return content;
}

}  // namespace

TRect TSeCustomStatusBar::GetPanelImageRect(const TSeStatusPanel& panel) { return PanelImageRect(Content(*this, panel)); }

TRect TSeCustomStatusBar::GetPanelTextRect(const TSeStatusPanel& panel) { return PanelTextRect(Content(*this, panel)); }

TRect TSeCustomStatusBar::GetSizeGripRect() const {
    TRect r = GetInnerRect();
    if (panels_->Count() > 0 && panels_->Items(panels_->Count() - 1)->Framed()) r = r.Inflate(-1, -1);
    r.Left = r.Right - GetSystemMetrics(SM_CXVSCROLL);
    r.Top = r.Bottom - GetSystemMetrics(SM_CYVSCROLL);
    return r;
}

bool TSeCustomStatusBar::SizeGripVisible() const {
    if (!sizeGrip_) return false;
    TCustomForm* form = GetParentForm(this);
    if (!form || form->WindowState() != wsNormal) return false;
    const TPoint corner = ClientToScreen({Width(), Height()});
    const TRect client = form->ClientRect();
    return corner == form->ClientToScreen({client.Right, client.Bottom});
}

void TSeCustomStatusBar::PaintFace() {
    PaintBackground();
    PaintPanels();
    if (SizeGripVisible()) PaintSizeGrip();
}

void TSeCustomStatusBar::PaintBorder() {
    // Never themed: the classic ring is the only border.
    TSeCustomControl::PaintBorder();
}

void TSeCustomStatusBar::PaintBackground() {
    TCanvas& canvas = *Canvas();
    vcl::TSavedDC saved(canvas.Handle());
    if (panels_->Count() > 0) {
        const TRect panels = PanelsRect();
        ExcludeClipRect(canvas.Handle(), panels.Left, panels.Top, panels.Right, panels.Bottom);
    }
    TSeCustomControl::PaintFace();
}

void TSeCustomStatusBar::PaintPanels() {
    for (int i = 0; i < panels_->Count(); ++i) PaintPanelAt(i);
}

void TSeCustomStatusBar::PaintPanelAt(int index) {
    if (index < 0 || index >= panels_->Count()) return;
    const TRect r = GetPanelRect(index);
    if (r.IsEmpty()) return;
    TCanvas& canvas = *Canvas();
    vcl::TSavedDC saved(canvas.Handle());
    IntersectClipRect(canvas.Handle(), r.Left, r.Top, r.Right, r.Bottom);
    PaintPanel(*panels_->Items(index), r, index == panels_->Count() - 1);
}

void TSeCustomStatusBar::PaintPanel(TSeStatusPanel& panel, const TRect& rect, bool) {
    TCanvas& canvas = *Canvas();
    vcl::TSavedDC saved(canvas.Handle());
    if (TControl* control = panel.Control()) {
        const TRect hosted = control->BoundsRect();
        ExcludeClipRect(canvas.Handle(), hosted.Left, hosted.Top, hosted.Right, hosted.Bottom);
    }
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(rect);
    if (panel.Framed()) Draw3DFrame(canvas, rect, clBtnShadow, clBtnHighlight);
    if (panel.Style() == psOwnerDraw) {
        DoDrawPanel(&panel, rect);
        return;
    }
    PaintPanelText(panel, rect);
    if (panel.ShowImage()) PaintPanelImage(panel, rect);
}

void TSeCustomStatusBar::PaintPanelText(const TSeStatusPanel& panel, const TRect& rect) {
    TCanvas& canvas = *Canvas();
    TRect text = IntersectRect(GetPanelTextRect(panel).Offset(rect.Left, rect.Top), rect);
    canvas.SetFont(Font());
    canvas.Brush().SetStyle(bsClear);
    const std::u16string shown = FitTextWithEllipsis(canvas.Handle(), panel.Text(), text.Width() - 4);
    unsigned flags = DT_LEFT;
    if (panel.Alignment() == kpaRightJustify) flags = DT_RIGHT;
    if (panel.Alignment() == kpaCenter) flags = DT_CENTER;
    DrawWideText(canvas, shown, text, flags);
}

void TSeCustomStatusBar::PaintPanelImage(const TSeStatusPanel& panel, const TRect& rect) {
    if (!PanelHasImage(panel)) return;
    const TRect r = GetPanelImageRect(panel).Offset(rect.Left, rect.Top);
    images_->Draw(*Canvas(), r.Left, r.Top, panel.ImageIndex(), true);
}

void TSeCustomStatusBar::PaintSizeGrip() {
    TCanvas& canvas = *Canvas();
    canvas.Brush().SetStyle(bsClear);
    TRect grip = GetSizeGripRect();
    DrawFrameControl(canvas.Handle(), &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

TSeStatusPanel* TSeCustomStatusBar::CreatePanel() { return panels_->Add(); }

TSeStatusPanel* TSeCustomStatusBar::NewPanel(TCollection* collection) {
    TSeStatusPanelClass panelClass = [](TCollection* c) { return new TSeStatusPanel(c); };
    if (OnCreatePanelClass) OnCreatePanelClass(this, panelClass);
    return panelClass(collection);
}

void TSeCustomStatusBar::DoPanelClick(TSeStatusPanel* panel) {
    if (OnPanelClick) OnPanelClick(this, panel);
}

void TSeCustomStatusBar::DoPanelDblClick(TSeStatusPanel* panel) {
    if (OnPanelDblClick) OnPanelDblClick(this, panel);
}

void TSeCustomStatusBar::DoDrawPanel(TSeStatusPanel* panel, const TRect& rect) {
    if (OnDrawPanel) OnDrawPanel(this, panel, rect);
}

void TSeCustomStatusBar::Loaded() {
    TSeCustomControl::Loaded();
    LayoutPanels();
    BringToFront();
}

void TSeCustomStatusBar::Notification(TComponent* component, TOperation operation) {
    TSeCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == images_) images_ = nullptr;
    // The component may be half destroyed: compare addresses only.
    if (TSeStatusPanel* panel = panels_ ? PanelHosting(component) : nullptr) panel->control_ = nullptr;
}

void TSeCustomStatusBar::Resize() {
    TSeCustomControl::Resize();
    LayoutPanels();
    Invalidate();
}

void TSeCustomStatusBar::DblClick() {
    TSeCustomControl::DblClick();
    if (!HandleAllocated()) return;
    if (TSeStatusPanel* panel = PanelAt(ScreenToClient(WindowSystem().CursorPos()))) DoPanelDblClick(panel);
}

void TSeCustomStatusBar::AlignControls(TRect& rect) {
    if (!HasState(csDestroying)) LayoutPanels();
    TSeCustomControl::AlignControls(rect);
}

void TSeCustomStatusBar::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) {
    TSeCustomControl::MouseDown(button, shift, x, y);
    // The grip does not react to presses: no form-decoration component takes them here.
    if (button == mbLeft && Enabled()) pressedPanel_ = PanelAt({x, y});
}

void TSeCustomStatusBar::MouseMove(TShiftState shift, int x, int y) {
    TSeCustomControl::MouseMove(shift, x, y);
    if (SizeGripVisible()) SetCursor(GetSizeGripRect().Contains({x, y}) ? crSizeNWSE : crDefault);
}

void TSeCustomStatusBar::MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) {
    TSeCustomControl::MouseUp(button, shift, x, y);
    if (pressedPanel_ && PanelAt({x, y}) == pressedPanel_) DoPanelClick(pressedPanel_);
}

void TSeCustomStatusBar::CMFontChanged(TMessage& m) {
    TSeCustomControl::CMFontChanged(m);
    Invalidate();
}

void TSeCustomStatusBar::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CM_SYSCOLORCHANGE:
            Invalidate();
            return;
        case CM_CONTROLCHANGE: {
            auto* control = reinterpret_cast<TControl*>(m.WParam);
            const bool inserting = m.LParam != 0;
            if (inserting && !HasState(csLoading)) {
                if (!PanelHosting(control)) CreatePanel()->SetControl(control);
            } else if (!inserting) {
                delete PanelHosting(control);
            }
            break;
        }
        default:
            break;
    }
    TSeCustomControl::WndProc(m);
}

}  // namespace se
