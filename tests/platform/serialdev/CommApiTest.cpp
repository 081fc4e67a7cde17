// The Win32-shaped calls over the scripted fake ports: name handling, handles, and the fake's
// own script and record, which the serial component's tests build on.

#include <gtest/gtest.h>

#include <vector>

#include "platform/serialdev/CommApi.h"
#include "platform/serialdev/TermiosDevice.h"
#include "platform/serialdev/testing/FakeSerialPorts.h"

namespace vcl {
namespace {

HANDLE Open(const char* name) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

class CommApiTest : public ::testing::Test {
protected:
    FakeSerialPorts ports_;
};

TEST_F(CommApiTest, DeviceNamesReachTheFactoryAsPortNumbers) {
    ports_.Add(1);
    ports_.Add(10);
    ports_.Add(255);
    for (const char* name : {"\\\\.\\\\COM1", "\\\\.\\\\COM10", "\\\\.\\\\COM255"}) {
        const HANDLE port = Open(name);
        EXPECT_NE(port, INVALID_HANDLE_VALUE) << name;
        EXPECT_TRUE(CloseHandle(port));
    }
    EXPECT_EQ(ports_.OpenAttempts(), (std::vector<int>{1, 10, 255}));
    EXPECT_EQ(ports_.Find(10)->OpenCount(), 1);
}

TEST_F(CommApiTest, MalformedNamesAndUnsupportedModesNeverReachTheFactory) {
    ports_.Add(2);
    EXPECT_EQ(Open("\\\\.\\\\COM0"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("\\\\.\\\\LPT2"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open(nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA("COM2", GENERIC_READ | GENERIC_WRITE, 0, nullptr, 2 /* CREATE_ALWAYS */, 0,
                          nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(CreateFileA("COM2", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OVERLAPPED, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_TRUE(ports_.OpenAttempts().empty());
}

TEST_F(CommApiTest, AbsentHeldAndAlreadyOpenPortsFailToOpen) {
    EXPECT_EQ(Open("COM3"), INVALID_HANDLE_VALUE);

    FakeSerialPort& held = ports_.Add(4);
    held.Fail(SerialCall::Open, 1);
    EXPECT_EQ(Open("COM4"), INVALID_HANDLE_VALUE);
    const HANDLE port = Open("COM4");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Open("COM4"), INVALID_HANDLE_VALUE);
    EXPECT_TRUE(held.IsOpen());
    EXPECT_TRUE(CloseHandle(port));
    EXPECT_FALSE(held.IsOpen());
    const HANDLE again = Open("COM4");
    EXPECT_NE(again, INVALID_HANDLE_VALUE);
    EXPECT_NE(again, port) << "handles are not reused";
    CloseHandle(again);
}

TEST_F(CommApiTest, ClosedAndUnknownHandlesFailEveryCall) {
    ports_.Add(2);
    const HANDLE port = Open("COM2");
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(CloseHandle(port));
    for (HANDLE stale : {port, HANDLE{nullptr}, INVALID_HANDLE_VALUE}) {
        DCB dcb;
        COMSTAT status;
        DWORD value = 0;
        BYTE byte = 0;
        EXPECT_FALSE(SetupComm(stale, 16, 16));
        EXPECT_FALSE(PurgeComm(stale, PURGE_RXCLEAR));
        EXPECT_FALSE(GetCommState(stale, &dcb));
        EXPECT_FALSE(SetCommState(stale, &dcb));
        EXPECT_FALSE(WriteFile(stale, &byte, 1, &value, nullptr));
        EXPECT_FALSE(ReadFile(stale, &byte, 1, &value, nullptr));
        EXPECT_FALSE(ClearCommError(stale, &value, &status));
        EXPECT_FALSE(GetCommModemStatus(stale, &value));
        EXPECT_FALSE(EscapeCommFunction(stale, SETDTR));
        EXPECT_FALSE(CloseHandle(stale));
    }
}

TEST_F(CommApiTest, OptionalOutputsMayBeNullAndRequiredOnesMayNot) {
    FakeSerialPort& fake = ports_.Add(2);
    const HANDLE port = Open("COM2");
    fake.QueueInput({1, 2});
    fake.RaiseErrors(CE_FRAME);
    EXPECT_TRUE(ClearCommError(port, nullptr, nullptr));
    EXPECT_EQ(fake.PendingErrors(), 0u) << "reporting to nobody still clears";
    BYTE bytes[2] = {};
    EXPECT_TRUE(ReadFile(port, bytes, 2, nullptr, nullptr));
    EXPECT_TRUE(WriteFile(port, bytes, 2, nullptr, nullptr));
    EXPECT_FALSE(GetCommState(port, nullptr));
    EXPECT_FALSE(SetCommState(port, nullptr));
    EXPECT_FALSE(GetCommModemStatus(port, nullptr));
    EXPECT_FALSE(WriteFile(port, nullptr, 1, nullptr, nullptr));
    CloseHandle(port);
}

TEST_F(CommApiTest, FakeRecordsArgumentsAndActsOnThem) {
    FakeSerialPort& fake = ports_.Add(2);
    const HANDLE port = Open("COM2");
    EXPECT_TRUE(fake.Dtr());
    EXPECT_TRUE(SetupComm(port, 16384, 4096));
    fake.QueueInput(5, 0xEE);
    EXPECT_TRUE(PurgeComm(port, PURGE_TXCLEAR));
    EXPECT_EQ(fake.InputWaiting(), 5u);
    EXPECT_TRUE(PurgeComm(port, 15));
    EXPECT_EQ(fake.InputWaiting(), 0u);

    DCB dcb;
    ASSERT_TRUE(GetCommState(port, &dcb));
    dcb.BaudRate = 76800;
    dcb.fDtrControl = DTR_CONTROL_DISABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    EXPECT_TRUE(SetCommState(port, &dcb));
    EXPECT_FALSE(fake.Dtr());
    EXPECT_TRUE(fake.Rts());
    EXPECT_TRUE(EscapeCommFunction(port, SETDTR));
    EXPECT_TRUE(EscapeCommFunction(port, CLRRTS));
    EXPECT_TRUE(fake.Dtr());
    EXPECT_FALSE(fake.Rts());
    EXPECT_FALSE(EscapeCommFunction(port, 77));

    const BYTE frame[] = {0x01, 0x03, 0x00, 0x00};
    EXPECT_TRUE(WriteFile(port, frame, 4, nullptr, nullptr));

    EXPECT_EQ(fake.Setups(), (std::vector<FakeSerialPort::QueueSizes>{{16384, 4096}}));
    EXPECT_EQ(fake.Purges(), (std::vector<DWORD>{PURGE_TXCLEAR, 15}));
    ASSERT_EQ(fake.StatesWritten().size(), 1u);
    EXPECT_EQ(fake.StatesWritten()[0], dcb);
    EXPECT_EQ(fake.State().BaudRate, 76800u);
    EXPECT_EQ(fake.Escapes(), (std::vector<DWORD>{SETDTR, CLRRTS, 77}));
    EXPECT_EQ(fake.Written(), (std::vector<BYTE>{0x01, 0x03, 0x00, 0x00}));
    EXPECT_EQ(fake.Calls(), (std::vector<SerialCall>{SerialCall::Open, SerialCall::SetupComm, SerialCall::PurgeComm,
                                                     SerialCall::PurgeComm, SerialCall::GetCommState,
                                                     SerialCall::SetCommState, SerialCall::EscapeCommFunction,
                                                     SerialCall::EscapeCommFunction,
                                                     SerialCall::EscapeCommFunction, SerialCall::WriteFile}));
    CloseHandle(port);
    EXPECT_EQ(fake.Calls().back(), SerialCall::Close);
}

TEST_F(CommApiTest, FakeReportsErrorsOnceAndCountsWaitingInput) {
    FakeSerialPort& fake = ports_.Add(2);
    const HANDLE port = Open("COM2");
    fake.QueueInput({0x41, 0x00, 0x42});
    fake.RaiseErrors(CE_RXPARITY);
    fake.RaiseErrors(CE_OVERRUN);
    DWORD errors = 0;
    COMSTAT status;
    ASSERT_TRUE(ClearCommError(port, &errors, &status));
    EXPECT_EQ(errors, CE_RXPARITY | CE_OVERRUN);
    EXPECT_EQ(status.cbInQue, 3u);
    ASSERT_TRUE(ClearCommError(port, &errors, &status));
    EXPECT_EQ(errors, 0u);

    // A failing call neither reports nor clears.
    fake.RaiseErrors(CE_BREAK);
    fake.Fail(SerialCall::ClearCommError, 1);
    errors = 7;
    EXPECT_FALSE(ClearCommError(port, &errors, &status));
    EXPECT_EQ(errors, 7u);
    ASSERT_TRUE(ClearCommError(port, &errors, &status));
    EXPECT_EQ(errors, CE_BREAK);

    // Reading more than waits gives what waits.
    BYTE bytes[8] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(port, bytes, 8, &read, nullptr));
    EXPECT_EQ(read, 3u);
    EXPECT_EQ(bytes[2], 0x42);
    EXPECT_EQ(fake.ReadRequests(), (std::vector<DWORD>{8}));
    CloseHandle(port);
}

TEST_F(CommApiTest, FakeModemLinesFailuresAndStalledWrites) {
    FakeSerialPort& fake = ports_.Add(2);
    const HANDLE port = Open("COM2");
    fake.SetModemStatus(MS_DSR_ON | MS_CTS_ON);
    DWORD modem = 0;
    ASSERT_TRUE(GetCommModemStatus(port, &modem));
    EXPECT_EQ(modem, 0x30u);
    fake.Fail(SerialCall::GetCommModemStatus);
    EXPECT_FALSE(GetCommModemStatus(port, &modem));
    EXPECT_FALSE(GetCommModemStatus(port, &modem));
    fake.Heal(SerialCall::GetCommModemStatus);
    EXPECT_TRUE(GetCommModemStatus(port, &modem));

    fake.LimitWrites(3);
    const BYTE frame[5] = {1, 2, 3, 4, 5};
    DWORD written = 0;
    EXPECT_FALSE(WriteFile(port, frame, 5, &written, nullptr));
    EXPECT_EQ(written, 3u);
    EXPECT_EQ(fake.Written(), (std::vector<BYTE>{1, 2, 3}));
    EXPECT_EQ(fake.Writes().back().size(), 5u);
    CloseHandle(port);
}

TEST_F(CommApiTest, VanishedFakeFailsEverythingUntilReattachedAndReopened) {
    FakeSerialPort& fake = ports_.Add(2);
    const HANDLE port = Open("COM2");
    fake.QueueInput({1});
    fake.Vanish();
    COMSTAT status;
    DWORD value = 0;
    EXPECT_FALSE(ClearCommError(port, &value, &status));
    EXPECT_FALSE(GetCommModemStatus(port, &value));
    EXPECT_FALSE(SetupComm(port, 1, 1));
    EXPECT_EQ(Open("COM2"), INVALID_HANDLE_VALUE);

    fake.Reattach();
    const HANDLE fresh = Open("COM2");
    ASSERT_NE(fresh, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(ClearCommError(port, &value, &status)) << "the old handle stays dead";
    EXPECT_TRUE(ClearCommError(fresh, &value, &status));
    EXPECT_TRUE(CloseHandle(port));
    EXPECT_TRUE(fake.IsOpen()) << "closing the dead handle leaves the new opening alone";
    EXPECT_TRUE(CloseHandle(fresh));
    EXPECT_FALSE(fake.IsOpen());
}

TEST_F(CommApiTest, FailedOpeningsAndAVanishedDeviceGoToStandardErrorOnce) {
    FakeSerialPort& fake = ports_.Add(2);
    fake.SetDevicePath("/dev/ttyUSB0");
    fake.RefuseAccess("uucp");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(Open("COM2"), INVALID_HANDLE_VALUE);
    fake.AllowAccess();
    const HANDLE port = Open("COM2");
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    fake.Vanish();
    COMSTAT status;
    for (int poll = 0; poll < 3; ++poll) EXPECT_FALSE(ClearCommError(port, nullptr, &status));
    EXPECT_TRUE(CloseHandle(port));
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "velmo-modbus: COM2 -> /dev/ttyUSB0: cannot open the port: permission denied; join the group that "
              "owns the device (uucp), then log in again\n"
              "velmo-modbus: COM2 -> /dev/ttyUSB0: the device went away while the port was open; close the port "
              "and open it again once the device is back\n");
}

TEST_F(CommApiTest, CallHookChangesTheScriptAtTheMomentOfTheCall) {
    FakeSerialPort& fake = ports_.Add(2);
    const HANDLE port = Open("COM2");
    fake.SetCallHook([&fake](SerialCall call) {
        if (call == SerialCall::ClearCommError) fake.QueueInput({0x99});
    });
    COMSTAT status;
    ASSERT_TRUE(ClearCommError(port, nullptr, &status));
    EXPECT_EQ(status.cbInQue, 1u);
    ASSERT_TRUE(ClearCommError(port, nullptr, &status));
    EXPECT_EQ(status.cbInQue, 2u);
    fake.SetCallHook(nullptr);
    CloseHandle(port);
}

TEST(CommApiFactory, FakePortsInstallThemselvesForTheirLifetime) {
    EXPECT_NE(dynamic_cast<TermiosDeviceFactory*>(&CurrentSerialDeviceFactory()), nullptr);
    HANDLE leftOpen = nullptr;
    {
        FakeSerialPorts outer;
        EXPECT_EQ(&CurrentSerialDeviceFactory(), &outer);
        {
            FakeSerialPorts inner;
            EXPECT_EQ(&CurrentSerialDeviceFactory(), &inner);
        }
        EXPECT_EQ(&CurrentSerialDeviceFactory(), &outer);
        outer.Add(9).QueueInput({5});
        leftOpen = Open("COM9");
        ASSERT_NE(leftOpen, INVALID_HANDLE_VALUE);
    }
    EXPECT_NE(dynamic_cast<TermiosDeviceFactory*>(&CurrentSerialDeviceFactory()), nullptr);
    // The port outlives its factory while a handle is open on it.
    COMSTAT status;
    EXPECT_TRUE(ClearCommError(leftOpen, nullptr, &status));
    EXPECT_EQ(status.cbInQue, 1u);
    EXPECT_TRUE(CloseHandle(leftOpen));
}

}  // namespace
}  // namespace vcl
