#include "platform/controls/MessageBox.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "platform/controls/Application.h"
#include "platform/rtl/Utf.h"

namespace vcl {

namespace {

TMessageBoxObserver& ObserverSlot() {
    static TMessageBoxObserver observer;
    return observer;
}

std::vector<TMessageBoxView*>& OpenBoxes() {
    static std::vector<TMessageBoxView*> boxes;
    return boxes;
}

// The accelerator of a caption: the character after a single "&".
char32_t Accelerator(const std::string& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        size_t next = i + 1;
        return rtl::NextCodePoint(caption, next);
    }
    return 0;
}

char32_t Upper(char32_t c) { return c < 128 ? static_cast<char32_t>(std::toupper(static_cast<int>(c))) : c; }

class TMessageForm;

// A push button of the box: Enter presses the focused or default one, Escape the cancel one, its
// accelerator letter (with or without Alt) presses it too.
class TDialogButton : public TCustomControl {
public:
    TDialogButton(TMessageForm* form, TMsgDlgBtn kind, bool isDefault, bool isCancel);
    TMsgDlgBtn Kind() const { return kind_; }
    void Press() { Click(); }
    void WndProc(TMessage& m) override;

protected:
    void Click() override;
    void KeyUp(uint16_t& key, TShiftState shift) override;
    void Paint() override;

private:
    bool Active() const;

    TMessageForm* form_;
    TMsgDlgBtn kind_;
    bool default_;
    bool cancel_;
};

class TMessageForm final : public TForm, public TMessageBoxView {
public:
    TMessageForm(const std::string& text, const std::string& caption, TMsgDlgType type, const TMsgDlgButtons& buttons);

    const std::string& Caption() const override { return caption_; }
    const std::string& Text() const override { return text_; }
    TMsgDlgType Type() const override { return type_; }
    const TMsgDlgButtons& Buttons() const override { return buttons_; }
    TMsgDlgBtn DefaultButton() const override { return default_; }
    bool Answered() const override { return ModalResult() != mrNone; }
    TCustomForm& Form() override { return *this; }

    void Answer(TMsgDlgBtn button) override {
        for (TDialogButton* b : buttonControls_) {
            if (b->Kind() == button) {
                b->Press();
                return;
            }
        }
        throw std::invalid_argument("the message box has no such button");
    }

protected:
    void ModalStarted() override {
        OpenBoxes().push_back(this);
        if (const TMessageBoxObserver& observer = ObserverSlot()) observer(*this);
    }

public:
    ~TMessageForm() override { OpenBoxes().erase(std::remove(OpenBoxes().begin(), OpenBoxes().end(), this), OpenBoxes().end()); }

private:
    std::string caption_;
    std::string text_;
    TMsgDlgType type_;
    TMsgDlgButtons buttons_;
    TMsgDlgBtn default_ = mbOK;
    std::vector<TDialogButton*> buttonControls_;
};

TDialogButton::TDialogButton(TMessageForm* form, TMsgDlgBtn kind, bool isDefault, bool isCancel)
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
    // The focused button, or the default one while no button has the focus.
    if (Focused()) return true;
    auto* focused = dynamic_cast<TDialogButton*>(form_->ActiveControl());
    return default_ && (!focused || focused == this);
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
        case CM_DIALOGCHAR: {
            const char32_t accel = Accelerator(Caption());
            if (accel && Upper(accel) == Upper(static_cast<char32_t>(m.WParam)) && CanFocus()) {
                Click();
                m.Result = 1;
                return;
            }
            break;
        }
        case WM_GETDLGCODE:
            m.Result = DLGC_BUTTON | (default_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
            return;
        default:
            break;
    }
    TCustomControl::WndProc(m);
}

void TDialogButton::KeyUp(uint16_t& key, TShiftState shift) {
    TCustomControl::KeyUp(key, shift);
    if (key == VK_SPACE) Click();
}

void TDialogButton::Paint() {
    // The face and a dark frame; the caption is drawn once text drawing exists.
    const TRect r = ClientRect();
    Canvas()->Brush().SetColor(default_ ? cl3DDkShadow : clBtnShadow);
    Canvas()->FillRect(r);
    Canvas()->Brush().SetColor(Color());
    Canvas()->FillRect(r.Inflate(-1, -1));
}

