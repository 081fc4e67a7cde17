#pragma once
// TScreenTextMeasure: wide text measured in a font on the screen's DC, for sizes taken outside
// painting (where a control's own canvas would create its window). TScreenTextHeight keeps one
// such height.

#include <string>
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

// The height of a text in a font on the screen, measured again only when the font or the text
// differs from the last one asked: layout asks for the same height on every paint, and each
// measure makes a screen DC and a font.
class TScreenTextHeight {
public:
    int Of(const vcl::TFont& font, std::u16string_view text) {
        if (!known_ || text != text_ || !font.SameAs(font_)) {
            height_ = TScreenTextMeasure(font).TextHeight(text);
            font_.Assign(font);
            text_ = text;
            known_ = true;
        }
        return height_;
    }

private:
    vcl::TFont font_;
    std::u16string text_;
    int height_ = 0;
    bool known_ = false;
};

}  // namespace se
