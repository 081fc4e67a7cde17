// The port panel and the traffic through it: the chosen settings reach the device when the port
// opens, a failed opening leaves the panel closed with the application's error box, the send
// button writes exactly the frame memo's bytes, and each kind of reply shows in the reply panel.

#include <string>

#include "controls/button/Button.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/statusbar/StatusBar.h"
#include "modbus/modbus.h"
#include "platform/toolkit/Label.h"
#include "tests/app/MainWindowFixture.h"

namespace app::testing {
namespace {

using PortPanelTest = MainWindowTest;
using vcl::SerialCall;

constexpr const char* kCannotOpen = "通讯出现异常！请检查连接是否正确或重新启动程序和仪器。";

TEST_F(PortPanelTest, TheStartUpChoicesOpenCom1At115200With8DataBitsNoParityAnd1StopBit) {
    ClickPortButton();
    ASSERT_TRUE(com1_->IsOpen());
    EXPECT_EQ(com1_->State().BaudRate, 115200u);
    EXPECT_EQ(com1_->State().ByteSize, 8);
    EXPECT_EQ(com1_->State().Parity, 0);
    EXPECT_EQ(com1_->State().StopBits, 0);
    EXPECT_FALSE(com1_->Dtr());
    EXPECT_EQ(Wide(form_->SeSkinButton1->Caption()), "关闭串口");
    EXPECT_TRUE(form_->SeSkinButton3->Enabled());

    ClickPortButton();
    EXPECT_FALSE(com1_->IsOpen());
    EXPECT_EQ(Wide(form_->SeSkinButton1->Caption()), "打开串口");
    EXPECT_FALSE(form_->SeSkinButton3->Enabled());
    EXPECT_EQ(Boxes().Count(), 0);
}

struct LineChoice {
    int baud, dataBits, stopBits;  // item indices
    uint32_t speed;
    int byteSize, stopBitsCode;
};

TEST_F(PortPanelTest, EachChoiceOfTheListsReachesTheDeviceWhenThePortOpens) {
    const LineChoice choices[] = {
        {0, 3, 0, 4800, 8, 0},  {1, 2, 2, 9600, 7, 2},  {2, 3, 0, 14400, 8, 0},  {3, 0, 1, 19200, 5, 1},
        {4, 1, 0, 38400, 6, 0}, {5, 3, 0, 57600, 8, 0}, {6, 3, 2, 76800, 8, 2}, {7, 3, 0, 115200, 8, 0},
    };
    for (const LineChoice& c : choices) {
        SCOPED_TRACE(c.speed);
        Choose("SeSkinComboBox2", c.baud);
        Choose("SeSkinComboBox3", c.dataBits);
        Choose("SeSkinComboBox4", c.stopBits);
        ClickPortButton();
        ASSERT_TRUE(com1_->IsOpen());
        EXPECT_EQ(com1_->State().BaudRate, c.speed);
        EXPECT_EQ(com1_->State().ByteSize, c.byteSize);
        EXPECT_EQ(com1_->State().StopBits, c.stopBitsCode);
        ClickPortButton();
    }
    EXPECT_EQ(form_->Comm1->BaudRate(), serial::br115200);
}

TEST_F(PortPanelTest, AnotherPortTakesEffectAtTheNextOpeningAfterTheOpenOneClosed) {
    ClickPortButton();
    ASSERT_TRUE(com1_->IsOpen());
    Choose("SeSkinComboBox1", 4);
    ClickPortButton();
    EXPECT_FALSE(com1_->IsOpen());
    EXPECT_FALSE(com5_->IsOpen());
    ClickPortButton();
    EXPECT_TRUE(com5_->IsOpen());
}

TEST_F(PortPanelTest, AFailedOpeningShowsTheComponentsMessageUnderTheTitleAndLeavesThePanelClosed) {
    com1_->Fail(SerialCall::Open);
    ClickPortButton();
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Caption, "Velmo Modbus-RTU");
    EXPECT_EQ(Boxes()[0].Text, std::string(kCannotOpen) + ".");
    EXPECT_EQ(Boxes()[0].Type, vcl::mtError);
    EXPECT_EQ(Wide(form_->SeSkinButton1->Caption()), "打开串口");
    EXPECT_FALSE(form_->SeSkinButton3->Enabled());
    EXPECT_EQ(form_->Comm1->BaudRate(), serial::br115200);  // the settings stay stored