TMessageForm::TMessageForm(const std::string& text, const std::string& caption, TMsgDlgType type,
                           const TMsgDlgButtons& buttons)
    : TForm(nullptr), caption_(caption), text_(text), type_(type), buttons_(buttons) {
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetCaption(caption);
    const auto has = [&](TMsgDlgBtn b) { return std::find(buttons_.begin(), buttons_.end(), b) != buttons_.end(); };
    default_ = has(mbOK) ? mbOK : has(mbYes) ? mbYes : buttons_.front();
    const TMsgDlgBtn cancel = has(mbCancel) ? mbCancel : has(mbNo) ? mbNo : mbOK;
    // Until text is measured: 6 pixels a character, 13 a line; buttons 75 x 25, 8 apart.
    constexpr int kButtonWidth = 75, kButtonHeight = 25, kGap = 8, kMargin = 16;
    int lines = 1;
    size_t longest = 0, current = 0;
    for (char32_t c : rtl::Utf8ToUtf16(text)) {
        if (c == u'\n') {
            ++lines;
            current = 0;
            continue;
        }
        longest = std::max(longest, ++current);
    }
    const int buttonsWidth = static_cast<int>(buttons_.size()) * (kButtonWidth + kGap) - kGap;
    const int textWidth = static_cast<int>(longest) * 6 + 32 + 12;  // the icon and its gap
    const int width = std::max(textWidth, buttonsWidth) + 2 * kMargin;
    const int textHeight = std::max(lines * 13, 32);
    SetBounds(0, 0, width, kMargin + textHeight + kGap + kButtonHeight + kMargin);
    int x = (width - buttonsWidth) / 2;
    for (TMsgDlgBtn b : buttons_) {
        auto* button = new TDialogButton(this, b, b == default_, b == cancel);
        button->SetBounds(x, kMargin + textHeight + kGap, kButtonWidth, kButtonHeight);
        buttonControls_.push_back(button);
        x += kButtonWidth + kGap;
        if (b == default_) SetActiveControl(button);
    }
}

}  // namespace

const char* MessageDlgCaption(TMsgDlgType type) {
    switch (type) {
        case mtWarning: return "Warning";
        case mtError: return "Error";
        case mtInformation: return "Information";
        case mtConfirmation: return "Confirm";
        default: return "";
    }
}

const char* MessageDlgButtonCaption(TMsgDlgBtn button) {
    static const char* const captions[] = {"&Yes", "&No", "OK", "Cancel", "&Abort", "&Retry", "&Ignore", "&All",
                                           "N&o to All", "Yes to &All", "&Help"};
    return captions[button];
}

TModalResult ModalResultOf(TMsgDlgBtn button) {
    static const TModalResult results[] = {mrYes, mrNo, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrAll,
                                           mrNoToAll, mrYesToAll, mrNone};
    return results[button];
}

int ShowMessageBox(const std::string& text, const std::string& caption, TMsgDlgType type, TMsgDlgButtons buttons) {
    std::sort(buttons.begin(), buttons.end());
    buttons.erase(std::unique(buttons.begin(), buttons.end()), buttons.end());
    if (buttons.empty()) buttons.push_back(mbOK);
    TMessageForm box(text, caption, type, buttons);
    box.AfterConstruction();
    return box.ShowModal();
}

int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    const std::string caption = type == mtCustom ? Application->Title() : MessageDlgCaption(type);
    return ShowMessageBox(message, caption, type, std::move(buttons));
}

TMessageBoxObserver SetMessageBoxObserver(TMessageBoxObserver observer) {
    TMessageBoxObserver previous = std::move(ObserverSlot());
    ObserverSlot() = std::move(observer);
    return previous;
}

TMessageBoxView* OpenMessageBox() { return OpenBoxes().empty() ? nullptr : OpenBoxes().back(); }

TMessageBoxRecorder::TMessageBoxRecorder(std::optional<TMsgDlgBtn> answer) {
    previous_ = SetMessageBoxObserver([this, answer](TMessageBoxView& box) {
        boxes_.push_back(Box{box.Caption(), box.Text(), box.Type(), box.Buttons()});
        const bool offered = answer && std::find(box.Buttons().begin(), box.Buttons().end(), *answer) != box.Buttons().end();
        box.Answer(offered ? *answer : box.DefaultButton());
    });
}

TMessageBoxRecorder::~TMessageBoxRecorder() { SetMessageBoxObserver(std::move(previous_)); }

}  // namespace vcl
