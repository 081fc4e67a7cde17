#pragma once
// The toolkit's standard colour names in their table order (the colour lists of the control set
// fill themselves from it), and conversions between names and values.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/Color.h"

namespace vcl {

inline constexpr TColor clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6, clCream = 0xF0FBFF, clMedGray = 0xA4A0A0;

struct NamedColor {
    const char* name;
    TColor value;
};

const std::vector<NamedColor>& StandardColors();
// The standard name, or "$00BBGGRR" for other values.
std::string ColorToString(TColor color);
// A standard name (any case) or a number ("$00FF0000", "255"); none when neither.
std::optional<TColor> StringToColor(std::string_view text);

}  // namespace vcl
