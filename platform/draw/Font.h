#pragma once
// The toolkit font: a description (face name, height, style, colour, character set) with a change
// notification. Turning it into glyphs is the font cache's work.

#include <cstdint>
#include <string>

#include "platform/draw/Color.h"
#include "platform/runtime/Object.h"

namespace vcl {

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;  // a set of TFontStyle bits

enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };

inline constexpr uint8_t DEFAULT_CHARSET = 1;
inline constexpr uint8_t GB2312_CHARSET = 134;
inline constexpr int kPixelsPerInch = 96;

class TFont : public TPersistent {
public:
    TFont() = default;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& value);
    // Negative heights are character heights in pixels, positive ones cell heights.
    int Height() const { return height_; }
    void SetHeight(int value);
    // Size in points at 96 pixels per inch; setting it sets a negative Height.
    int Size() const;
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t value);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch value);

    // Copies every attribute from another TFont and notifies once if anything changed.
    void Assign(const TPersistent& source) override;
    bool SameAs(const TFont& other) const;

    // Fired after an attribute changed, with this font as sender.
    TNotifyEvent OnChange;

private:
    void Changed();

    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    uint8_t charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
};

}  // namespace vcl
