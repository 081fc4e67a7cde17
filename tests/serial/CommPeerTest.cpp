// The component as a Modbus master against libmodbus: COM9 is a pty bridged to another one on
// which libmodbus serves as slave 17. Frames go out with SendBytes and the replies come back
// through the poll, OnReceiveData and ReadBytes, the way the main window receives them.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "modbus/modbus.h"
#include "tests/peers/SlaveProcess.h"
#include "tests/platform/serialdev/PtyPair.h"
#include "tests/serial/CommFixture.h"

namespace serial {
namespace {

using Bytes = std::vector<uint8_t>;
using vcl::peers::Served;

constexpr uint8_t kSlave = 17;

uint16_t ReceivedCrc(const Bytes& reply) {
    return static_cast<uint16_t>(reply[reply.size() - 2] | (reply[reply.size() - 1] << 8));
}

Bytes WithoutCrc(const Bytes& reply) { return Bytes(reply.begin(), reply.end() - 2); }

class CommPeerTest : public testing_support::CommTest {
protected:
    void SetUp() override {
        CommTest::SetUp();
        config_.MapPort(9, ours_.SlavePath());
        bridge_ = std::make_unique<vcl::pty::PtyBridge>(ours_.Master(), theirs_.Master());
        slave_ = std::make_unique<vcl::peers::SlaveProcess>(std::vector<std::string>{
            vcl::peers::ModbusSlavePath(), theirs_.SlavePath(), "19200", std::to_string(kSlave), "0x10=0x1234",
            "0x11=0xABCD", "0x12=0x0001", "0x13=0xFFFF", "0x20=0x5555", "0x34=0x7777"});
        ASSERT_EQ(slave_->ReadLine(), "ready");

        comm_->SetCommPort(pnCOM9);
        comm_->SetBaudRate(br19200);
        comm_->SetRThreshold(1);
        comm_->SetOnReceiveData([this](vcl::TObject*) {
            const uint8_t* data = nullptr;
            const int32_t last = comm_->ReadBytes(data);
            reply_.insert(reply_.end(), data, data + last + 1);
        });
        comm_->SetPortOpen(true);
        ASSERT_TRUE(comm_->PortOpen());
    }

    void TearDown() override {
        comm_.reset();
        slave_.reset();
        bridge_.reset();
        CommTest::TearDown();
    }

    // Sends the first count bytes of the transmit buffer and collects the reply of size bytes.
    Bytes Exchange(int count, size_t size) {
        reply_.clear();
        EXPECT_TRUE(comm_->SendBytes(modbus::FrameBuffer.data(), static_cast<uint32_t>(count)));
        EXPECT_TRUE(PollUntil([&] { return reply_.size() >= size; })) << "no reply";
        return reply_;
    }

    Served NextServed() { return vcl::peers::ParseServed(slave_->ReadLine()); }

    vcl::pty::ScratchConfig config_;
    vcl::pty::PtyPair ours_;
    vcl::pty::PtyPair theirs_;
    std::unique_ptr<vcl::pty::PtyBridge> bridge_;
    std::unique_ptr<vcl::peers::SlaveProcess> slave_;
    Bytes reply_;
};

TEST_F(CommPeerTest, AReadRequestIsAnsweredWithTheRegistersAndACrcThatMatchesOurs) {
    const Bytes reply = Exchange(modbus::BuildReadRequest(kSlave, 0x10, 4), 13);
    ASSERT_EQ(reply.size(), 13u);
    EXPECT_EQ(WithoutCrc(reply), (Bytes{kSlave, 0x03, 8, 0x12, 0x34, 0xAB, 0xCD, 0x00, 0x01, 0xFF, 0xFF}));
    EXPECT_EQ(ReceivedCrc(reply), modbus::ReplyCrc(reply.data(), 13));
    EXPECT_EQ(NextServed().function, 0x03);
}

TEST_F(CommPeerTest, AWriteOfFourDataBytesLandsInTheSlavesRegisters) {
    // 2.5f is 0x40200000, sent least significant byte first.
    const std::string data = modbus::ValueToDataText("2.5", 4);
    ASSERT_EQ(data, "00 00 20 40");
    const Bytes reply = Exchange(modbus::BuildWriteRequest(kSlave, 0x20, 4, data), 8);
    ASSERT_EQ(reply.size(), 8u);
    EXPECT_EQ(WithoutCrc(reply), (Bytes{kSlave, 0x10, 0x00, 0x20, 0x00, 0x02}));
    EXPECT_EQ(ReceivedCrc(reply), modbus::ReplyCrc(reply.data(), 8));

    const Served served = NextServed();
    EXPECT_EQ(served.function, 0x10);
    ASSERT_EQ(served.registers.size(), 256u);
    EXPECT_EQ(served.registers[0x20], 0x0000);
    EXPECT_EQ(served.registers[0x21], 0x2040);
    EXPECT_EQ(served.registers[0x22], 0x0000);
    EXPECT_EQ(served.registers[0x10], 0x1234) << "other registers keep their values";
}

TEST_F(CommPeerTest, AWriteOfEightDataBytesLandsInTheSlavesRegistersAndReadsBack) {
    const Bytes reply = Exchange(modbus::BuildWriteRequest(kSlave, 0x30, 8, "FE DC BA 98 76 54 32 10"), 8);
    ASSERT_EQ(reply.size(), 8u);
    EXPECT_EQ(WithoutCrc(reply), (Bytes{kSlave, 0x10, 0x00, 0x30, 0x00, 0x04}));
    EXPECT_EQ(ReceivedCrc(reply), modbus::ReplyCrc(reply.data(), 8));

    const Served served = NextServed();
    ASSERT_EQ(served.registers.size(), 256u);
    EXPECT_EQ(std::vector<uint16_t>(served.registers.begin() + 0x30, served.registers.begin() + 0x35),
              (std::vector<uint16_t>{0xFEDC, 0xBA98, 0x7654, 0x3210, 0x7777}));

    const Bytes readBack = Exchange(modbus::BuildReadRequest(kSlave, 0x30, 4), 13);
    ASSERT_EQ(readBack.size(), 13u);
    EXPECT_EQ(Bytes(readBack.begin() + 3, readBack.end() - 2),
              (Bytes{0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x32, 0x10}));
    EXPECT_EQ(ReceivedCrc(readBack), modbus::ReplyCrc(readBack.data(), 13));
}

}  // namespace
}  // namespace serial
