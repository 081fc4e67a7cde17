#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "modbus/modbus.h"
#include "platform/rtl/Exception.h"

namespace modbus {
namespace {

// The first count bytes of FrameBuffer as "01 03 ..." for readable comparisons.
std::string BufferHex(int from, int count) {
    std::string text;
    for (int i = from; i < from + count; ++i) {
        if (i > from) text += ' ';
        text += ByteToHex(FrameBuffer[i]);
    }
    return text;
}

std::string Spaced(const std::string& pairs, const std::string& gap) {
    std::string text;
    for (size_t i = 0; i < pairs.size(); i += 3) {
        if (i > 0) text += gap;
        text += pairs.substr(i, 2);
    }
    return text;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override { FrameBuffer.fill(0xEE); }
};

struct ReadCase {
    uint8_t slave;
    int32_t start, length;
    const char* bytes;
};

TEST_F(FrameTest, ReadRequestBytes) {
    const ReadCase cases[] = {
        {1, 1, 4, "01 03 00 01 00 04 15 C9"},
        {0x11, 0x6B, 3, "11 03 00 6B 00 03 76 87"},
        {1, 1, 2, "01 03 00 01 00 02 95 CB"},
        {1, 1, 300, "01 03 00 01 01 2C 14 47"},
        {1, 70000, 4, "01 03 11 70 00 04 40 EE"},
        {50, -1, -1, "32 03 FF FF FF FF 41 9D"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildReadRequest(c.slave, c.start, c.length), 8);
        EXPECT_EQ(BufferHex(0, 8), c.bytes) << "start " << c.start << " length " << c.length;
        EXPECT_EQ(FrameBuffer[8], 0xEE) << "nothing written past the frame";
    }
}

TEST_F(FrameTest, ReadRenderingJoinsByTwoSpacesWithoutTrailing) {
    BuildReadRequest(1, 1, 4);
    const std::string text = FormatReadFrame();
    EXPECT_EQ(text, "01  03  00  01  00  04  15  C9");
    EXPECT_EQ(text.size(), 30u);
}

struct WriteCase {
    int32_t length;
    const char* data;
    const char* bytes;
};

TEST_F(FrameTest, WriteRequestBytes) {
    const WriteCase cases[] = {
        {0, "", "01 10 00 01 00 00 00 08 AC"},
        {4, "0", "01 10 00 01 00 02 04 00 00 00 00 32 63"},
        {4, "00 00 80 3F", "01 10 00 01 00 02 04 00 00 80 3F 13 B3"},
        {5, "AB", "01 10 00 01 00 02 05 AB 00 00 00 00 C6 DC"},
        {4, "ab12", "01 10 00 01 00 02 04 AB 12 00 00 B2 42"},
        {8, "00 00 00 00 00 00 F0 3F", "01 10 00 01 00 04 08 00 00 00 00 00 00 F0 3F 4F A9"},
        {4, "00004841", "01 10 00 01 00 02 04 00 00 48 41 C4 53"},
        // A bad character spoils its own pair only; later pairs keep their positions.
        {3, "0G1234", "01 10 00 01 00 01 03 00 12 34 CC 31"},
        {3, "12 G3 45", "01 10 00 01 00 01 03 12 00 45 A0 B0"},
        // "$" leading a pair gives the following digit; a "$" in second place spoils the pair.
        {2, "$AB$", "01 10 00 01 00 01 02 0A 00 A1 21"},
        // A longer text contributes only its first length pairs.
        {2, "0102030405", "01 10 00 01 00 01 02 01 02 27 D0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildWriteRequest(1, 1, c.length, c.data), c.length + 9);
        const std::string expected = c.bytes;
        const int shown = static_cast<int>((expected.size() + 1) / 3);
        EXPECT_EQ(BufferHex(0, shown), expected) << "data '" << c.data << "'";
    }
}

TEST_F(FrameTest, WriteRequestOddAndLargeLengthsKeepBothFields) {
    BuildWriteRequest(7, 0x1234, 301, "");
    EXPECT_EQ(BufferHex(0, 7), "07 10 12 34 00 96 2D");  // quantity 301 div 2, byte count 301 mod 256
}

TEST_F(FrameTest, WriteRenderingEndsInTwoSpaces) {
    BuildWriteRequest(1, 1, 4, "0");
    const std::string text = FormatWriteFrame(13);
    EXPECT_EQ(text, Spaced("01 10 00 01 00 02 04 00 00 00 00 32 63", "  ") + "  ");
    EXPECT_EQ(text.size(), 52u);
    for (int count : {1, 9, 100}) {
        BuildWriteRequest(1, 1, count - 9 < 0 ? 0 : count - 9, "ab");
        const std::string t = FormatWriteFrame(count);
        ASSERT_EQ(t.size(), static_cast<size_t>(count) * 4);
        EXPECT_EQ(t.substr(t.size() - 2), "  ");
        EXPECT_NE(t[t.size() - 3], ' ');
        EXPECT_EQ(t.find_first_of("abcdef"), std::string::npos) << "rendered upper case";
    }
    EXPECT_EQ(FormatWriteFrame(0), "");
}

TEST_F(FrameTest, WriteLengthOutsideTheBufferIsRefusedWithoutWriting) {
    for (int32_t length : {-1, -2147483647 - 1, kMaxWriteLength + 1, 2147483647}) {
        try {
            BuildWriteRequest(1, 1, length, "FF");
            FAIL() << "length " << length << " accepted";
        } catch (const rtl::EConvertError& e) {
            EXPECT_NE(std::string(e.what()).find(std::to_string(length)), std::string::npos) << e.what();
            EXPECT_NE(std::string(e.what()).find("10232"), std::string::npos) << e.what();
        }
        EXPECT_TRUE(std::all_of(FrameBuffer.begin(), FrameBuffer.end(), [](uint8_t b) { return b == 0xEE; }));
    }
}

TEST_F(FrameTest, LargestWriteFillsTheBufferExactly) {
    EXPECT_EQ(BuildWriteRequest(1, 1, kMaxWriteLength, std::string(2 * kMaxWriteLength, 'F')), kFrameBufferSize);
    const uint16_t crc = Crc16(FrameBuffer.data(), kMaxWriteLength + 7);
    EXPECT_EQ(FrameBuffer[kFrameBufferSize - 2], crc & 0xFF);
    EXPECT_EQ(FrameBuffer[kFrameBufferSize - 1], crc >> 8);
    EXPECT_EQ(FrameBuffer[7 + kMaxWriteLength - 1], 0xFF);
}

TEST_F(FrameTest, PaddingCoversOnlyTheFirst256Bytes) {
    // 255 pairs of FF are padded to 512 characters: pair 256 is 00, pairs beyond are missing (00).
    BuildWriteRequest(1, 1, 300, std::string(510, 'F'));
    EXPECT_EQ(FrameBuffer[7 + 254], 0xFF);
    EXPECT_EQ(FrameBuffer[7 + 255], 0x00);
    EXPECT_EQ(FrameBuffer[7 + 299], 0x00);
    // A text of 512 characters or more is used as it stands.
    BuildWriteRequest(1, 1, 300, std::string(600, 'F'));
    EXPECT_EQ(FrameBuffer[7 + 299], 0xFF);
}

TEST_F(FrameTest, LoneLastCharacterOfALongOddText) {
    BuildWriteRequest(1, 1, 257, std::string(512, '1') + "7");
    EXPECT_EQ(FrameBuffer[7 + 255], 0x11);
    EXPECT_EQ(FrameBuffer[7 + 256], 0x07);
}

TEST_F(FrameTest, LoneDollarRaisesAndKeepsWhatWasWritten) {
    try {
        BuildWriteRequest(1, 1, 257, std::string(512, '1') + "$");
        FAIL() << "a lone $ must raise";
    } catch (const rtl::EConvertError& e) {
        EXPECT_STREQ(e.what(), "'$' is not a valid integer value");
    }
    EXPECT_EQ(BufferHex(0, 7), "01 10 00 01 00 80 01");
    EXPECT_EQ(FrameBuffer[7 + 255], 0x11);
    EXPECT_EQ(FrameBuffer[7 + 256], 0xEE) << "the failing byte is not written";
}

TEST_F(FrameTest, ComposingOverwritesOnlyTheNewFrame) {
    BuildWriteRequest(1, 1, 20, std::string(40, 'A'));
    BuildReadRequest(1, 1, 4);
    EXPECT_EQ(BufferHex(8, 3), "AA AA AA");
}

TEST_F(FrameTest, FormatWriteFrameRejectsCountsOutsideTheBuffer) {
    EXPECT_THROW(FormatWriteFrame(-1), rtl::ERangeError);
    EXPECT_THROW(FormatWriteFrame(kFrameBufferSize + 1), rtl::ERangeError);
    EXPECT_EQ(FormatWriteFrame(kFrameBufferSize).size(), static_cast<size_t>(kFrameBufferSize) * 4);
}

struct ParseCase {
    const char* text;
    const char* bytes;
};

TEST_F(FrameTest, ParseFrameTextAsTheSendButtonDoes) {
    const ParseCase cases[] = {
        {"01  03  00  01  00  04  15  C9", "01 03 00 01 00 04 15 C9"},
        {"01 03 0", "01 03"},                        // lone last digit ignored
        {"01  03  00  01  00  04  15  CA  ", "01 03 00 01 00 04 15 CA"},  // an edited CRC goes as edited
        {"0103\r\n15", "01 03 00 15"},               // a line break is one bad pair
        {"$A zz ff", "0A 00 FF"},
        {"", ""},
        {"   ", ""},
    };
    for (const auto& c : cases) {
        const std::string expected = c.bytes;
        const int count = ParseFrameText(c.text);
        EXPECT_EQ(count, static_cast<int>((expected.size() + 1) / 3)) << c.text;
        EXPECT_EQ(BufferHex(0, count), expected) << c.text;
    }
}

TEST_F(FrameTest, ParseFrameTextReadsBackEveryRendering) {
    BuildWriteRequest(9, 513, 100, std::string(200, '7'));
    const std::vector<uint8_t> composed(FrameBuffer.begin(), FrameBuffer.begin() + 109);
    const std::string text = FormatWriteFrame(109);
    FrameBuffer.fill(0);
    EXPECT_EQ(ParseFrameText(text), 109);
    EXPECT_TRUE(std::equal(composed.begin(), composed.end(), FrameBuffer.begin()));
}

TEST_F(FrameTest, ParseFrameTextRefusesMoreBytesThanTheBufferHolds) {
    EXPECT_EQ(ParseFrameText(std::string(2 * kFrameBufferSize + 1, '1')), kFrameBufferSize);
    FrameBuffer.fill(0xEE);
    EXPECT_THROW(ParseFrameText(std::string(2 * kFrameBufferSize + 2, '1')), rtl::EConvertError);
    EXPECT_EQ(FrameBuffer[0], 0xEE);
}

}  // namespace
}  // namespace modbus
