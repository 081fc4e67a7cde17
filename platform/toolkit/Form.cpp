#include "platform/toolkit/Form.h"

#include <algorithm>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/Screen.h"
#include "platform/runtime/StoredProperties.h"
#include "platform/window/Input.h"
#include "platform/window/WindowSystem.h"
#include "platform/rtl/ScopeExit.h"

namespace vcl {

namespace {

// The form that last took the focus (it gets CM_DEACTIVATE when another one does).
TCustomForm* focusedForm = nullptr;

}  // namespace

TCustomForm::TCustomForm(TComponent* AOwner) : TWinControl(AOwner) {
    controlStyle_ = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
    SetVisible(false);
    SetParentColor(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    Screen().AddForm(this);
}

TCustomForm::~TCustomForm() {
    Destroying();
    if (Application->MainForm() == this) Application->SetMainForm(nullptr);
    if (focusedForm == this) focusedForm = nullptr;
    Screen().RemoveForm(this);
}

namespace {

constexpr TEnumName<TPosition> kPositionNames[] = {
    {"poDesigned", poDesigned},           {"poDefault", poDefault},
    {"poDefaultPosOnly", poDefaultPosOnly}, {"poDefaultSizeOnly", poDefaultSizeOnly},
    {"poScreenCenter", poScreenCenter},   {"poDesktopCenter", poDesktopCenter},
    {"poMainFormCenter", poMainFormCenter}, {"poOwnerFormCenter", poOwnerFormCenter}};
constexpr TEnumName<TFormBorderStyle> kBorderStyleNames[] = {
    {"bsNone", bsNone},     {"bsSingle", bsSingle},         {"bsSizeable", bsSizeable},
    {"bsDialog", bsDialog}, {"bsToolWindow", bsToolWindow}, {"bsSizeToolWin", bsSizeToolWin}};

}  // namespace

const TStoredProperties& TCustomForm::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TCustomForm>(&TWinControl::StoredProperties(), {
        {"ClientWidth", [](auto& f, auto& v) { f.SetClientWidth(v.Int()); }},
        {"ClientHeight", [](auto& f, auto& v) { f.SetClientHeight(v.Int()); }},
        {"Position", [](auto& f, auto& v) { f.SetPosition(v.Enum(kPositionNames)); }},
        {"BorderStyle", [](auto& f, auto& v) { f.SetBorderStyle(v.Enum(kBorderStyleNames)); }},
    });
    return table;
}

void TCustomForm::AfterConstruction() {
    if (created_) return;
    created_ = true;
    DoCreate();
}

void TCustomForm::DoCreate() {
    try {
        Fire(OnCreate, this);
    } catch (const EWaitStalled&) {
        throw;
    } catch (...) {
        Application->HandleException(this, std::current_exception());
    }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
    if (value == borderStyle_) return;
    borderStyle_ = value;
    RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == formStyle_) return;
    formStyle_ = value;
    if (!HandleAllocated()) return;
    SetWindowPos(Handle(), value == fsStayOnTop ? HwndTopMost() : HwndNoTopMost(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style &= ~WS_VISIBLE;
    switch (borderStyle_) {
        case bsNone: p.Style = WS_POPUP; break;
        case bsSingle: p.Style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX; break;
        case bsSizeable: p.Style = WS_OVERLAPPEDWINDOW; break;
        case bsDialog: p.Style = WS_POPUP | WS_CAPTION | WS_SYSMENU; break;
        case bsToolWindow:
            p.Style = WS_CAPTION | WS_SYSMENU;
            p.ExStyle |= WS_EX_TOOLWINDOW;
            break;
        case bsSizeToolWin:
            p.Style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
            p.ExStyle |= WS_EX_TOOLWINDOW;
            break;
    }
    if (!Enabled()) p.Style |= WS_DISABLED;
    if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
    // Other forms belong to the main form: they stay above it and go with it.
    TCustomForm* main = Application->MainForm();
    p.Parent = (main && main != this && main->HandleAllocated()) ? main->Handle() : nullptr;
}

void TCustomForm::SetVisible(bool value) { TWinControl::SetVisible(value); }

TWindowState TCustomForm::WindowState() const {
    if (!HandleAllocated()) return windowState_;
    HWND window = const_cast<TCustomForm*>(this)->Handle();
    return IsZoomed(window) ? wsMaximized : IsIconic(window) ? wsMinimized : wsNormal;
}

void TCustomForm::SetWindowState(TWindowState value) {
    windowState_ = value;
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    static constexpr int kCommands[] = {SW_RESTORE, SW_MINIMIZE, SW_SHOWMAXIMIZED};
    if (value != WindowState()) ShowWindow(Handle(), kCommands[value]);
}

void TCustomForm::CMVisibleChanged(TMessage&) {
    if (Visible()) {
        Handle();
        ApplyPosition();
        const bool activate = !(GetWindowExStyle(Handle()) & WS_EX_NOACTIVATE);
        ShowWindow(Handle(), activate ? SW_SHOW : SW_SHOWNA);
        if (windowState_ != wsNormal) SetWindowState(windowState_);
        DoShow();
        return;
    }
    if (!HandleAllocated()) return;
    ShowWindow(Handle(), SW_HIDE);
    DoHide();
}

void TCustomForm::ApplyPosition() {
    if (positioned_) return;
    positioned_ = true;
    int x = Left();
    int y = Top();
    switch (position_) {
        case poScreenCenter:
        case poDesktopCenter:
            x = (Screen().Width() - Width()) / 2;
            y = (Screen().Height() - Height()) / 2;
            break;
        case poMainFormCenter:
        case poOwnerFormCenter: {
            TCustomForm* main = Application->MainForm();
            if (!main || main == this) {
                x = (Screen().Width() - Width()) / 2;
                y = (Screen().Height() - Height()) / 2;
            } else {
                x = main->Left() + (main->Width() - Width()) / 2;
                y = main->Top() + (main->Height() - Height()) / 2;
            }
            break;
        }
        default:
            return;
    }
    SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
}

void TCustomForm::Show() {
    SetVisible(true);
    if (HandleAllocated() && !(GetWindowExStyle(Handle()) & WS_EX_NOACTIVATE)) SetActiveWindow(Handle());
}

void TCustomForm::DoShow() { Fire(OnShow, this); }
void TCustomForm::DoHide() { Fire(OnHide, this); }
void TCustomForm::DoClose(TCloseAction& action) {
    if (OnClose) OnClose(this, action);
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close() {
    if (modal_) {
        modalResult_ = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (Application->MainForm() == this) {
        Application->Terminate();
    } else if (action == caFree) {
        Release();
    } else {
        Hide();
    }
}

void TCustomForm::Release() {
    Hide();
    PostMessage(Handle(), CM_RELEASE);
}

TModalResult TCustomForm::ShowModal() {
    if (Visible() || !Enabled() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE);
    ReleaseCapture();
    modal_ = true;
    HWND previousActive = GetActiveWindow();
    // Every other window of the application is disabled while the form is up.
    std::vector<HWND> disabled;
    for (HWND top : GetTopLevelWindows()) {
        if (IsWindowVisible(top) && IsWindowEnabled(top)) disabled.push_back(top);
    }
    for (HWND top : disabled) EnableWindow(top, false);
    const auto restore = [&] {
        for (HWND top : disabled) EnableWindow(top, true);
        if (HandleAllocated()) Hide();
        if (IsWindow(previousActive) && IsWindowVisible(previousActive)) SetActiveWindow(previousActive);
        modal_ = false;
    };
    try {
        modalResult_ = mrNone;
        Show();
        ModalStarted();
        while (modalResult_ == mrNone) {
            Application->HandleMessage();
            if (Application->Terminated()) modalResult_ = mrCancel;
        }
    } catch (...) {
        restore();
        throw;
    }
    const TModalResult result = modalResult_;
    restore();
    return result;
}

bool TCustomForm::CanFocus() const { return Visible() && Enabled(); }

void TCustomForm::SetFocus() {
    if (active_) return;
    if (!Visible() || !Enabled()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
    HWND target = activeControl_ && activeControl_->CanFocus() ? activeControl_->Handle() : Handle();
    vcl::SetFocus(target);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control == activeControl_) return;
    if (control && (control == this || GetParentForm(control) != this || (!HasState(csLoading) && !control->CanFocus()))) {
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    }
    activeControl_ = control;
    if (HasState(csLoading)) return;
    if (active_) SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
    const bool wasActive = active_;
    SetActiveControl(control);
    if (!wasActive) SetFocus();
}

void TCustomForm::SetActive(bool value) {
    active_ = value;
    if (!value) return;
    if (!activeControl_ && !HasState(csDesigning)) activeControl_ = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
}

bool TCustomForm::SendFocusMessage(TWinControl* control, UINT msg) {
    // A handler that moves the focus again ends this round of notifications.
    const int count = focusCount_;
    SendMessage(control->Handle(), msg);
    return focusCount_ == count;
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
    ++focusCount_;
    if (control != this) activeControl_ = control;
    Screen().SetActive(this, control);
    if (control->ControlState() & csFocusing) return false;
    control->SetControlState(control->ControlState() | csFocusing);
    const rtl::ScopeExit reset(
        [control] { control->SetControlState(control->ControlState() & ~static_cast<TControlState>(csFocusing)); });
    if (focusedForm != this) {
        if (TCustomForm* previous = focusedForm) {
            focusedForm = nullptr;
            if (!SendFocusMessage(previous, CM_DEACTIVATE)) return false;
        }
        focusedForm = this;
        if (!SendFocusMessage(this, CM_ACTIVATE)) return false;
    }
    if (!focusedControl_) focusedControl_ = this;
    if (focusedControl_ == control) return true;
    // Leave the containers that do not hold the new control, innermost first...
    while (focusedControl_ && !focusedControl_->ContainsControl(control)) {
        TWinControl* leaving = focusedControl_;
        focusedControl_ = focusedControl_->Parent();
        if (!SendFocusMessage(leaving, CM_EXIT)) return false;
    }
    // ...then enter those down to it, outermost first.
    while (focusedControl_ != control) {
        TWinControl* entering = control;
        while (entering->Parent() != focusedControl_) entering = entering->Parent();
        focusedControl_ = entering;
        if (!SendFocusMessage(entering, CM_ENTER)) return false;
    }
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    return true;
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
    if (removing && focusedControl_ && control->ContainsControl(focusedControl_)) focusedControl_ = control->Parent();
    if (activeControl_ && control->ContainsControl(activeControl_)) activeControl_ = nullptr;
    if (Screen().ActiveControl() && control->ContainsControl(Screen().ActiveControl())) Screen().SetActive(this, nullptr);
}

void TCustomForm::Activate() { Fire(OnActivate, this); }
void TCustomForm::Deactivate() { Fire(OnDeactivate, this); }

void TCustomForm::WMSetFocus(TMessage& m) { TWinControl::WMSetFocus(m); }

void TCustomForm::CMDialogKey(TMessage& m) {
    if (GetKeyState(VK_MENU) >= 0) {
        switch (m.WParam) {
            case VK_TAB:
                if (GetKeyState(VK_CONTROL) >= 0) {
                    SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
                    m.Result = 1;
                    return;
                }
                break;
            case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN:
                if (activeControl_ && activeControl_->Parent()) {
                    activeControl_->Parent()->SelectNext(activeControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
                    m.Result = 1;
                }
                return;
            default:
                break;
        }
    }
    TWinControl::CMDialogKey(m);
}

void TCustomForm::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_ACTIVATE:
            SetActive(LOWORD(m.WParam) != WA_INACTIVE);
            return;
        case WM_CLOSE:
            Close();
            return;
        case CM_ACTIVATE:
            Activate();
            return;
        case CM_DEACTIVATE:
            Deactivate();
            return;
        case CM_RELEASE:
            Application->ReleaseForm(this);
            return;
        default:
            TWinControl::WndProc(m);
    }
}

}  // namespace vcl
