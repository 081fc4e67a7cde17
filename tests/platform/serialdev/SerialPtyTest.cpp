// The termios device over real pseudo-terminals: the test holds the master side and looks at the
// line the way the kernel sees it.

#include <asm/termbits.h>
#include <gtest/gtest.h>

#include "tests/platform/serialdev/LineSettings.h"
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/serialdev/CommApi.h"
#include "tests/platform/serialdev/PtyPair.h"

namespace vcl {
namespace {

using pty::AllByteValues;
using pty::HangUpUnlessDone;
using pty::PtyPair;
using pty::ScratchConfig;

constexpr int kPort = 5;
constexpr const char* kPortName = "\\\\.\\\\COM5";

HANDLE OpenPort(const char* name = kPortName) {
    return CreateFileA(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

termios2 LineSeenByMaster(const PtyPair& pty) {
    termios2 settings{};
    EXPECT_EQ(ioctl(pty.Master(), TCGETS2, &settings), 0);
    return settings;
}

// The bytes waiting at the port once at least count came, or after a few seconds.
DWORD WaitUntilWaiting(HANDLE port, DWORD count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    COMSTAT status;
    DWORD errors = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!ClearCommError(port, &errors, &status)) return 0;
        if (status.cbInQue >= count) return status.cbInQue;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return status.cbInQue;
}

std::vector<uint8_t> ReadPort(HANDLE port, DWORD count) {
    std::vector<uint8_t> bytes(count);
    DWORD read = 0;
    EXPECT_TRUE(ReadFile(port, bytes.data(), count, &read, nullptr));
    bytes.resize(read);
    return bytes;
}

class PtyPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        config_.MapPort(kPort, pty_.SlavePath());
        port_ = OpenPort();
        ASSERT_NE(port_, INVALID_HANDLE_VALUE);
    }

    void TearDown() override {
        if (port_ != INVALID_HANDLE_VALUE) CloseHandle(port_);
    }

    void Reopen() {
        CloseHandle(port_);
        port_ = OpenPort();
        ASSERT_NE(port_, INVALID_HANDLE_VALUE);
    }

    ScratchConfig config_;
    PtyPair pty_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
};

TEST_F(PtyPortTest, PortsFolderEntryLeadsToItsPtyAndIsReadAtEveryOpening) {
    const std::vector<uint8_t> ping = {'p', 'i', 'n', 'g'};
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(port_, ping.data(), 4, &written, nullptr));
    EXPECT_EQ(written, 4u);
    EXPECT_EQ(pty_.ReadFromMaster(4), ping);

    PtyPair other;
    config_.MapPort(kPort, other.SlavePath());
    Reopen();
    ASSERT_TRUE(WriteFile(port_, ping.data(), 4, &written, nullptr));
    EXPECT_EQ(other.ReadFromMaster(4), ping);
    EXPECT_FALSE(pty_.AnythingArrives(0));
}

TEST(PtyPortOpening, DanglingEntryAndMissingPortFail) {
    ScratchConfig config;
    config.MapPort(200, config.PortsFolder() + "/no-such-device");
    EXPECT_EQ(OpenPort("\\\\.\\\\COM200"), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenPort("\\\\.\\\\COM201"), INVALID_HANDLE_VALUE);
}

TEST(PtyPortOpening, AnEntryThatIsNoTtyFails) {
    ScratchConfig config;
    config.MapPort(7, "/dev/null");
    EXPECT_EQ(OpenPort("COM7"), INVALID_HANDLE_VALUE);
}

TEST_F(PtyPortTest, EverySpeedReachesTheLineIncludingCustomOnes) {
    for (DWORD speed : {110u, 300u, 600u, 1200u, 2400u, 4800u, 9600u, 14400u, 19200u, 38400u, 56000u,
                        57600u, 76800u, 115200u, 230400u}) {
        const DCB dcb = Line(speed, 8, NOPARITY, ONESTOPBIT);
        ASSERT_TRUE(SetCommState(port_, &dcb)) << speed;
        const termios2 seen = LineSeenByMaster(pty_);
        EXPECT_EQ(seen.c_ospeed, speed);
        EXPECT_EQ(seen.c_ispeed, speed);
        DCB back;
        ASSERT_TRUE(GetCommState(port_, &back));
        EXPECT_EQ(back.BaudRate, speed);
    }
}

