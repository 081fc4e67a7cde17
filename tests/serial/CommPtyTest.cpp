// The component over real pseudo-terminals: the ports folder points COM5 at a pty whose master
// the test holds, so the line is seen the way the kernel sees it.

#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/runtime/Clock.h"
#include "platform/runtime/Timer.h"
#include "platform/serialdev/CommApi.h"
#include "tests/platform/serialdev/PtyPair.h"
#include "tests/serial/CommFixture.h"

namespace serial {
namespace {

using testing_support::kCannotOpen;
using Bytes = std::vector<uint8_t>;

class CommPtyTest : public testing_support::CommTest {
protected:
    void SetUp() override {
        CommTest::SetUp();
        config_.MapPort(5, pty_.SlavePath());
        comm_->SetCommPort(pnCOM5);
        comm_->SetRThreshold(1);
        comm_->SetOnReceiveData([this](vcl::TObject*) {
            ++receiveEvents_;
            const uint8_t* data = nullptr;
            const int32_t last = comm_->ReadBytes(data);
            received_.insert(received_.end(), data, data + last + 1);
        });
    }

    termios2 LineSeenByMaster() const {
        termios2 settings{};
        EXPECT_EQ(ioctl(pty_.Master(), TCGETS2, &settings), 0);
        return settings;
    }

    // Reads what the port sends, as a slow peer: whatever came by each poll period, until count
    // bytes came or a few seconds passed.
    Bytes ReadFromPeer(size_t count) {
        Bytes got;
        PollUntil([&] {
            const Bytes more = pty_.ReadAvailable();
            got.insert(got.end(), more.begin(), more.end());
            return got.size() >= count;
        });
        return got;
    }

    // Makes the other end send XOFF and waits until the port has acted on it: a byte sent after it
    // has arrived.
    void PeerSendsXoff() {
        pty_.WriteToMaster({0x13, 'm'});
        ASSERT_TRUE(PollUntil([&] { return comm_->DataCount() == 1; }));
        comm_->SetDataCount(0);
    }

    // Every byte the receive handler read, once count of them came.
    bool ReceiveUntil(size_t count) {
        return PollUntil([&] { return received_.size() >= count; });
    }

    vcl::pty::ScratchConfig config_;
    vcl::pty::PtyPair pty_;
    Bytes received_;
    int receiveEvents_ = 0;
};

TEST_F(CommPtyTest, ThePortsFolderLeadsComFiveToThePtyAndEveryByteGoesOutUnchanged) {
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());
    const Bytes all = vcl::pty::AllByteValues();
    EXPECT_TRUE(comm_->SendBytes(all.data(), 256));
    EXPECT_EQ(pty_.ReadFromMaster(256), all);
    EXPECT_FALSE(pty_.AnythingArrives(0));
}

TEST_F(CommPtyTest, EverySpeedAndStopBitsAndFlowControlReachTheLine) {
    const uint32_t speeds[] = {110,   300,   600,   1200,  2400,  4800,   9600,  14400,
                               19200, 38400, 56000, 57600, 76800, 115200, 230400};
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());
    for (int ordinal = 0; ordinal < 15; ++ordinal) {
        comm_->SetBaudRate(static_cast<TBaudRate>(ordinal));
        const termios2 seen = LineSeenByMaster();
        EXPECT_EQ(seen.c_ospeed, speeds[ordinal]);
        EXPECT_EQ(seen.c_ispeed, speeds[ordinal]);
    }
    comm_->SetStopBits(SB2);
    EXPECT_NE(LineSeenByMaster().c_cflag & CSTOPB, 0u);
    comm_->SetStopBits(SB1_5);
    EXPECT_NE(LineSeenByMaster().c_cflag & CSTOPB, 0u) << "one and a half go out as two";
    comm_->SetStopBits(SB1);
    EXPECT_EQ(LineSeenByMaster().c_cflag & CSTOPB, 0u);

