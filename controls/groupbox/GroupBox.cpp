#include "controls/groupbox/GroupBox.h"

#include <algorithm>
#include <utility>

#include "controls/surface/Primitives.h"
#include "platform/draw/Text.h"
#include "platform/toolkit/Caption.h"
#include "platform/window/Window.h"

namespace se {

using namespace vcl;

// ---- group box -----------------------------------------------------------------------------------

TSeCustomGroupBox::TSeCustomGroupBox(TComponent* AOwner) : TSeCustomControl(AOwner) {
    SetControlStyle(ControlStyle() | csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque |
                    csDoubleClicks | csReplicatable);
    SetColor(clBtnFace);
    SetBounds(0, 0, 100, 90);
}

const TStoredProperties& TSeCustomGroupBox::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeCustomGroupBox>(&TSeCustomControl::StoredProperties(), {
        {"Caption", [](auto& g, auto& v) { g.SetCaption(v.WideText()); }},
        {"CaptionMargin", [](auto& g, auto& v) { g.SetCaptionMargin(v.Int()); }},
        {"UseCheckBox", [](auto& g, auto& v) { g.SetUseCheckBox(v.Bool()); }},
        {"CheckBoxAlignment", [](auto& g, auto& v) { g.SetCheckBoxAlignment(v.Enum(kSeAlignmentNames)); }},
    });
    return table;
}

void TSeCustomGroupBox::SetCaption(const std::u16string& value) {
    if (value == caption_) return;
    caption_ = value;
    if (CheckBoxActive()) {
        checkBox_->SetCaption(value);
        PlaceCheckBox();
    }
    Invalidate();
}

void TSeCustomGroupBox::SetCaptionMargin(int value) {
    if (value == captionMargin_) return;
    captionMargin_ = value;
    if (useCheckBox_) PlaceCheckBox();
    Invalidate();
}

void TSeCustomGroupBox::SetChecked(bool value) {
    if (value == checked_) return;
    ApplyChecked(value);
}

void TSeCustomGroupBox::SetUseCheckBox(bool value) {
    useCheckBox_ = value;
    if (!value) {
        // Deleting it takes it off the owner's and the parent's lists.
        delete std::exchange(checkBox_, nullptr);
        Invalidate();
        return;
    }
    if (!checkBox_) checkBox_ = CreateCheckBox();
    checkBox_->SetParent(this);
    checkBox_->OnClick = [this](TObject* sender) { CheckBoxClick(sender); };
    checkBox_->SetAlignment(checkBoxAlignment_);
    checkBox_->SetChecked(checked_);
    checkBox_->SetCaption(caption_);
    checkBox_->SetTop(0);
    PlaceCheckBox();
    Invalidate();
}

TSeLeftRight TSeCustomGroupBox::CheckBoxAlignment() const {
    return checkBox_ ? checkBox_->Alignment() : checkBoxAlignment_;
}

void TSeCustomGroupBox::SetCheckBoxAlignment(TSeLeftRight value) {
    if (value == checkBoxAlignment_) return;
    checkBoxAlignment_ = value;
    if (checkBox_) checkBox_->SetAlignment(value);
}

bool TSeCustomGroupBox::Enabled() const { return enabled_ || CheckBoxActive(); }

void TSeCustomGroupBox::SetEnabled(bool value) {
    enabled_ = value || CheckBoxActive();
    // Sent even when nothing changed: the children follow the box (or its check box) again.
    Perform(CM_ENABLEDCHANGED);
}

void TSeCustomGroupBox::CMEnabledChanged(TMessage&) {
    if (!Enabled() && Parent()) RemoveFocus(false);
    if (HandleAllocated() && !HasState(csDesigning)) EnableWindow(Handle(), Enabled());
    const bool childrenEnabled = CheckBoxActive() ? checked_ : Enabled();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* child = Controls(i);
        if (child != checkBox_) child->SetEnabled(childrenEnabled);
    }
    // The box does not repaint itself here.
}

int TSeCustomGroupBox::CaptionHeight() const {
    if (CheckBoxActive()) return checkBox_->Height();
    return captionHeight_.Of(Font(), caption_);
}

TRect TSeCustomGroupBox::GetClientRect() const { return {0, CaptionHeight(), CachedWidth(), CachedHeight()}; }

TRect TSeCustomGroupBox::GetFrameRect() {
    const int h = CaptionHeight();
    return {3, h / 2 + 1, Width() - 2, Height() - 2};
}