TEST_F(PtyPortTest, StopBitsReachTheLineWithOneAndAHalfSentAsTwo) {
    for (BYTE stop : {ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS, ONESTOPBIT}) {
        const DCB dcb = Line(19200, 8, NOPARITY, stop);
        ASSERT_TRUE(SetCommState(port_, &dcb)) << int(stop);
        const tcflag_t cflag = LineSeenByMaster(pty_).c_cflag;
        EXPECT_EQ((cflag & CSTOPB) != 0, stop != ONESTOPBIT) << int(stop);
        EXPECT_EQ(cflag & (CSIZE | PARENB), tcflag_t{CS8});
        DCB back;
        ASSERT_TRUE(GetCommState(port_, &back));
        EXPECT_EQ(back.StopBits, stop == ONESTOPBIT ? ONESTOPBIT : TWOSTOPBITS);
    }
}

// A pseudo-terminal runs 8 bits without parity whatever it is told. The call says so by failing,
// and the settings read back are the line's own.
TEST_F(PtyPortTest, FramingAPtyCannotCarryFailsAndReadsBackAsTheLineIs) {
    struct Case {
        BYTE size;
        BYTE parity;
    };
    const Case cases[] = {{5, NOPARITY}, {6, NOPARITY}, {7, NOPARITY}, {8, ODDPARITY},
                          {8, EVENPARITY}, {8, MARKPARITY}, {8, SPACEPARITY}, {7, EVENPARITY}};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << int(c.size) << " bits, parity " << int(c.parity));
        const DCB dcb = Line(2400, c.size, c.parity, TWOSTOPBITS);
        EXPECT_FALSE(SetCommState(port_, &dcb));
        const termios2 seen = LineSeenByMaster(pty_);
        EXPECT_EQ(seen.c_cflag & (CSIZE | PARENB), tcflag_t{CS8});
        EXPECT_EQ(seen.c_ospeed, 2400u) << "what the line can do was taken";
        DCB back;
        ASSERT_TRUE(GetCommState(port_, &back));
        EXPECT_EQ(back.ByteSize, 8);
        EXPECT_EQ(back.Parity, NOPARITY);
        EXPECT_EQ(back.StopBits, TWOSTOPBITS);
        EXPECT_EQ(back.BaudRate, 2400u);
    }
    const DCB plain = Line(2400, 8, NOPARITY, ONESTOPBIT);
    EXPECT_TRUE(SetCommState(port_, &plain));
}

