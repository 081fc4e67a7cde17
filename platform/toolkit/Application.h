#pragma once
// TApplication: the one application object (Application). It creates the forms, runs the event
// loop until the main form closes, dispatches waiting messages on request (ProcessMessages),
// gives the focused control its keyboard passes (dialog keys, accelerators), tracks the control
// under the pointer (CM_MOUSEENTER / CM_MOUSELEAVE, passed on to every ancestor), shows hints,
// and shows exceptions that leave event handlers in a modal error box.

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "platform/toolkit/Form.h"
#include "platform/runtime/Timer.h"

namespace vcl {

class THintWindow;

// An exception that ends a handler silently.
class EAbort : public rtl::Exception {
public:
    EAbort() : rtl::Exception("Operation aborted") {}
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;
using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
using TMessageEvent = std::function<void(TMsg& Msg, bool& Handled)>;

class TApplication : public TComponent {
public:
    explicit TApplication(TComponent* AOwner);
    ~TApplication() override;

    void Initialize();
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& value) { title_ = value; }

    // Creates a form owned by the application and runs its OnCreate; the first one created
    // becomes the main form.
    template <typename TFormClass>
    void CreateForm(TFormClass*& reference) {
        auto* form = new TFormClass(this);
        reference = form;
        if (!mainForm_) {
            mainForm_ = form;
            form->HandleNeeded();
        }
        form->AfterConstruction();
    }
    TCustomForm* MainForm() const { return mainForm_; }
    void SetMainForm(TCustomForm* form) { mainForm_ = form; }
    // Destroys the forms the application owns, newest first, with everything they own (a serial
    // port is closed on the way); the end of a run, before the windows' backend goes.
    void DestroyForms();
    bool ShowMainForm() const { return showMainForm_; }
    void SetShowMainForm(bool value) { showMainForm_ = value; }

    // Shows the main form and handles messages until the application terminates (the main form
    // closed or Terminate was called).
    void Run();
    // Dispatches every message waiting and returns.
    void ProcessMessages();
    // Handles one message, or when none is waiting does the idle work and waits for one.
    void HandleMessage();
    // Takes and dispatches one waiting message; false when none was waiting.
    bool ProcessMessage();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Ends a fresh run: the flag Terminate and the quit message set are cleared.
    void ResetTerminated();

    // The default handling of an exception that left a handler: OnException if assigned, else
    // ShowException. EAbort is silent.
    void HandleException(TObject* sender, std::exception_ptr error);
    // The error box: captioned with Title, the message with a full stop appended when its last
    // character sorts after ".", one OK button.
    void ShowException(const std::exception& e);
    static std::string ExceptionText(const std::string& message);
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    // Hints.
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    uint32_t HintPause() const { return hintPause_; }
    void SetHintPause(uint32_t ms) { hintPause_ = ms; }
    uint32_t HintHidePause() const { return hintHidePause_; }
    void SetHintHidePause(uint32_t ms) { hintHidePause_ = ms; }
    uint32_t HintShortPause() const { return hintShortPause_; }
    TColor HintColor() const { return hintColor_; }
    void SetHintColor(TColor value) { hintColor_ = value; }
    void CancelHint();
    THintWindow* HintWindow() const { return hintWindow_; }
    // The control whose hint is on screen or about to be.
    TControl* HintControl() const { return hintControl_; }

    // The control under the pointer, as last told with CM_MOUSEENTER.
    TControl* MouseControl() const { return mouseControl_; }
    // Looks again which control lies under the pointer and sends leave / enter.
    void UpdateMouseControl();

    // Destroys a form once the messages now waiting have been handled (TCustomForm::Release).
    void ReleaseForm(TCustomForm* form);

    TExceptionEvent OnException;
    TIdleEvent OnIdle;
    TMessageEvent OnMessage;

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    void Idle();
    bool IsKeyMsg(TMsg& msg);
    bool IsHintMsg(const TMsg& msg);
    void HintMouseMove(TControl* control);
    void StartHintTimer(uint32_t ms, bool show);
    void HintTimerTick();
    void ActivateHint();
    void HideHint();
    void SetMouseControl(TControl* control);

    class Releaser : public TMessageTarget {
    public:
        explicit Releaser(TApplication& app) : app_(app) {}
        void HandleMessage(TMessage& message) override;

    private:
        TApplication& app_;
    };

    Releaser releaser_{*this};
    std::vector<TCustomForm*> releasing_;
    std::string title_;
    TCustomForm* mainForm_ = nullptr;
    bool showMainForm_ = true;
    bool terminated_ = false;
    bool handlingException_ = false;
    TControl* mouseControl_ = nullptr;
    // Hints.
    bool showHint_ = true;
    uint32_t hintPause_ = 500;
    uint32_t hintHidePause_ = 2500;
    uint32_t hintShortPause_ = 50;
    TColor hintColor_ = clInfoBk;
    TTimer* hintTimer_ = nullptr;
    bool hintTimerShows_ = true;
    bool hintActive_ = false;
    TControl* hintControl_ = nullptr;
    TRect hintCursorRect_;
    THintWindow* hintWindow_ = nullptr;
};

// The application object; lives for the whole run.
TApplication& TheApplication();
inline TApplication* const Application = &TheApplication();

// MessageBox flags the application uses.
inline constexpr UINT MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNO = 0x4, MB_ICONSTOP = 0x10, MB_ICONERROR = 0x10,
                      MB_ICONQUESTION = 0x20, MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40;
inline constexpr int IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7;

}  // namespace vcl
