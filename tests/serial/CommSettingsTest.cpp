// The component's settings, opening and closing, on scripted ports.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/serialdev/testing/FakeSerialPorts.h"
#include "tests/serial/CommFixture.h"

namespace serial {
namespace {

using testing_support::kBoxCaption;
using testing_support::kCannotOpen;
using vcl::DCB;
using vcl::FakeSerialPort;
using vcl::SerialCall;

// The ordinals are platform codes and stored-form values.
static_assert(sizeof(TComPortNumber) == 1 && sizeof(TBaudRate) == 1 && sizeof(TParity) == 1 &&
              sizeof(TStopBits) == 1 && sizeof(TDataBits) == 1 && sizeof(THWHandShaking) == 1 &&
              sizeof(TSWHandShaking) == 1);
static_assert(pnCOM1 == 0 && pnCOM2 == 1 && pnCOM10 == 9 && pnCOM100 == 99 && pnCOM255 == 254);
static_assert(br110 == 0 && br14400 == 7 && br56000 == 10 && br76800 == 12 && br230400 == 14);
static_assert(static_cast<int>(TParity::Mark) == vcl::MARKPARITY && static_cast<int>(TParity::Space) == 4);
static_assert(SB1 == vcl::ONESTOPBIT && SB1_5 == vcl::ONE5STOPBITS && SB2 == vcl::TWOSTOPBITS);
static_assert(DB5 == 0 && DB8 == 3 && hhRTSCTS == 2 && shXonXoff == 1);

class CommSettingsTest : public testing_support::CommTest {
protected:
    FakeSerialPort& AddPort(int number) { return ports_.Add(number); }

    // COM2, the port a new component opens.
    FakeSerialPort& OpenDefaultPort() {
        FakeSerialPort& port = ports_.Add(2);
        comm_->SetPortOpen(true);
        EXPECT_TRUE(comm_->PortOpen());
        return port;
    }

