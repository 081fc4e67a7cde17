#pragma once
// Conversions between the 8-bit text of the standard controls (UTF-8 here) and the 16-bit
// wide text of the control set. Malformed input never fails: each bad unit becomes U+FFFD.

#include <string>
#include <string_view>

namespace rtl {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

// Appends the UTF-8 form of one code point (U+FFFD for surrogates and values above U+10FFFF).
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the code point starting at text[index] and advances index past it.
char32_t NextCodePoint(std::string_view text, size_t& index);
char32_t NextCodePoint(std::u16string_view text, size_t& index);

// The text as it is when it has at most maxCharacters code points; otherwise its first
// maxCharacters code points and "…". For quoting a user's text in a message.
std::string Shortened(std::string_view text, size_t maxCharacters);

}  // namespace rtl
