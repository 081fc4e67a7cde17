#pragma once
// Fonts resolved to glyphs: a LOGFONT becomes a FreeType face at a pixel size or bitmap strike,
// found through fontconfig, with a CJK face for the characters the face lacks. "MS Sans Serif" is
// the bitmap face of the same name at its classic strikes (else Liberation Sans drawn in whole
// pixels with the same line box); Chinese falls back to a face with a 12-pixel bitmap strike. The
// other classic names map to Liberation, else DejaVu. Rendered glyphs (8-bit coverage, only 0 and
// 255 for bitmap strikes and whole-pixel faces) are cached per face and size for the whole run.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/draw/GdiTypes.h"

namespace vcl {

struct Glyph {
    int width = 0;     // coverage bitmap size
    int height = 0;
    int left = 0;      // bitmap offset from the pen position, x to the right
    int top = 0;       // bitmap top above the baseline
    int advance = 0;   // pen advance in whole pixels
    bool bilevel = false;  // every coverage value is 0 or 255
    std::vector<uint8_t> coverage;  // width * height, row by row
};

// A line box given by the face rather than computed from its tables.
struct LineBox {
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
};

class FaceSize;

class FontInstance {
public:
    FontInstance(const LOGFONT& font, std::shared_ptr<FaceSize> primary, std::shared_ptr<FaceSize> fallback,
                 const LineBox* lineBox = nullptr);

    const TEXTMETRIC& Metrics() const { return metrics_; }
    // The glyph of the primary face, else of the fallback face, else the primary's missing-glyph box.
    // Control characters draw nothing and take no room.
    const Glyph& GlyphFor(char32_t codePoint) const;
    int Advance(char32_t codePoint) const { return GlyphFor(codePoint).advance; }
    // The character height in pixels (the negative LOGFONT height it answers).
    int PixelSize() const { return pixelSize_; }
    const std::string& FamilyName() const { return family_; }
    // The face the characters the primary face lacks come from; empty without one.
    const std::string& FallbackFamilyName() const;
    // The pixel height of the bitmap strike the primary or fallback face draws from; 0 for outlines.
    int StrikeHeight() const;
    int FallbackStrikeHeight() const;
    bool Underline() const { return underline_; }
    bool StrikeOut() const { return strikeOut_; }
    // Offsets below the baseline (underline) and above it (strike-out), and the line thickness.
    int UnderlineOffset() const { return underlineOffset_; }
    int StrikeOutOffset() const { return strikeOutOffset_; }
    int LineThickness() const { return lineThickness_; }

private:
    std::shared_ptr<FaceSize> primary_;
    std::shared_ptr<FaceSize> fallback_;
    TEXTMETRIC metrics_;
    int pixelSize_ = 11;
    std::string family_;
    bool underline_ = false;
    bool strikeOut_ = false;
    int underlineOffset_ = 1;
    int strikeOutOffset_ = 3;
    int lineThickness_ = 1;
    Glyph empty_;
    Glyph missing_;  // stands in for every character when no face could be opened
};

// Shared instances: equal descriptions give the same instance.
std::shared_ptr<const FontInstance> ResolveFont(const LOGFONT& font);

// The families a face name is looked up as, in order of preference.
std::vector<std::string> FontFamilyCandidates(const std::string& faceName);

struct FontFamilyInfo {
    std::string name;
    bool trueType = false;
    bool fixedPitch = false;
};
// The installed font families, sorted by name.
std::vector<FontFamilyInfo> EnumerateFontFamilies();

}  // namespace vcl
