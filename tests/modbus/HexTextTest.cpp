#include <gtest/gtest.h>

#include <string>

#include "modbus/modbus.h"
#include "platform/rtl/Exception.h"

namespace modbus {
namespace {

TEST(RemoveSubStr, RemovesEveryOccurrence) {
    struct Case {
        std::string text, pattern, expected;
    };
    const Case cases[] = {
        {"01  03  00", " ", "010300"},
        {"010300", " ", "010300"},
        {"", " ", ""},
        {"   ", " ", ""},
        {"aab", "ab", "b"},        // one character deleted per pass
        {"abab", "ab", "bb"},
        {"xaabbz", "ab", "xbbz"},  // aabb -> abb -> bb
        {"hello", "", "hello"},
        {"ab", "abc", "ab"},
    };
    for (const auto& c : cases) EXPECT_EQ(RemoveSubStr(c.text, c.pattern), c.expected) << c.text << " / " << c.pattern;
}

TEST(CharOfStr, OnlyOneCharacterTextsHaveACharacter) {
    EXPECT_EQ(CharOfStr("A"), 'A');
    EXPECT_EQ(CharOfStr(""), '\0');
    EXPECT_EQ(CharOfStr("AB"), '\0');
}

TEST(HexDigits, HoldsExactlyTheHexadecimalDigits) {
    const std::string members = "0123456789ABCDEFabcdef";
    for (int code = 0; code < 256; ++code) {
        const bool expected = members.find(static_cast<char>(code)) != std::string::npos && code != 0;
        EXPECT_EQ(HexDigits.Contains(static_cast<uint8_t>(code)), expected) << "code " << code;
    }
}

TEST(HexStrToInt, ValuesOfShortTexts) {
    struct Case {
        std::string text;
        int32_t value;
    };
    const Case cases[] = {
        {"", 0},   {"00", 0},  {"3F", 63}, {"3f", 63}, {"0A", 10}, {"0a", 10}, {"$A", 10},
        {"$F", 15}, {"FF", 255}, {"7", 7},  {"F$", 0},  {"$$", 0},  {"Z", 0},   {"G1", 0},
        {"1$", 0},  {" 1", 0},  {"1 ", 0}, {"-1", 0},  {"x1", 0},  {std::string("\0" "1", 2), 0},
        {"FFFFFFFF", -1}, {"7FFFFFFF", 2147483647},
    };
    for (const auto& c : cases) EXPECT_EQ(HexStrToInt(c.text), c.value) << "'" << c.text << "'";
}

TEST(HexStrToInt, DollarAloneRaisesTheIntegerError) {
    try {
        HexStrToInt("$");
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_STREQ(e.what(), "'$' is not a valid integer value");
    }
}

TEST(StrToInt, AcceptedTexts) {
    struct Case {
        std::string text;
        int32_t value;
    };
    const Case cases[] = {
        {"0", 0},
        {"12", 12},
        {"  12", 12},
        {"+7", 7},
        {"-7", -7},
        {"  -7", -7},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"$FF", 255},
        {"$ff", 255},
        {"xA", 10},
        {"XA", 10},
        {"0x1f", 31},
        {"0X1F", 31},
        {"-$10", -16},
        {"$FFFFFFFF", -1},
        {"$80000000", -2147483647 - 1},
        {"$000000001", 1},  // leading zeros are not significant digits
        {"00000000000000000012", 12},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << "'" << c.text << "'";
}

TEST(StrToInt, RejectedTextsQuoteTheWholeInput) {
    const std::string cases[] = {
        "", "   ", "12 ", " 12 ", "1 2", "2147483648", "-2147483649", "99999999999", "$", "0x", "x",
        "-", "+", "+-1", "--1", "$100000000", "1A", "$G", "0x-1", "\t12", "12\n", "1e3", "１２",
    };
    for (const auto& text : cases) {
        try {
            StrToInt(text);
            FAIL() << "'" << text << "' accepted";
        } catch (const rtl::EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid integer value");
        }
    }
}

TEST(ByteToHex, TwoUpperCaseDigits) {
    EXPECT_EQ(ByteToHex(0), "00");
    EXPECT_EQ(ByteToHex(5), "05");
    EXPECT_EQ(ByteToHex(171), "AB");
    EXPECT_EQ(ByteToHex(255), "FF");
    for (int v = 0; v < 256; ++v) EXPECT_EQ(HexStrToInt(ByteToHex(static_cast<uint8_t>(v))), v);
}

}  // namespace
}  // namespace modbus
