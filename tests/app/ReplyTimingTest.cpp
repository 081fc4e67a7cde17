// Replies on lines that take their time, in virtual time: COM1 delivers each byte at the pace of
// its baud rate (or in a USB adapter's chunks), and the window must show a reply whole, tell its
// response time and verdict in the status bar, split replies only at the line's silence, cut a
// peer that never falls quiet after 2 s without losing a byte, and stay responsive meanwhile.

#include <string>
#include <vector>

#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "modbus/modbus.h"
#include "platform/runtime/Clock.h"
#include "platform/runtime/Timer.h"
#include "platform/toolkit/Edit.h"
#include "tests/app/MainWindowFixture.h"

namespace app::testing {
namespace {

// The byte time of 8N1 at a speed, as the line paces it.
uint64_t ByteMicros(uint32_t baud) { return (10 * 1000000 + baud - 1) / baud; }

// A read reply of slave 1 for count registers, register i holding (i << 8) | (255 - i).
Bytes ReadReply(int count) {
    Bytes reply{0x01, 0x03, static_cast<uint8_t>(2 * count)};
    for (int i = 0; i < count; ++i) {
        reply.push_back(static_cast<uint8_t>(i));
        reply.push_back(static_cast<uint8_t>(255 - i));
    }
    return modbus::WithCrc(reply);
}

class ReplyTimingTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        form_->Memo1->OnChange = [this](vcl::TObject*) { shown_.push_back(form_->Memo1->Text()); };
    }
    // The port opened at one of the panel's speeds (0: 4800, 1: 9600, ... 7: 115200).
    void OpenAt(int speedIndex) {
        if (form_->Comm1->PortOpen()) ClickPortButton();
        Choose("SeSkinComboBox2", speedIndex);
        ClickPortButton();
        ASSERT_TRUE(form_->Comm1->PortOpen());
    }
    uint64_t Now() { return vcl::Clock().NowMicroseconds(); }
    std::string Panel(int index) { return Wide(form_->SeSkinStatusBar1->Panels().Items(index)->Text()); }
    // Memo1's text as bytes again.
    static Bytes Parse(const std::string& hex) {
        Bytes bytes;
        for (size_t i = 2; i + 1 < hex.size() + 1; i += 4) {
            bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        }
        return bytes;
    }

    std::vector<std::string> shown_;
};

TEST_F(ReplyTimingTest, AReadOnASlowLineIsShownWholeWithItsResponseTimeAndVerdict) {
    struct Case {
        int speedIndex;
        uint32_t baud;
        int registers;
    };
    for (const Case c : {Case{1, 9600, 1}, Case{1, 9600, 40}, Case{1, 9600, 100}, Case{1, 9600, 125},
                         Case{0, 4800, 1}, Case{0, 4800, 40}, Case{0, 4800, 100}, Case{0, 4800, 125}}) {
        SCOPED_TRACE(std::to_string(c.baud) + " baud, " + std::to_string(c.registers) + " registers");
        OpenAt(c.speedIndex);
        ClickSend();
        EXPECT_EQ(Panel(1), "");
        EXPECT_EQ(Panel(2), "");
        // The slave answers 23 ms after the request's eight bytes have left the line.
        const uint64_t requestEnd = form_->Comm1->LastSendDone() + 8 * form_->Comm1->CharacterMicroseconds();
        const Bytes reply = ReadReply(c.registers);
        com1_->ScheduleInput(reply, requestEnd + 23000, ByteMicros(c.baud));
        Advance(static_cast<uint32_t>(300 + reply.size() * ByteMicros(c.baud) / 1000));
        EXPECT_EQ(Parse(form_->Memo1->Text()), reply);
        EXPECT_EQ(form_->Edit16->Text(), form_->Edit19->Text());
        EXPECT_EQ(form_->Edit17->Text(), form_->Edit20->Text());
        EXPECT_EQ(Panel(0), "共接收到 " + std::to_string(reply.size()) + " byte 数据");
        EXPECT_EQ(Panel(1), "响应 23 ms");
        EXPECT_EQ(Panel(2), "CRC 正确");
    }
    // The panels follow the language chooser.
    ClickOn(form_->SeSkinRadioGroup1->Buttons()[0]);  // English
    EXPECT_EQ(Panel(1), "Reply 23 ms");
    EXPECT_EQ(Panel(2), "CRC OK");
}

