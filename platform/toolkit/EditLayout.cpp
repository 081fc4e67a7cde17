#include "platform/toolkit/EditLayout.h"

#include <algorithm>

#include "platform/draw/FontCache.h"
#include "platform/draw/TextLayout.h"

namespace vcl {

TAdvanceCache::TAdvanceCache(std::shared_ptr<const FontInstance> font) : font_(std::move(font)) {
    ascii_.fill(-1);
    if (font_) lineHeight_ = font_->Metrics().tmHeight;
}

int TAdvanceCache::operator()(char32_t c) const {
    if (!font_) return 0;
    if (c < 128) {
        int& width = ascii_[c];
        if (width < 0) width = font_->Advance(c);
        return width;
    }
    const auto it = others_.find(c);
    if (it != others_.end()) return it->second;
    const int width = font_->Advance(c);
    others_.emplace(c, width);
    return width;
}

size_t BreakLength(const std::u32string& text, size_t index) {
    if (index >= text.size()) return 0;
    if (text[index] == U'\r') return index + 1 < text.size() && text[index + 1] == U'\n' ? 2 : 1;
    return text[index] == U'\n' ? 1 : 0;
}

void TEditLayout::Layout(const std::u32string& text, const TAdvanceCache& advance, bool multiLine, bool wrap,
                         int wrapWidth) {
    lines_.clear();
    maxWidth_ = 0;
    if (!multiLine) {
        LayoutParagraph(text, advance, 0, text.size(), text.size(), false, 0);
        return;
    }
    size_t start = 0;
    for (;;) {
        size_t end = start;
        while (end < text.size() && text[end] != U'\r' && text[end] != U'\n') ++end;
        const size_t next = end + BreakLength(text, end);
        LayoutParagraph(text, advance, start, end, next, wrap && wrapWidth > 0, wrapWidth);
        if (end >= text.size()) break;
        start = next;
    }
}

void TEditLayout::LayoutParagraph(const std::u32string& text, const TAdvanceCache& advance, size_t start, size_t end,
                                  size_t next, bool wrap, int wrapWidth) {
    size_t pos = start;
    do {
        int width = 0;
        int widthAtBreak = 0;
        size_t breakAt = 0;  // a place the line may end, 0 while there is none
        size_t i = pos;
        while (i < end) {
            const char32_t c = text[i];
            const int w = advance(c);
            if (c == U' ') {
                // Spaces hang: they never push the line over.
                width += w;
                ++i;
                breakAt = i;
                widthAtBreak = width;
                continue;
            }
            if (wrap && i > pos && (IsIdeographic(c) || IsIdeographic(text[i - 1])) && text[i - 1] != U' ') {
                breakAt = i;
                widthAtBreak = width;
            }
            if (wrap && i > pos && width + w > wrapWidth) break;
            width += w;
            ++i;
        }
        TEditLine line;
        line.start = pos;
        if (i >= end) {
            line.end = end;
            line.next = next;
            line.width = width;
        } else {
            line.softBreak = true;
            line.end = breakAt > pos ? breakAt : i;
            line.next = line.end;
            line.width = breakAt > pos ? widthAtBreak : width;
        }
        lines_.push_back(line);
        maxWidth_ = std::max(maxWidth_, line.width);
        pos = line.next;
    } while (pos < end);
}

size_t TEditLayout::LineOf(size_t index, bool atLineEnd) const {
    // The last line starting at or before index.
    auto it = std::upper_bound(lines_.begin(), lines_.end(), index,
                               [](size_t value, const TEditLine& line) { return value < line.start; });
    size_t line = it == lines_.begin() ? 0 : static_cast<size_t>(it - lines_.begin()) - 1;
    if (atLineEnd && line > 0 && lines_[line].start == index && lines_[line - 1].softBreak) --line;
    return line;
}

int TEditLayout::XOf(const std::u32string& text, const TAdvanceCache& advance, size_t line, size_t index) const {
    const TEditLine& l = lines_[line];
    int x = 0;
    for (size_t i = l.start; i < std::min(index, l.end); ++i) x += advance(text[i]);
    return x;
}

size_t TEditLayout::IndexAt(const std::u32string& text, const TAdvanceCache& advance, size_t line, int x) const {
    const TEditLine& l = lines_[line];
    int pen = 0;
    for (size_t i = l.start; i < l.end; ++i) {
        const int w = advance(text[i]);
        if (x < pen + (w + 1) / 2) return i;
        pen += w;
    }
    // Past the end of a wrapped line the caret stays on it, before a hanging space.
    if (l.softBreak && l.end > l.start && text[l.end - 1] == U' ') return l.end - 1;
    return l.end;
}

}  // namespace vcl
