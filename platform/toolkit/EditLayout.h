#pragma once
// The text of an edit control broken into display lines. Hard breaks (CRLF, or a lone LF or CR)
// end a paragraph. With word wrap a paragraph is broken after the last space that fits, or
// between two characters of which one is ideographic; a run without such a place is broken
// anywhere. Spaces at the end of a wrapped line hang past the width instead of wrapping.
// Widths come from a per-character advance, the same the text is drawn with.

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vcl {

class FontInstance;

// Advances of one font, remembered per character.
class TAdvanceCache {
public:
    explicit TAdvanceCache(std::shared_ptr<const FontInstance> font);
    int operator()(char32_t c) const;
    int LineHeight() const { return lineHeight_; }

private:
    std::shared_ptr<const FontInstance> font_;
    mutable std::array<int, 128> ascii_{};
    mutable std::unordered_map<char32_t, int> others_;
    int lineHeight_ = 13;
};

struct TEditLine {
    size_t start = 0;  // first character
    size_t end = 0;    // past the last character shown (a hard break is not shown)
    size_t next = 0;   // where the following line starts
    int width = 0;     // of the characters shown
    bool softBreak = false;  // ended by wrapping, not by a break or the end of the text
};

class TEditLayout {
public:
    // Single-line: the whole text is one line. Without wrap (or wrapWidth <= 0): one display
    // line per paragraph.
    void Layout(const std::u32string& text, const TAdvanceCache& advance, bool multiLine, bool wrap, int wrapWidth);

    size_t LineCount() const { return lines_.size(); }
    const TEditLine& Line(size_t index) const { return lines_[index]; }
    int MaxWidth() const { return maxWidth_; }
    // The line showing index. At a soft break an index is both the end of one line and the start
    // of the next: atLineEnd picks the first.
    size_t LineOf(size_t index, bool atLineEnd = false) const;
    // Pen position of index from its line's start.
    int XOf(const std::u32string& text, const TAdvanceCache& advance, size_t line, size_t index) const;
    // The index on a line nearest to x (from the line's start).
    size_t IndexAt(const std::u32string& text, const TAdvanceCache& advance, size_t line, int x) const;

private:
    void LayoutParagraph(const std::u32string& text, const TAdvanceCache& advance, size_t start, size_t end,
                         size_t next, bool wrap, int wrapWidth);

    std::vector<TEditLine> lines_;
    int maxWidth_ = 0;
};

// The length of the line break starting at index (2 for CRLF, 1 for a lone LF or CR), else 0.
size_t BreakLength(const std::u32string& text, size_t index);

}  // namespace vcl
