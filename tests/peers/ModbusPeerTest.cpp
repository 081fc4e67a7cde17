// Our request frames against libmodbus: the serial device layer opens COM9, a pseudo-terminal
// bridged to another one on which libmodbus serves as slave 17. A frame libmodbus answers is a
// real Modbus frame; the slave prints its register map after every request, so writes are
// checked on its side.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "modbus/modbus.h"
#include "platform/serialdev/CommApi.h"
#include "tests/peers/SlaveProcess.h"
#include "tests/platform/serialdev/PtyPair.h"

namespace vcl {
namespace {

using peers::ParseServed;
using peers::Served;
using peers::SlaveProcess;

constexpr uint8_t kSlave = 17;
constexpr int kPort = 9;

uint16_t ReceivedCrc(const std::vector<uint8_t>& reply) {
    return static_cast<uint16_t>(reply[reply.size() - 2] | (reply[reply.size() - 1] << 8));
}

class ModbusPeerTest : public ::testing::Test {
protected:
    void SetUp() override {
        config_.MapPort(kPort, ours_.SlavePath());
        bridge_ = std::make_unique<pty::PtyBridge>(ours_.Master(), theirs_.Master());
        slave_ = std::make_unique<SlaveProcess>(std::vector<std::string>{
            peers::ModbusSlavePath(), theirs_.SlavePath(), "19200", std::to_string(kSlave),
            "0x10=0x1234", "0x11=0xABCD", "0x12=0x0001", "0x13=0xFFFF", "0x20=0x5555", "0x34=0x7777"});
        ASSERT_EQ(slave_->ReadLine(), "ready");

        port_ = CreateFileA("\\\\.\\\\COM9", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(port_, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetupComm(port_, 16384, 16384));
        PurgeComm(port_, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR);
        DCB dcb;
        ASSERT_TRUE(GetCommState(port_, &dcb));
        dcb.BaudRate = 19200;
        dcb.fBinary = 1;
        dcb.fDtrControl = DTR_CONTROL_DISABLE;
        dcb.fRtsControl = RTS_CONTROL_DISABLE;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        ASSERT_TRUE(SetCommState(port_, &dcb));
    }

    void TearDown() override {
        if (port_ != INVALID_HANDLE_VALUE) CloseHandle(port_);
    }

    void Send(int count) {
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(port_, modbus::FrameBuffer.data(), static_cast<DWORD>(count), &written, nullptr));
        ASSERT_EQ(written, static_cast<DWORD>(count));
    }

    // Everything waiting once at least count bytes came (or after a few seconds).
    std::vector<uint8_t> Receive(DWORD count) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        COMSTAT status;
        while (ClearCommError(port_, nullptr, &status) && status.cbInQue < count &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::vector<uint8_t> reply(status.cbInQue);
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(port_, reply.data(), status.cbInQue, &read, nullptr));
        reply.resize(read);
        return reply;
    }

    Served NextServed() { return ParseServed(slave_->ReadLine()); }

    pty::ScratchConfig config_;
    pty::PtyPair ours_;
    pty::PtyPair theirs_;
    std::unique_ptr<pty::PtyBridge> bridge_;
    std::unique_ptr<SlaveProcess> slave_;
    HANDLE port_ = INVALID_HANDLE_VALUE;
};

TEST_F(ModbusPeerTest, ReadRequestIsAnsweredWithTheRegistersAndAMatchingCrc) {
    Send(modbus::BuildReadRequest(kSlave, 0x10, 4));
    const std::vector<uint8_t> reply = Receive(13);
    ASSERT_EQ(reply.size(), 13u);
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.end() - 2),
              (std::vector<uint8_t>{kSlave, 0x03, 8, 0x12, 0x34, 0xAB, 0xCD, 0x00, 0x01, 0xFF, 0xFF}));
    EXPECT_EQ(ReceivedCrc(reply), modbus::ReplyCrc(reply.data(), 13));
    EXPECT_EQ(NextServed().function, 0x03);
}

TEST_F(ModbusPeerTest, WriteOfFourDataBytesLandsInTheSlavesRegisters) {
    // 1.5 as a float is 3FC00000, sent least significant byte first.
    const std::string data = modbus::ValueToDataText("1.5", 4);
    ASSERT_EQ(data, "00 00 C0 3F");
    Send(modbus::BuildWriteRequest(kSlave, 0x20, 4, data));
    const std::vector<uint8_t> reply = Receive(8);
    ASSERT_EQ(reply.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.end() - 2),
              (std::vector<uint8_t>{kSlave, 0x10, 0x00, 0x20, 0x00, 0x02}));
    EXPECT_EQ(ReceivedCrc(reply), modbus::ReplyCrc(reply.data(), 8));

    const Served served = NextServed();
    EXPECT_EQ(served.function, 0x10);
    ASSERT_EQ(served.registers.size(), 256u);
    EXPECT_EQ(served.registers[0x20], 0x0000);
    EXPECT_EQ(served.registers[0x21], 0xC03F);
    EXPECT_EQ(served.registers[0x22], 0x0000);
    EXPECT_EQ(served.registers[0x1F], 0x0000);
    EXPECT_EQ(served.registers[0x10], 0x1234) << "other registers keep their values";
}

TEST_F(ModbusPeerTest, WriteOfEightDataBytesLandsInTheSlavesRegistersAndReadsBack) {
    Send(modbus::BuildWriteRequest(kSlave, 0x30, 8, "01 23 45 67 89 AB CD EF"));
    const std::vector<uint8_t> reply = Receive(8);
    ASSERT_EQ(reply.size(), 8u);
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.end() - 2),
              (std::vector<uint8_t>{kSlave, 0x10, 0x00, 0x30, 0x00, 0x04}));
    EXPECT_EQ(ReceivedCrc(reply), modbus::ReplyCrc(reply.data(), 8));

    const Served served = NextServed();
    EXPECT_EQ(served.function, 0x10);
    ASSERT_EQ(served.registers.size(), 256u);
    EXPECT_EQ(std::vector<uint16_t>(served.registers.begin() + 0x30, served.registers.begin() + 0x35),
              (std::vector<uint16_t>{0x0123, 0x4567, 0x89AB, 0xCDEF, 0x7777}));

    Send(modbus::BuildReadRequest(kSlave, 0x30, 4));
    const std::vector<uint8_t> readBack = Receive(13);
    ASSERT_EQ(readBack.size(), 13u);
    EXPECT_EQ(std::vector<uint8_t>(readBack.begin() + 3, readBack.end() - 2),
              (std::vector<uint8_t>{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}));
    EXPECT_EQ(ReceivedCrc(readBack), modbus::ReplyCrc(readBack.data(), 13));
}

// The peer does check the CRC: a frame with a wrong one goes unanswered, so the answers above
// vouch for ours.
TEST_F(ModbusPeerTest, FrameWithAWrongCrcIsIgnoredAndTheNextOneAnswered) {
    modbus::BuildReadRequest(kSlave, 0x10, 1);
    modbus::FrameBuffer[7] ^= 0x01;
    Send(8);
    Send(modbus::BuildReadRequest(kSlave, 0x12, 2));
    const Served served = NextServed();
    EXPECT_EQ(served.function, 0x03);
    const std::vector<uint8_t> reply = Receive(9);
    ASSERT_GE(reply.size(), 9u);
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.begin() + 7),
              (std::vector<uint8_t>{kSlave, 0x03, 4, 0x00, 0x01, 0xFF, 0xFF}));
}

}  // namespace
}  // namespace vcl
