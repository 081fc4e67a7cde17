#include "modbus/ReplyCheck.h"

#include <gtest/gtest.h>

#include <vector>

#include "modbus/HexText.h"

namespace modbus {
namespace {

TEST(CheckReply, TellsEachKindOfReplyByItsBytesAlone) {
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        TReplyVerdict verdict;
        const char* floatText;  // null: none
        uint8_t exception;
    };
    const Case cases[] = {
        {"a float reply", {0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x3F, 0xDB, 0xE3}, TReplyVerdict::CrcOk, "1", 0},
        {"a float reply with a wrong CRC", {0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x3F, 0xDB, 0xE4},
         TReplyVerdict::CrcError, "1", 0},
        {"an exception", {0x01, 0x83, 0x02, 0xC0, 0xF1}, TReplyVerdict::Exception, nullptr, 2},
        {"a high function bit in a longer reply", {0x01, 0x83, 0x02, 0x00, 0x00, 0x00}, TReplyVerdict::CrcError,
         nullptr, 0},
        {"two bytes carry no CRC", {0x01, 0x83}, TReplyVerdict::CrcError, nullptr, 0},
        {"nothing", {}, TReplyVerdict::CrcError, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TReplyCheck check = CheckReply(c.bytes);
        EXPECT_EQ(check.Count, c.bytes.size());
        EXPECT_EQ(check.Hex.size(), 4 * c.bytes.size());
        EXPECT_EQ(check.HasCrc, c.bytes.size() >= 3);
        EXPECT_EQ(check.Verdict, c.verdict);
        EXPECT_EQ(check.Float.has_value(), c.floatText != nullptr);
        if (c.floatText) {
            EXPECT_EQ(*check.Float, c.floatText);
        }
        EXPECT_EQ(check.ExceptionCode, c.exception);
    }
    const TReplyCheck exception = CheckReply(std::vector<uint8_t>{0x01, 0x83, 0x02, 0xC0, 0xF1});
    EXPECT_EQ(exception.Hex, "  01  83  02  C0  F1");
    EXPECT_EQ(exception.ReceivedCrcLow, 0xC0);
    EXPECT_EQ(exception.ReceivedCrcHigh, 0xF1);
    EXPECT_EQ(exception.LocalCrc, 0xF1C0);
}

TEST(ExceptionName, TheStandardNamesInBothLanguagesAndNoneOutsideThem) {
    EXPECT_EQ(ExceptionName(0x02, TLanguage::English), "Illegal data address");
    EXPECT_EQ(ExceptionName(0x02, TLanguage::Chinese), "非法数据地址");
    EXPECT_EQ(ExceptionName(0x0B, TLanguage::English), "Gateway target device failed to respond");
    for (const uint8_t code : {0x00, 0x09, 0x0C, 0xFF}) EXPECT_EQ(ExceptionName(code, TLanguage::English), "") << +code;
}

TEST(JoinHex, PairsWithTheirSeparators) {
    const std::vector<uint8_t> bytes{0x01, 0xAB};
    EXPECT_EQ(JoinHex(bytes, "", " ", ""), "01 AB");
    EXPECT_EQ(JoinHex(bytes, "  ", "", ""), "  01  AB");
    EXPECT_EQ(JoinHex(bytes, "", "", "  "), "01  AB  ");
    EXPECT_EQ(JoinHex({}, "  ", " ", "  "), "");
}

}  // namespace
}  // namespace modbus
