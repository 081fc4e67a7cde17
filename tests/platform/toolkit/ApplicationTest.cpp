#include <gtest/gtest.h>

#include "ControlsFixture.h"
#include "platform/rtl/Exception.h"

namespace vcl {
namespace {

using testing_support::EventLog;
using testing_support::ProbeControl;
using AppTest = testing_support::ControlsTest;

TEST(ExceptionText, AFullStopFollowsMessagesWhoseLastCharacterSortsAfterIt) {
    struct Case {
        std::string message;
        std::string shown;
    };
    const Case cases[] = {
        {"'abc' is not a valid integer value", "'abc' is not a valid integer value."},
        {"Floating point overflow", "Floating point overflow."},
        {"COM Port is not opened yet!", "COM Port is not opened yet!"},  // '!' sorts before '.'
        {"Already a sentence.", "Already a sentence."},
        {"Ends in a bracket)", "Ends in a bracket)"},
        {"Ends in a comma,", "Ends in a comma,"},
        {"Port 5", "Port 5."},    // digits sort after '.'
        {"/dev/ttyS0/", "/dev/ttyS0/."},
        {"端口", "端口."},          // any non-ASCII character sorts after '.'
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(TApplication::ExceptionText(c.message), c.shown) << c.message;
}

TEST_F(AppTest, AnExceptionInAHandlerEndsItShowsTheBoxAndTheLoopGoesOn) {
    TForm* form = NewForm();
    auto* button = new ProbeControl(form, "button", &log_);
    std::vector<std::string> steps;
    button->OnClick = [&](TObject*) {
        steps.push_back("before");
        throw rtl::EConvertError("'x1' is not a valid integer value");
        steps.push_back("after");  // never reached
    };
    TMessageBoxRecorder boxes;
    screen_.ClickAt(button->Handle(), {5, 5});
    int later = 0;
    button->OnDblClick = nullptr;
    form->OnMouseMove = [&](TObject*, TShiftState, int, int) { ++later; };
    screen_.MoveMouse(300, 250);
    Pump();
    EXPECT_EQ(steps, (std::vector<std::string>{"before"}));
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes[0].Caption, "Velmo Modbus-RTU");
    EXPECT_EQ(boxes[0].Text, "'x1' is not a valid integer value.");
    EXPECT_EQ(boxes[0].Type, mtError);
    EXPECT_EQ(boxes[0].Buttons, (TMsgDlgButtons{mbOK}));
    EXPECT_EQ(later, 1);  // the input after the failure was still handled
}

TEST_F(AppTest, EAbortIsSilentAndOnExceptionReplacesTheBox) {
    TForm* form = NewForm();
    auto* button = new ProbeControl(form, "button", &log_);
    button->OnClick = [](TObject*) { throw EAbort(); };
    TMessageBoxRecorder boxes;
    screen_.ClickAt(button->Handle(), {5, 5});
    Pump();
    EXPECT_EQ(boxes.Count(), 0);
    std::vector<std::string> seen;
    Application->OnException = [&](TObject* sender, const std::exception& e) {
        seen.push_back(std::string(e.what()) + (sender == button ? " from the button" : ""));
    };
    button->OnClick = [](TObject*) { throw rtl::EOverflow(); };
    screen_.VirtualClock().AdvanceMilliseconds(600);  // not a double click
    screen_.Click();
    Pump();
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(seen, (std::vector<std::string>{"Floating point overflow from the button"}));
}

class CountingForm : public TForm {
public:
    explicit CountingForm(TComponent* owner) : TForm(owner) {
        label = new ProbeControl(this, "label", nullptr);
        OnCreate = [this](TObject* sender) {
            createdWithLabel = sender == this && label != nullptr && ComponentCount() == 1;
            ++creates;
        };
    }
    ProbeControl* label = nullptr;
    bool createdWithLabel = false;
    int creates = 0;
};

TEST_F(AppTest, CreateFormRunsOnCreateOnceAfterTheFormIsBuiltAndMakesTheFirstTheMainForm) {
    CountingForm* first = nullptr;
    CountingForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), first);
    EXPECT_TRUE(first->createdWithLabel);
    EXPECT_EQ(first->creates, 1);
    first->AfterConstruction();
    EXPECT_EQ(first->creates, 1);
    EXPECT_TRUE(first->HandleAllocated());
    EXPECT_FALSE(first->Visible());  // shown by Run
}

