#pragma once
// Line layout of the text-format call: prefix characters, line breaks, word breaking, tab
// expansion and end ellipses, measured with a per-character advance.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vcl {

struct TextLine {
    std::u32string text;         // characters to draw, prefixes removed
    std::vector<int> x;          // pen position of each character from the line start
    std::vector<bool> underline; // prefixed (accelerator) characters
    int width = 0;
};

using AdvanceFunction = std::function<int(char32_t)>;

// format holds the DT_ flags; maxWidth bounds word breaking and ellipses; tabStop is the distance
// between tab stops with DT_EXPANDTABS.
std::vector<TextLine> LayoutText(std::u32string_view text, unsigned format, int maxWidth, const AdvanceFunction& advance,
                                 int tabStop);

// Characters of the wide scripts that may be broken between without a space.
bool IsIdeographic(char32_t c);

}  // namespace vcl