    com1_->Heal(SerialCall::Open);
    ClickPortButton();
    EXPECT_TRUE(com1_->IsOpen());
    EXPECT_EQ(Wide(form_->SeSkinButton1->Caption()), "关闭串口");
}

TEST_F(PortPanelTest, APortNumberWithoutDeviceFailsToOpen) {
    Choose("SeSkinComboBox1", 8);
    ClickPortButton();
    EXPECT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(ports_->OpenAttempts(), std::vector<int>{9});
    EXPECT_FALSE(form_->SeSkinButton3->Enabled());
}

class TrafficTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ClickPortButton();
        ASSERT_TRUE(com1_->IsOpen());
        com1_->ClearRecord();
    }
    std::string Status() { return Wide(form_->SeSkinStatusBar1->Panels().Items(0)->Text()); }
    std::vector<std::string> CrcFields() {
        return {form_->Edit16->Text(), form_->Edit17->Text(), form_->Edit19->Text(), form_->Edit20->Text()};
    }
};

TEST_F(TrafficTest, SendingWritesExactlyTheStartUpFrameAndThePanelWaits) {
    ClickSend();
    EXPECT_EQ(com1_->Written(), (Bytes{0x01, 0x03, 0x00, 0x01, 0x00, 0x04, 0x15, 0xC9}));
    EXPECT_EQ(form_->Memo1->Text(), "无返回数据 ");
    EXPECT_EQ(CrcFields(), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(form_->Label1->Caption(), "Label1");
}

TEST_F(TrafficTest, TheFrameMemoIsSentAsEditedOddDigitsAndLineBreaksIncluded) {
    const std::pair<const char*, Bytes> cases[] = {
        {"01 03 0", {0x01, 0x03}},
        {"11 03 00 6B 00 03 00 00", {0x11, 0x03, 0x00, 0x6B, 0x00, 0x03, 0x00, 0x00}},  // a wrong CRC
        {"0a", {0x0A}},
        {"01\n02", {0x01, 0x00, 0x02}},  // the line break's pair "\r\n" gives 00
    };
    for (const auto& [text, bytes] : cases) {
        SCOPED_TRACE(text);
        com1_->ClearRecord();
        ClickOn(form_->Memo2);
        Press('A', vcl::ssCtrl);
        // Each line typed, Enter between them.
        std::string rest = text;
        for (size_t cut; (cut = rest.find('\n')) != std::string::npos; rest.erase(0, cut + 1)) {
            Type(rest.substr(0, cut));
            Press(vcl::VK_RETURN);
        }
        Type(rest);
        ClickSend();
        EXPECT_EQ(com1_->Written(), bytes);
    }
}

TEST_F(TrafficTest, AFrameTooLongForTheBufferIsRefusedBeforeAnythingIsSentOrReset) {
    Arrive({0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x3F, 0xDB, 0xE3});
    form_->Memo2->SetText(std::string(2 * (modbus::kFrameBufferSize + 1), '7'));  // pasting this much is slow
    ClickSend();
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Caption, "Velmo Modbus-RTU");
    EXPECT_TRUE(com1_->Written().empty());
    EXPECT_EQ(form_->Edit16->Text(), "DB");

    form_->Memo2->SetText(std::string(2 * modbus::kFrameBufferSize, '7'));
    ClickSend();
    EXPECT_EQ(com1_->Written().size(), static_cast<size_t>(modbus::kFrameBufferSize));
}

struct ReplyCase {
    const char* name;
    Bytes bytes;
    const char* memo;
    std::vector<std::string> received;  // Edit16, Edit17
    bool localCrc;                      // Edit19 and Edit20 show the CRC of all but the last two bytes
    const char* label1;
};

std::string Hex(int value) { return modbus::ByteToHex(static_cast<uint8_t>(value)); }

