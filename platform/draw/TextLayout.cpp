#include "platform/draw/TextLayout.h"

#include "platform/draw/GdiTypes.h"

namespace vcl {
namespace {

struct Cell {
    char32_t c;
    bool underline;
};
using Cells = std::vector<Cell>;

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

Cells ProcessPrefixes(std::u32string_view paragraph, unsigned format) {
    Cells cells;
    const bool prefixes = (format & DT_NOPREFIX) == 0;
    const bool showUnderline = (format & DT_HIDEPREFIX) == 0;
    for (size_t i = 0; i < paragraph.size(); ++i) {
        const char32_t c = paragraph[i];
        if (!prefixes || c != U'&') {
            cells.push_back({c, false});
            continue;
        }
        if (i + 1 >= paragraph.size()) break;  // a trailing prefix character is dropped
        const char32_t next = paragraph[++i];
        cells.push_back({next, next != U'&' && showUnderline});
    }
    return cells;
}

class Measurer {
public:
    Measurer(const AdvanceFunction& advance, unsigned format, int tabStop)
        : advance_(advance), expandTabs_((format & DT_EXPANDTABS) != 0 && tabStop > 0), tabStop_(tabStop) {}

    // Pen positions of each cell and the final pen position.
    int Place(const Cells& cells, std::vector<int>* positions) const {
        int x = 0;
        for (const Cell& cell : cells) {
            if (positions != nullptr) positions->push_back(x);
            if (cell.c == U'\t' && expandTabs_) {
                x = (x / tabStop_ + 1) * tabStop_;
            } else {
                x += advance_(cell.c);
            }
        }
        return x;
    }

private:
    const AdvanceFunction& advance_;
    bool expandTabs_;
    int tabStop_;
};

void TrimTrailingBlanks(Cells& cells) {
    while (!cells.empty() && IsBlank(cells.back().c)) cells.pop_back();
}

// Greedy breaking: a word moves to the next line when it would cross the width; blanks at a
// break are dropped; a word wider than the width stays whole on its own line.
std::vector<Cells> BreakWords(const Cells& paragraph, int maxWidth, const Measurer& measure) {
    std::vector<Cells> lines;
    Cells line;
    size_t i = 0;
    while (i < paragraph.size()) {
        Cells token;
        if (IsBlank(paragraph[i].c) || IsIdeographic(paragraph[i].c)) {
            token.push_back(paragraph[i++]);
        } else {
            while (i < paragraph.size() && !IsBlank(paragraph[i].c) && !IsIdeographic(paragraph[i].c)) {
                token.push_back(paragraph[i++]);
            }
        }
        if (IsBlank(token.front().c)) {
            if (!line.empty()) line.push_back(token.front());
            continue;
        }
        Cells candidate = line;
        candidate.insert(candidate.end(), token.begin(), token.end());
        Cells trimmed = candidate;
        TrimTrailingBlanks(trimmed);
        if (!line.empty() && measure.Place(trimmed, nullptr) > maxWidth) {
            TrimTrailingBlanks(line);
            lines.push_back(line);
            line = token;
        } else {
            line = std::move(candidate);
        }
    }
    TrimTrailingBlanks(line);
    lines.push_back(line);
    return lines;
}

void AddEllipsis(Cells& cells, int maxWidth, const Measurer& measure) {
    if (measure.Place(cells, nullptr) <= maxWidth) return;
    const Cells dots(3, Cell{U'.', false});
    while (!cells.empty()) {
        Cells candidate = cells;
        candidate.insert(candidate.end(), dots.begin(), dots.end());
        if (measure.Place(candidate, nullptr) <= maxWidth) break;
        cells.pop_back();
    }
    cells.insert(cells.end(), dots.begin(), dots.end());
}

std::vector<std::u32string_view> SplitParagraphs(std::u32string_view text, bool singleLine) {
    std::vector<std::u32string_view> paragraphs;
    if (singleLine) {
        paragraphs.push_back(text);
        return paragraphs;
    }
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != U'\r' && text[i] != U'\n') continue;
        paragraphs.push_back(text.substr(start, i - start));
        if (text[i] == U'\r' && i + 1 < text.size() && text[i + 1] == U'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) paragraphs.push_back(text.substr(start));
    return paragraphs;
}

}  // namespace

bool IsIdeographic(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x2FFFF) || (c >= 0xAC00 && c <= 0xD7AF);
}

std::vector<TextLine> LayoutText(std::u32string_view text, unsigned format, int maxWidth, const AdvanceFunction& advance,
                                 int tabStop) {
    std::vector<TextLine> lines;
    if (text.empty()) return lines;
    const Measurer measure(advance, format, tabStop);
    const bool singleLine = (format & DT_SINGLELINE) != 0;
    const bool wordBreak = (format & DT_WORDBREAK) != 0 && !singleLine;
    const bool ellipsis = (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
    for (std::u32string_view paragraph : SplitParagraphs(text, singleLine)) {
        const Cells cells = ProcessPrefixes(paragraph, format);
        std::vector<Cells> broken = wordBreak ? BreakWords(cells, maxWidth, measure) : std::vector<Cells>{cells};
        for (Cells& cellLine : broken) {
            if (ellipsis) AddEllipsis(cellLine, maxWidth, measure);
            TextLine line;
            line.width = measure.Place(cellLine, &line.x);
            for (const Cell& cell : cellLine) {
                line.text.push_back(cell.c);
                line.underline.push_back(cell.underline);
            }
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

}  // namespace vcl
