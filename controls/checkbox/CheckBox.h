#pragma once
// The option controls: a 13 x 13 mark (radio circle or check box) beside a caption, painted by the
// control itself, with a pressed state while the left button or Space is held, a disabled look and
// a focus rectangle around the caption. TSeCustomRadioButton is one of a set of exclusive options
// (same parent, same GroupIndex); TSeCustomCheckBox has two or three states. Both keep their own
// OnClick, apart from the toolkit's click: the radio button raises it when it becomes checked, the
// check box on every change of State. TSeSkinRadioButton and TSeSkinCheckBox add the skin hook.

#include <cstdint>
#include <string>

#include "controls/foundation/PressControl.h"
#include "controls/foundation/SkinHook.h"
#include "controls/foundation/Types.h"

namespace se {

enum TSeAlignment : uint8_t { ktaLeftJustify, ktaRightJustify, ktaCenter };
inline constexpr vcl::TEnumName<TSeAlignment> kSeAlignmentNames[] = {
    {"ktaLeftJustify", ktaLeftJustify}, {"ktaRightJustify", ktaRightJustify}, {"ktaCenter", ktaCenter}};
// The mark's side: the first two values of TSeAlignment.
using TSeLeftRight = TSeAlignment;


// What the radio button and the check box share: caption, mark placement, the option controls'
// press rules, and the painting of mark and caption.
class TSeCustomOptionControl : public TSeCustomPressControl {
public:
    explicit TSeCustomOptionControl(vcl::TComponent* AOwner);

    const std::u16string& Caption() const { return WideCaption(); }
    void SetCaption(const std::u16string& value);
    TSeLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TSeLeftRight value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool WordWrap() const { return wordWrap_; }
    // The left button or Space is held on the control.
    bool Pressing() const { return Pressed(); }
    vcl::TPoint MarkSize() const { return GetMarkSize(); }

    // The control's own click (sender only), not the toolkit's.
    vcl::TNotifyEvent OnClick;

protected:
    // Raises OnClick unless the control is being loaded.
    virtual void DoClick();
    virtual vcl::TPoint GetMarkSize() const { return {13, 13}; }
    // The frame-control state bits of the mark (DFCS_BUTTONRADIO / DFCS_BUTTONCHECK and the rest).
    virtual unsigned MarkState() const = 0;
    virtual void PaintMark();
    virtual void PaintText();
    void PaintFace() override;
    // Activate (the next value) also comes from the caption's accelerator while focused.
    void WndProc(vcl::TMessage& message) override;

    void SetWordWrapValue(bool value) { wordWrap_ = value; }

private:
    TSeLeftRight alignment_ = ktaLeftJustify;
    int spacing_ = 5;
    bool wordWrap_ = false;
};

class TSeCustomRadioButton : public TSeCustomOptionControl {
public:
    explicit TSeCustomRadioButton(vcl::TComponent* AOwner);

    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    uint8_t GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(uint8_t value) { groupIndex_ = value; }
    bool ItemTabStop() const { return itemTabStop_; }
    void SetItemTabStop(bool value) { itemTabStop_ = value; }
    // Stored only: the caption is drawn on one line either way until repainted.
    void SetWordWrap(bool value) { SetWordWrapValue(value); }

protected:
    unsigned MarkState() const override;
    void Activate() override;
    void FocusEnter() override;

private:
    // Every other radio button of this set with the same parent and GroupIndex is unchecked.
    void UncheckSiblings();

    bool checked_ = false;
    uint8_t groupIndex_ = 0;
    bool itemTabStop_ = true;
};

class TSeCustomCheckBox : public TSeCustomOptionControl {
public:
    explicit TSeCustomCheckBox(vcl::TComponent* AOwner);

    TCheckBoxState State() const { return state_; }
    void SetState(TCheckBoxState value);
    bool Checked() const { return state_ == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    void SetWordWrap(bool value);

    // Unchecked -> grayed (when allowed) or checked; checked -> unchecked; grayed -> checked.
    virtual void Toggle();

protected:
    unsigned MarkState() const override;
    void Activate() override { Toggle(); }
    void WndProc(vcl::TMessage& message) override;

private:
    TCheckBoxState state_ = cbUnchecked;
    bool allowGrayed_ = false;
};

class TSeSkinRadioButton : public TSeSkinAware<TSeCustomRadioButton> {
public:
    explicit TSeSkinRadioButton(vcl::TComponent* AOwner) : TSeSkinAware(AOwner, "RadioButton") {}
    // The skin object is bound again once every stored property is in.
    void Loaded() override;
};

class TSeSkinCheckBox : public TSeSkinAware<TSeCustomCheckBox> {
public:
    explicit TSeSkinCheckBox(vcl::TComponent* AOwner) : TSeSkinAware(AOwner, "CheckBox") {}
};

}  // namespace se
