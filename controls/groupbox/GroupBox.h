#pragma once
// The group box: a container with an etched frame whose top edge opens for the caption, set
// CaptionMargin pixels from the left. With UseCheckBox a check box takes the caption's place and
// enables or disables everything inside; the box itself then always counts as enabled. Child
// controls aligned to the client area start below the caption band. TSeSkinGroupBox adds the skin
// hook and is transparent; it is also the base of the radio group.

#include <memory>
#include <string>

#include "controls/checkbox/CheckBox.h"
#include "controls/foundation/CustomControl.h"
#include "controls/foundation/ScreenTextMeasure.h"
#include "controls/foundation/SkinHook.h"

namespace se {

class TSeCustomGroupBox : public TSeCustomControl {
public:
    explicit TSeCustomGroupBox(vcl::TComponent* AOwner);

    // The wide Caption and the caption check box, besides the foundation's.
    const vcl::TStoredProperties& StoredProperties() const override;

    const std::u16string& Caption() const { return caption_; }
    void SetCaption(const std::u16string& value);
    int CaptionMargin() const { return captionMargin_; }
    void SetCaptionMargin(int value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool UseCheckBox() const { return useCheckBox_; }
    void SetUseCheckBox(bool value);
    TSeLeftRight CheckBoxAlignment() const;
    void SetCheckBoxAlignment(TSeLeftRight value);
    // The caption check box while UseCheckBox is on, else none.
    TSeCustomCheckBox* CheckBox() const { return checkBox_; }

    // True when the box's own flag is set or the caption check box is active.
    bool Enabled() const override;
    void SetEnabled(bool value) override;

    // From the top of the caption band to the bottom; the frame's inset is not taken off.
    vcl::TRect GetClientRect() const override;
    void Loaded() override;

    vcl::TNotifyEvent OnCheckBoxClick;

protected:
    void PaintFace() override;
    // The caption check box was clicked.
    virtual void CheckBoxClick(vcl::TObject* sender);
    virtual TSeCustomCheckBox* CreateCheckBox();
    virtual vcl::TRect GetFrameRect();

    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
    void WndProc(vcl::TMessage& message) override;
    void CMEnabledChanged(vcl::TMessage& message) override;
    void CMTextChanged(vcl::TMessage& message) override;
    void WMSize(vcl::TMessage& message) override;

    bool CheckBoxActive() const { return useCheckBox_ && checkBox_; }
    // Height of the caption band: the check box's when active, else the caption's text height.
    int CaptionHeight() const;
    // The caption's place in the top edge, widened by 3 on each side when there is a caption.
    vcl::TRect CaptionRect();
    void PlaceCheckBox();
    void ApplyChecked(bool value);

private:
    std::u16string caption_;
    mutable TScreenTextHeight captionHeight_;
    int captionMargin_ = 12;
    bool enabled_ = true;
    bool useCheckBox_ = false;
    TSeCustomCheckBox* checkBox_ = nullptr;  // owned as a component
    TSeLeftRight checkBoxAlignment_ = ktaLeftJustify;
    bool checked_ = true;
};

class TSeSkinGroupBox : public TSeSkinAware<TSeCustomGroupBox> {
public:
    explicit TSeSkinGroupBox(vcl::TComponent* AOwner);

protected:
    TSeCustomCheckBox* CreateCheckBox() override;
};

}  // namespace se