TEST_F(TrafficTest, EachReplyShowsItsBytesCrcsCountAndForFourDataBytesItsFloat) {
    const ReplyCase cases[] = {
        {"nine bytes", {0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x3F, 0xDB, 0xE3},
         "  01  03  04  00  00  80  3F  DB  E3", {"DB", "E3"}, true, "1"},
        {"thirteen bytes", {0x01, 0x03, 0x08, 0x00, 0x00, 0x48, 0x41, 0x00, 0x00, 0x00, 0x00, 0x12, 0x34},
         "  01  03  08  00  00  48  41  00  00  00  00  12  34", {"12", "34"}, true, "1"},
        {"an exception", {0x01, 0x83, 0x02, 0xC0, 0xF1}, "  01  83  02  C0  F1", {"C0", "F1"}, true, "1"},
        {"a wrong CRC", {0x01, 0x03, 0x04, 0x00, 0x00, 0x48, 0x41, 0x00, 0x00},
         "  01  03  04  00  00  48  41  00  00", {"00", "00"}, true, "12.5"},
        {"two bytes", {0x01, 0x83}, "  01  83", {"", ""}, false, "12.5"},
        {"one byte", {0x7F}, "  7F", {"", ""}, false, "12.5"},
    };
    for (const ReplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ClickSend();
        Arrive(c.bytes);
        EXPECT_EQ(form_->Memo1->Text(), c.memo);
        std::vector<std::string> crc = c.received;
        const int n = static_cast<int>(c.bytes.size());
        const uint16_t local = modbus::Crc16(c.bytes.data(), n - 2);
        crc.push_back(c.localCrc ? Hex(local & 0xFF) : "");
        crc.push_back(c.localCrc ? Hex(local >> 8) : "");
        EXPECT_EQ(CrcFields(), crc);
        if (n == 9 && c.bytes[7] == 0xDB) {
            EXPECT_EQ(local, 0xE3DB);  // a correct reply checks out
        }
        EXPECT_EQ(Status(), "共接收到 " + std::to_string(c.bytes.size()) + " byte 数据");
        EXPECT_EQ(form_->Label1->Caption(), c.label1);
    }
}

TEST_F(TrafficTest, AFloatKeepsItsStoredPlaceItsRightEdgeInsideThePanelOrItsStartBesideTheMemo) {
    const int innerEdge = form_->SeSkinGroupBox3->Width() - 4;
    const int memoEdge = form_->Memo1->Left() + form_->Memo1->Width();
    struct Case {
        Bytes reply;
        const char* text;
        const char* place;
    };
    const Case cases[] = {
        {{0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x3F, 0x00, 0x00}, "1", "stored"},
        {{0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x39, 0x00, 0x00}, "0.000244140625", "frame"},
        // Wider than the room beside the memo: its sign must stay in view.
        {{0x01, 0x03, 0x04, 0xCD, 0xCC, 0xCC, 0xBD, 0x00, 0x00}, "-0.100000001490116", "memo"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        Arrive(c.reply);
        ASSERT_EQ(form_->Label1->Caption(), c.text);
        const std::string place = c.place;
        const int expected = place == "stored" ? 480 : place == "frame" ? innerEdge - form_->Label1->Width() : memoEdge;
        EXPECT_EQ(form_->Label1->Left(), expected);
        SaveScreenshot(std::string("reply-float-") + c.place + ".png", form_->Handle());
    }
}

TEST_F(TrafficTest, BytesWithoutARequestAreShownAsAReply) {
    Arrive({0x05, 0x06, 0x07});
    EXPECT_EQ(form_->Memo1->Text(), "  05  06  07");
    EXPECT_EQ(Status(), "共接收到 3 byte 数据");
}

TEST_F(TrafficTest, TwoBurstsFarApartShowOnlyTheSecondWithItsOwnCount) {
    Arrive({0x01, 0x03, 0x04, 0x00});
    Advance(300);
    Arrive({0x00, 0x80, 0x3F, 0xDB, 0xE3});
    EXPECT_EQ(form_->Memo1->Text(), "  00  80  3F  DB  E3");
    EXPECT_EQ(Status(), "共接收到 5 byte 数据");
    EXPECT_EQ(CrcFields()[0], "DB");
}

TEST_F(TrafficTest, AReplyLongerThanTheTransmitBufferIsShownWhole) {
    Bytes reply(serial::TComm::kReceiveBufferSize, 0xAB);
    reply[0] = 0x01;
    Arrive(reply);
    EXPECT_EQ(form_->Memo1->Text().size(), 4 * reply.size());
    EXPECT_EQ(form_->Memo1->Text().substr(0, 8), "  01  AB");
    EXPECT_EQ(Status(), "共接收到 16384 byte 数据");
}

TEST_F(TrafficTest, WhenTheBytesAreGoneBeforeTheyAreReadNothingChanges) {
    // Another reader takes what waited just before the window reads it.
    com1_->SetCallHook([this](SerialCall call) {
        if (call == SerialCall::ReadFile) com1_->TakeInput(com1_->InputWaiting());
    });
    Arrive({0x01, 0x02, 0x03});
    ASSERT_EQ(form_->Memo1->Lines().Count(), 1);
    EXPECT_EQ(form_->Memo1->Lines()[0], "接收数据区");
    EXPECT_EQ(CrcFields(), (std::vector<std::string>{"0", "0", "0", "0"}));
    EXPECT_EQ(Status(), "");
    EXPECT_EQ(Boxes().Count(), 0);
}

}  // namespace
}  // namespace app::testing
