#include "controls/checkbox/CheckBox.h"

#include "controls/surface/Primitives.h"
#include "platform/draw/FrameControl.h"
#include "platform/draw/Text.h"

namespace se {

using namespace vcl;

// ---- shared option behaviour ---------------------------------------------------------------------

namespace {

// The value changes as soon as a press ends, before the toolkit hears of the release.
constexpr TSePressRules kOptionRules{.releaseActsFirst = true, .spaceActsFirst = true};

}  // namespace

TSeCustomOptionControl::TSeCustomOptionControl(TComponent* AOwner) : TSeCustomPressControl(AOwner, kOptionRules) {
    SetBounds(Left(), Top(), 98, 20);
    SetTransparent(true);
    SetPerformance(kspDoubleBuffer);
    SetHoverRepaint(true);
}

void TSeCustomOptionControl::SetCaption(const std::u16string& value) {
    if (StoreWideCaption(value)) Invalidate();
}

void TSeCustomOptionControl::SetAlignment(TSeLeftRight value) {
    if (value == alignment_) return;
    alignment_ = value;
    Invalidate();
}

void TSeCustomOptionControl::SetSpacing(int value) {
    if (value == spacing_) return;
    spacing_ = value;
    Invalidate();
}

void TSeCustomOptionControl::DoClick() {
    if (!HasState(csLoading)) Fire(OnClick, this);
}

void TSeCustomOptionControl::PaintFace() {
    TSeCustomPressControl::PaintFace();
    PaintMark();
    PaintText();
}

void TSeCustomOptionControl::PaintMark() {
    const TPoint size = GetMarkSize();
    const TRect area = alignment_ == ktaRightJustify ? TRect{CachedWidth() - size.X, 0, CachedWidth(), CachedHeight()}
                                                     : TRect{0, 0, CachedWidth(), CachedHeight()};
    TRect mark = CenterRectVert(TRect{0, 0, size.X, size.Y}, area);
    // No theme service: the classic frame control, which has no pressed or hover look.
    DrawFrameControl(Canvas()->Handle(), &mark, DFC_BUTTON, MarkState() | (Enabled() ? 0u : DFCS_INACTIVE));
}

void TSeCustomOptionControl::PaintText() {
    TCanvas& canvas = *Canvas();
    canvas.SetFont(PaintFont());
    const TPoint mark = GetMarkSize();
    const int h = WideTextHeight(canvas, WideCaption());
    const unsigned wrap = wordWrap_ ? DT_WORDBREAK : 0u;
    TRect text{0, 0, CachedWidth() - mark.X - 10, h};
    DrawWideText(canvas, WideCaption(), text, DT_CALCRECT | DT_EXPANDTABS | wrap);
    const int left = alignment_ == ktaRightJustify ? 2 : mark.X + spacing_;
    text = CenterRectVert(text, TRect{left, 0, CachedWidth(), CachedHeight()});
    if (!Enabled()) {
        TRect embossed = text.Offset(1, 1);
        canvas.Font().SetColor(clBtnHighlight);
        DrawWideText(canvas, WideCaption(), embossed, DT_EXPANDTABS | wrap);
        canvas.Font().SetColor(clBtnShadow);
    }
    TRect drawn = text;
    DrawWideText(canvas, WideCaption(), drawn, DT_EXPANDTABS | wrap);
    if (HasFocus()) {
        TRect focus = text.Inflate(1, 2);
        focus.Right += 2;
        DrawFocusRectColor(canvas, focus, clBtnShadow);
    }
}

void TSeCustomOptionControl::WndProc(TMessage& m) {
    if (m.Msg == CM_DIALOGCHAR && IsAcceleratorKey(static_cast<char32_t>(m.WParam)) && CanFocus()) {
        SetFocus();
        if (Focused()) Activate();
        m.Result = 1;
        return;
    }
    TSeCustomPressControl::WndProc(m);
}

// ---- radio button --------------------------------------------------------------------------------

TSeCustomRadioButton::TSeCustomRadioButton(TComponent* AOwner) : TSeCustomOptionControl(AOwner) {
    SetTabStop(false);
    SetCaption(u"RadioButton");
}

void TSeCustomRadioButton::SetChecked(bool value) {
    if (value == checked_) return;
    // Only the checked button of a group is a tab stop.
    SetTabStop(value);
    checked_ = value;
    if (value) {
        UncheckSiblings();
        DoClick();
    }
    Invalidate();
}

void TSeCustomRadioButton::UncheckSiblings() {
    TWinControl* parent = Parent();
    if (!parent) return;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        auto* sibling = dynamic_cast<TSeCustomRadioButton*>(parent->Controls(i));
        if (sibling && sibling != this && sibling->groupIndex_ == groupIndex_) sibling->SetChecked(false);
    }
}

unsigned TSeCustomRadioButton::MarkState() const { return DFCS_BUTTONRADIO | (checked_ ? DFCS_CHECKED : 0u); }

void TSeCustomRadioButton::Activate() {
    if (!checked_) SetChecked(true);
}

void TSeCustomRadioButton::FocusEnter() {
    TSeCustomOptionControl::FocusEnter();
    // Reached by Tab, an arrow key or a press: checked at once.
    SetChecked(true);
}

// ---- check box -----------------------------------------------------------------------------------

TSeCustomCheckBox::TSeCustomCheckBox(TComponent* AOwner) : TSeCustomOptionControl(AOwner) {
    SetTabStop(true);
    SetCaption(u"CheckBox");
}

void TSeCustomCheckBox::SetState(TCheckBoxState value) {
    if (value == state_) return;
    state_ = value;
    DoClick();
    Invalidate();
}

void TSeCustomCheckBox::SetWordWrap(bool value) {
    if (value == WordWrap()) return;
    SetWordWrapValue(value);
    Invalidate();
}

void TSeCustomCheckBox::Toggle() {
    switch (state_) {
        case cbUnchecked: SetState(allowGrayed_ ? cbGrayed : cbChecked); break;
        case cbChecked: SetState(cbUnchecked); break;
        case cbGrayed: SetState(cbChecked); break;
    }
}

unsigned TSeCustomCheckBox::MarkState() const {
    switch (state_) {
        case cbChecked: return DFCS_BUTTONCHECK | DFCS_CHECKED;
        case cbGrayed: return DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE;
        default: return DFCS_BUTTONCHECK;
    }
}

void TSeCustomCheckBox::WndProc(TMessage& m) {
    if (m.Msg == CM_SYSCOLORCHANGE) Invalidate();
    TSeCustomOptionControl::WndProc(m);
}

// ---- skin-aware classes --------------------------------------------------------------------------

void TSeSkinRadioButton::Loaded() {
    TSeSkinAware::Loaded();
    SetSkinEngine(SkinEngine());
}

}  // namespace se
