// Writing, reading and the poll's events, on scripted ports.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/runtime/Clock.h"
#include "platform/serialdev/testing/FakeSerialPorts.h"
#include "tests/serial/CommFixture.h"

namespace serial {
namespace {

using testing_support::kAppTitle;
using testing_support::kBoxCaption;
using testing_support::kCannotOpen;
using vcl::DWORD;
using vcl::FakeSerialPort;
using vcl::SerialCall;
using Bytes = std::vector<uint8_t>;
using Log = std::vector<std::string>;

constexpr const char* kNotOpen = "COM Port is not opened yet!";

// A message target standing for the window events a tick's message processing lets run.
class PostedEvent : public vcl::TMessageTarget {
public:
    PostedEvent(Log& log, std::string name, std::function<void()> action = {})
        : log_(log), name_(std::move(name)), action_(std::move(action)) {}
    void Post() { vcl::MessageQueue().Post(this, vcl::WM_USER); }
    void HandleMessage(vcl::TMessage& message) override {
        if (message.Msg != vcl::WM_USER) return;
        log_.push_back(name_);
        if (action_) action_();
    }

private:
    Log& log_;
    std::string name_;
    std::function<void()> action_;
};

class CommTrafficTest : public testing_support::CommTest {
protected:
    void SetUp() override {
        CommTest::SetUp();
        port_ = &ports_.Add(2);
    }

    void Open() {
        comm_->SetPortOpen(true);
        ASSERT_TRUE(comm_->PortOpen());
        port_->ClearRecord();
    }

    // The bytes of the last read, as ReadBytes hands them out.
    Bytes LastRead() {
        const uint8_t* data = nullptr;
        const int32_t last = comm_->ReadBytes(data);
        if (last < 0) return {};
        return Bytes(data, data + last + 1);
    }

    // Logs every event the component raises.
    void LogEvents(Log& log) {
        comm_->SetOnReceiveData([&log](vcl::TObject*) { log.push_back("data"); });
        comm_->SetOnModemStateChange(
            [&log](vcl::TObject*, uint32_t event) { log.push_back("modem " + std::to_string(event)); });
        comm_->SetOnReceiveError(
            [&log](vcl::TObject*, uint32_t mask) { log.push_back("error " + std::to_string(mask)); });
    }

