#pragma once
// Forms: top-level windows holding controls. A form tracks its active control, runs the focus
// notifications (OnExit of the controls the focus leaves, OnEnter of those it enters), answers
// the dialog keys (Tab order, arrows), can run modally, and closing the main form ends the
// application's loop.
//
// A form's own constructor builds its controls; OnCreate runs afterwards, from
// AfterConstruction, which Application->CreateForm and MakeForm call.

#include <functional>
#include <memory>

#include "platform/toolkit/CustomControl.h"

namespace vcl {

enum TPosition : uint8_t {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
    poOwnerFormCenter
};
enum TFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };

using TModalResult = int;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                              mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
public:
    explicit TCustomForm(TComponent* AOwner);
    ~TCustomForm() override;

    // Client size, position and border style, besides the windowed control's.
    const TStoredProperties& StoredProperties() const override;

    // Runs OnCreate once; call it after the constructor of the most derived form.
    virtual void AfterConstruction();

    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle value);
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle value);
    // As the desktop shows the form now (the user may maximise or minimise it); set before the
    // form is shown, it applies when it is.
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool value) { keyPreview_ = value; }

    TWinControl* ActiveControl() const { return activeControl_; }
    // Raises EInvalidOperation for a control of another form or one that cannot take the focus.
    void SetActiveControl(TWinControl* control);
    // The control that last received the focus in this form.
    TWinControl* FocusedControl() const { return focusedControl_; }
    bool Active() const { return active_; }

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult value) { modalResult_ = value; }
    bool IsModal() const { return modal_; }

    void Show();
    void Close();
    bool CloseQuery();
    // Shows the form modally: every other window is disabled until ModalResult is set.
    TModalResult ShowModal();
    // Destroys the form once the messages now waiting have been handled.
    void Release();

    void SetVisible(bool value) override;
    bool CanFocus() const override;
    void SetFocus() override;
    void FocusControl(TWinControl* control);
    // Called when a window of this form got the focus: moves ActiveControl and sends CM_EXIT to
    // the controls the focus leaves and CM_ENTER to those it enters, then CM_FOCUSCHANGED.
    bool SetFocusedControl(TWinControl* control);
    void DefocusControl(TWinControl* control, bool removing);
    void WndProc(TMessage& message) override;

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;

protected:
    void CreateParams(TCreateParams& params) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();
    // The modal loop is about to run (the form is shown and modal).
    virtual void ModalStarted() {}
    void CMDialogKey(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void WMSetFocus(TMessage& message) override;

private:
    bool SendFocusMessage(TWinControl* control, UINT msg);
    void SetWindowFocus();
    void ApplyPosition();
    void SetActive(bool value);

    TPosition position_ = poDefaultPosOnly;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TFormStyle formStyle_ = fsNormal;
    bool keyPreview_ = false;
    TWindowState windowState_ = wsNormal;  // until the window exists
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    bool active_ = false;
    bool created_ = false;
    bool positioned_ = false;
    bool modal_ = false;
    TModalResult modalResult_ = mrNone;
    int focusCount_ = 0;
};

class TForm : public TCustomForm {
public:
    using TCustomForm::TCustomForm;
};

// Creates a form and runs its OnCreate, like the application's CreateForm.
template <typename TFormClass, typename... Args>
TFormClass* MakeForm(TComponent* owner, Args&&... args) {
    auto* form = new TFormClass(owner, std::forward<Args>(args)...);
    form->AfterConstruction();
    return form;
}

}  // namespace vcl
