#include "modbus/FrameDescription.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "modbus/DataTable.h"

namespace modbus {
namespace {

using enum TFrameSide;

TEST(DescribeFrame, EachKindOfFrameInOneLine) {
    struct Case {
        std::vector<uint8_t> frame;
        TFrameSide side;
        TLanguage language;
        const char* line;
    };
    constexpr TLanguage en = TLanguage::English;
    constexpr TLanguage zh = TLanguage::Chinese;
    const Case cases[] = {
        {{0x01, 0x03, 0x00, 0x01, 0x00, 0x04, 0x15, 0xC9}, Request, en,
         "Slave 1, Read holding registers, start 1, count 4"},
        {{0x01, 0x03, 0x00, 0x01, 0x00, 0x04, 0x15, 0xC9}, Request, zh, "从站 1，读保持寄存器，起始 1，数量 4"},
        {{0x02, 0x01, 0x01, 0x13, 0x00, 0x25, 0x00, 0x00}, Request, en, "Slave 2, Read coils, start 275, count 37"},
        {{0x01, 0x10, 0x00, 0x01, 0x00, 0x02, 0x04, 0x3F, 0x80, 0x00, 0x00, 0x00, 0x00}, Request, en,
         "Slave 1, Write multiple registers, start 1, count 2, 4 bytes"},
        {{0x01, 0x03, 0x08, 0x00, 0x00, 0x3F, 0x80, 0x12, 0x34, 0xAB, 0xCD, 0x00, 0x00}, Reply, en,
         "Slave 1, Read holding registers, 8 bytes: 0000 3F80 1234 ABCD"},
        {{0x01, 0x03, 0x03, 0x01, 0x02, 0x03, 0x00, 0x00}, Reply, zh, "从站 1，读保持寄存器，3 字节：0102 03"},
        {{0x01, 0x03, 0x02, 0x12, 0x34, 0x56, 0x78, 0x00, 0x00}, Reply, en,
         "Slave 1, Read holding registers, 2 bytes: 1234"},
        {{0x01, 0x01, 0x02, 0xCD, 0x6B, 0x00, 0x00}, Reply, en, "Slave 1, Read coils, 2 bytes: CD 6B"},
        {{0x01, 0x10, 0x00, 0x01, 0x00, 0x02, 0x10, 0x08}, Reply, en,
         "Slave 1, Write multiple registers, start 1, count 2"},
        {{0x01, 0x06, 0x00, 0x01, 0x00, 0x03, 0x00, 0x00}, Request, en, "Slave 1, Write single register"},
        {{0x01, 0x83, 0x02, 0xC0, 0xF1}, Reply, en,
         "Slave 1, Read holding registers, exception 02 Illegal data address"},
        {{0x01, 0x83, 0x02, 0xC0, 0xF1}, Reply, zh, "从站 1，读保持寄存器，异常 02 非法数据地址"},
        {{0x11, 0x90, 0x09, 0x00, 0x00}, Reply, en, "Slave 17, Write multiple registers, exception 09"},
        {{0x01, 0xAB, 0x01, 0x00, 0x00}, Reply, en, "Slave 1, function 0x2B, exception 01 Illegal function"},
        {{0x01, 0x83, 0x02, 0xC0, 0xF1}, Request, en, "Slave 1, function 0x83"},
        {{0x01, 0x2B, 0x0E, 0x01, 0x00, 0x00, 0x00}, Request, zh, "从站 1，功能 0x2B"},
        // Cut short: told as far as the bytes go.
        {{}, Request, en, "truncated"},
        {{0x01}, Reply, zh, "从站 1，不完整"},
        {{0x01, 0x03}, Request, en, "Slave 1, Read holding registers, truncated"},
        {{0x01, 0x03, 0x00, 0x01, 0x00}, Request, en, "Slave 1, Read holding registers, start 1, truncated"},
        {{0x01, 0x03, 0x08}, Reply, en, "Slave 1, Read holding registers, 8 bytes, truncated"},
        {{0x01, 0x03, 0x08, 0x00, 0x00, 0x3F, 0x80, 0x00, 0x00}, Reply, zh,
         "从站 1，读保持寄存器，8 字节：0000 3F80，不完整"},
        {{0x01, 0x03, 0xFF, 0x00, 0x00, 0x00}, Reply, en, "Slave 1, Read holding registers, 255 bytes: 00, truncated"},
        {{0x01, 0x10, 0x00, 0x01, 0x00, 0x02, 0x04, 0x3F, 0x80, 0x00, 0x00}, Request, en,
         "Slave 1, Write multiple registers, start 1, count 2, 4 bytes, truncated"},
        {{0x01, 0x83}, Reply, en, "Slave 1, Read holding registers, exception, truncated"},
        {{0x01, 0x83, 0x02, 0xC0}, Reply, en,
         "Slave 1, Read holding registers, exception 02 Illegal data address, truncated"},
        {{0x01, 0x06, 0x00, 0x01, 0x00, 0x03}, Reply, en, "Slave 1, Write single register, truncated"},
        {{0x01, 0x2B, 0x00}, Request, en, "Slave 1, function 0x2B, truncated"},
    };
    for (const Case& c : cases) EXPECT_EQ(DescribeFrame(c.frame, c.side, c.language), c.line);
}

TEST(DescribeFrame, ALongReplyListsItsFirstSixteenRegisters) {
    std::vector<uint8_t> reply{0x01, 0x04, 34};
    std::string values;
    for (uint8_t i = 0; i < 17; ++i) {
        reply.insert(reply.end(), {0x00, i});
        char text[8];
        std::snprintf(text, sizeof text, " %04X", i);
        if (i < 16) values += text;
    }
    reply.insert(reply.end(), {0x00, 0x00});
    EXPECT_EQ(DescribeFrame(reply, Reply, TLanguage::English),
              "Slave 1, Read input registers, 34 bytes:" + values + " …");
}

// Every function code, every length, byte counts at their largest: nothing is read outside the
// frame (the sanitizers watch), and the data found lies between the function code and the CRC.
TEST(DescribeFrame, StaysWithinFramesOfAnyCodeAndLength) {
    for (int code = 0; code < 256; ++code) {
        for (size_t size = 0; size <= 12; ++size) {
            std::vector<uint8_t> frame(size, 0xFF);
            if (size > 1) frame[1] = static_cast<uint8_t>(code);
            for (const TFrameSide side : {Request, Reply}) {
                EXPECT_FALSE(DescribeFrame(frame, side, TLanguage::English).empty());
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
