#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "modbus/modbus.h"

namespace modbus {
namespace {

struct CrcCase {
    std::vector<uint8_t> bytes;
    uint8_t low, high;
};

TEST(Crc16, KnownFramesGiveTheirCheckBytes) {
    const CrcCase cases[] = {
        {{0x11, 0x03, 0x00, 0x6B, 0x00, 0x03}, 0x76, 0x87},
        {{0x01, 0x03, 0x00, 0x01, 0x00, 0x04}, 0x15, 0xC9},
        {{0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x3F}, 0xDB, 0xE3},
        {{}, 0xFF, 0xFF},
    };
    for (const auto& c : cases) {
        const uint16_t crc = Crc16(c.bytes.data(), static_cast<int>(c.bytes.size()));
        EXPECT_EQ(crc & 0xFF, c.low);
        EXPECT_EQ(crc >> 8, c.high);
        EXPECT_EQ(crc, Crc16Bitwise(c.bytes.data(), static_cast<int>(c.bytes.size())));
        std::vector<uint8_t> frame = c.bytes;
        frame.insert(frame.end(), {c.low, c.high});
        EXPECT_EQ(WithCrc(c.bytes), frame);
    }
}

TEST(Crc16, NonPositiveCountReadsNothing) {
    EXPECT_EQ(Crc16(nullptr, 0), 0xFFFF);
    EXPECT_EQ(Crc16(nullptr, -5), 0xFFFF);
}

// The sliced table must agree with the bitwise definition at every length and alignment.
TEST(Crc16, TableMatchesBitwiseOnRandomBuffers) {
    std::mt19937 random(20261209);
    std::vector<uint8_t> buffer(kFrameBufferSize + 16);
    for (int round = 0; round < 2000; ++round) {
        const int length = static_cast<int>(random() % (round < 1000 ? 40 : kFrameBufferSize + 1));
        const int offset = static_cast<int>(random() % 16);
        for (int i = 0; i < length; ++i) buffer[offset + i] = static_cast<uint8_t>(random());
        ASSERT_EQ(Crc16(buffer.data() + offset, length), Crc16Bitwise(buffer.data() + offset, length))
            << "length " << length << " offset " << offset;
    }
}

}  // namespace
}  // namespace modbus
