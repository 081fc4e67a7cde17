#include "modbus/FrameDescription.h"

#include <gtest/gtest.h>

#include <vector>

#include "modbus/DataTable.h"

namespace modbus {
namespace {

using enum TFrameSide;
constexpr TLanguage en = TLanguage::English;
constexpr TLanguage zh = TLanguage::Chinese;

TEST(DescribeFrame, EachKindOfFrameInOneLineAndACutOneAsFarAsItGoes) {
    struct Case {
        std::vector<uint8_t> frame;
        TFrameSide side;
        TLanguage language;
        const char* line;
    };
    const Case cases[] = {
        {{1, 0x03, 0, 1, 0, 4, 0x15, 0xC9}, Request, zh, "从站 1，读保持寄存器，起始 1，数量 4"},
        {{2, 0x01, 1, 0x13, 0, 0x25, 0, 0}, Request, en, "Slave 2, Read coils, start 275, count 37"},
        {{1, 0x03, 8, 0, 0, 0x3F, 0x80, 0x12, 0x34, 0xAB, 0xCD, 0, 0}, Reply, en,
         "Slave 1, Read holding registers, 8 bytes: 0000 3F80 1234 ABCD"},
        {{1, 0x03, 3, 1, 2, 3, 0x56, 0, 0}, Reply, zh, "从站 1，读保持寄存器，3 字节：0102 03"},
        {{1, 0x01, 2, 0xCD, 0x6B, 0, 0}, Reply, en, "Slave 1, Read coils, 2 bytes: CD 6B"},
        {{1, 0x06, 0, 1, 0, 3, 0, 0}, Request, en, "Slave 1, Write single register"},
        {{1, 0x83, 2, 0xC0, 0xF1}, Reply, zh, "从站 1，读保持寄存器，异常 02 非法数据地址"},
        {{17, 0x90, 9, 0, 0}, Reply, en, "Slave 17, Write multiple registers, exception 09"},
        {{1, 0xAB, 1, 0, 0}, Reply, en, "Slave 1, function 0x2B, exception 01 Illegal function"},
        {{1, 0x2B, 0x0E, 1, 0, 0, 0}, Request, zh, "从站 1，功能 0x2B"},
        {{}, Request, en, "truncated"},
        {{1}, Reply, zh, "从站 1，不完整"},
        {{1, 0x03, 0, 1, 0}, Request, en, "Slave 1, Read holding registers, start 1, truncated"},
        {{1, 0x03, 0xFF, 0x12, 0x34, 0, 0}, Reply, en, "Slave 1, Read holding registers, 255 bytes: 1234, truncated"},
        {{1, 0x10, 0, 1, 0, 2, 4, 0x3F, 0x80, 0, 0}, Request, en,
         "Slave 1, Write multiple registers, start 1, count 2, 4 bytes, truncated"},
        {{1, 0x10, 0, 1, 0, 2, 0x10, 0x08}, Reply, en, "Slave 1, Write multiple registers, start 1, count 2"},
        {{1, 0x83}, Request, en, "Slave 1, function 0x83, truncated"},
    };
    for (const Case& c : cases) EXPECT_EQ(DescribeFrame(c.frame, c.side, c.language), c.line);

    std::vector<uint8_t> seventeen{1, 0x04, 34};
    for (int i = 0; i < 19; ++i) seventeen.insert(seventeen.end(), {0x0A, 0xBC});
    std::string listed = "Slave 1, Read input registers, 34 bytes:";
    for (int i = 0; i < 16; ++i) listed += " 0ABC";
    EXPECT_EQ(DescribeFrame(seventeen, Reply, en), listed + " …");
}

// Every function code and length, byte counts at their largest: nothing is read outside the frame
// (the sanitizers watch), and its data lies between the function code and the CRC.
TEST(DescribeFrame, StaysWithinFramesOfAnyCodeAndLength) {
    for (int code = 0; code < 256; ++code) {
        for (size_t size = 0; size <= 12; ++size) {
            std::vector<uint8_t> frame(size, 0xFF);
            if (size > 1) frame[1] = static_cast<uint8_t>(code);
            for (const TFrameSide side : {Request, Reply}) {
                EXPECT_FALSE(DescribeFrame(frame, side, en).empty());
                const std::span<const uint8_t> data = FrameData(frame, side);
                if (data.empty()) continue;
                EXPECT_GE(data.data(), frame.data() + 2) << code << " " << size;
                EXPECT_LE(data.data() + data.size(), frame.data() + size - 2) << code << " " << size;
            }
        }
    }
}

}  // namespace
}  // namespace modbus
