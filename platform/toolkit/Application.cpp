#include "platform/toolkit/Application.h"

#include <errno.h>

#include <algorithm>

#include "platform/rtl/NeverDestroyed.h"
#include "platform/toolkit/ControlCanvas.h"
#include "platform/toolkit/HintWindow.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/Screen.h"
#include "platform/rtl/Utf.h"
#include "platform/window/Input.h"
#include "platform/window/SystemMetrics.h"

namespace vcl {

namespace {

bool IsCancellingHint(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_LBUTTONDOWN && msg <= WM_MBUTTONDBLCLK) ||
           (msg >= WM_NCLBUTTONDOWN && msg <= WM_NCMBUTTONDBLCLK);
}

bool IsPointerMessage(UINT msg) {
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_NCMOUSEMOVE || msg == WM_MOUSELEAVE;
}

// How far below the pointer a hint goes: the arrow cursor's height.
constexpr int kHintCursorOffset = 20;

// The part of a hint before "|" (the rest is the long hint for a status line).
std::string ShortHint(const std::string& hint) { return hint.substr(0, hint.find('|')); }

// The last code point of a UTF-8 text.
char32_t LastCodePoint(const std::string& text) {
    size_t start = text.size();
    while (start > 0) {
        --start;
        if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) break;
    }
    size_t index = start;
    return rtl::NextCodePoint(text, index);
}

}  // namespace

TApplication& TheApplication() {
    // Forms and windows may still refer to it while the program ends.
    static rtl::NeverDestroyed<TApplication> application(nullptr);
    return *application;
}

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
    title_ = program_invocation_short_name ? program_invocation_short_name : "";
    hintTimer_ = new TTimer(this);
    hintTimer_->SetEnabled(false);
    hintTimer_->SetOnTimer([this](TObject*) { HintTimerTick(); });
    SetExceptionHandler([this](TObject* sender, std::exception_ptr error) { HandleException(sender, error); });
    SetProcessMessagesHandler([this] { ProcessMessages(); });
}

TApplication::~TApplication() {
    SetExceptionHandler(nullptr);
    SetProcessMessagesHandler(nullptr);
}

void TApplication::Initialize() {}

void TApplication::DestroyForms() {
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (auto* form = dynamic_cast<TCustomForm*>(Components(i))) delete form;
    }
}