    comm_->SetHwHandShaking(hhRTSCTS);
    comm_->SetSwHandShaking(shXonXoff);
    termios2 seen = LineSeenByMaster();
    EXPECT_NE(seen.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(seen.c_iflag & (IXON | IXOFF), tcflag_t{IXON | IXOFF});
    comm_->SetHwHandShaking(hhNoneRTSON);
    comm_->SetSwHandShaking(shNone);
    seen = LineSeenByMaster();
    EXPECT_EQ(seen.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(seen.c_iflag & (IXON | IXOFF), 0u);

    // Raw, with the receiver on and the modem lines ignored.
    EXPECT_EQ(seen.c_lflag & (ICANON | ECHO | ISIG | IEXTEN), 0u);
    EXPECT_EQ(seen.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | INPCK), 0u);
    EXPECT_EQ(seen.c_oflag & OPOST, 0u);
    EXPECT_EQ(seen.c_cflag & (CLOCAL | CREAD), tcflag_t{CLOCAL | CREAD});
}

// A pty carries 8 bits without parity whatever it is told; the component ignores the refusal and
// the line keeps running 8N at the speed asked for.
TEST_F(CommPtyTest, FramingAPtyCannotCarryLeavesItAtEightBitsWithoutParity) {
    comm_->SetDataBits(DB7);
    comm_->SetParity(TParity::Even);
    comm_->SetBaudRate(br4800);
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());
    const termios2 seen = LineSeenByMaster();
    EXPECT_EQ(seen.c_cflag & (CSIZE | PARENB), tcflag_t{CS8});
    EXPECT_EQ(seen.c_ospeed, 4800u);
    const Bytes bytes = {0xFF, 0x80};
    comm_->SendBytes(bytes.data(), 2);
    EXPECT_EQ(pty_.ReadFromMaster(2), bytes) << "the eighth bit is not stripped";
}

TEST_F(CommPtyTest, ArrivingBytesAreNoticedByThePollAndReadWhole) {
    comm_->SetPortOpen(true);
    const Bytes all = vcl::pty::AllByteValues();
    pty_.WriteToMaster(all);
    ASSERT_TRUE(ReceiveUntil(256));
    EXPECT_EQ(received_, all);
    EXPECT_FALSE(pty_.AnythingArrives(0)) << "nothing echoed";

    // A second burst, larger than one read of the kernel's, still reads as sent.
    Bytes burst;
    for (int i = 0; i < 3000; ++i) burst.push_back(static_cast<uint8_t>(i % 253));
    received_.clear();
    pty_.WriteToMaster(burst);
    ASSERT_TRUE(ReceiveUntil(burst.size()));
    EXPECT_EQ(received_, burst);
    EXPECT_EQ(comm_->DataCount(), 0u);
}

TEST_F(CommPtyTest, AnOpenPortCannotBeOpenedAgainHereOrInAnotherProcess) {
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());
    TComm second(nullptr);
    second.SetCommPort(pnCOM5);
    EXPECT_EQ(CommErrorOf([&] { second.SetPortOpen(true); }), kCannotOpen);

    auto opensInChild = [] {
        const pid_t child = fork();
        if (child == 0) {
            const std::string name = PortDeviceName(pnCOM5);
            const vcl::HANDLE handle = vcl::CreateFileA(name.c_str(), vcl::GENERIC_READ | vcl::GENERIC_WRITE, 0,
                                                        nullptr, vcl::OPEN_EXISTING, 0, nullptr);
            _exit(handle == vcl::INVALID_HANDLE_VALUE ? 1 : 0);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    EXPECT_FALSE(opensInChild());

    comm_->SetPortOpen(false);
    EXPECT_TRUE(opensInChild());
    second.SetPortOpen(true);
    EXPECT_TRUE(second.PortOpen());
}

// A pty has no modem lines: the line writes fail unnoticed and no line ever changes.
TEST_F(CommPtyTest, NoModemLinesMeanNoModemEvents) {
    int modemEvents = 0;
    comm_->SetOnModemStateChange([&](vcl::TObject*, uint32_t) { ++modemEvents; });
    comm_->SetPortOpen(true);
    comm_->SetDTREnabled(true);
    comm_->SetRTSEnabled(true);
    EXPECT_TRUE(comm_->DTREnabled());
    pty_.WriteToMaster({0x42});
    ASSERT_TRUE(ReceiveUntil(1));
    Ticks(3);
    EXPECT_EQ(modemEvents, 0);
    EXPECT_FALSE(comm_->CTSHolding());
    EXPECT_FALSE(comm_->DSRHolding());
    EXPECT_EQ(comm_->CommError(), 0u);
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(CommPtyTest, TheOtherEndHangingUpLeavesThePollHarmlessAndThePortClosable) {
    int errorEvents = 0;
    comm_->SetOnReceiveError([&](vcl::TObject*, uint32_t) { ++errorEvents; });
    comm_->SetPortOpen(true);
    pty_.WriteToMaster({'o', 'k'});
    ASSERT_TRUE(ReceiveUntil(2));
    pty_.CloseMaster();
    Ticks(20);
    EXPECT_EQ(receiveEvents_, 1);
    EXPECT_EQ(errorEvents, 0);
    EXPECT_EQ(Boxes().Count(), 0);
    const Bytes frame = {1, 2, 3};
    EXPECT_TRUE(comm_->SendBytes(frame.data(), 3));
    EXPECT_EQ(comm_->Input(), "ok");
    EXPECT_EQ(comm_->DataCount(), 0u);
    EXPECT_TRUE(comm_->PortOpen());

    ASSERT_EQ(Diagnostics().size(), 1u) << "one line, the first time it is noticed";
    EXPECT_NE(Diagnostics()[0].find("COM5 -> " + pty_.SlavePath()), std::string::npos) << Diagnostics()[0];
    EXPECT_NE(Diagnostics()[0].find("went away"), std::string::npos) << Diagnostics()[0];

    comm_->SetPortOpen(false);
    EXPECT_FALSE(comm_->PortOpen());
    EXPECT_EQ(CommErrorOf([&] { comm_->SetPortOpen(true); }), kCannotOpen);
}

TEST_F(CommPtyTest, OpeningFailuresSayWhyInOneLineEach) {
    auto failsSaying = [&](const std::vector<std::string>& words) {
        const size_t before = Diagnostics().size();
        EXPECT_EQ(CommErrorOf([&] { comm_->SetPortOpen(true); }), kCannotOpen);
        ASSERT_EQ(Diagnostics().size(), before + 1);
        for (const std::string& word : words) {
            EXPECT_NE(Diagnostics().back().find(word), std::string::npos) << Diagnostics().back();
        }
    };
    // Held: another component has it.
    TComm other(nullptr);
    other.SetCommPort(pnCOM5);
    other.SetPortOpen(true);
    ASSERT_TRUE(other.PortOpen());
    failsSaying({"COM5 -> " + pty_.SlavePath(), "held by another program"});
    other.SetPortOpen(false);

    // No permission: only a user without the right to override it sees this.
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(pty_.SlavePath().c_str(), 0), 0);
        failsSaying({"COM5 -> " + pty_.SlavePath(), "permission denied", "join the group that owns the device"});
        ASSERT_EQ(::chmod(pty_.SlavePath().c_str(), 0620), 0);
    }

    // Missing: the entry points at nothing, or there is no entry and no device at all.
    const std::string gone = config_.PortsFolder() + "/unplugged";
    config_.MapPort(5, gone);
    failsSaying({"COM5 -> " + gone, "no such device"});
    comm_->SetCommPort(pnCOM250);
    failsSaying({"COM250 -> no device present", "no such device"});
    EXPECT_EQ(Boxes().Count(), 0);
}

