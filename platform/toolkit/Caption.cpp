#include "platform/toolkit/Caption.h"

#include "platform/rtl/Case.h"
#include "platform/rtl/Utf.h"

namespace vcl {

std::u16string WideCaption(std::string_view caption) { return rtl::Utf8ToUtf16(caption); }

std::u16string StripAccelChars(std::u16string_view caption) {
    std::u16string shown;
    shown.reserve(caption.size());
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != u'&') {
            shown += caption[i];
            continue;
        }
        if (i + 1 >= caption.size()) break;
        shown += caption[++i];
    }
    return shown;
}

std::string StripAccelChars(std::string_view caption) { return rtl::Utf16ToUtf8(StripAccelChars(WideCaption(caption))); }

int AcceleratorIndex(std::u16string_view caption) {
    int shown = 0;
    for (size_t i = 0; i < caption.size(); ++i, ++shown) {
        if (caption[i] != u'&') continue;
        if (i + 1 >= caption.size()) return -1;
        if (caption[++i] != u'&') return shown;
    }
    return -1;
}

char32_t AcceleratorOf(std::u16string_view caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&') continue;
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        size_t next = i + 1;
        return rtl::NextCodePoint(caption, next);
    }
    return 0;
}

char32_t AcceleratorOf(std::string_view caption) { return AcceleratorOf(WideCaption(caption)); }

bool IsAccel(char32_t key, std::u16string_view caption) {
    const char32_t accel = AcceleratorOf(caption);
    return key != 0 && accel != 0 && rtl::ToUpper(accel) == rtl::ToUpper(key);
}

bool IsAccel(char32_t key, std::string_view caption) { return IsAccel(key, WideCaption(caption)); }

}  // namespace vcl