void TApplication::Run() {
    if (!mainForm_) return;
    if (showMainForm_) mainForm_->Show();
    while (!terminated_) {
        try {
            HandleMessage();
        } catch (const EWaitStalled&) {
            throw;
        } catch (...) {
            HandleException(this, std::current_exception());
        }
    }
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::ResetTerminated() {
    terminated_ = false;
    TMsg msg;
    while (MessageQueue().QuitPending()) MessageQueue().Peek(msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

void TApplication::ProcessMessages() {
    while (ProcessMessage()) {
    }
}

void TApplication::HandleMessage() {
    if (!ProcessMessage()) Idle();
}

bool TApplication::ProcessMessage() {
    TMsg msg;
    if (!PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (msg.Message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    bool handled = false;
    if (OnMessage) OnMessage(msg, handled);
    if (IsHintMsg(msg) || handled || IsKeyMsg(msg)) return true;
    if (IsPointerMessage(msg.Message)) UpdateMouseControl();
    TranslateMessage(msg);
    DispatchMessage(msg);
    return true;
}

void TApplication::Idle() {
    UpdateMouseControl();
    bool done = true;
    if (OnIdle) {
        try {
            OnIdle(this, done);
        } catch (const EWaitStalled&) {
            throw;
        } catch (...) {
            HandleException(this, std::current_exception());
        }
    }
    // Nothing is drawing now: canvases give back the DCs they got on demand.
    FreeDeviceContexts();
    if (done) WaitMessage();
}

bool TApplication::IsKeyMsg(TMsg& msg) {
    if (msg.Message < WM_KEYFIRST || msg.Message > WM_KEYLAST) return false;
    // The focused control sees the key first, reflected, for its dialog passes.
    TWinControl* control = FindControl(GetFocus());
    if (!control || !control->HandleAllocated()) return false;
    return SendMessage(control->Handle(), CN_BASE + msg.Message, msg.WParam, msg.LParam) != 0;
}

bool TApplication::IsHintMsg(const TMsg& msg) {
    if (hintActive_ && IsCancellingHint(msg.Message)) CancelHint();
    return false;
}

// ---- exceptions --------------------------------------------------------------------------------

std::string TApplication::ExceptionText(const std::string& message) {
    if (message.empty()) return message;
    return LastCodePoint(message) > U'.' ? message + "." : message;
}

void TApplication::HandleException(TObject* sender, std::exception_ptr error) {
    if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE);
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
    } catch (const EWaitStalled&) {
        throw;
    } catch (const std::exception& e) {
        if (OnException) {
            OnException(sender, e);
        } else {
            ShowException(e);
        }
    } catch (...) {
        ShowException(std::runtime_error("Unknown exception"));
    }
}

void TApplication::ShowException(const std::exception& e) {
    const auto* rtlError = dynamic_cast<const rtl::Exception*>(&e);
    const std::string message = rtlError ? rtlError->Message() : std::string(e.what());
    MessageBox(ExceptionText(message), title_, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    TMsgDlgType type = mtCustom;
    switch (flags & 0xF0) {
        case MB_ICONSTOP: type = mtError; break;
        case MB_ICONQUESTION: type = mtConfirmation; break;
        case MB_ICONWARNING: type = mtWarning; break;
        case MB_ICONINFORMATION: type = mtInformation; break;
        default: break;
    }
    TMsgDlgButtons buttons{mbOK};
    if ((flags & 0x0F) == MB_OKCANCEL) buttons = {mbOK, mbCancel};
    if ((flags & 0x0F) == MB_YESNO) buttons = {mbYes, mbNo};
    // The modal results and the box answers share their numbers.
    return ShowMessageBox(text, caption, type, buttons);
}

// ---- forms -------------------------------------------------------------------------------------

void TApplication::ReleaseForm(TCustomForm* form) {
    if (std::find(releasing_.begin(), releasing_.end(), form) != releasing_.end()) return;
    releasing_.push_back(form);
    FreeNotification(form);
    MessageQueue().Post(&releaser_, CM_RELEASE, 0, reinterpret_cast<LPARAM>(form));
}

void TApplication::Releaser::HandleMessage(TMessage& m) {
    auto* form = reinterpret_cast<TCustomForm*>(m.LParam);
    auto& list = app_.releasing_;
    const auto it = std::find(list.begin(), list.end(), form);
    if (it == list.end()) return;  // already gone
    list.erase(it);
    delete form;
}

// Free notifications stay subscribed once asked for: the same control may be the mouse control,
// the hint control and a form being released at once.
void TApplication::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == mouseControl_) mouseControl_ = nullptr;
    if (component == hintControl_) {
        hintControl_ = nullptr;
        HideHint();
    }
    if (component == hintWindow_) hintWindow_ = nullptr;
    releasing_.erase(std::remove(releasing_.begin(), releasing_.end(), component), releasing_.end());
}

// ---- the control under the pointer -------------------------------------------------------------

void TApplication::UpdateMouseControl() {
    TControl* target = nullptr;
    const TPoint p = GetCursorPos();
    if (TWinControl* windowed = FindControl(GetWindowUnderPointer())) {
        target = windowed;
        if (TControl* graphic = windowed->ControlAtPos(windowed->ScreenToClient(p), true)) target = graphic;
    }
    if (target && target->HasState(csDesigning)) target = nullptr;
    if (target != mouseControl_) SetMouseControl(target);
    if (showHint_) HintMouseMove(mouseControl_);
}

void TApplication::SetMouseControl(TControl* control) {
    // While a control holds the capture only it hears of entering and leaving.
    TControl* capture = GetCaptureControl();
    TControl* old = mouseControl_;
    mouseControl_ = control;
    if (control) FreeNotification(control);
    if (old && (!capture || old == capture)) old->Perform(CM_MOUSELEAVE);
    // The leave handler may have destroyed the new control.
    if (mouseControl_ && (!capture || mouseControl_ == capture)) mouseControl_->Perform(CM_MOUSEENTER);
}

// ---- hints -------------------------------------------------------------------------------------

void TApplication::SetShowHint(bool value) {
    if (value == showHint_) return;
    showHint_ = value;
    if (!value) CancelHint();
}

void TApplication::HintMouseMove(TControl* control) {
    TControl* hinted = control;
    while (hinted && !hinted->ShowHint()) hinted = hinted->Parent();
    if (!hinted || ShortHint(hinted->Hint()).empty()) {
        CancelHint();
        return;
    }
    if (hinted == hintControl_) return;
    const bool wasActive = hintActive_;
    if (wasActive) HideHint();
    hintControl_ = hinted;
    FreeNotification(hinted);
    StartHintTimer(wasActive ? hintShortPause_ : hintPause_, true);
}

void TApplication::StartHintTimer(uint32_t ms, bool show) {
    hintTimer_->SetEnabled(false);
    hintTimer_->SetInterval(ms);
    hintTimerShows_ = show;
    hintTimer_->SetEnabled(true);
}

void TApplication::HintTimerTick() {
    hintTimer_->SetEnabled(false);
    if (hintTimerShows_) {
        ActivateHint();
    } else {
        HideHint();
    }
}

void TApplication::ActivateHint() {
    if (!hintControl_) return;
    // The control may still change its mind.
    if (hintControl_->Perform(CM_HINTSHOW) != 0) return;
    const std::string text = ShortHint(hintControl_->Hint());
    if (text.empty()) return;
    if (!hintWindow_) {
        hintWindow_ = new THintWindow(this);
        FreeNotification(hintWindow_);
    }
    hintWindow_->SetColor(hintColor_);
    const TPoint cursor = GetCursorPos();
    // The work area of the monitor the pointer is on.
    TMonitorInfo monitor;
    const TRect work = GetMonitorInfo(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), monitor) ? monitor.WorkArea
                                                                                                 : GetWorkArea();
    TRect rect = hintWindow_->CalcHintRect(work.Width(), text);
    // Below the pointer (past the arrow cursor's height), kept on the work area.
    rect = rect.Offset(cursor.X, cursor.Y + kHintCursorOffset);
    if (rect.Right > work.Right) rect = rect.Offset(work.Right - rect.Right, 0);
    if (rect.Bottom > work.Bottom) rect = rect.Offset(0, cursor.Y - 2 - rect.Bottom);
    if (rect.Left < work.Left) rect = rect.Offset(work.Left - rect.Left, 0);
    if (rect.Top < work.Top) rect = rect.Offset(0, work.Top - rect.Top);
    hintWindow_->ActivateHint(rect, text);
    hintActive_ = true;
    StartHintTimer(hintHidePause_, false);
}

void TApplication::HideHint() {
    hintTimer_->SetEnabled(false);
    if (hintWindow_ && hintWindow_->HandleAllocated()) ShowWindow(hintWindow_->Handle(), SW_HIDE);
    hintActive_ = false;
}

void TApplication::CancelHint() {
    HideHint();
    hintControl_ = nullptr;
}

}  // namespace vcl
