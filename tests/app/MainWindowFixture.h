#pragma once
// The program started as its entry point starts it, on the headless screen with scripted serial
// ports (unless a test brings real ones): COM1 and COM5 exist, message boxes are recorded and answered, the logo's opener records
// the address instead of starting a browser. Helpers act as a user does: clicks on a control,
// keys and typing into the focused one.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Project1.h"
#include "app/Unit1.h"
#include "controls/combobox/ComboBox.h"
#include "platform/rtl/Utf.h"
#include "platform/serialdev/testing/FakeSerialPorts.h"
#include "platform/shell/Shell.h"
#include "platform/toolkit/Edit.h"
#include "serial/TComm1.h"
#include "tests/support/GuiTest.h"

namespace app::testing {

using Bytes = std::vector<uint8_t>;

class MainWindowTest : public vcl::testing_support::GuiTest {
protected:
    // With fakePorts false, COMn resolves as in the program (a test maps it to a pty).
    explicit MainWindowTest(bool fakePorts = true) {
        if (fakePorts) ports_ = std::make_unique<vcl::FakeSerialPorts>();
    }

    void SetUp() override {
        GuiTest::SetUp();
        RecordBoxes();
        if (ports_) {
            com1_ = &ports_->Add(1);
            com5_ = &ports_->Add(5);
        }
        TForm1::WebOpener() = [this](const std::string& address) {
            opened_.push_back(address);
            return true;
        };
        StartUp();
        form_ = Form1;
        form_->Show();
        Pump();
    }

    void TearDown() override {
        GuiTest::TearDown();
        Form1 = nullptr;
        TForm1::WebOpener() = vcl::OpenWebAddress;
    }

    vcl::TMessageBoxRecorder& Boxes() { return RecordBoxes(); }

    // A left click at a point of the control (its middle unless given).
    void ClickOn(vcl::TControl* control, vcl::TPoint at = {-1, -1}) {
        if (at.X < 0) at = {control->Width() / 2, control->Height() / 2};
        const vcl::TPoint p = control->ClientToScreen(at);
        screen_.MoveMouse(p.X, p.Y);
        screen_.Click();
        Pump();
    }
    void Press(uint16_t key, vcl::TShiftState shift = 0, int times = 1) {
        for (int i = 0; i < times; ++i) screen_.PressKey(key, shift);
        Pump();
    }
    void Type(const std::string& text) {
        screen_.TypeText(text);
        Pump();
    }
    // Clicks into a field, selects everything in it and types text over it.
    void Retype(vcl::TControl* field, const std::string& text) {
        ClickOn(field);
        Press(vcl::VK_END);
        Press(vcl::VK_HOME, vcl::ssShift);
        if (text.empty()) Press(vcl::VK_DELETE);
        else Type(text);
    }
    // Picks an item of a combo box with the arrow keys, as a user does with the list closed.
    void Choose(const std::string& name, int index) {
        ClickOn(Control(name), {5, 10});
        const int now = ItemIndexOf(name);
        if (index > now) Press(vcl::VK_DOWN, 0, index - now);
        if (index < now) Press(vcl::VK_UP, 0, now - index);
    }
    // Opens (or closes) the port with the panel's button.
    void ClickPortButton() { ClickOn(Control("SeSkinButton1")); }
    void ClickSend() { ClickOn(Control("SeSkinButton3")); }
    // Bytes arrive on COM1; the poll notices them and the window shows them.
    void Arrive(const Bytes& bytes) {
        com1_->QueueInput(bytes);
        Advance(serial::TComm::kPollInterval);
        Pump();
    }

    // A control by its designer name (fails the test when there is none).
    vcl::TControl* Control(const std::string& name) {
        auto* control = dynamic_cast<vcl::TControl*>(form_->FindComponent(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    int ItemIndexOf(const std::string& name) { return dynamic_cast<se::TSeSkinComboBox&>(*Control(name)).ItemIndex(); }

    static std::string Wide(const std::u16string& text) { return rtl::Utf16ToUtf8(text); }

    std::unique_ptr<vcl::FakeSerialPorts> ports_;
    vcl::FakeSerialPort* com1_ = nullptr;
    vcl::FakeSerialPort* com5_ = nullptr;
    std::vector<std::string> opened_;
    TForm1* form_ = nullptr;
};

}  // namespace app::testing
