// The program against a real Modbus RTU slave: COM1 is a pseudo-terminal bridged to another one on
// which libmodbus serves as slave 1 at the window's start-up speed (115200). The user opens the
// port, sends the start-up frame, a 2-register read and a float write generated from a decimal,
// and reads each answer in the reply panel.

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "controls/button/Button.h"
#include "controls/statusbar/StatusBar.h"
#include "modbus/modbus.h"
#include "platform/toolkit/Label.h"
#include "tests/app/PeerWindowFixture.h"

namespace app::testing {
namespace {

class MainWindowPeerTest : public PeerWindowTest {
protected:
    void SetUp() override {
        PeerWindowTest::SetUp();
        StartPeer(vcl::peers::ModbusSlavePath(),
                  {"115200", "1", "0x01=0x0000", "0x02=0x3F80", "0x03=0x1234", "0x04=0xABCD"});
        ClickPortButton();
        ASSERT_TRUE(form_->Comm1->PortOpen());
    }

    std::string Status() { return Wide(form_->SeSkinStatusBar1->Panels().Items(0)->Text()); }

    // Sends the frame memo and waits (in real time; the poll runs on the virtual clock) until a
    // reply of count bytes is shown.
    bool SendAndAwait(int count) {
        ClickSend();
        const std::string expected = "共接收到 " + std::to_string(count) + " byte 数据";
        const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (Status() != expected || form_->Memo1->Text().size() != 4u * static_cast<size_t>(count)) {
            if (std::chrono::steady_clock::now() > giveUp) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            Advance(serial::TComm::kPollInterval);
            Pump();
        }
        return true;
    }
};

TEST_F(MainWindowPeerTest, TheStartUpFrameIsAnsweredWithFourRegistersAndMatchingCrcs) {
    ASSERT_TRUE(SendAndAwait(13)) << form_->Memo1->Text();
    EXPECT_EQ(form_->Memo1->Text(), "  01  03  08  00  00  3F  80  12  34  AB  CD" + form_->Memo1->Text().substr(44));
    EXPECT_EQ(form_->Edit16->Text(), form_->Edit19->Text());
    EXPECT_EQ(form_->Edit17->Text(), form_->Edit20->Text());
    EXPECT_EQ(form_->Label1->Caption(), "Label1");
    EXPECT_EQ(vcl::peers::ParseServed(slave_->ReadLine()).function, 0x03);
}

TEST_F(MainWindowPeerTest, ATwoRegisterReadShowsItsFloat) {
    Retype(form_->Edit2, "2");
    ASSERT_TRUE(SendAndAwait(9)) << form_->Memo1->Text();
    // Registers 1 and 2 hold 0000 3F80: the bytes 00 00 3F 80 read least significant first.
    EXPECT_EQ(form_->Memo1->Text().substr(0, 28), "  01  03  04  00  00  3F  80");
    EXPECT_EQ(form_->Label1->Caption(), modbus::FloatToStr(modbus::ByteToFloat(std::vector<uint8_t>{0, 0, 0x3F, 0x80}.data())));
    EXPECT_EQ(form_->Edit16->Text(), form_->Edit19->Text());
    EXPECT_EQ(form_->Edit17->Text(), form_->Edit20->Text());
}

TEST_F(MainWindowPeerTest, AFloatGeneratedFromADecimalIsWrittenIntoTheRegisters) {
    Choose("SeSkinComboBox100", 1);
    Retype(form_->Edit27, "16");
    Retype(form_->Edit3, "12.5");
    ClickOn(form_->SeSkinButton4);
    ASSERT_EQ(form_->Edit22->Text(), "00 00 48 41");
    ASSERT_TRUE(SendAndAwait(8)) << form_->Memo1->Text();
    // The write reply echoes slave, function, start and quantity.
    EXPECT_EQ(form_->Memo1->Text().substr(0, 24), "  01  10  00  10  00  02");
    EXPECT_EQ(form_->Edit16->Text(), form_->Edit19->Text());
    const vcl::peers::Served served = vcl::peers::ParseServed(slave_->ReadLine());
    EXPECT_EQ(served.function, 0x10);
    ASSERT_GE(served.registers.size(), 18u);
    EXPECT_EQ(served.registers[16], 0x0000);
    EXPECT_EQ(served.registers[17], 0x4841);
    EXPECT_EQ(Boxes().Count(), 0);
}

}  // namespace
}  // namespace app::testing
