#pragma once
// Upper and lower case of wide (UTF-16) text and of single code points, by the Unicode simple
// case mapping: Latin, Greek, Cyrillic, full-width letters and the rest the C library knows.
// Characters without a case (Chinese, digits, marks) are left as they are; a mapping that would
// change the number of UTF-16 units is not applied.

#include <string>
#include <string_view>

namespace rtl {

char32_t ToUpper(char32_t c);
char32_t ToLower(char32_t c);
std::u16string WideUpperCase(std::u16string_view text);
std::u16string WideLowerCase(std::u16string_view text);
// Equal ignoring case.
bool WideSameText(std::u16string_view a, std::u16string_view b);

}  // namespace rtl
