// The window against a slave whose line takes its time, in real time: COM1 is a pseudo-terminal
// bridged to the paced slave's, which answers at 9600 or 4800 baud (a 125-register reply takes a
// quarter or half a second on the wire), or streams without ever falling quiet.

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/BusMonitor.h"
#include "controls/checkbox/CheckBox.h"
#include "controls/statusbar/StatusBar.h"
#include "platform/toolkit/Edit.h"
#include "modbus/modbus.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Timer.h"
#include "tests/app/PeerWindowFixture.h"
#include "tests/peers/PacedSlave.h"

namespace app::testing {
namespace {

class MainWindowPacedTest : public PeerWindowTest {
protected:
    void SetUp() override {
        PeerWindowTest::SetUp();
        // The window runs on real time here, as the line does.
        virtualClock_ = vcl::SetClock(&realClock_);
    }
    void TearDown() override {
        vcl::SetClock(virtualClock_);
        PeerWindowTest::TearDown();
    }
    // The slave at a speed, and the port opened at the panel's choice for it (0: 4800, 1: 9600).
    void StartSlave(const char* baud, int speedIndex, std::vector<std::string> options = {}) {
        std::vector<std::string> arguments{baud, "1"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        StartPeer(vcl::peers::PacedSlavePath(), arguments);
        Choose("SeSkinComboBox2", speedIndex);
        ClickPortButton();
        ASSERT_TRUE(form_->Comm1->PortOpen());
    }
    // Messages handled in real time until the condition holds or the time is up.
    bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < end) {
            Pump();
            if (condition()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }
    std::string Panel(int index) { return Wide(form_->SeSkinStatusBar1->Panels().Items(index)->Text()); }

    vcl::TSystemClock realClock_;
    vcl::TClock* virtualClock_ = nullptr;
};

// The reply of slave 1 to a read of count registers from address 1, as the window shows it.
std::string ShownReply(int count) {
    Bytes reply{0x01, 0x03, static_cast<uint8_t>(2 * count)};
    for (int i = 1; i <= count; ++i) {
        reply.push_back(static_cast<uint8_t>(vcl::peers::PacedRegister(i) >> 8));
        reply.push_back(static_cast<uint8_t>(vcl::peers::PacedRegister(i)));
    }
    return modbus::JoinHex(modbus::WithCrc(reply), "  ", "", "");
}

struct PacedCase {
    const char* baud;
    int speedIndex;
    std::vector<std::string> options;
};

class PacedReplies : public MainWindowPacedTest, public ::testing::WithParamInterface<PacedCase> {};

TEST_P(PacedReplies, ReadsOf1To125RegistersAreShownWholeWithMatchingCrcsAndAResponseTime) {
    StartSlave(GetParam().baud, GetParam().speedIndex, GetParam().options);
    for (const int registers : {1, 40, 100, 125}) {
        SCOPED_TRACE(std::to_string(registers) + " registers");
        Retype(form_->Edit2, std::to_string(registers));
        ClickSend();
        const std::string expected = ShownReply(registers);
        EXPECT_EQ(slave_->ReadLine(), "replied " + std::to_string(5 + 2 * registers));
        ASSERT_TRUE(PumpUntil([&] { return Panel(2) != ""; }, std::chrono::seconds(3)));
        EXPECT_EQ(form_->Memo1->Text(), expected);
        EXPECT_EQ(form_->Edit16->Text(), form_->Edit19->Text());
        EXPECT_EQ(form_->Edit17->Text(), form_->Edit20->Text());
        EXPECT_EQ(Panel(2), "CRC 正确");
        EXPECT_EQ(Panel(1).rfind("响应 ", 0), 0u) << Panel(1);
    }
}

INSTANTIATE_TEST_SUITE_P(Lines, PacedReplies,
                         ::testing::Values(PacedCase{"9600", 1, {}}, PacedCase{"4800", 0, {}},
                                           PacedCase{"9600", 1, {"--chunk", "16"}}),
                         [](const auto& info) {
                             return std::string("at") + info.param.baud + (info.param.options.empty() ? "" : "InChunks");
                         });

TEST_F(MainWindowPacedTest, AStreamThatNeverFallsQuietIsShownInPiecesWithNothingLostAndTheWindowAnswers) {
    StartSlave("9600", 1, {"--stream"});
    std::vector<std::string> pieces;
    form_->Memo1->OnChange = [&](vcl::TObject*) {
        if (form_->Memo1->Text().rfind("  ", 0) == 0) pieces.push_back(form_->Memo1->Text());  // not the waiting text
    };
    // While a piece is collected the user types into the frame memo: each keystroke notes whether
    // it was handled in the middle of a collection.
    bool collecting = false;
    const serial::TReceiveDataEvent receive = form_->Comm1->OnReceiveData();
    form_->Comm1->SetOnReceiveData([&](vcl::TObject* sender) {
        collecting = true;
        receive(sender);
        collecting = false;
    });
    std::vector<bool> typedWhileCollecting;
    form_->Memo2->OnChange = [&](vcl::TObject*) { typedWhileCollecting.push_back(collecting); };
    vcl::TTimer typist(nullptr);
    typist.SetInterval(300);
    typist.SetOnTimer([&](vcl::TObject*) {
        screen_.ClickAt(form_->Memo2->Handle(), {200, 60});
        screen_.TypeText(" ");
    });
    ClickSend();  // the stream starts when the request reaches the slave
    typist.SetEnabled(true);
    // Cut into pieces (at most 2 s each; the exact bound is checked in virtual time).
    ASSERT_TRUE(PumpUntil([&] { return pieces.size() >= 2; }, std::chrono::seconds(10)));
    typist.SetEnabled(false);
    EXPECT_NE(std::find(typedWhileCollecting.begin(), typedWhileCollecting.end(), true), typedWhileCollecting.end())
        << "the window answered while a piece came";
    // Each byte one more than the one before (mod 256), across the pieces too: none lost or doubled.
    std::string all;
    for (const std::string& piece : pieces) {
        EXPECT_LE(piece.size(), 4u * 16384u);
        all += piece;
    }
    ASSERT_GE(all.size(), 8u);
    const int first = std::stoi(all.substr(2, 2), nullptr, 16);
    for (size_t i = 0; i < all.size() / 4; ++i) {
        ASSERT_EQ(all.substr(4 * i, 4), "  " + modbus::ByteToHex(static_cast<uint8_t>(first + i))) << "byte " << i;
    }
}

TEST_F(MainWindowPacedTest, TheMonitorRepeats1000RequestsEvery20msAndCountsEveryOneAnswered) {
    StartSlave("115200", 7);
    TBusMonitorForm& monitor = *BusMonitor;
    monitor.EditInterval->SetText("20");
    monitor.EditTimeout->SetText("1000");
    monitor.CheckRepeat->SetChecked(true);
    ASSERT_TRUE(monitor.Repeating());
    const TLogCounters& counters = monitor.Log().Counters();
    ASSERT_TRUE(PumpUntil([&] { return counters.Sent >= 1000; }, std::chrono::seconds(240)));
    monitor.CheckRepeat->SetChecked(false);
    ASSERT_TRUE(PumpUntil([&] { return !monitor.Log().AwaitingReply(); }, std::chrono::seconds(3)));
    EXPECT_EQ(counters.Sent, 1000u);
    EXPECT_EQ(counters.Answered, 1000u);
    EXPECT_EQ(counters.NoReply, 0u);
    EXPECT_EQ(counters.CrcErrors, 0u);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(slave_->ReadLine(), "replied 13") << "reply " << i + 1;
    // The main window showed the last reply, read by the monitor.
    EXPECT_EQ(form_->Memo1->Text(), ShownReply(4));
}

}  // namespace
}  // namespace app::testing
