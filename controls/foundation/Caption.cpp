#include "controls/foundation/Caption.h"

#include "platform/rtl/Utf.h"

namespace se {

namespace {

// Simple upper case of the scripts a caption is likely to use (Latin, Greek, Cyrillic); other
// characters compare as they are.
char32_t FoldCase(char32_t c) {
    if (c >= U'a' && c <= U'z') return c - 32;
    if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) || (c >= 0x430 && c <= 0x44F)) {
        return c - 32;
    }
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

}  // namespace

char32_t AcceleratorOf(std::u16string_view caption) {
    size_t i = 0;
    while (i < caption.size()) {
        const char32_t c = rtl::NextCodePoint(caption, i);
        if (c != U'&' || i >= caption.size()) continue;
        const char32_t next = rtl::NextCodePoint(caption, i);
        if (next != U'&') return next;
    }
    return 0;
}

bool IsAccelerator(char32_t key, std::u16string_view caption) {
    const char32_t accelerator = AcceleratorOf(caption);
    return accelerator != 0 && key != 0 && FoldCase(accelerator) == FoldCase(key);
}

}  // namespace se