TRect TSeCustomGroupBox::CaptionRect() {
    TRect r;
    if (CheckBoxActive()) {
        r = {captionMargin_, 0, captionMargin_ + checkBox_->Width(), checkBox_->Height()};
    } else {
        TCanvas& canvas = *Canvas();
        r = {captionMargin_, 0, captionMargin_ + WideTextWidth(canvas, caption_), WideTextHeight(canvas, caption_)};
    }
    if (!caption_.empty()) {
        r.Left -= 3;
        r.Right += 3;
    }
    return r;
}

void TSeCustomGroupBox::PaintFace() {
    TSeCustomControl::PaintFace();
    TCanvas& canvas = *Canvas();
    canvas.SetFont(Font());
    const TRect caption = CaptionRect();
    TRect frame = GetFrameRect();

    // The etched frame: highlight, then shadow one pixel up and left; the top edge open over the caption.
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    for (const TColor color : {clBtnHighlight, clBtnShadow}) {
        canvas.Pen().SetColor(color);
        canvas.MoveTo(frame.Left, frame.Top);
        canvas.LineTo(caption.Left, frame.Top);
        canvas.MoveTo(caption.Right, frame.Top);
        canvas.LineTo(frame.Right, frame.Top);
        canvas.LineTo(frame.Right, frame.Bottom);
        canvas.LineTo(frame.Left, frame.Bottom);
        canvas.LineTo(frame.Left, frame.Top);
        frame = frame.Offset(-1, -1);
    }

    if (CheckBoxActive()) return;
    // The controls on the box have it paint itself into their own small surfaces for their
    // background: the caption (and its engraved copy) is laid out only where it can show.
    const TRect shown = UnionRect(caption, caption.Offset(1, 1));
    if (!RectVisible(canvas.Handle(), &shown)) return;
    const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (Enabled()) {
        TRect r = caption;
        DrawWideText(canvas, caption_, r, flags);
        return;
    }
    TRect embossed = caption.Offset(1, 1);
    canvas.Font().SetColor(clBtnHighlight);
    DrawWideText(canvas, caption_, embossed, flags);
    TRect r = caption;
    canvas.Font().SetColor(clBtnShadow);
    DrawWideText(canvas, caption_, r, flags);
}

TSeCustomCheckBox* TSeCustomGroupBox::CreateCheckBox() { return new TSeCustomCheckBox(this); }

void TSeCustomGroupBox::PlaceCheckBox() {
    if (!checkBox_) return;
    checkBox_->SetLeft(captionMargin_);
    TScreenTextMeasure measure(checkBox_->Font());
    const int wanted = checkBox_->MarkSize().X + checkBox_->Spacing() + measure.TextWidth(checkBox_->Caption()) + 6;
    checkBox_->SetWidth(std::min(Width() - captionMargin_ - 2, wanted));
    checkBox_->Invalidate();
}

void TSeCustomGroupBox::CheckBoxClick(TObject*) {
    Click();
    ApplyChecked(checkBox_->Checked());
    Fire(OnCheckBoxClick, this);
}

void TSeCustomGroupBox::ApplyChecked(bool value) {
    checked_ = value;
    if (!CheckBoxActive()) return;
    checkBox_->SetChecked(value);
    SetEnabled(value);
}

void TSeCustomGroupBox::Notification(TComponent* component, TOperation operation) {
    TSeCustomControl::Notification(component, operation);
    // The check box deleted from outside is gone for the box too.
    if (operation == opRemove && component == checkBox_) checkBox_ = nullptr;
}

void TSeCustomGroupBox::WndProc(TMessage& m) {
    if (m.Msg == CM_DIALOGCHAR && IsAccel(static_cast<char32_t>(m.WParam), caption_) && CanFocus()) {
        SelectNext(nullptr, true, true);
        m.Result = 1;
        return;
    }
    TSeCustomControl::WndProc(m);
}

void TSeCustomGroupBox::CMTextChanged(TMessage& m) {
    // The toolkit's text is not the caption: the foundation's taking it over is skipped.
    TWinControl::CMTextChanged(m);
    Invalidate();
}

void TSeCustomGroupBox::WMSize(TMessage& m) {
    TSeCustomControl::WMSize(m);
    if (CheckBoxActive()) PlaceCheckBox();
}

void TSeCustomGroupBox::Loaded() {
    TSeCustomControl::Loaded();
    // A stored check box is wired up now that every property is in.
    if (useCheckBox_) SetUseCheckBox(true);
}

// ---- skin-aware group box ------------------------------------------------------------------------

TSeSkinGroupBox::TSeSkinGroupBox(TComponent* AOwner) : TSeSkinAware(AOwner, "GroupBox") {
    SetTransparent(true);
}

TSeCustomCheckBox* TSeSkinGroupBox::CreateCheckBox() {
    auto* box = new TSeSkinCheckBox(this);
    box->SetSkinEngine(SkinEngine());
    return box;
}

}  // namespace se
