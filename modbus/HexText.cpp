#include "modbus/HexText.h"

#include <algorithm>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf.h"

namespace modbus {
namespace {

[[noreturn]] void RaiseNotInteger(const std::string& text) {
    throw rtl::EConvertError(rtl::Format("'%s' is not a valid integer value", rtl::Shortened(text, kQuotedCharacters).c_str()));
}

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::string RemoveSubStr(std::string text, const std::string& pattern) {
    if (pattern.empty()) return text;
    if (pattern.size() == 1) {
        std::erase(text, pattern[0]);
        return text;
    }
    // Deleting one character can only create a new occurrence that overlaps the deletion
    // point, so each search resumes just before it instead of at the start.
    size_t from = 0;
    for (;;) {
        const size_t at = text.find(pattern, from);
        if (at == std::string::npos) return text;
        text.erase(at, 1);
        from = at >= pattern.size() - 1 ? at - (pattern.size() - 1) : 0;
    }
}

char CharOfStr(const std::string& text) { return text.size() == 1 ? text[0] : '\0'; }

int32_t HexStrToInt(const std::string& text) {
    if (text.empty()) return 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (i == 0 && text[i] == '$') continue;
        if (!HexDigits.Contains(static_cast<uint8_t>(CharOfStr(std::string(1, text[i]))))) return 0;
    }
    return StrToInt(text[0] == '$' ? text : "$" + text);
}

int32_t StrToInt(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';

    int base = 10;
    if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        base = 16, ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16, i += 2;
    }
    if (i >= text.size()) RaiseNotInteger(text);

    // Decimal magnitude may reach 2147483648 for the negative limit; hexadecimal is a 32-bit pattern.
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 2147483648ull : 2147483647ull);
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit < 0 || digit >= base) RaiseNotInteger(text);
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit) RaiseNotInteger(text);
    }
    const auto pattern = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - pattern : pattern);
}

namespace {
constexpr char kDigits[] = "0123456789ABCDEF";
}  // namespace

std::string ByteToHex(uint8_t value) { return {kDigits[value >> 4], kDigits[value & 15]}; }

std::string JoinHex(std::span<const uint8_t> bytes, std::string_view before, std::string_view between,
                    std::string_view after) {
    std::string text;
    if (bytes.empty()) return text;
    text.reserve(bytes.size() * (2 + before.size() + after.size() + between.size()));
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) text += between;
        text += before;
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
        text += after;
    }
    return text;
}

}  // namespace modbus