TEST_F(PtyPortTest, FlowControlReachesTheLine) {
    DCB dcb = Line(9600, 8, NOPARITY, ONESTOPBIT);
    dcb.fOutxCtsFlow = 1;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    termios2 seen = LineSeenByMaster(pty_);
    EXPECT_NE(seen.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(seen.c_iflag & (IXON | IXOFF), 0u);

    dcb = Line(9600, 8, NOPARITY, ONESTOPBIT);
    dcb.fOutX = 1;
    dcb.fInX = 1;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    seen = LineSeenByMaster(pty_);
    EXPECT_EQ(seen.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(seen.c_iflag & (IXON | IXOFF), tcflag_t{IXON | IXOFF});
    EXPECT_EQ(seen.c_cc[VSTART], 0x11);
    EXPECT_EQ(seen.c_cc[VSTOP], 0x13);

    DCB back;
    ASSERT_TRUE(GetCommState(port_, &back));
    EXPECT_EQ(back.fOutX, 1u);
    EXPECT_EQ(back.fInX, 1u);
    EXPECT_EQ(back.fOutxCtsFlow, 0u);
}

TEST_F(PtyPortTest, LineIsRawWithReceiverOnAndModemControlIgnored) {
    auto expectRaw = [this](const char* when) {
        const termios2 seen = LineSeenByMaster(pty_);
        SCOPED_TRACE(when);
        EXPECT_EQ(seen.c_lflag & (ICANON | ECHO | ECHOE | ECHONL | ISIG | IEXTEN), 0u);
        EXPECT_EQ(seen.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | IXANY | PARMRK | BRKINT | INPCK), 0u);
        EXPECT_EQ(seen.c_oflag & OPOST, 0u);
        EXPECT_EQ(seen.c_cflag & (CLOCAL | CREAD), tcflag_t{CLOCAL | CREAD});
    };
    expectRaw("after opening");
    const DCB dcb = Line(115200, 8, NOPARITY, TWOSTOPBITS);
    ASSERT_TRUE(SetCommState(port_, &dcb));
    expectRaw("after SetCommState");
}

TEST_F(PtyPortTest, EveryByteValueTravelsUnchangedBothWays) {
    const DCB dcb = Line(9600, 8, NOPARITY, ONESTOPBIT);
    ASSERT_TRUE(SetCommState(port_, &dcb));
    const std::vector<uint8_t> all = AllByteValues();

    DWORD written = 0;
    ASSERT_TRUE(WriteFile(port_, all.data(), 256, &written, nullptr));
    EXPECT_EQ(written, 256u);
    EXPECT_EQ(pty_.ReadFromMaster(256), all);
    EXPECT_FALSE(pty_.AnythingArrives(0));

    pty_.WriteToMaster(all);
    ASSERT_EQ(WaitUntilWaiting(port_, 256), 256u);
    EXPECT_EQ(ReadPort(port_, 256), all);
    // Nothing was echoed back either.
    EXPECT_FALSE(pty_.AnythingArrives(0));
}

TEST_F(PtyPortTest, BytesArrivingBeforeTheFirstSettingsAreNeitherEchoedNorTranslated) {
    // A new tty would echo these, turn CR into LF, raise a signal for ^C and take ^S and ^Q
    // as flow control.
    const std::vector<uint8_t> bytes = {'a', '\r', 0x03, 0x13, 0x11, 0x7F};
    pty_.WriteToMaster(bytes);
    ASSERT_EQ(WaitUntilWaiting(port_, 6), 6u);
    EXPECT_EQ(ReadPort(port_, 6), bytes);
    EXPECT_FALSE(pty_.AnythingArrives(100));
}

TEST_F(PtyPortTest, ArrivingBytesAreCountedAndReadWhole) {
    std::vector<uint8_t> sent;
    for (int chunk = 0; chunk < 10; ++chunk) {
        const std::vector<uint8_t> part(37, static_cast<uint8_t>(0xA0 + chunk));
        pty_.WriteToMaster(part);
        sent.insert(sent.end(), part.begin(), part.end());
    }
    ASSERT_EQ(WaitUntilWaiting(port_, 370), 370u);
    EXPECT_EQ(ReadPort(port_, 370), sent);

    COMSTAT status;
    DWORD errors = 99;
    ASSERT_TRUE(ClearCommError(port_, &errors, &status));
    EXPECT_EQ(status.cbInQue, 0u);
    EXPECT_EQ(errors, 0u);
}

TEST_F(PtyPortTest, ReadTakesWhatWaitsAndNeverWaitsForMore) {
    pty_.WriteToMaster({1, 2, 3});
    ASSERT_EQ(WaitUntilWaiting(port_, 3), 3u);
    const HangUpUnlessDone watchdog(pty_);
    EXPECT_EQ(ReadPort(port_, 8), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(ReadPort(port_, 8), std::vector<uint8_t>{}) << "nothing waits: nothing read, no failure";
    EXPECT_FALSE(watchdog.HungUp());
}

// What another program that had the tty open before us takes of the waiting bytes, up to count.
size_t TakeAsEarlierReader(const PtyPair& pty, size_t count) {
    uint8_t taken[64];
    pollfd ready{pty.EarlierSlave(), POLLIN, 0};
    if (::poll(&ready, 1, 0) != 1) return 0;
    const ssize_t n = ::read(pty.EarlierSlave(), taken, std::min(count, sizeof taken));
    return n > 0 ? static_cast<size_t>(n) : 0;
}

// Another program that had the tty open before us takes the bytes between our count and our read.
TEST_F(PtyPortTest, AReadRacingAnotherReaderReturnsInsteadOfWaiting) {
    pty_.WriteToMaster({1, 2, 3});
    ASSERT_EQ(WaitUntilWaiting(port_, 3), 3u);
    ASSERT_EQ(TakeAsEarlierReader(pty_, 2), 2u);
    const HangUpUnlessDone watchdog(pty_);
    EXPECT_EQ(ReadPort(port_, 3), std::vector<uint8_t>{3});
    pty_.WriteToMaster({4});
    ASSERT_EQ(WaitUntilWaiting(port_, 1), 1u);
    ASSERT_EQ(TakeAsEarlierReader(pty_, 1), 1u);
    EXPECT_EQ(ReadPort(port_, 1), std::vector<uint8_t>{});
    EXPECT_FALSE(watchdog.HungUp()) << "a read waited for bytes another reader took";
}

TEST_F(PtyPortTest, AReadAfterTheOtherEndHungUpFails) {
    pty_.WriteToMaster({1, 2});
    ASSERT_EQ(WaitUntilWaiting(port_, 2), 2u);
    pty_.CloseMaster();
    std::vector<uint8_t> bytes(8);
    DWORD read = 0;
    EXPECT_FALSE(ReadFile(port_, bytes.data(), 8, &read, nullptr));
    EXPECT_EQ(read, 0u);
}

TEST_F(PtyPortTest, PurgeEmptiesTheInputQueue) {
    pty_.WriteToMaster(std::vector<uint8_t>(10, 0x55));
    ASSERT_EQ(WaitUntilWaiting(port_, 10), 10u);
    EXPECT_TRUE(PurgeComm(port_, PURGE_RXCLEAR));
    COMSTAT status;
    ASSERT_TRUE(ClearCommError(port_, nullptr, &status));
    EXPECT_EQ(status.cbInQue, 0u);

    EXPECT_TRUE(PurgeComm(port_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
    EXPECT_TRUE(PurgeComm(port_, PURGE_TXCLEAR));
    EXPECT_FALSE(PurgeComm(port_, 0x10));

    // The queue fills again after a purge.
    pty_.WriteToMaster({7});
    EXPECT_EQ(WaitUntilWaiting(port_, 1), 1u);
}

// The peer holds the line with XOFF: writes return at once into the port's output queue, which the
// queue status counts and a purge of the output empties.
TEST_F(PtyPortTest, WritesWaitInTheOutputQueueWhileThePeerHoldsTheLine) {
    ASSERT_TRUE(SetupComm(port_, 16384, 16384));
    DCB dcb = Line(9600, 8, NOPARITY, ONESTOPBIT);
    dcb.fOutX = 1;
    dcb.fInX = 1;
    ASSERT_TRUE(SetCommState(port_, &dcb));
    pty_.WriteToMaster({0x13, 'm'});
    ASSERT_EQ(WaitUntilWaiting(port_, 1), 1u);

    const std::vector<uint8_t> bytes(16384, 0x5A);
    DWORD written = 0;
    {
        const HangUpUnlessDone watchdog(pty_);
        EXPECT_TRUE(WriteFile(port_, bytes.data(), 16384, &written, nullptr));
        ASSERT_FALSE(watchdog.HungUp());
    }
    EXPECT_EQ(written, 16384u);
    COMSTAT status;
    ASSERT_TRUE(ClearCommError(port_, nullptr, &status));
    EXPECT_EQ(status.cbOutQue, 16384u);
    EXPECT_FALSE(pty_.AnythingArrives(20));

    // The queue is full: a write that does not fit takes nothing more once the line stays held.
    EXPECT_FALSE(WriteFile(port_, bytes.data(), 1, &written, nullptr));
    EXPECT_EQ(written, 0u);

    EXPECT_TRUE(PurgeComm(port_, PURGE_TXCLEAR));
    ASSERT_TRUE(ClearCommError(port_, nullptr, &status));
    EXPECT_EQ(status.cbOutQue, 0u);
    pty_.WriteToMaster({0x11, 'n'});
    ASSERT_EQ(WaitUntilWaiting(port_, 2), 2u);
    const std::vector<uint8_t> after = {'a', 'b'};
    ASSERT_TRUE(WriteFile(port_, after.data(), 2, &written, nullptr));
    EXPECT_EQ(pty_.ReadFromMaster(2), after) << "only what was written after the purge";
    EXPECT_FALSE(pty_.AnythingArrives(20));
}

TEST_F(PtyPortTest, SecondOpeningFailsFromThisProcessAndFromAnother) {
    EXPECT_EQ(OpenPort(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(OpenPort("COM5"), INVALID_HANDLE_VALUE);

    auto openInChild = [] {
        const pid_t child = fork();
        if (child == 0) _exit(OpenPort() == INVALID_HANDLE_VALUE ? 1 : 0);
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    EXPECT_FALSE(openInChild());

    // The kernel's exclusive mode is on the tty while we hold it: other openers get EBUSY unless
    // privileged, and a privileged one can see the flag.
    const int direct = open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (direct < 0) {
        EXPECT_EQ(errno, EBUSY);
    } else {
        int exclusive = 0;
        EXPECT_EQ(ioctl(direct, TIOCGEXCL, &exclusive), 0);
        EXPECT_EQ(exclusive, 1);
        close(direct);
    }

    ASSERT_TRUE(CloseHandle(port_));
    port_ = INVALID_HANDLE_VALUE;
    EXPECT_TRUE(openInChild());
    port_ = OpenPort();
    EXPECT_NE(port_, INVALID_HANDLE_VALUE);
}

TEST_F(PtyPortTest, ClosingLeavesTheTtyOpenToOthers) {
    ASSERT_TRUE(CloseHandle(port_));
    port_ = INVALID_HANDLE_VALUE;
    const int direct = open(pty_.SlavePath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(direct, 0);
    int exclusive = 1;
    EXPECT_EQ(ioctl(direct, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    close(direct);
}

TEST_F(PtyPortTest, PtyHasNoModemLinesButTakesSettingsAndCountsNoErrors) {
    DWORD modem = 0;
    EXPECT_FALSE(GetCommModemStatus(port_, &modem));
    for (DWORD function : {SETDTR, CLRDTR, SETRTS, CLRRTS}) {
        EXPECT_FALSE(EscapeCommFunction(port_, function)) << function;
    }
    DCB dcb = Line(9600, 8, NOPARITY, ONESTOPBIT);
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    EXPECT_TRUE(SetCommState(port_, &dcb));
    EXPECT_TRUE(SetupComm(port_, 16384, 16384));

    DWORD errors = 99;
    COMSTAT status;
    EXPECT_TRUE(ClearCommError(port_, &errors, &status));
    EXPECT_EQ(errors, 0u);
    // The port is still usable after all of that.
    pty_.WriteToMaster({0x42});
    EXPECT_EQ(WaitUntilWaiting(port_, 1), 1u);
}

TEST_F(PtyPortTest, OtherEndClosingMakesEveryCallFailButClosing) {
    pty_.WriteToMaster({1, 2, 3});
    ASSERT_EQ(WaitUntilWaiting(port_, 3), 3u);
    pty_.CloseMaster();

    DWORD errors = 0;
    COMSTAT status;
    EXPECT_FALSE(ClearCommError(port_, &errors, &status));
    DCB dcb;
    EXPECT_FALSE(GetCommState(port_, &dcb));
    dcb = Line(9600, 8, NOPARITY, ONESTOPBIT);
    EXPECT_FALSE(SetCommState(port_, &dcb));
    EXPECT_FALSE(SetupComm(port_, 16384, 16384));
    EXPECT_FALSE(PurgeComm(port_, PURGE_RXCLEAR));
    const uint8_t byte = 0x01;
    DWORD count = 99;
    EXPECT_FALSE(WriteFile(port_, &byte, 1, &count, nullptr));
    EXPECT_EQ(count, 0u);
    uint8_t buffer[3];
    EXPECT_FALSE(ReadFile(port_, buffer, 3, &count, nullptr));
    EXPECT_TRUE(CloseHandle(port_));
    port_ = INVALID_HANDLE_VALUE;
}

}  // namespace
}  // namespace vcl
