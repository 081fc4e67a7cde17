#include "platform/toolkit/DialogControls.h"

#include "platform/toolkit/Caption.h"
#include "platform/toolkit/Form.h"
#include "platform/draw/Gdi.h"

namespace vcl {

namespace {

void DrawCaption(TCanvas& canvas, const std::string& text, TRect rect, unsigned format) {
    const std::u16string wide = WideCaption(text);
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &rect, format);
}

}  // namespace

// ---- the icon ----------------------------------------------------------------------------------

TMessageIcon::TMessageIcon(TWinControl* parent, TMsgDlgType type) : TGraphicControl(parent), type_(type) {
    SetBounds(0, 0, kSize, kSize);
    SetParent(parent);
}

void TMessageIcon::Paint() {
    TCanvas& canvas = *Canvas();
    // A soft shadow under every shape, as the classic icons have.
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetColor(clGray);
    switch (type_) {
        case mtError:
            canvas.Ellipse(3, 3, 32, 32);
            canvas.Pen().SetStyle(psSolid);
            canvas.Pen().SetColor(clMaroon);
            canvas.Brush().SetColor(clRed);
            canvas.Ellipse(0, 0, 30, 30);
            // The cross, three pixels wide, centred on the disc.
            canvas.Pen().SetColor(clWhite);
            canvas.Pen().SetWidth(3);
            canvas.MoveTo(9, 9);
            canvas.LineTo(21, 21);
            canvas.MoveTo(20, 9);
            canvas.LineTo(8, 21);
            canvas.Pen().SetWidth(1);
            return;
        case mtWarning: {
            const TPoint shadow[] = {{18, 3}, {32, 31}, {3, 31}};
            canvas.Polygon(shadow);
            canvas.Pen().SetStyle(psSolid);
            canvas.Pen().SetColor(clBlack);
            canvas.Brush().SetColor(clYellow);
            const TPoint triangle[] = {{15, 0}, {29, 28}, {1, 28}};
            canvas.Polygon(triangle);
            PaintMark(canvas, "!", clBlack);
            return;
        }
        case mtInformation:
        case mtConfirmation:
            canvas.Ellipse(3, 3, 32, 32);
            canvas.Pen().SetStyle(psSolid);
            canvas.Pen().SetColor(clNavy);
            canvas.Brush().SetColor(clWhite);
            canvas.Ellipse(0, 0, 30, 30);
            PaintMark(canvas, type_ == mtInformation ? "i" : "?", clBlue);
            return;
        default:
            return;
    }
}

void TMessageIcon::PaintMark(TCanvas& canvas, const char* mark, TColor color) {
    canvas.Font().SetHeight(-20);
    canvas.Font().SetStyle(fsBold);
    canvas.Font().SetColor(color);
    DrawCaption(canvas, mark, {0, 4, 30, 28}, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// ---- the text ----------------------------------------------------------------------------------

TMessageText::TMessageText(TWinControl* parent) : TGraphicControl(parent) { SetParent(parent); }

void TMessageText::Paint() {
    TCanvas& canvas = *Canvas();
    canvas.Font().SetColor(clWindowText);
    DrawCaption(canvas, Caption(), ClientRect(), kFormat);
}

// ---- the buttons -------------------------------------------------------------------------------

TDialogButton::TDialogButton(TCustomForm* form, TMsgDlgBtn kind, bool isDefault, bool isCancel)
    : TCustomControl(form), form_(form), kind_(kind), default_(isDefault), cancel_(isCancel) {
    SetTabStop(true);
    SetCaption(MessageDlgButtonCaption(kind));
    SetParentColor(false);
    SetColor(clBtnFace);
    SetParent(form);
}

void TDialogButton::Click() {
    // Help keeps the box open; every other button closes it with its result.
    form_->SetModalResult(ModalResultOf(kind_));
    TCustomControl::Click();
}

bool TDialogButton::Active() const {
    if (Focused()) return true;
    auto* focused = dynamic_cast<TDialogButton*>(form_->ActiveControl());
    return default_ && (!focused || focused == this);
}

void TDialogButton::SetPressed(bool value) {
    if (value == pressed_) return;
    pressed_ = value;
    Invalidate();
}

void TDialogButton::WndProc(TMessage& m) {
    switch (m.Msg) {
        case CM_DIALOGKEY:
            if (((m.WParam == VK_RETURN && Active()) || (m.WParam == VK_ESCAPE && cancel_)) && CanFocus()) {
                Click();
                m.Result = 1;
                return;
            }
            break;
        case CM_DIALOGCHAR:
            if (IsAccel(static_cast<char32_t>(m.WParam), Caption()) && CanFocus()) {
                Click();
                m.Result = 1;
                return;
            }
            break;
        case CM_FOCUSCHANGED:
            // Which button Enter presses may have changed with the focus.
            Invalidate();
            break;
        case WM_GETDLGCODE:
            m.Result = DLGC_BUTTON | (default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
            return;
        default:
            break;
    }
    TCustomControl::WndProc(m);
}

void TDialogButton::KeyDown(uint16_t& key, TShiftState shift) {
    TCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE) SetPressed(true);
}

void TDialogButton::KeyUp(uint16_t& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if (key != VK_SPACE) return;
    SetPressed(false);
    Click();
}

void TDialogButton::MouseDown(TMouseButtonKind button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        if (CanFocus() && !Focused()) SetFocus();
        tracking_ = true;
        SetPressed(true);
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TDialogButton::MouseMove(TShiftState shift, int x, int y) {
    if (tracking_) SetPressed(ClientRect().Contains({x, y}));
    TCustomControl::MouseMove(shift, x, y);
}

void TDialogButton::MouseUp(TMouseButtonKind button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        tracking_ = false;
        SetPressed(false);
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

void TDialogButton::Paint() {
    TCanvas& canvas = *Canvas();
    TRect face = ClientRect();
    canvas.Brush().SetStyle(bsSolid);
    // The button Enter presses wears a black outline.
    if (Active() || pressed_) {
        canvas.Brush().SetColor(clBlack);
        canvas.FrameRect(face);
        face = face.Inflate(-1, -1);
    }
    if (pressed_) {
        canvas.Brush().SetColor(clBtnShadow);
        canvas.FrameRect(face);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(face.Inflate(-1, -1));
    } else {
        DrawFrameControl(canvas.Handle(), &face, DFC_BUTTON, DFCS_BUTTONPUSH);
    }
    // A pressed face moves its caption down and right by a pixel.
    const TRect caption = pressed_ ? ClientRect().Offset(1, 1) : ClientRect();
    canvas.Font().SetColor(clBtnText);
    DrawCaption(canvas, Caption(), caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (!Focused()) return;
    const TRect focus = ClientRect().Inflate(-4, -4);
    DrawFocusRect(canvas.Handle(), &focus);
}

}  // namespace vcl