    vcl::FakeSerialPorts ports_;
    FakeSerialPort* port_ = nullptr;
};

// ---- writing -----------------------------------------------------------------------------------

TEST_F(CommTrafficTest, SendingWhileClosedShowsTheBoxOnceAndWritesNothing) {
    const uint8_t frame[] = {0x01, 0x03, 0x00};
    EXPECT_FALSE(comm_->SendBytes(frame, 3));
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Caption, kBoxCaption);
    EXPECT_EQ(Boxes()[0].Text, kNotOpen);
    EXPECT_EQ(Boxes()[0].Type, vcl::mtError);
    EXPECT_EQ(Boxes()[0].Buttons, (vcl::TMsgDlgButtons{vcl::mbOK}));
    EXPECT_TRUE(port_->Writes().empty());
}

TEST_F(CommTrafficTest, SendingHandsTheBytesToTheDeviceAndAFailedWriteStillCountsAsSent) {
    Open();
    const Bytes frame = {0x11, 0x03, 0x00, 0x6B, 0x00, 0x03, 0x76, 0x87};
    EXPECT_TRUE(comm_->SendBytes(frame.data(), 8));
    EXPECT_EQ(port_->Written(), frame);

    port_->LimitWrites(3);
    EXPECT_TRUE(comm_->SendBytes(frame.data(), 8));
    port_->Fail(SerialCall::WriteFile, 1);
    EXPECT_TRUE(comm_->SendBytes(frame.data(), 8));
    EXPECT_EQ(port_->Writes().size(), 3u);
    EXPECT_EQ(Boxes().Count(), 0);
}

// ---- reading -----------------------------------------------------------------------------------

TEST_F(CommTrafficTest, ReadingAClosedPortRaisesAndReadsNothing) {
    EXPECT_EQ(CommErrorOf([&] { comm_->Input(); }), kNotOpen);
    EXPECT_EQ(CommErrorOf([&] {
                  const uint8_t* data = nullptr;
                  comm_->ReadBytes(data);
              }),
              kNotOpen);
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(CommTrafficTest, OnlyAReadThatFindsBytesReplacesTheLastRead) {
    Open();
    const uint8_t sentinel = 0;
    const uint8_t* data = &sentinel;
    EXPECT_EQ(comm_->ReadBytes(data), -1);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(comm_->Input(), "");
    EXPECT_TRUE(port_->ReadRequests().empty()) << "nothing waits, so nothing is read";

    // The text ends before the first zero byte; the bytes keep everything.
    port_->QueueInput({0x41, 0x00, 0x42});
    EXPECT_EQ(comm_->Input(), "A");
    ASSERT_EQ(comm_->ReadBytes(data), 2);
    EXPECT_EQ(Bytes(data, data + 3), (Bytes{0x41, 0x00, 0x42}));
    EXPECT_EQ(port_->ReadRequests(), (std::vector<DWORD>{3}));

    // Nothing waits: the same read again, also after closing and reopening.
    comm_->SetPortOpen(false);
    comm_->SetPortOpen(true);
    EXPECT_EQ(comm_->Input(), "A");
    EXPECT_EQ(LastRead(), (Bytes{0x41, 0x00, 0x42}));
    port_->QueueInput({'n', 'e', 'w'});
    EXPECT_EQ(LastRead(), (Bytes{'n', 'e', 'w'}));
    EXPECT_EQ(comm_->Input(), "new");
}

TEST_F(CommTrafficTest, AFailedReadKeepsThePreviousOne) {
    Open();
    port_->QueueInput({7, 8});
    EXPECT_EQ(LastRead(), (Bytes{7, 8}));
    port_->QueueInput({9});
    port_->Fail(SerialCall::ReadFile, 1);
    EXPECT_EQ(LastRead(), (Bytes{7, 8}));
    EXPECT_EQ(LastRead(), (Bytes{9})) << "the bytes still wait after the failed read";
}

Bytes Pattern(size_t count) {
    Bytes bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 256);
    return bytes;
}

TEST_F(CommTrafficTest, AFullBufferIsReadButOneByteMoreIsThrownAway) {
    Open();
    const Bytes full = Pattern(16384);
    port_->QueueInput(full);
    EXPECT_EQ(LastRead(), full);

    port_->QueueInput({1, 2, 3});
    EXPECT_EQ(LastRead(), (Bytes{1, 2, 3}));
    port_->ClearRecord();
    port_->QueueInput(Pattern(16385));
    EXPECT_EQ(LastRead(), (Bytes{1, 2, 3}));
    EXPECT_EQ(port_->InputWaiting(), 0u);
    EXPECT_EQ(port_->Purges(), (std::vector<DWORD>{vcl::PURGE_RXCLEAR}));
    EXPECT_TRUE(port_->ReadRequests().empty());
}

// Another program reading the same device takes bytes between the count and the read.
TEST_F(CommTrafficTest, ARacingReaderLeavesOnlyWhatTheReadGot) {
    Open();
    int taken = 0;
    port_->SetCallHook([&](SerialCall call) {
        if (call == SerialCall::ReadFile) port_->TakeInput(static_cast<size_t>(taken));
    });
    port_->QueueInput({1, 2, 3, 4, 5});
    taken = 3;
    EXPECT_EQ(LastRead(), (Bytes{4, 5}));
    EXPECT_EQ(port_->ReadRequests().back(), 5u);
    port_->QueueInput({'x', 'y'});
    taken = 2;
    EXPECT_EQ(comm_->Input(), "\x04\x05") << "a read that got nothing keeps the previous one";
    EXPECT_EQ(LastRead(), (Bytes{4, 5}));
}

TEST_F(CommTrafficTest, InputLenLimitsAReadAndNeverAsksForMoreThanWaits) {
    Open();
    comm_->SetInputLen(3);
    port_->QueueInput({1, 2, 3, 4, 5});
    EXPECT_EQ(LastRead(), (Bytes{1, 2, 3}));
    EXPECT_EQ(LastRead(), (Bytes{4, 5}));
    comm_->SetInputLen(16384);
    port_->QueueInput({6, 7, 8, 9});
    EXPECT_EQ(LastRead(), (Bytes{6, 7, 8, 9}));
    EXPECT_EQ(port_->ReadRequests(), (std::vector<DWORD>{3, 2, 4}));
}

TEST_F(CommTrafficTest, EveryReadStoresTheErrorFlagsButCountingTheQueueDropsThem) {
    Open();
    port_->RaiseErrors(vcl::CE_FRAME | vcl::CE_RXPARITY);
    comm_->Input();
    EXPECT_EQ(comm_->CommError(), vcl::CE_FRAME | vcl::CE_RXPARITY) << "a read that finds nothing stores them too";

    port_->RaiseErrors(vcl::CE_BREAK);
    port_->QueueInput({1, 2, 3, 4});
    EXPECT_EQ(comm_->DataCount(), 4u);
    EXPECT_EQ(comm_->CommError(), vcl::CE_FRAME | vcl::CE_RXPARITY);
    EXPECT_EQ(port_->PendingErrors(), 0u) << "cleared in the device all the same";
    comm_->Input();
    EXPECT_EQ(comm_->CommError(), 0u);
}

TEST_F(CommTrafficTest, DataCountCountsWhatWaitsAndOnlyZeroEmptiesTheQueue) {
    EXPECT_EQ(comm_->DataCount(), 0u) << "closed";
    Open();
    EXPECT_EQ(comm_->DataCount(), 0u);
    port_->QueueInput(5, 0xAA);
    EXPECT_EQ(comm_->DataCount(), 5u);
    comm_->SetDataCount(5);
    EXPECT_EQ(comm_->DataCount(), 5u);
    EXPECT_TRUE(port_->Purges().empty());
    comm_->SetDataCount(0);
    EXPECT_EQ(comm_->DataCount(), 0u);
    EXPECT_EQ(port_->Purges(), (std::vector<DWORD>{vcl::PURGE_RXCLEAR}));
}

TEST_F(CommTrafficTest, TheModemOutputLinesFollowWritesOnlyWhileOpen) {
    comm_->SetDTREnabled(true);
    comm_->SetRTSEnabled(true);
    EXPECT_FALSE(comm_->DTREnabled());
    EXPECT_FALSE(comm_->RTSEnabled());
    EXPECT_EQ(Boxes().Count(), 0);

    Open();
    comm_->SetDTREnabled(true);
    comm_->SetRTSEnabled(true);
    EXPECT_TRUE(comm_->DTREnabled() && comm_->RTSEnabled());
    EXPECT_TRUE(port_->Dtr() && port_->Rts());
    comm_->SetRTSEnabled(false);
    comm_->SetDTREnabled(false);
    EXPECT_EQ(port_->Escapes(), (std::vector<DWORD>{vcl::SETDTR, vcl::SETRTS, vcl::CLRRTS, vcl::CLRDTR}));
    EXPECT_FALSE(port_->Dtr() || port_->Rts());
}

// ---- the poll ----------------------------------------------------------------------------------

TEST_F(CommTrafficTest, ReceiveEventsComeEveryIntervalWhileAtLeastTheThresholdWaits) {
    std::vector<uint32_t> times;
    comm_->SetOnReceiveData([&](vcl::TObject* sender) {
        EXPECT_EQ(sender, comm_.get());
        times.push_back(vcl::GetTickCount());
    });
    Open();
    port_->QueueInput(1000, 0x55);
    Ticks(3);
    EXPECT_TRUE(times.empty()) << "threshold 0: never";

    comm_->SetPortOpen(false);
    comm_->SetRThreshold(4);
    Open();
    port_->QueueInput({1, 2, 3});
    Ticks(2);
    EXPECT_TRUE(times.empty());
    // A handler that does not read is called again and again.
    port_->QueueInput({4});
    Ticks(3);
    ASSERT_EQ(times.size(), 3u);
    EXPECT_EQ(times[1] - times[0], 100u);
    EXPECT_EQ(times[2] - times[1], 100u);
    // One that reads ends the calls.
    comm_->SetOnReceiveData([&](vcl::TObject*) {
        times.push_back(0);
        comm_->Input();
    });
    Ticks(3);
    EXPECT_EQ(times.size(), 4u);
}

TEST_F(CommTrafficTest, TheFirstPollReportsEveryLineThatIsOnAndLaterOnesOnlyChanges) {
    Log log;
    LogEvents(log);
    port_->SetModemStatus(vcl::MS_DSR_ON | vcl::MS_CTS_ON);
    Open();
    Ticks(1);
    EXPECT_EQ(log, (Log{"modem 24"}));  // EV_DSR 16 + EV_CTS 8
    EXPECT_EQ(comm_->CommEvent(), 24u);
    EXPECT_TRUE(comm_->DSRHolding());
    EXPECT_TRUE(comm_->CTSHolding());
    EXPECT_FALSE(comm_->CDHolding());
    EXPECT_FALSE(comm_->RIHolding());
    Ticks(3);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(comm_->CommEvent(), 0u);

    port_->SetModemStatus(vcl::MS_DSR_ON | vcl::MS_CTS_ON | vcl::MS_RLSD_ON);
    Ticks(1);
    port_->SetModemStatus(vcl::MS_DSR_ON | vcl::MS_CTS_ON | vcl::MS_RING_ON);
    Ticks(1);
    EXPECT_EQ(log, (Log{"modem 24", "modem 32", "modem 288"}));  // CD off and RI on: 32 + 256
    EXPECT_FALSE(comm_->CDHolding());
    EXPECT_TRUE(comm_->RIHolding());
}

TEST_F(CommTrafficTest, LineStatesSurviveClosingSoAReopeningReportsOnlyWhatDiffers) {
    Log log;
    LogEvents(log);
    port_->SetModemStatus(vcl::MS_DSR_ON | vcl::MS_RLSD_ON);
    Open();
    Ticks(1);
    comm_->SetPortOpen(false);
    port_->SetModemStatus(vcl::MS_RLSD_ON | vcl::MS_CTS_ON);
    Ticks(2);
    EXPECT_TRUE(comm_->DSRHolding()) << "not looked at while closed";
    Open();
    Ticks(1);
    EXPECT_EQ(log, (Log{"modem 48", "modem 24"}));  // DSR + CD; then DSR off + CTS on
}

TEST_F(CommTrafficTest, AFailingModemStatusRaisesNoEventAndKeepsTheLines) {
    Log log;
    LogEvents(log);
    port_->SetModemStatus(vcl::MS_CTS_ON);
    Open();
    Ticks(1);
    port_->SetModemStatus(vcl::MS_DSR_ON);
    port_->Fail(SerialCall::GetCommModemStatus, 2);
    Ticks(2);
    EXPECT_EQ(log, (Log{"modem 8"}));
    EXPECT_TRUE(comm_->CTSHolding());
    EXPECT_FALSE(comm_->DSRHolding());
    Ticks(1);
    EXPECT_EQ(log, (Log{"modem 8", "modem 24"}));
}

TEST_F(CommTrafficTest, ATickRaisesDataThenModemThenErrorWithWindowEventsInBetween) {
    Log log;
    PostedEvent afterData(log, "window event after data");
    PostedEvent afterModem(log, "window event after modem");
    comm_->SetRThreshold(1);
    comm_->SetOnReceiveData([&](vcl::TObject*) {
        log.push_back("data");
        afterData.Post();
    });
    comm_->SetOnModemStateChange([&](vcl::TObject*, uint32_t event) {
        log.push_back("modem " + std::to_string(event));
        afterModem.Post();
    });
    comm_->SetOnReceiveError([&](vcl::TObject*, uint32_t mask) { log.push_back("error " + std::to_string(mask)); });
    Open();
    port_->QueueInput({1});
    port_->SetModemStatus(vcl::MS_RING_ON);
    port_->RaiseErrors(vcl::CE_OVERRUN);
    Ticks(1);
    EXPECT_EQ(log, (Log{"data", "window event after data", "modem 256", "window event after modem", "error 2"}));
    EXPECT_EQ(comm_->CommError(), vcl::CE_OVERRUN);
    // The errors were taken from the device; the bytes still wait.
    log.clear();
    Ticks(1);
    EXPECT_EQ(log, (Log{"data", "window event after data"}));
    EXPECT_EQ(comm_->CommError(), 0u);
}

TEST_F(CommTrafficTest, TheErrorEventCarriesTheFlagsOfAReadInsideTheReceiveHandler) {
    Log log;
    LogEvents(log);
    comm_->SetRThreshold(1);
    comm_->SetOnReceiveData([&](vcl::TObject*) {
        log.push_back("data " + comm_->Input());
        port_->RaiseErrors(vcl::CE_BREAK);
        comm_->Input();  // nothing waits now, but the flags are taken
    });
    Open();
    port_->QueueInput({'h', 'i'});
    port_->RaiseErrors(vcl::CE_FRAME);
    Ticks(1);
    EXPECT_EQ(log, (Log{"data hi", "error 16"}));
}

TEST_F(CommTrafficTest, ATickThatOutlastsTheIntervalIsFollowedByTheNextNotEnteredByIt) {
    Log log;
    PostedEvent button(log, "window event");
    comm_->SetRThreshold(1);
    int ticks = 0;
    int depth = 0;
    comm_->SetOnReceiveData([&](vcl::TObject*) {
        const int tick = ++ticks;
        log.push_back("data " + std::to_string(tick) + " at depth " + std::to_string(++depth));
        if (tick == 1) {
            button.Post();
            // The main window's receive handler waits this long before reading.
            vcl::Sleep(100);
        }
        --depth;
    });
    comm_->SetOnModemStateChange(
        [&](vcl::TObject*, uint32_t event) { log.push_back("modem " + std::to_string(event)); });
    comm_->SetOnReceiveError([&](vcl::TObject*, uint32_t mask) { log.push_back("error " + std::to_string(mask)); });
    Open();
    port_->QueueInput({1});
    port_->SetModemStatus(vcl::MS_CTS_ON);
    port_->RaiseErrors(vcl::CE_FRAME);
    Ticks(1);
    // The tick due during the handler's wait was not started inside the first one; the window
    // event still ran there, and the first tick reported what it found.
    EXPECT_EQ(log, (Log{"data 1 at depth 1", "window event", "modem 8", "error 8"}));
    Ticks(1);
    EXPECT_EQ(log.back(), "data 2 at depth 1") << "the bytes still waited for the next period";
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(comm_->CTSHolding());
}

TEST_F(CommTrafficTest, ClosingInsideTheReceiveHandlerEndsTheTickWithTheApplicationsErrorBox) {
    Log log;
    LogEvents(log);
    comm_->SetRThreshold(1);
    comm_->SetOnReceiveData([&](vcl::TObject*) {
        log.push_back("data");
        comm_->SetPortOpen(false);
    });
    Open();
    port_->QueueInput({1});
    port_->SetModemStatus(vcl::MS_DSR_ON);
    port_->RaiseErrors(vcl::CE_FRAME);
    Ticks(1);
    EXPECT_EQ(log, (Log{"data"}));
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Caption, kAppTitle);
    EXPECT_EQ(Boxes()[0].Text, kNotOpen);
    EXPECT_EQ(port_->Calls().back(), SerialCall::Close);
    // The poll goes on, quietly, for the closed port.
    Ticks(3);
    EXPECT_EQ(log.size(), 1u);
    EXPECT_EQ(Boxes().Count(), 1);
}

