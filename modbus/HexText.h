#pragma once
// The small text rules shared by the frame code and the window: pattern removal, the
// one-character accessor, hexadecimal pairs, the integer text conversion and the byte rendering.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace modbus {

// A membership set over the 256 8-bit character codes.
class CharSet {
public:
    constexpr CharSet(std::initializer_list<std::pair<char, char>> ranges) {
        for (auto [first, last] : ranges) {
            for (int c = static_cast<unsigned char>(first); c <= static_cast<unsigned char>(last); ++c) {
                bits_[c >> 6] |= uint64_t{1} << (c & 63);
            }
        }
    }
    constexpr bool Contains(uint8_t code) const { return (bits_[code >> 6] >> (code & 63)) & 1; }

private:
    std::array<uint64_t, 4> bits_{};
};

// The characters HexStrToInt accepts: 0-9, A-F, a-f.
inline constexpr CharSet HexDigits{{'0', '9'}, {'A', 'F'}, {'a', 'f'}};

// Deletes the first character of the first occurrence of pattern until none is left.
std::string RemoveSubStr(std::string text, const std::string& pattern);

// The character of a one-character text, code 0 for any other text.
char CharOfStr(const std::string& text);

// Hexadecimal value of a short text; 0 for empty text or any character outside HexDigits
// (a leading "$" excepted). Raises EConvertError for "$" alone.
int32_t HexStrToInt(const std::string& text);

// How much of a refused text a conversion error quotes: a longer one (a paste the key filter
// could not stop) is cut to this many characters and "…".
inline constexpr size_t kQuotedCharacters = 64;

// The integer text conversion: optional leading spaces and sign, decimal or "$"/"x"/"0x"
// hexadecimal digits, nothing after them. Raises EConvertError on any violation.
int32_t StrToInt(const std::string& text);

// A byte as two upper-case hexadecimal digits.
std::string ByteToHex(uint8_t value);

// The bytes as two-digit pairs, each with before and after around it and between separating
// neighbours: ("", " ", "") gives "01 03", ("  ", "", "") gives "  01  03", ("", "", "  ") gives
// "01  03  ".
std::string JoinHex(std::span<const uint8_t> bytes, std::string_view before, std::string_view between,
                    std::string_view after);

}  // namespace modbus