// A device that never pauses: a thread keeps the pty's input full of a counting sequence, and the
// receive handler waits 100 ms before reading, as the main window's does, and is still showing
// what it read when the next bytes arrive. Every tick outlasts the period and finds bytes again,
// so without a guard each would run the next inside itself until the stack ran out.
TEST_F(CommPtyTest, AStreamingDeviceAndASlowReceiveHandlerNeverNestTicks) {
    // The poll timer's ticks, counted on their way in: how many are running at once when one of
    // them raises the receive event is the nesting that matters.
    ASSERT_EQ(comm_->ComponentCount(), 1);
    auto* pollTimer = dynamic_cast<vcl::TTimer*>(comm_->Components(0));
    ASSERT_NE(pollTimer, nullptr);
    int running = 0;
    pollTimer->SetOnTimer([&, tick = pollTimer->OnTimer()](vcl::TObject* sender) {
        ++running;
        tick(sender);
        --running;
    });
    constexpr int kDepthLimit = 64;  // beyond this the handler stops waiting, so a failure ends
    int deepest = 0;
    int events = 0;
    comm_->SetOnReceiveData([&](vcl::TObject*) {
        ++events;
        deepest = std::max(deepest, running);
        if (running < kDepthLimit) vcl::Sleep(100);
        const uint8_t* data = nullptr;
        const int32_t last = comm_->ReadBytes(data);
        if (data != nullptr) received_.insert(received_.end(), data, data + last + 1);
        const auto showing = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
        while (comm_->DataCount() == 0 && std::chrono::steady_clock::now() < showing) std::this_thread::yield();
    });
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());

    std::atomic<bool> stop = false;
    std::atomic<size_t> sent = 0;
    std::thread device([&] {
        uint8_t chunk[64];
        while (!stop) {
            for (size_t i = 0; i < sizeof chunk; ++i) chunk[i] = static_cast<uint8_t>((sent + i) % 251);
            const ssize_t n = ::write(pty_.Master(), chunk, sizeof chunk);
            if (n > 0) {
                sent += static_cast<size_t>(n);
            } else {
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        }
    });
    Ticks(5000);  // 500 s of streaming on the virtual clock
    stop = true;
    device.join();
    ASSERT_TRUE(ReceiveUntil(sent));

    RecordProperty("deepest_tick_nesting", deepest);
    std::printf("deepest tick nesting: %d over %d receive events, %zu bytes\n", deepest, events, sent.load());
    EXPECT_EQ(deepest, 1);
    EXPECT_GE(events, 1000) << "about one event each period the previous tick left free";
    ASSERT_EQ(received_.size(), sent.load());
    for (size_t i = 0; i < received_.size(); ++i) {
        ASSERT_EQ(received_[i], i % 251) << "byte " << i;
    }
}