TEST_F(CommTrafficTest, APortClosedByAWindowEventInsideTheTickIsNotTouchedAgain) {
    Log log;
    PostedEvent closeButton(log, "close", [&] { comm_->SetPortOpen(false); });
    LogEvents(log);
    comm_->SetRThreshold(1);
    comm_->SetOnReceiveData([&](vcl::TObject*) {
        log.push_back("data");
        closeButton.Post();
    });
    Open();
    port_->QueueInput({1});
    port_->SetModemStatus(vcl::MS_CTS_ON);
    port_->RaiseErrors(vcl::CE_BREAK);
    Ticks(1);
    EXPECT_EQ(log, (Log{"data", "close", "modem 8", "error 16"}));
    EXPECT_EQ(port_->Calls().back(), SerialCall::Close);
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(CommTrafficTest, DestroyingTheComponentInsideATickEndsTheTick) {
    Log log;
    PostedEvent destroy(log, "destroy", [&] { comm_.reset(); });
    comm_->SetRThreshold(1);
    comm_->SetOnReceiveData([&](vcl::TObject*) {
        log.push_back("data");
        destroy.Post();
    });
    comm_->SetOnModemStateChange([&](vcl::TObject*, uint32_t) { log.push_back("modem"); });
    Open();
    port_->QueueInput({1});
    port_->SetModemStatus(vcl::MS_CTS_ON);
    Ticks(2);
    EXPECT_EQ(log, (Log{"data", "destroy"}));
    EXPECT_FALSE(port_->IsOpen());
}

TEST_F(CommTrafficTest, AQueueThatCannotBeQueriedCountsAsEmptyAndErrorFree) {
    Log log;
    LogEvents(log);
    comm_->SetRThreshold(1);
    Open();
    port_->RaiseErrors(vcl::CE_FRAME);
    Ticks(1);
    EXPECT_EQ(log, (Log{"error 8"}));
    port_->QueueInput({1, 2});
    port_->RaiseErrors(vcl::CE_OVERRUN);
    port_->Fail(SerialCall::ClearCommError, 3);
    Ticks(1);
    EXPECT_EQ(comm_->CommError(), 0u) << "no stale flags to report again";
    EXPECT_EQ(comm_->DataCount(), 0u);
    EXPECT_EQ(LastRead(), Bytes{});
    EXPECT_EQ(log, (Log{"error 8"}));
    Ticks(1);
    EXPECT_EQ(log, (Log{"error 8", "data", "error 2"}));
}

TEST_F(CommTrafficTest, APulledAdapterLeavesThePollHarmlessAndThePortClosable) {
    Log log;
    LogEvents(log);
    comm_->SetRThreshold(1);
    port_->SetModemStatus(vcl::MS_CTS_ON);
    Open();
    port_->QueueInput({'o', 'k'});
    Ticks(1);
    EXPECT_EQ(comm_->Input(), "ok");
    log.clear();

    port_->RaiseErrors(vcl::CE_FRAME);
    port_->QueueInput({1, 2, 3});
    port_->Vanish();
    port_->ClearRecord();
    Ticks(10);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Boxes().Count(), 0);
    // Each tick asks twice (queue, lines) and gives up.
    EXPECT_EQ(port_->CallCount(SerialCall::ClearCommError), 10);
    EXPECT_EQ(port_->CallCount(SerialCall::GetCommModemStatus), 10);
    EXPECT_EQ(port_->Calls().size(), 20u);
    EXPECT_TRUE(comm_->CTSHolding());

    const uint8_t frame[] = {1, 2};
    EXPECT_TRUE(comm_->SendBytes(frame, 2));
    EXPECT_EQ(comm_->Input(), "ok");
    EXPECT_EQ(comm_->DataCount(), 0u);
    comm_->SetBaudRate(br19200);
    comm_->SetDTREnabled(true);
    EXPECT_TRUE(comm_->PortOpen());
    // Only the terminal hears of it, once.
    ASSERT_EQ(Diagnostics().size(), 1u);
    EXPECT_NE(Diagnostics()[0].find("COM2 -> /dev/ttyFAKE2"), std::string::npos) << Diagnostics()[0];
    EXPECT_NE(Diagnostics()[0].find("went away"), std::string::npos) << Diagnostics()[0];

    comm_->SetPortOpen(false);
    EXPECT_FALSE(comm_->PortOpen());
    EXPECT_EQ(port_->Calls().back(), SerialCall::Close);
    EXPECT_EQ(CommErrorOf([&] { comm_->SetPortOpen(true); }), kCannotOpen);
    port_->Reattach();
    comm_->SetPortOpen(true);
    EXPECT_TRUE(comm_->PortOpen());
    EXPECT_EQ(Boxes().Count(), 0);
    Ticks(3);
    EXPECT_EQ(Diagnostics().size(), 2u) << "the failed reopening, and nothing from the new opening";

    // Each opening reports its own device going away.
    port_->Vanish();
    Ticks(3);
    EXPECT_EQ(Diagnostics().size(), 3u);
}

}  // namespace
}  // namespace serial
