#pragma once
// Modal message boxes: MessageDlg (captioned by its kind: "Error", "Warning", ...) and the
// captioned box the application's error handling shows. Each box is a modal form of our own
// controls running a nested message loop until a button closes it.
//
// Tests (and anything else) observe boxes through one observer, called once a box is on screen
// and modal; it can read caption, text and buttons and answer at once or keep the view and answer
// later (from the headless backend's idle handler, for instance):
//   TMessageBoxRecorder boxes;            // records and answers every box with its default button
//   comm.SendBytes(data, 3);
//   ASSERT_EQ(boxes.Count(), 1);
//   EXPECT_EQ(boxes[0].Caption, "Error");

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/toolkit/Form.h"

namespace vcl {

enum TMsgDlgType : uint8_t { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : uint8_t { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
// A set of buttons; they show in the order of TMsgDlgBtn whatever order they are listed in.
using TMsgDlgButtons = std::vector<TMsgDlgBtn>;

// Shows a box captioned after its kind ("Warning", "Error", "Information", "Confirm"; the
// application title for mtCustom) and returns the modal result of the button that closed it.
int MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext = 0);
// The same with a caption of the caller's choosing.
int ShowMessageBox(const std::string& text, const std::string& caption, TMsgDlgType type, TMsgDlgButtons buttons);

const char* MessageDlgCaption(TMsgDlgType type);
const char* MessageDlgButtonCaption(TMsgDlgBtn button);
TModalResult ModalResultOf(TMsgDlgBtn button);

// A box as its observer sees it.
class TMessageBoxView {
public:
    virtual ~TMessageBoxView() = default;
    virtual const std::string& Caption() const = 0;
    virtual const std::string& Text() const = 0;
    virtual TMsgDlgType Type() const = 0;
    virtual const TMsgDlgButtons& Buttons() const = 0;
    virtual TMsgDlgBtn DefaultButton() const = 0;
    // Presses one of the box's buttons; the box closes with that button's result.
    virtual void Answer(TMsgDlgBtn button) = 0;
    virtual bool Answered() const = 0;
    virtual TCustomForm& Form() = 0;
};

using TMessageBoxObserver = std::function<void(TMessageBoxView& box)>;
// Installs the observer; returns the previous one.
TMessageBoxObserver SetMessageBoxObserver(TMessageBoxObserver observer);
// The box now open (the innermost one), or nullptr.
TMessageBoxView* OpenMessageBox();

// Records every box shown while it lives and answers each one at once, with the given button or
// the box's default button.
class TMessageBoxRecorder {
public:
    struct Box {
        std::string Caption;
        std::string Text;
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
    };
    explicit TMessageBoxRecorder(std::optional<TMsgDlgBtn> answer = std::nullopt);
    ~TMessageBoxRecorder();
    TMessageBoxRecorder(const TMessageBoxRecorder&) = delete;
    TMessageBoxRecorder& operator=(const TMessageBoxRecorder&) = delete;

    int Count() const { return static_cast<int>(boxes_.size()); }
    const Box& operator[](int index) const { return boxes_.at(static_cast<size_t>(index)); }
    const std::vector<Box>& Boxes() const { return boxes_; }
    void Clear() { boxes_.clear(); }

private:
    std::vector<Box> boxes_;
    TMessageBoxObserver previous_;
};

}  // namespace vcl