TEST_F(AppTest, RunShowsTheMainFormAndEndsWhenItCloses) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->SetPosition(poScreenCenter);
    main->SetBounds(0, 0, 572, 601);
    bool visibleWhileRunning = false;
    TPoint shownAt;
    int waits = 0;
    screen_.SetIdleHandler([&] {
        // The user closes the window once the loop waits.
        visibleWhileRunning = main->Visible() && IsWindowVisible(main->Handle());
        shownAt = {main->Left(), main->Top()};
        if (++waits == 1) screen_.RequestClose(main->Handle());
        return true;
    });
    Application->Run();
    EXPECT_TRUE(Application->Terminated());
    EXPECT_TRUE(visibleWhileRunning);
    // Centred on the 1024 x 768 screen: (1024 - 572) / 2, (768 - 601) / 2.
    EXPECT_EQ(shownAt, (TPoint{226, 83}));
    EXPECT_EQ(waits, 1);
}

TEST_F(AppTest, ProcessMessagesDispatchesEverythingWaitingAndReturns) {
    TForm* form = NewForm();
    auto* edit = new ProbeControl(form, "edit", &log_);
    edit->DialogCode = DLGC_WANTCHARS;
    edit->SetFocus();
    std::string typed;
    edit->OnKeyPress = [&](TObject*, char32_t& key) { typed += static_cast<char>(key); };
    screen_.TypeText("abc");
    int waitsBefore = screen_.WaitCount();
    Application->ProcessMessages();
    EXPECT_EQ(typed, "abc");
    EXPECT_EQ(screen_.WaitCount(), waitsBefore);  // it never waits
}

TEST_F(AppTest, ATickThatPumpsMessagesSeesTheNextTickInsideIt) {
    TTimer timer(nullptr);
    EventLog order;
    int ticks = 0;
    timer.SetInterval(100);
    timer.SetOnTimer([&](TObject*) {
        const int n = ++ticks;
        order.push_back("begin " + std::to_string(n));
        if (n == 1) {
            Sleep(100);  // the handler takes as long as the interval
            Application->ProcessMessages();
        }
        order.push_back("end " + std::to_string(n));
    });
    screen_.Advance(150);
    EXPECT_EQ(order, (EventLog{"begin 1", "begin 2", "end 2", "end 1"}));
}

TEST_F(AppTest, AMessageDlgCanBeAnsweredLaterFromTheIdleHandler) {
    NewForm();
    TMessageBoxView* seen = nullptr;
    SetMessageBoxObserver([&](TMessageBoxView& box) { seen = &box; });
    int idle = 0;
    screen_.SetIdleHandler([&] {
        ++idle;
        if (!seen) return false;
        EXPECT_EQ(seen->Caption(), "Confirm");
        EXPECT_EQ(seen->Text(), "Overwrite?");
        EXPECT_EQ(seen->Buttons(), (TMsgDlgButtons{mbYes, mbNo, mbCancel}));  // in the set's order
        EXPECT_EQ(seen->DefaultButton(), mbYes);
        seen->Answer(mbNo);
        return true;
    });
    const int result = MessageDlg("Overwrite?", mtConfirmation, {mbCancel, mbNo, mbYes});
    EXPECT_EQ(result, mrNo);
    EXPECT_EQ(idle, 1);
    EXPECT_EQ(OpenMessageBox(), nullptr);
}

