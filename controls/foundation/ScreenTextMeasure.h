#pragma once
// TScreenTextMeasure: wide text measured in a font on the screen's DC, for sizes taken outside
// painting (where a control's own canvas would create its window).

#include <string_view>

#include "controls/surface/Primitives.h"
#include "platform/toolkit/ScreenCanvas.h"

namespace se {

class TScreenTextMeasure {
public:
    explicit TScreenTextMeasure(const vcl::TFont& font) : screen_(font) {}

    vcl::TCanvas& Canvas() { return screen_.Canvas(); }
    int TextWidth(std::u16string_view text) { return text.empty() ? 0 : WideTextWidth(screen_.Canvas(), text); }
    int TextHeight(std::u16string_view text) { return WideTextHeight(screen_.Canvas(), text); }
    // The font's line height (tmHeight).
    int LineHeight() { return screen_.LineHeight(); }

private:
    vcl::TScreenCanvas screen_;
};

}  // namespace se