    vcl::FakeSerialPorts ports_;
};

TEST(PortDeviceName, IsTheFiveCharacterPrefixThenComAndTheNumber) {
    const std::string prefix = {'\\', '\\', '.', '\\', '\\'};
    EXPECT_EQ(PortDeviceName(pnCOM1), prefix + "COM1");
    EXPECT_EQ(PortDeviceName(pnCOM2), prefix + "COM2");
    EXPECT_EQ(PortDeviceName(pnCOM10), prefix + "COM10");
    EXPECT_EQ(PortDeviceName(pnCOM255), prefix + "COM255");
}

TEST_F(CommSettingsTest, PortNumbersOpenTheirOwnDevice) {
    struct Case {
        TComPortNumber port;
        int number;
    };
    for (const Case c : {Case{pnCOM1, 1}, Case{pnCOM10, 10}, Case{pnCOM255, 255}, Case{pnCOM2, 2}}) {
        FakeSerialPort& port = AddPort(c.number);
        comm_->SetCommPort(c.port);
        comm_->SetPortOpen(true);
        EXPECT_TRUE(port.IsOpen()) << c.number;
        comm_->SetPortOpen(false);
    }
    EXPECT_EQ(ports_.OpenAttempts(), (std::vector<int>{1, 10, 255, 2}));
}

TEST_F(CommSettingsTest, OpeningSetsBothQueuesEmptiesThemAndAppliesTheSettings) {
    FakeSerialPort& port = AddPort(2);
    port.QueueInput({1, 2, 3});
    comm_->SetPortOpen(true);
    EXPECT_TRUE(comm_->PortOpen());
    EXPECT_EQ(port.Calls(), (std::vector<SerialCall>{SerialCall::Open, SerialCall::SetupComm, SerialCall::PurgeComm,
                                                     SerialCall::GetCommState, SerialCall::SetCommState}));
    EXPECT_EQ(port.Setups(), (std::vector<FakeSerialPort::QueueSizes>{{16384, 16384}}));
    EXPECT_EQ(port.Purges(), (std::vector<vcl::DWORD>{15}));
    EXPECT_EQ(port.InputWaiting(), 0u) << "bytes that came before the opening are lost";
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(CommSettingsTest, APortThatIsAbsentOrHeldFailsWithTheConnectionMessageAndCanBeTriedAgain) {
    // Absent.
    EXPECT_EQ(CommErrorOf([&] { comm_->SetPortOpen(true); }), kCannotOpen);
    EXPECT_FALSE(comm_->PortOpen());
    // Held by another program, once.
    FakeSerialPort& port = AddPort(2);
    port.Fail(SerialCall::Open, 1);
    EXPECT_EQ(CommErrorOf([&] { comm_->SetPortOpen(true); }), kCannotOpen);
    EXPECT_FALSE(comm_->PortOpen());
    EXPECT_EQ(port.CallCount(SerialCall::SetupComm), 0);
    // Let go: the next attempt starts from scratch.
    EXPECT_EQ(CommErrorOf([&] { comm_->SetPortOpen(true); }), "");
    EXPECT_TRUE(comm_->PortOpen());
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(ports_.OpenAttempts(), (std::vector<int>{2, 2, 2}));
    EXPECT_EQ(Boxes().Count(), 0) << "the component shows no box for its opening errors";
}

// The user opens the port from a window event: the application's box shows the component's
// message, and standard error gets one line naming the port, its device and the reason.
TEST_F(CommSettingsTest, AFailedOpeningShowsTheBoxAndSaysWhyInOneLine) {
    struct Case {
        const char* name;
        std::function<void(vcl::FakeSerialPorts&)> script;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"missing", [](vcl::FakeSerialPorts&) {}, {"COM2", "no device present", "no such device"}},
        {"unplugged", [](vcl::FakeSerialPorts& ports) { ports.Add(2).Vanish(); },
         {"COM2", "/dev/ttyFAKE2", "no such device"}},
        {"no permission", [](vcl::FakeSerialPorts& ports) { ports.Add(2).RefuseAccess("dialout"); },
         {"COM2", "/dev/ttyFAKE2", "permission denied", "join the group", "dialout"}},
        {"held", [](vcl::FakeSerialPorts& ports) { ports.Add(2).Fail(SerialCall::Open); },
         {"COM2", "/dev/ttyFAKE2", "held by another program"}},
    };
    size_t lines = 0;
    for (const Case& c : cases) {
        vcl::FakeSerialPorts ports;
        c.script(ports);
        struct OpenButton : vcl::TMessageTarget {
            TComm& comm;
            explicit OpenButton(TComm& target) : comm(target) {}
            void HandleMessage(vcl::TMessage& message) override {
                if (message.Msg == vcl::WM_USER) comm.SetPortOpen(true);
            }
        } button(*comm_);
        vcl::MessageQueue().Post(&button, vcl::WM_USER);
        Pump();
        EXPECT_FALSE(comm_->PortOpen()) << c.name;
        ASSERT_EQ(Boxes().Count(), static_cast<int>(lines + 1)) << c.name;
        EXPECT_EQ(Boxes()[static_cast<int>(lines)].Caption, testing_support::kAppTitle) << c.name;
        EXPECT_EQ(Boxes()[static_cast<int>(lines)].Text.rfind(kCannotOpen, 0), 0u) << c.name;
        ASSERT_EQ(Diagnostics().size(), ++lines) << c.name;
        for (const std::string& word : c.words) {
            EXPECT_NE(Diagnostics().back().find(word), std::string::npos) << c.name << ": " << Diagnostics().back();
        }
    }
}

TEST_F(CommSettingsTest, ASecondComponentCannotTakeAPortTheFirstHolds) {
    OpenDefaultPort();
    TComm second(nullptr);
    EXPECT_EQ(CommErrorOf([&] { second.SetPortOpen(true); }), kCannotOpen);
    EXPECT_FALSE(second.PortOpen());
    EXPECT_TRUE(comm_->PortOpen());
}

TEST_F(CommSettingsTest, QueuesThatCannotBeSetCloseTheNewHandleAndFail) {
    FakeSerialPort& port = AddPort(2);
    port.Fail(SerialCall::SetupComm, 1);
    EXPECT_EQ(CommErrorOf([&] { comm_->SetPortOpen(true); }), "Cannot setup comm buffer");
    EXPECT_FALSE(comm_->PortOpen());
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(port.Calls(), (std::vector<SerialCall>{SerialCall::Open, SerialCall::SetupComm, SerialCall::Close}));
    // Closed means closed: the poll and the line setters leave the port alone.
    port.ClearRecord();
    comm_->SetBaudRate(br19200);
    Ticks(3);
    EXPECT_TRUE(port.Calls().empty());

    comm_->SetPortOpen(true);
    EXPECT_TRUE(comm_->PortOpen());
    EXPECT_EQ(port.StatesWritten().back().BaudRate, 19200u);
}

TEST_F(CommSettingsTest, OpeningAnOpenPortShowsTheErrorBoxAndChangesNothing) {
    FakeSerialPort& port = OpenDefaultPort();
    port.ClearRecord();
    comm_->SetPortOpen(true);
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Caption, kBoxCaption);
    EXPECT_EQ(Boxes()[0].Text, "COM Port has been opened!");
    EXPECT_EQ(Boxes()[0].Type, vcl::mtError);
    EXPECT_EQ(Boxes()[0].Buttons, (vcl::TMsgDlgButtons{vcl::mbOK}));
    EXPECT_TRUE(port.Calls().empty()) << "no reopening, no reapplying";
    EXPECT_EQ(port.OpenCount(), 1);
    EXPECT_TRUE(comm_->PortOpen());
}

TEST_F(CommSettingsTest, ClosingWhileClosedDoesNothingAndAPortReopensAnyNumberOfTimes) {
    FakeSerialPort& port = AddPort(2);
    comm_->SetPortOpen(false);
    EXPECT_FALSE(comm_->PortOpen());
    EXPECT_TRUE(port.Calls().empty());
    for (int round = 1; round <= 3; ++round) {
        comm_->SetPortOpen(true);
        EXPECT_TRUE(port.IsOpen());
        comm_->SetPortOpen(false);
        EXPECT_FALSE(port.IsOpen());
        EXPECT_FALSE(comm_->PortOpen());
        EXPECT_EQ(port.OpenCount(), round);
    }
    comm_->SetPortOpen(false);
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(CommSettingsTest, ANewPortNumberWaitsForTheNextOpening) {
    FakeSerialPort& second = OpenDefaultPort();
    FakeSerialPort& seventh = AddPort(7);
    comm_->SetCommPort(pnCOM7);
    EXPECT_TRUE(second.IsOpen());
    EXPECT_FALSE(seventh.IsOpen());
    comm_->SetPortOpen(false);
    comm_->SetPortOpen(true);
    EXPECT_FALSE(second.IsOpen());
    EXPECT_TRUE(seventh.IsOpen());
}

TEST_F(CommSettingsTest, DestroyingAnOpenComponentLetsThePortGo) {
    FakeSerialPort& port = OpenDefaultPort();
    comm_.reset();
    EXPECT_FALSE(port.IsOpen());
    TComm next(nullptr);
    next.SetPortOpen(true);
    EXPECT_TRUE(next.PortOpen());
}

// The record as the settings leave it, from a device whose record had every flag set and
// characters of its own.
DCB DeviceRecordWithEverythingOn() {
    DCB dcb;
    dcb.BaudRate = 1200;
    dcb.fBinary = 0;
    dcb.fParity = 1;
    dcb.fOutxCtsFlow = 1;
    dcb.fOutxDsrFlow = 1;
    dcb.fDtrControl = vcl::DTR_CONTROL_HANDSHAKE;
    dcb.fDsrSensitivity = 1;
    dcb.fTXContinueOnXoff = 1;
    dcb.fOutX = 1;
    dcb.fInX = 1;
    dcb.fErrorChar = 1;
    dcb.fNull = 1;
    dcb.fRtsControl = vcl::RTS_CONTROL_TOGGLE;
    dcb.fAbortOnError = 1;
    dcb.XonLim = 100;
    dcb.XoffLim = 200;
    dcb.ByteSize = 7;
    dcb.Parity = vcl::EVENPARITY;
    dcb.StopBits = vcl::TWOSTOPBITS;
    dcb.XonChar = 'q';
    dcb.XoffChar = 's';
    dcb.ErrorChar = '?';
    dcb.EofChar = 'z';
    dcb.EvtChar = '!';
    return dcb;
}

TEST_F(CommSettingsTest, TheFlagWordIsReplacedWholeAndTheCharactersKept) {
    FakeSerialPort& port = AddPort(2);
    port.SetState(DeviceRecordWithEverythingOn());
    comm_->SetPortOpen(true);
    ASSERT_EQ(port.StatesWritten().size(), 1u);
    const DCB& dcb = port.StatesWritten()[0];
    DCB expected = DeviceRecordWithEverythingOn();
    expected.BaudRate = 9600;
    expected.fBinary = 1;
    expected.fParity = 0;
    expected.fOutxCtsFlow = 0;
    expected.fOutxDsrFlow = 0;
    expected.fDtrControl = vcl::DTR_CONTROL_DISABLE;
    expected.fDsrSensitivity = 0;
    expected.fTXContinueOnXoff = 0;
    expected.fOutX = 0;
    expected.fInX = 0;
    expected.fErrorChar = 0;
    expected.fNull = 0;
    expected.fRtsControl = vcl::RTS_CONTROL_DISABLE;
    expected.fAbortOnError = 0;
    expected.ByteSize = 8;
    expected.Parity = vcl::NOPARITY;
    expected.StopBits = vcl::ONESTOPBIT;
    EXPECT_EQ(dcb, expected);
}

TEST_F(CommSettingsTest, EachValueOfEachSettingReachesTheRecord) {
    struct Case {
        const char* name;
        std::function<void(TComm&)> set;
        std::function<void(DCB&)> expect;
    };
    const Case cases[] = {
        {"br110", [](TComm& c) { c.SetBaudRate(br110); }, [](DCB& d) { d.BaudRate = 110; }},
        {"br14400", [](TComm& c) { c.SetBaudRate(br14400); }, [](DCB& d) { d.BaudRate = 14400; }},
        {"br56000", [](TComm& c) { c.SetBaudRate(br56000); }, [](DCB& d) { d.BaudRate = 56000; }},
        {"br76800", [](TComm& c) { c.SetBaudRate(br76800); }, [](DCB& d) { d.BaudRate = 76800; }},
        {"br230400", [](TComm& c) { c.SetBaudRate(br230400); }, [](DCB& d) { d.BaudRate = 230400; }},
        {"ordinal 15", [](TComm& c) { c.SetBaudRate(static_cast<TBaudRate>(15)); },
         [](DCB& d) { d.BaudRate = 230400; }},
        {"DB5", [](TComm& c) { c.SetDataBits(DB5); }, [](DCB& d) { d.ByteSize = 5; }},
        {"DB7", [](TComm& c) { c.SetDataBits(DB7); }, [](DCB& d) { d.ByteSize = 7; }},
        {"Odd", [](TComm& c) { c.SetParity(TParity::Odd); }, [](DCB& d) { d.Parity = 1; d.fParity = 1; }},
        {"Even", [](TComm& c) { c.SetParity(TParity::Even); }, [](DCB& d) { d.Parity = 2; d.fParity = 1; }},
        {"Mark", [](TComm& c) { c.SetParity(TParity::Mark); }, [](DCB& d) { d.Parity = 3; d.fParity = 1; }},
        {"Space", [](TComm& c) { c.SetParity(TParity::Space); }, [](DCB& d) { d.Parity = 4; d.fParity = 1; }},
        {"SB1_5", [](TComm& c) { c.SetStopBits(SB1_5); }, [](DCB& d) { d.StopBits = 1; }},
        {"SB2", [](TComm& c) { c.SetStopBits(SB2); }, [](DCB& d) { d.StopBits = 2; }},
        {"hhNoneRTSON", [](TComm& c) { c.SetHwHandShaking(hhNoneRTSON); }, [](DCB& d) { d.fRtsControl = 1; }},
        {"hhRTSCTS", [](TComm& c) { c.SetHwHandShaking(hhRTSCTS); },
         [](DCB& d) { d.fRtsControl = 2; d.fOutxCtsFlow = 1; }},
        {"shXonXoff", [](TComm& c) { c.SetSwHandShaking(shXonXoff); }, [](DCB& d) { d.fOutX = 1; d.fInX = 1; }},
    };
    // 9600 8N1, binary, every flag off, the device's characters kept.
    DCB defaults;
    defaults.BaudRate = 9600;
    defaults.fBinary = 1;
    defaults.ByteSize = 8;
    FakeSerialPort& port = AddPort(2);
    port.SetState(defaults);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DCB expected = defaults;
        c.expect(expected);
        // Set while open: reapplied at once.
        comm_ = std::make_unique<TComm>(nullptr);
        comm_->SetPortOpen(true);
        EXPECT_EQ(port.StatesWritten().back(), defaults);
        c.set(*comm_);
        EXPECT_EQ(port.StatesWritten().back(), expected);
        // Set while closed: only stored, and applied by the next opening.
        comm_ = std::make_unique<TComm>(nullptr);
        port.ClearRecord();
        c.set(*comm_);
        EXPECT_TRUE(port.Calls().empty());
        comm_->SetPortOpen(true);
        ASSERT_EQ(port.StatesWritten().size(), 1u);
        EXPECT_EQ(port.StatesWritten().back(), expected);
        port.SetState(defaults);
    }
}

TEST_F(CommSettingsTest, ALineSetterReappliesOnlyOnChangeAndEachReapplyingDropsDtr) {
    struct Case {
        const char* name;
        std::function<void(TComm&)> setSame;
        std::function<void(TComm&)> setOther;
    };
    const Case cases[] = {
        {"BaudRate", [](TComm& c) { c.SetBaudRate(br9600); }, [](TComm& c) { c.SetBaudRate(br4800); }},
        {"HwHandShaking", [](TComm& c) { c.SetHwHandShaking(hhNone); },
         [](TComm& c) { c.SetHwHandShaking(hhNoneRTSON); }},
        {"SwHandShaking", [](TComm& c) { c.SetSwHandShaking(shNone); },
         [](TComm& c) { c.SetSwHandShaking(shXonXoff); }},
        {"DataBits", [](TComm& c) { c.SetDataBits(DB8); }, [](TComm& c) { c.SetDataBits(DB6); }},
        {"Parity", [](TComm& c) { c.SetParity(TParity::None); }, [](TComm& c) { c.SetParity(TParity::Odd); }},
        {"StopBits", [](TComm& c) { c.SetStopBits(SB1); }, [](TComm& c) { c.SetStopBits(SB2); }},
    };
    FakeSerialPort& port = AddPort(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        comm_ = std::make_unique<TComm>(nullptr);
        comm_->SetPortOpen(true);
        comm_->SetDTREnabled(true);
        ASSERT_TRUE(port.Dtr());
        port.ClearRecord();

        c.setSame(*comm_);
        EXPECT_TRUE(port.Calls().empty());
        EXPECT_TRUE(port.Dtr());

        c.setOther(*comm_);
        EXPECT_EQ(port.Calls(), (std::vector<SerialCall>{SerialCall::GetCommState, SerialCall::SetCommState}));
        EXPECT_FALSE(port.Dtr());
        EXPECT_TRUE(comm_->DTREnabled()) << "the field does not follow the line";

        c.setOther(*comm_);
        EXPECT_EQ(port.CallCount(SerialCall::SetCommState), 1);
        comm_->SetPortOpen(false);
    }
}

TEST_F(CommSettingsTest, FailingSettingsCallsAreIgnoredAndThePortCountsAsOpen) {
    FakeSerialPort& port = AddPort(2);
    port.Fail(SerialCall::PurgeComm);
    port.Fail(SerialCall::GetCommState);
    port.Fail(SerialCall::SetCommState);
    comm_->SetPortOpen(true);
    EXPECT_TRUE(comm_->PortOpen());
    EXPECT_EQ(Boxes().Count(), 0);
    // The record built without the device's own still carries the settings.
    comm_->SetParity(TParity::Mark);
    EXPECT_EQ(port.StatesWritten().back().BaudRate, 9600u);
    EXPECT_EQ(port.StatesWritten().back().Parity, vcl::MARKPARITY);
    EXPECT_TRUE(comm_->PortOpen());
}

TEST_F(CommSettingsTest, ThePollRunsFromConstructionAndLeavesAClosedPortAlone) {
    EXPECT_EQ(comm_->CommPort(), pnCOM2) << "not COM1";
    EXPECT_EQ(comm_->RThreshold(), 0u) << "no receive events until somebody sets it";
    FakeSerialPort& port = AddPort(2);
    port.QueueInput({1, 2, 3});
    port.SetModemStatus(vcl::MS_CTS_ON);
    comm_->SetRThreshold(1);
    int received = 0;
    comm_->SetOnReceiveData([&](vcl::TObject*) { ++received; });
    Ticks(5);
    EXPECT_TRUE(port.Calls().empty());
    EXPECT_EQ(received, 0);
    EXPECT_EQ(vcl::MessageQueue().TimerCount(), 1u);
    comm_.reset();
    EXPECT_EQ(vcl::MessageQueue().TimerCount(), 0u);
}

}  // namespace
}  // namespace serial
