#pragma once
// The controls message boxes are built from: the icon of the box's kind, the message text broken
// into lines, and classic push buttons that close the box with their modal result.

#include <string>

#include "platform/toolkit/CustomControl.h"
#include "platform/toolkit/MessageBox.h"

namespace vcl {

// The 32 x 32 icon of a message kind, drawn here: the error's red disc with a white cross, the
// warning's yellow triangle, the round information and question marks.
class TMessageIcon : public TGraphicControl {
public:
    static constexpr int kSize = 32;
    TMessageIcon(TWinControl* parent, TMsgDlgType type);
    TMsgDlgType Type() const { return type_; }

protected:
    void Paint() override;

private:
    void PaintMark(TCanvas& canvas, const char* mark, TColor color);
    TMsgDlgType type_;
};

// The message: its Caption in the control's font, broken at words (and between Chinese
// characters) to the control's width.
class TMessageText : public TGraphicControl {
public:
    static constexpr unsigned kFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS;
    explicit TMessageText(TWinControl* parent);

protected:
    void Paint() override;
};

// A classic push button: raised face with its caption centred ("&" marks the accelerator), a
// black outline and the focus rectangle while it is the button Enter presses. Clicking it (or
// Enter, Escape for the cancel button, Space, its accelerator letter) sets the form's
// ModalResult.
class TDialogButton : public TCustomControl {
public:
    TDialogButton(TCustomForm* form, TMsgDlgBtn kind, bool isDefault, bool isCancel);
    TMsgDlgBtn Kind() const { return kind_; }
    bool IsDefault() const { return default_; }
    bool Pressed() const { return pressed_; }
    void Press() { Click(); }
    // The button Enter presses now: the focused one, or the default one while no button has the
    // focus.
    bool Active() const;
    void WndProc(TMessage& m) override;

protected:
    void Click() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyUp(uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    void SetPressed(bool value);

    TCustomForm* form_;
    TMsgDlgBtn kind_;
    bool default_;
    bool cancel_;
    bool pressed_ = false;
    bool tracking_ = false;
};

}  // namespace vcl
