#include "platform/rtl/Case.h"

#include <clocale>
#include <cwctype>
#include <locale.h>

#include "platform/rtl/Utf.h"

namespace rtl {
namespace {

// The C library's Unicode tables, independent of the process locale ("C.UTF-8" is built into
// glibc); without them only ASCII has a case.
locale_t UnicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

template <typename Map>
std::u16string MapText(std::u16string_view text, Map map) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        const char32_t c = NextCodePoint(text, i);
        const char32_t mapped = map(c);
        const bool sameWidth = (c > 0xFFFF) == (mapped > 0xFFFF);
        if (mapped == c || !sameWidth) {
            // Unchanged (a lone surrogate too: it reads as U+FFFD, which has no case).
            out.append(text.substr(start, i - start));
        } else if (mapped > 0xFFFF) {
            const char32_t v = mapped - 0x10000;
            out += static_cast<char16_t>(0xD800 + (v >> 10));
            out += static_cast<char16_t>(0xDC00 + (v & 0x3FF));
        } else {
            out += static_cast<char16_t>(mapped);
        }
    }
    return out;
}

}  // namespace

char32_t ToUpper(char32_t c) {
    if (c < 128) return (c >= 'a' && c <= 'z') ? c - 32 : c;
    if (IsSurrogate(c) || c > 0x10FFFF) return c;
    if (const locale_t locale = UnicodeLocale()) return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), locale));
    return c;
}

char32_t ToLower(char32_t c) {
    if (c < 128) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (IsSurrogate(c) || c > 0x10FFFF) return c;
    if (const locale_t locale = UnicodeLocale()) return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), locale));
    return c;
}

std::u16string WideUpperCase(std::u16string_view text) { return MapText(text, ToUpper); }
std::u16string WideLowerCase(std::u16string_view text) { return MapText(text, ToLower); }

bool WideSameText(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    return WideUpperCase(a) == WideUpperCase(b);
}

}  // namespace rtl