TEST_F(ReplyTimingTest, ChunksCloserThanTheSilenceAreOneReplyBurstsFurtherApartAreTwo) {
    OpenAt(1);  // 9600: the silence is 20 ms, more than 3.5 characters
    ClickSend();
    // A USB adapter hands a 255-byte reply over in chunks of 15 bytes 16 ms apart, long after the
    // handler's first 100 ms; 25 ms after the last chunk a slave sends bytes of its own.
    const Bytes reply = ReadReply(125);
    const uint64_t start = Now() + 30000;
    for (size_t at = 0; at < reply.size(); at += 15) {
        const Bytes chunk(reply.begin() + static_cast<std::ptrdiff_t>(at),
                          reply.begin() + static_cast<std::ptrdiff_t>(std::min(at + 15, reply.size())));
        com1_->ScheduleInput(chunk, start + at / 15 * 16000, 0);
    }
    const uint64_t end = start + (reply.size() - 1) / 15 * 16000;
    com1_->ScheduleInput({0x05, 0x83, 0x02, 0xC0, 0xF1}, end + 25000, 0);
    shown_.clear();
    Advance(800);
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(Parse(shown_[0]), reply);
    EXPECT_EQ(Parse(shown_[1]), (Bytes{0x05, 0x83, 0x02, 0xC0, 0xF1}));
    // No request awaited the second, and its CRC fails (the exception belongs to slave 1).
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(Panel(2), "CRC 错误");
    // A sound exception reply is named, in either language.
    ClickSend();
    com1_->ScheduleInput({0x01, 0x83, 0x02, 0xC0, 0xF1}, Now() + 5000, ByteMicros(9600));
    Advance(400);
    EXPECT_EQ(Panel(2), "异常 02 非法数据地址");
    ClickOn(form_->SeSkinRadioGroup1->Buttons()[0]);  // English
    EXPECT_EQ(Panel(2), "Exception 02 Illegal data address");
}

TEST_F(ReplyTimingTest, APeerThatNeverFallsQuietIsShownIn2sPiecesWithNothingLostAndTheWindowAnswers) {
    OpenAt(7);  // 115200
    Bytes stream(60000);
    for (size_t i = 0; i < stream.size(); ++i) stream[i] = static_cast<uint8_t>(i * 7 + i / 256);
    // 25 bytes every millisecond: more than 16384 arrive in the first 2 s of a reply.
    const uint64_t start = Now() + 1000;
    com1_->ScheduleInput(stream, start, 40);
    std::vector<uint64_t> shownAt;
    std::vector<std::string> order;
    form_->Memo1->OnChange = [&](vcl::TObject*) {
        shown_.push_back(form_->Memo1->Text());
        shownAt.push_back(Now());
        if (shown_.size() == 1) order.push_back("shown");
    };
    // Half a second into the first reply the user types into the start address.
    vcl::TTimer typist(nullptr);
    typist.SetInterval(600);
    typist.SetOnTimer([&](vcl::TObject*) {
        typist.SetEnabled(false);
        screen_.TypeText("7");
    });
    const vcl::TNotifyEvent compose = form_->Edit27->OnChange;
    form_->Edit27->OnChange = [&](vcl::TObject* sender) {
        order.push_back("typed");
        compose(sender);
    };
    ClickOn(form_->Edit27);
    Press(vcl::VK_END);
    const std::string before = form_->Edit27->Text();
    typist.SetEnabled(true);
    Advance(3000);
    ASSERT_GE(shown_.size(), 2u);
    EXPECT_EQ(form_->Edit27->Text(), before + "7");
    EXPECT_EQ(order, (std::vector<std::string>{"typed", "shown"})) << "typed while the first reply was collected";
    // The first piece: 16384 bytes (the cap came before 2 s), within 2 s of the poll finding it.
    Bytes all;
    for (size_t i = 0; i < shown_.size(); ++i) {
        const Bytes piece = Parse(shown_[i]);
        EXPECT_LE(piece.size(), 16384u);
        all.insert(all.end(), piece.begin(), piece.end());
    }
    EXPECT_EQ(Parse(shown_[0]).size(), 16384u);
    EXPECT_LE(shownAt[0] - start, 100000u + 2000000u);
    ASSERT_LE(all.size(), stream.size());
    EXPECT_EQ(all, Bytes(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(all.size())))
        << "every byte once, in order, across the pieces";
    EXPECT_GT(all.size(), 30000u);
}

TEST_F(ReplyTimingTest, AStreamSlowerThanTheCapIsCut2sAfterThePollFoundIt) {
    OpenAt(1);  // 9600: about 1900 bytes in 2 s
    Bytes stream(6000, 0x55);
    const uint64_t start = Now() + 1000;
    com1_->ScheduleInput(stream, start, ByteMicros(9600));
    std::vector<uint64_t> shownAt;
    form_->Memo1->OnChange = [&](vcl::TObject*) {
        shown_.push_back(form_->Memo1->Text());
        shownAt.push_back(Now());
    };
    Advance(2500);
    ASSERT_EQ(shown_.size(), 1u);
    // Found by the first poll after the first byte (within 100 ms); shown 2 s after that, give
    // or take a step.
    EXPECT_GE(shownAt[0] - start, 2000000u);
    EXPECT_LE(shownAt[0] - start, 2000000u + 100000u + 5000u);
    EXPECT_NEAR(static_cast<double>(Parse(shown_[0]).size()), (shownAt[0] - start) / 1042.0, 3.0);
}

}  // namespace
}  // namespace app::testing
