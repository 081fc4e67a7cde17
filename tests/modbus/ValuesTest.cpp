#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "modbus/modbus.h"
#include "platform/rtl/Exception.h"

namespace modbus {
namespace {

TEST(ReplyCrc, ReceivedAndLocalCrcOfAFloatReply) {
    const uint8_t reply[] = {0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x3F, 0xDB, 0xE3};
    const uint16_t local = ReplyCrc(reply, 9);
    EXPECT_EQ(local & 0xFF, 0xDB);
    EXPECT_EQ(local >> 8, 0xE3);
    EXPECT_EQ(ByteToFloat(reply + 3), 1.0f);
}

TEST(ReplyCrc, ShortRepliesReadNothingOutside) {
    const uint8_t reply[] = {0x01, 0x83, 0x02};
    EXPECT_EQ(ReplyCrc(reply, 3), Crc16(reply, 1));
    EXPECT_EQ(ReplyCrc(reply, 2), 0xFFFF);
    EXPECT_EQ(ReplyCrc(reply, 1), 0xFFFF);
    EXPECT_EQ(ReplyCrc(nullptr, 0), 0xFFFF);
}

struct FloatCase {
    uint8_t bytes[4];
    const char* text;
};

TEST(FloatToStr, RenderingsOfDecodedData) {
    const FloatCase cases[] = {
        {{0x00, 0x00, 0x80, 0x3F}, "1"},
        {{0xCD, 0xCC, 0xCC, 0x3D}, "0.100000001490116"},
        {{0x00, 0x00, 0x80, 0x35}, "9.5367431640625E-7"},
        {{0x17, 0xB7, 0xD1, 0x38}, "9.99999974737875E-5"},
        {{0xFF, 0xFF, 0x7F, 0x7F}, "3.40282346638529E38"},
        {{0x00, 0x00, 0x80, 0xBF}, "-1"},
        {{0x00, 0x00, 0xC0, 0x7F}, "NAN"},
        {{0x00, 0x00, 0x80, 0xFF}, "-INF"},
        {{0x00, 0x00, 0x80, 0x7F}, "INF"},
        {{0x00, 0x00, 0x00, 0x80}, "0"},
        {{0x00, 0x00, 0x00, 0x00}, "0"},
        {{0x00, 0x00, 0x48, 0x41}, "12.5"},
        {{0x01, 0x00, 0x00, 0x00}, "1.40129846432482E-45"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(ByteToFloat(c.bytes)), c.text);
}

TEST(FloatToStr, PlainAndScientificBoundaries) {
    struct Case {
        long double value;
        const char* text;
    };
    const Case cases[] = {
        {0.001L, "0.001"},
        {0.0001L, "0.0001"},        // exponent -3: still plain
        {0.00001L, "1E-5"},
        {100000000000000.0L, "100000000000000"},
        {999999999999999.0L, "999999999999999"},
        {1e15L, "1E15"},
        {1234567890123456.0L, "1.23456789012346E15"},
        {-0.5L, "-0.5"},
        {123.456L, "123.456"},
        {0.1L, "0.1"},
        {2.0L / 3.0L, "0.666666666666667"},
        {9.9999999999999999L, "10"},  // rounding carries into a new digit
        {1e100L, "1E100"},
        {-2.5e-300L, "-2.5E-300"},
    };
    for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value), c.text);
}

TEST(StrToFloat, AcceptedTexts) {
    struct Case {
        const char* text;
        long double value;
    };
    const Case cases[] = {
        {"1", 1},      {"  1", 1},    {"1  ", 1},    {"+1", 1},     {"-1", -1},   {"12.5", 12.5L},
        {".", 0},      {"-.", 0},     {".5", 0.5L},  {"5.", 5},     {"1e3", 1000}, {"1E+3", 1000},
        {"1e-3", 0.001L}, {".e5", 0}, {"0", 0},      {"00012", 12},
    };
    for (const auto& c : cases) EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
}

TEST(StrToFloat, RejectedTextsQuoteTheWholeInput) {
    const std::string cases[] = {"", "  ", "1.2.3", "1..", "abc", "1x", "e5", "1e", "1e+", "--1",
                                 "1 2", "$1", "0x10", "INF", "NAN", "1,5", "1e99999", "\t1"};
    for (const auto& text : cases) {
        try {
            StrToFloat(text);
            FAIL() << "'" << text << "' accepted";
        } catch (const rtl::EConvertError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid floating point value");
        }
    }
}

TEST(StrToFloat, AndStrToIntQuoteALongTextByItsFirst64Characters) {
    const auto messageOf = [](auto convert, const std::string& text) -> std::string {
        try {
            convert(text);
        } catch (const rtl::EConvertError& e) {
            return e.what();
        }
        return "accepted";
    };
    const auto toInt = [](const std::string& t) { return StrToInt(t); };
    const auto toFloat = [](const std::string& t) { return StrToFloat(t); };
    const std::string quote = "'" + std::string(64, '7') + "\u2026'";
    EXPECT_EQ(messageOf(toInt, std::string(1000000, '7')), quote + " is not a valid integer value");
    EXPECT_EQ(messageOf(toFloat, std::string(65, '7') + "x"), quote + " is not a valid floating point value");
    EXPECT_EQ(messageOf(toInt, std::string(64, '9')), "'" + std::string(64, '9') + "' is not a valid integer value");
}

TEST(ValueToDataText, BytesOfSingleAndDoubleValues) {
    struct Case {
        std::string text;
        int width;
        const char* bytes;
    };
    const Case cases[] = {
        {"1", 4, "00 00 80 3F"},
        {"1", 8, "00 00 00 00 00 00 F0 3F"},
        {"0.1", 4, "CD CC CC 3D"},
        {"12.5", 4, "00 00 48 41"},
        {"12.5", 8, "00 00 00 00 00 00 29 40"},
        {".", 4, "00 00 00 00"},
        {"0", 4, "00 00 00 00"},
        {"-1", 4, "00 00 80 BF"},
        {"4" + std::string(38, '0'), 8, "B1 A1 16 2A D3 CE F2 47"},
        {"1", 5, ""},
        {"1", 0, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ValueToDataText(c.text, c.width), c.bytes) << c.text << " " << c.width;
}

TEST(ValueToDataText, DecodesBackToItself) {
    for (const char* text : {"1", "0.1", "-273.15", "3.4E38", "1e-40"}) {
        const std::string pairs = ValueToDataText(text, 4);
        ASSERT_EQ(pairs.size(), 11u);
        uint8_t bytes[4];
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<uint8_t>(HexStrToInt(pairs.substr(3 * i, 2)));
        EXPECT_EQ(ByteToFloat(bytes), static_cast<float>(StrToFloat(text))) << text;
    }
}

TEST(ValueToDataText, OverflowBeyondThePrecision) {
    const std::string huge = "4" + std::string(38, '0');
    try {
        ValueToDataText(huge, 4);
        FAIL();
    } catch (const rtl::EOverflow& e) {
        EXPECT_STREQ(e.what(), "Floating point overflow");
    }
    EXPECT_THROW(ValueToDataText("-1e39", 4), rtl::EOverflow);
    EXPECT_THROW(ValueToDataText("2e308", 8), rtl::EOverflow);
    EXPECT_EQ(ValueToDataText("3.4028234e38", 4), "FF FF 7F 7F");
    EXPECT_THROW(ValueToDataText("1..2", 4), rtl::EConvertError) << "conversion errors come first";
}

}  // namespace
}  // namespace modbus
