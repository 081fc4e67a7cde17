#include "platform/toolkit/MessageBox.h"

#include <algorithm>
#include <stdexcept>

#include "platform/toolkit/Application.h"
#include "platform/toolkit/DialogControls.h"
#include "platform/toolkit/Screen.h"
#include "platform/toolkit/ScreenCanvas.h"
#include "platform/draw/Gdi.h"
#include "platform/window/SystemMetrics.h"
#include "platform/rtl/Utf.h"
#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

namespace {

TMessageBoxObserver& ObserverSlot() {
    static rtl::NeverDestroyed<TMessageBoxObserver> observer;
    return *observer;
}

std::vector<TMessageBoxView*>& OpenBoxes() {
    static rtl::NeverDestroyed<std::vector<TMessageBoxView*>> boxes;
    return *boxes;
}

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

// The box's measures in dialog units of its font (a quarter of the average character width, an
// eighth of the line height), as the classic message dialog has them.
struct TDialogLayout {
    int horzMargin, vertMargin, horzSpacing, vertSpacing, buttonWidth, buttonHeight, buttonSpacing, maxTextWidth;
};

int MulDiv(int number, int numerator, int denominator) {
    return static_cast<int>((static_cast<long long>(number) * numerator + denominator / 2) / denominator);
}

// Measures text in a font on a DC of its own.
class TMeasure {
public:
    explicit TMeasure(const TFont& font) : screen_(font) {}

    TSize DialogUnits() {
        const TSize letters = screen_.Canvas().TextExtent("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        return {(letters.cx / 26 + 1) / 2, letters.cy};
    }
    // The text broken to maxWidth: the widest line and the height of all lines.
    TSize Wrapped(const std::string& text, int maxWidth, unsigned format) {
        const std::u16string wide = rtl::Utf8ToUtf16(text);
        TRect r{0, 0, maxWidth, 0};
        DrawTextW(screen_.Handle(), wide.c_str(), static_cast<int>(wide.size()), &r, format | DT_CALCRECT);
        return {r.Width(), r.Height()};
    }

private:
    TScreenCanvas screen_;
};

TDialogLayout LayoutFor(TSize units) {
    return {MulDiv(8, units.cx, 4),  MulDiv(8, units.cy, 8),  MulDiv(10, units.cx, 4), MulDiv(10, units.cy, 8),
            MulDiv(50, units.cx, 4), MulDiv(14, units.cy, 8), MulDiv(4, units.cx, 4),  Screen().Width() / 2};
}

const char* ButtonName(TMsgDlgBtn button) {
    static const char* const names[] = {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll",
                                        "YesToAll", "Help"};
    return names[button];
}

// The form the box belongs to: the active one if it shows, else the main form if it shows.
TCustomForm* OwnerForm() {
    for (TCustomForm* form : {Screen().ActiveForm(), Application->MainForm()}) {
        if (form && form->HandleAllocated() && IsWindowVisible(form->Handle())) return form;
    }
    return nullptr;
}

// Centred on rect, kept on the work area of the monitor it lands on.
TPoint CentredOn(const TRect& rect, TSize size) {
    TPoint p{rect.Left + (rect.Width() - size.cx) / 2, rect.Top + (rect.Height() - size.cy) / 2};
    TMonitorInfo monitor;
    const TRect centre = Bounds(p.X, p.Y, size.cx, size.cy);
    const TRect work = GetMonitorInfo(MonitorFromRect(centre, MONITOR_DEFAULTTONEAREST), monitor) ? monitor.WorkArea
                                                                                                 : GetWorkArea();
    p.X = std::max(std::min(p.X, work.Right - size.cx), work.Left);
    p.Y = std::max(std::min(p.Y, work.Bottom - size.cy), work.Top);
    return p;
}

TMessageForm::TMessageForm(const std::string& text, const std::string& caption, TMsgDlgType type,
                           const TMsgDlgButtons& buttons)
    : TForm(nullptr), caption_(caption), text_(text), type_(type), buttons_(buttons) {
    SetBorderStyle(bsDialog);
    SetPosition(poDesigned);
    SetCaption(caption);
    const auto has = [&](TMsgDlgBtn b) { return std::find(buttons_.begin(), buttons_.end(), b) != buttons_.end(); };
    default_ = has(mbOK) ? mbOK : has(mbYes) ? mbYes : buttons_.front();
    const TMsgDlgBtn cancel = has(mbCancel) ? mbCancel : has(mbNo) ? mbNo : mbOK;

    TMeasure measure(Font());
    const TDialogLayout l = LayoutFor(measure.DialogUnits());
    const TSize textSize = measure.Wrapped(text, l.maxTextWidth, TMessageText::kFormat);
    const bool hasIcon = type != mtCustom;
    const int iconRoom = hasIcon ? TMessageIcon::kSize + l.horzSpacing : 0;
    const int iconTextWidth = iconRoom + textSize.cx;
    const int iconTextHeight = std::max(textSize.cy, hasIcon ? TMessageIcon::kSize : 0);
    // Buttons as wide as the widest caption needs, at least the standard width.
    int buttonWidth = l.buttonWidth;
    for (TMsgDlgBtn b : buttons_) {
        buttonWidth = std::max(buttonWidth, measure.Wrapped(MessageDlgButtonCaption(b), 1000, DT_SINGLELINE).cx + 8);
    }
    const int count = static_cast<int>(buttons_.size());
    const int groupWidth = count * buttonWidth + (count - 1) * l.buttonSpacing;
    const int width = std::max(iconTextWidth, groupWidth) + 2 * l.horzMargin;
    const int height = l.vertMargin + iconTextHeight + l.vertSpacing + l.buttonHeight + l.vertMargin;

    if (hasIcon) {
        auto* icon = new TMessageIcon(this, type);
        icon->SetName("Image");
        icon->SetBounds(l.horzMargin, l.vertMargin, TMessageIcon::kSize, TMessageIcon::kSize);
    }
    auto* message = new TMessageText(this);
    message->SetName("Message");
    message->SetCaption(text);
    // A text shorter than the icon is centred beside it.
    const int textTop = l.vertMargin + (iconTextHeight - textSize.cy) / 2;
    message->SetBounds(l.horzMargin + iconRoom, textTop, textSize.cx, textSize.cy);
    int x = (width - groupWidth) / 2;
    const int y = l.vertMargin + iconTextHeight + l.vertSpacing;
    for (TMsgDlgBtn b : buttons_) {
        auto* button = new TDialogButton(this, b, b == default_, b == cancel);
        button->SetName(ButtonName(b));
        button->SetBounds(x, y, buttonWidth, l.buttonHeight);
        buttonControls_.push_back(button);
        x += buttonWidth + l.buttonSpacing;
        if (b == default_) SetActiveControl(button);
    }
    TCustomForm* owner = OwnerForm();
    const TRect area = owner ? GetWindowRect(owner->Handle()) : TRect{0, 0, Screen().Width(), Screen().Height()};
    const TPoint at = CentredOn(area, {width, height});
    SetBounds(at.X, at.Y, width, height);
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
