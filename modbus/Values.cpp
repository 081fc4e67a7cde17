#include "modbus/Values.h"

#include <algorithm>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

#include "modbus/Crc16.h"
#include "modbus/HexText.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf.h"

namespace modbus {
namespace {

constexpr int kSignificantDigits = 15;

[[noreturn]] void RaiseNotFloat(const std::string& text) {
    throw rtl::EConvertError(rtl::Format("'%s' is not a valid floating point value", rtl::Shortened(text, kQuotedCharacters).c_str()));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Converts the validated number text independently of the process locale.
long double ParseCLocale(const std::string& number) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return strtold_l(number.c_str(), nullptr, cLocale);
}

// A bit pattern's bytes, least significant first, as pairs joined by single spaces.
template <typename Pattern>
std::string PatternText(Pattern pattern) {
    std::array<uint8_t, sizeof pattern> bytes;
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(pattern >> (8 * i));
    return JoinHex(bytes, "", " ", "");
}

}  // namespace

uint16_t ReplyCrc(const uint8_t* reply, int count) { return Crc16(reply, count >= 3 ? count - 2 : 0); }

float ByteToFloat(const uint8_t bytes[4]) {
    const uint32_t pattern = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (uint32_t{bytes[3]} << 24);
    float value;
    std::memcpy(&value, &pattern, sizeof value);
    return value;
}

std::string FloatToStr(long double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0) return "0";

    // "%.14Le" rounds the exact binary value correctly to 15 significant digits: d.dddde±x.
    char scientific[64];
    std::snprintf(scientific, sizeof scientific, "%.*Le", kSignificantDigits - 1, std::fabs(value));
    std::string digits;
    const char* p = scientific;
    for (; *p != 'e'; ++p) {
        if (IsDigit(*p)) digits += *p;
    }
    const int exponent = std::atoi(p + 1) + 1;  // value = 0.d1d2... * 10^exponent
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    const int n = static_cast<int>(digits.size());

    // Appended piece by piece: "literal" + temporary inlines an insert at the front that g++ 12
    // at -O3 misreads as an overlapping copy (-Wrestrict).
    std::string text = value < 0 ? "-" : "";
    if (exponent > 0 && exponent <= 15) {
        text.append(digits, 0, static_cast<size_t>(std::min(n, exponent)));
        if (n < exponent) text.append(static_cast<size_t>(exponent - n), '0');
        if (n > exponent) text.append(1, '.').append(digits, static_cast<size_t>(exponent));
    } else if (exponent <= 0 && exponent >= -3) {
        text.append("0.").append(static_cast<size_t>(-exponent), '0').append(digits);
    } else {
        text += digits[0];
        if (n > 1) text.append(1, '.').append(digits, 1);
        text.append(1, 'E').append(std::to_string(exponent - 1));
    }
    return text;
}

long double StrToFloat(const std::string& text) {
    size_t i = 0;
    const size_t size = text.size();
    while (i < size && text[i] == ' ') ++i;
    const size_t numberStart = i;
    if (i < size && (text[i] == '+' || text[i] == '-')) ++i;

    const size_t mantissaStart = i;
    while (i < size && IsDigit(text[i])) ++i;
    if (i < size && text[i] == '.') {
        ++i;
        while (i < size && IsDigit(text[i])) ++i;
    }
    if (i == mantissaStart) RaiseNotFloat(text);
    const bool mantissaHasDigit = text.find_first_of("0123456789", mantissaStart) < i;

    if (i < size && (text[i] == 'E' || text[i] == 'e')) {
        ++i;
        if (i < size && (text[i] == '+' || text[i] == '-')) ++i;
        const size_t exponentStart = i;
        while (i < size && IsDigit(text[i])) ++i;
        if (i == exponentStart) RaiseNotFloat(text);
    }
    const size_t numberEnd = i;
    while (i < size && text[i] == ' ') ++i;
    if (i != size) RaiseNotFloat(text);

    // "." alone (or with an exponent) has no digit to convert and counts as zero.
    if (!mantissaHasDigit) return 0;
    const long double value = ParseCLocale(text.substr(numberStart, numberEnd - numberStart));
    if (std::isinf(value)) RaiseNotFloat(text);
    return value;
}

std::string ValueToDataText(const std::string& text, int width) {
    if (width != 4 && width != 8) return {};
    const long double x = StrToFloat(text);
    if (width == 4) {
        const auto single = static_cast<float>(x);
        if (std::isinf(single)) throw rtl::EOverflow();
        uint32_t pattern;
        std::memcpy(&pattern, &single, sizeof pattern);
        return PatternText(pattern);
    }
    const auto dbl = static_cast<double>(x);
    if (std::isinf(dbl)) throw rtl::EOverflow();
    uint64_t pattern;
    std::memcpy(&pattern, &dbl, sizeof pattern);
    return PatternText(pattern);
}

}  // namespace modbus