TEST_F(AppTest, TheBoxAnswersTheKeyboardEnterForTheDefaultEscapeForCancel) {
    TForm* main = NewForm();
    struct Case {
        uint16_t key;
        TShiftState shift;
        int expected;
    };
    const Case cases[] = {{VK_RETURN, 0, mrYes}, {VK_ESCAPE, 0, mrCancel}, {'N', ssAlt, mrNo}, {VK_TAB, 0, -1}};
    for (const Case& c : cases) {
        bool pressed = false;
        SetMessageBoxObserver([&](TMessageBoxView&) {});
        screen_.SetIdleHandler([&] {
            if (pressed) {
                // Tab moved the focus to "No"; Enter presses the focused button.
                screen_.PressKey(VK_RETURN);
                return true;
            }
            pressed = true;
            screen_.PressKey(c.key, c.shift);
            return true;
        });
        const int result = MessageDlg("Save changes?", mtWarning, {mbYes, mbNo, mbCancel});
        EXPECT_EQ(result, c.expected == -1 ? mrNo : c.expected) << c.key;
    }
    EXPECT_TRUE(main->Enabled());
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

TEST_F(AppTest, AModalBoxDisablesTheOtherWindowsUntilItCloses) {
    TForm* main = NewForm({0, 0, 400, 300});
    int clicks = 0;
    main->OnClick = [&](TObject*) { ++clicks; };
    bool mainEnabledDuring = true;
    SetMessageBoxObserver([&](TMessageBoxView& box) {
        mainEnabledDuring = IsWindowEnabled(main->Handle());
        EXPECT_EQ(GetActiveWindow(), box.Form().Handle());
    });
    int step = 0;
    screen_.SetIdleHandler([&] {
        if (++step == 1) {
            screen_.MoveMouse(390, 290);  // a click on the main form (the box is centred elsewhere)
            screen_.Click();
            return true;
        }
        OpenMessageBox()->Answer(mbOK);
        return true;
    });
    MessageDlg("COM Port is not opened yet!", mtError, {mbOK});
    EXPECT_FALSE(mainEnabledDuring);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_EQ(GetActiveWindow(), main->Handle());
}

TEST_F(AppTest, AWaitNobodyCanEndFailsLoudlyAndLeavesTheFormsUsable) {
    TForm* main = NewForm();
    EXPECT_THROW(MessageDlg("waiting", mtInformation, {mbOK}), EWaitStalled);
    EXPECT_EQ(OpenMessageBox(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
}

TEST_F(AppTest, ReleaseDestroysTheFormAfterTheWaitingMessages) {
    NewForm();
    auto* dialog = new TForm(Application);
    dialog->AfterConstruction();
    dialog->Show();
    bool aliveWhenPosted = false;
    auto* probe = new ProbeControl(dialog, "probe", &log_);
    struct Watch : TComponent {
        using TComponent::TComponent;
        bool Gone = false;
        TComponent* Target = nullptr;
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (op == opRemove && c == Target) Gone = true;
        }
    } watch(nullptr);
    watch.Target = dialog;
    dialog->FreeNotification(&watch);
    PostMessage(probe->Handle(), WM_USER);
    // Called through the base: the procedure also runs while the probe is being destroyed.
    TWinControl* windowed = probe;
    probe->WindowProc = [&, windowed](TMessage& m) {
        if (m.Msg == WM_USER) aliveWhenPosted = !watch.Gone;
        windowed->WndProc(m);
    };
    dialog->Release();
    EXPECT_FALSE(watch.Gone);
    Pump();
    EXPECT_TRUE(aliveWhenPosted);
    EXPECT_TRUE(watch.Gone);
}

TEST_F(AppTest, AnExceptionInOnCreateIsShownAndTheFormStillExists) {
    TMessageBoxRecorder boxes;
    struct Failing : TForm {
        explicit Failing(TComponent* owner) : TForm(owner) {
            OnCreate = [](TObject*) { throw rtl::Exception("COM Port has been opened!"); };
        }
    };
    Failing* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes[0].Text, "COM Port has been opened!");
}

TEST_F(AppTest, ClosingAFormThatIsNotTheMainFormHidesIt) {
    TForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    TForm* other = nullptr;
    Application->CreateForm(other);
    other->Show();
    bool asked = false;
    other->OnCloseQuery = [&](TObject*, bool& canClose) {
        canClose = asked;
        asked = true;
    };
    other->Close();
    EXPECT_TRUE(other->Visible());  // refused once
    other->Close();
    EXPECT_FALSE(other->Visible());
    EXPECT_FALSE(Application->Terminated());
    TCloseAction chosen = caHide;
    main->OnClose = [&](TObject*, TCloseAction& action) { action = chosen; };
    chosen = caNone;
    main->Close();
    Pump();
    EXPECT_FALSE(Application->Terminated());
    chosen = caHide;
    main->Close();
    Pump();
    EXPECT_TRUE(Application->Terminated());
}

}  // namespace
}  // namespace vcl