Bytes Frame(size_t size, int seed) {
    Bytes frame(size);
    for (size_t i = 0; i < size; ++i) frame[i] = static_cast<uint8_t>((i * 7 + static_cast<size_t>(seed)) % 256);
    return frame;
}

// The largest frame the main window sends, at 9600 baud, to a peer that has not read the previous
// one yet: the kernel cannot take it all, and the rest goes out as the peer reads.
TEST_F(CommPtyTest, ALargeFrameToASlowPeerReturnsAtOnceAndArrivesInOrder) {
    comm_->SetRThreshold(0);
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());
    const Bytes previous = Frame(10241, 1);
    const Bytes frame = Frame(10241, 2);
    {
        const vcl::pty::HangUpUnlessDone watchdog(pty_);
        EXPECT_TRUE(comm_->SendBytes(previous.data(), 10241));
        EXPECT_TRUE(comm_->SendBytes(frame.data(), 10241));
        ASSERT_FALSE(watchdog.HungUp()) << "the write waited for the peer";
    }
    Bytes expected = previous;
    expected.insert(expected.end(), frame.begin(), frame.end());
    EXPECT_EQ(ReadFromPeer(expected.size()), expected);
    EXPECT_FALSE(pty_.AnythingArrives(0));
}

TEST_F(CommPtyTest, XoffFromThePeerPausesTheLineNotTheWindow) {
    int windowEvents = 0;
    struct Button : vcl::TMessageTarget {
        int& clicks;
        explicit Button(int& count) : clicks(count) {}
        void HandleMessage(vcl::TMessage& message) override {
            if (message.Msg == vcl::WM_USER) ++clicks;
        }
    } button(windowEvents);
    comm_->SetSwHandShaking(shXonXoff);
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());
    PeerSendsXoff();
    const Bytes frame = Frame(10241, 3);
    {
        const vcl::pty::HangUpUnlessDone watchdog(pty_);
        EXPECT_TRUE(comm_->SendBytes(frame.data(), 10241));
        ASSERT_FALSE(watchdog.HungUp()) << "the write waited for XON";
    }
    for (int i = 0; i < 5; ++i) {
        vcl::MessageQueue().Post(&button, vcl::WM_USER);
        Ticks(1);
    }
    EXPECT_EQ(windowEvents, 5);
    EXPECT_FALSE(pty_.AnythingArrives(50)) << "the line is held";

    pty_.WriteToMaster({0x11});
    EXPECT_EQ(ReadFromPeer(frame.size()), frame);
    EXPECT_EQ(Boxes().Count(), 0);
}

// The peer holds the line for good: closing waits what the pending bytes would need, at most about
// a second, then drops them, and the port opens again at once.
TEST_F(CommPtyTest, ClosingWithOutputHeldByThePeerReturnsAndDropsIt) {
    comm_->SetSwHandShaking(shXonXoff);
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());
    PeerSendsXoff();
    const Bytes frame = Frame(10241, 4);
    comm_->SendBytes(frame.data(), 10241);
    {
        const vcl::pty::HangUpUnlessDone watchdog(pty_);
        const auto start = std::chrono::steady_clock::now();
        comm_->SetPortOpen(false);
        const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        RecordProperty("close_with_held_output_ms", std::to_string(took.count()));
        std::printf("closing with 10241 bytes held by XOFF at 9600 baud took %.1f ms\n", took.count());
        ASSERT_FALSE(watchdog.HungUp()) << "closing waited for the line";
    }
    EXPECT_FALSE(comm_->PortOpen());
    pty_.WriteToMaster({0x11});
    EXPECT_FALSE(pty_.AnythingArrives(100)) << "the held bytes were dropped";

    comm_->SetPortOpen(true);
    EXPECT_TRUE(comm_->PortOpen());
    const Bytes ping = {'p'};
    comm_->SendBytes(ping.data(), 1);
    EXPECT_EQ(ReadFromPeer(1), ping);
}

// A peer that reads on its own while the port closes gets everything that was still queued.
TEST_F(CommPtyTest, ClosingLetsQueuedOutputGoOutWhileTheLineMoves) {
    comm_->SetBaudRate(br115200);
    comm_->SetPortOpen(true);
    ASSERT_TRUE(comm_->PortOpen());
    const Bytes first = Frame(10241, 5);
    const Bytes second = Frame(10241, 6);
    comm_->SendBytes(first.data(), 10241);
    comm_->SendBytes(second.data(), 10241);  // more than the kernel takes: part waits in the queue
    Bytes got;
    std::thread peer([&] { got = pty_.ReadFromMaster(2 * 10241); });
    comm_->SetPortOpen(false);
    peer.join();
    Bytes expected = first;
    expected.insert(expected.end(), second.begin(), second.end());
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace serial
