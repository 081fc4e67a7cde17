#include "platform/draw/FontCache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

#include "platform/rtl/NeverDestroyed.h"

namespace vcl {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

// The bitmap "MS Sans Serif" of Wine's fonts: its strikes are the classic raster font glyph for glyph.
// fontconfig does not scan that folder, so the file joins the application's font set.
constexpr const char* kClassicSansFile = "/usr/share/wine/fonts/ms_sans_serif.ttf";
constexpr const char* kClassicSansFamily = "MS Sans Serif";
// Bitmap-only faces are rejected by a stock Debian configuration; these are wanted.
constexpr const char* kAcceptBitmapFaces = R"(<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><selectfont><acceptfont>
  <pattern><patelt name="family"><string>MS Sans Serif</string></patelt></pattern>
  <pattern><patelt name="family"><string>WenQuanYi Bitmap Song</string></patelt></pattern>
</acceptfont></selectfont></fontconfig>
)";

const char* const kSans[] = {"Liberation Sans", "DejaVu Sans"};
const char* const kClassicSans[] = {kClassicSansFamily, "Liberation Sans", "DejaVu Sans"};
const char* const kSerif[] = {"Liberation Serif", "DejaVu Serif"};
const char* const kMono[] = {"Liberation Mono", "DejaVu Sans Mono"};
const char* const kCjk[] = {"WenQuanYi Micro Hei", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "Droid Sans Fallback",
                            "AR PL UMing CN"};
// Chinese faces with crisp 12-pixel bitmap strikes, preferred at UI sizes.
const char* const kCjkStrikeFaces[] = {"WenQuanYi Zen Hei Sharp", "WenQuanYi Bitmap Song", "AR PL UMing CN"};
constexpr int kCjkStrikeSize = 12;

template <size_t N>
std::vector<std::string> List(const char* const (&names)[N]) {
    return std::vector<std::string>(std::begin(names), std::end(names));
}

// The classic face names of the platform the layouts were made on, and what stands in for them.
const std::map<std::string, std::vector<std::string>>& Aliases() {
    static const std::map<std::string, std::vector<std::string>> aliases = [] {
        std::map<std::string, std::vector<std::string>> a;
        for (const char* name : {"ms sans serif", "ms shell dlg"}) a[name] = List(kClassicSans);
        for (const char* name : {"microsoft sans serif", "ms shell dlg 2", "arial", "tahoma", "verdana", "helvetica",
                                 "segoe ui", "system", "small fonts"}) {
            a[name] = List(kSans);
        }
        for (const char* name : {"times new roman", "times", "ms serif", "georgia"}) a[name] = List(kSerif);
        for (const char* name : {"courier new", "courier", "fixedsys", "lucida console", "consolas", "terminal"}) {
            a[name] = List(kMono);
        }
        for (const char* name : {"simsun", "nsimsun", "simhei", "microsoft yahei", "宋体", "新宋体", "黑体", "微软雅黑"}) {
            a[name] = List(kCjk);
        }
        return a;
    }();
    return aliases;
}

class Library {
public:
    Library() {
        if (FT_Init_FreeType(&freetype_) != 0) freetype_ = nullptr;
        config_ = FcInitLoadConfig();
        if (config_ == nullptr) return;
        // The accept rule goes in before the fonts are built, so it also admits installed bitmap faces.
        FcConfigParseAndLoadFromMemory(config_, reinterpret_cast<const FcChar8*>(kAcceptBitmapFaces), FcFalse);
        if (!FcConfigBuildFonts(config_)) {
            FcConfigDestroy(config_);
            config_ = nullptr;
            return;
        }
        // A missing file (the package is not installed) simply leaves the face out.
        FcConfigAppFontAddFile(config_, reinterpret_cast<const FcChar8*>(kClassicSansFile));
    }
    ~Library() {
        if (config_ != nullptr) FcConfigDestroy(config_);
        if (freetype_ != nullptr) FT_Done_FreeType(freetype_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    FT_Library Freetype() const { return freetype_; }
    FcConfig* Config() const { return config_; }

private:
    FT_Library freetype_ = nullptr;
    FcConfig* config_ = nullptr;
};

std::shared_ptr<Library> SharedLibrary() {
    static rtl::NeverDestroyed<std::shared_ptr<Library>> library(std::make_shared<Library>());
    return *library;
}

struct FaceFile {
    std::string path;
    int index = 0;
    std::string family;
};

bool HasFamily(FcPattern* match, const std::string& family) {
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (Lower(reinterpret_cast<const char*>(value)) == Lower(family)) return true;
    }
    return false;
}

// Asks fontconfig for a family (or, with an empty family, for a language) in a weight and slant.
// Without requireFamily any substitute fontconfig offers is taken.
std::optional<FaceFile> FindFace(const std::string& family, const char* language, bool bold, bool italic,
                                 bool requireFamily) {
    FcConfig* config = SharedLibrary()->Config();
    if (config == nullptr) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (language != nullptr) {
        FcLangSet* languages = FcLangSetCreate();
        FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>(language));
        FcPatternAddLangSet(pattern, FC_LANG, languages);
        FcLangSetDestroy(languages);
    }
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return std::nullopt;
    std::optional<FaceFile> face;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && (!requireFamily || HasFamily(match, family))) {
        face = FaceFile{};
        face->path = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(match, FC_INDEX, 0, &face->index);
        FcChar8* name = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch) {
            face->family = reinterpret_cast<const char*>(name);
        }
    }
    FcPatternDestroy(match);
    return face;
}

double ScaledUp(double units, int pixelSize, int unitsPerEm) {
    return std::ceil(units * pixelSize / unitsPerEm - 1e-6);
}

struct Strike {
    int index = 0;
    int height = 0;  // the strike's pixel height (its cell)
    int ascent = 0;
    int descent = 0;
};

struct FaceFacts {
    bool scalable = false;
    bool bold = false;    // the file's own weight and slant (fontconfig reports the synthesised ones)
    bool italic = false;
    std::vector<Strike> strikes;  // by increasing height
};

// Whether a face has outlines and which bitmap strikes, read once per file.
const FaceFacts& FactsOf(const FaceFile& file) {
    static rtl::NeverDestroyed<std::map<std::pair<std::string, int>, FaceFacts>> read;
    auto& known = *read;
    const auto key = std::make_pair(file.path, file.index);
    const auto found = known.find(key);
    if (found != known.end()) return found->second;
    FaceFacts& facts = known[key];
    FT_Library library = SharedLibrary()->Freetype();
    FT_Face face = nullptr;
    if (library == nullptr || FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) return facts;
    facts.scalable = FT_IS_SCALABLE(face);
    facts.bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    facts.italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    for (int i = 0; i < face->num_fixed_sizes; ++i) {
        if (FT_Select_Size(face, i) != 0) continue;
        Strike strike;
        strike.index = i;
        strike.height = face->available_sizes[i].height;
        strike.ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
        strike.descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
        if (strike.ascent <= 0) strike.ascent = strike.height;
        facts.strikes.push_back(strike);
    }
    std::sort(facts.strikes.begin(), facts.strikes.end(),
              [](const Strike& a, const Strike& b) { return a.height < b.height; });
    FT_Done_Face(face);
    return facts;
}

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }

// The classic synthetic bold of raster fonts: every column also inked one pixel to the right.
void EmboldenBitmap(Glyph& glyph) {
    if (glyph.width == 0) return;
    const int width = glyph.width + 1;
    std::vector<uint8_t> out(static_cast<size_t>(width) * static_cast<size_t>(glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t here = x < glyph.width ? glyph.coverage[static_cast<size_t>(y * glyph.width + x)] : 0;
            const uint8_t left = x > 0 ? glyph.coverage[static_cast<size_t>(y * glyph.width + x - 1)] : 0;
            out[static_cast<size_t>(y * width + x)] = std::max(here, left);
        }
    }
    glyph.coverage = std::move(out);
    glyph.width = width;
    glyph.advance += 1;
}

// Synthetic italic of a bitmap: rows shift right by one pixel for every four above the baseline.
void ShearBitmap(Glyph& glyph) {
    if (glyph.width == 0) return;
    std::vector<int> shifts(static_cast<size_t>(glyph.height));
    int least = 0, most = 0;
    for (int y = 0; y < glyph.height; ++y) {
        shifts[static_cast<size_t>(y)] = FloorDiv(glyph.top - 1 - y, 4);
        least = std::min(least, shifts[static_cast<size_t>(y)]);
        most = std::max(most, shifts[static_cast<size_t>(y)]);
    }
    if (least == most) return;
    const int width = glyph.width + most - least;
    std::vector<uint8_t> out(static_cast<size_t>(width) * static_cast<size_t>(glyph.height), 0);
    for (int y = 0; y < glyph.height; ++y) {
        const int shift = shifts[static_cast<size_t>(y)] - least;
        std::copy_n(glyph.coverage.begin() + static_cast<ptrdiff_t>(y) * glyph.width, glyph.width,
                    out.begin() + static_cast<ptrdiff_t>(y) * width + shift);
    }
    glyph.coverage = std::move(out);
    glyph.width = width;
    glyph.left += least;
}

}  // namespace

// How a face is drawn: at an outline pixel size or from one of its bitmap strikes, greyscale or in
// whole pixels.
struct Rendering {
    int pixelSize = 11;    // the outline size; for a strike, its height
    int strike = -1;       // index of the bitmap strike; -1 draws the outlines
    bool bilevel = false;  // outlines rendered 1 bit per pixel
};

// One face file at one pixel size or strike, with its glyph cache.
class FaceSize {
public:
    FaceSize(const FaceFile& file, const Rendering& rendering, bool emboldenLikeBold, bool slantLikeItalic)
        : library_(SharedLibrary()), rendering_(rendering), embolden_(emboldenLikeBold), oblique_(slantLikeItalic) {
        if (library_->Freetype() == nullptr) return;
        if (FT_New_Face(library_->Freetype(), file.path.c_str(), file.index, &face_) != 0) {
            face_ = nullptr;
            return;
        }
        const FT_Error sized = rendering.strike >= 0
                                   ? FT_Select_Size(face_, rendering.strike)
                                   : FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(rendering.pixelSize));
        if (sized != 0) {
            FT_Done_Face(face_);
            face_ = nullptr;
        }
        family_ = file.family;
    }
    ~FaceSize() {
        if (face_ != nullptr) FT_Done_Face(face_);
    }
    FaceSize(const FaceSize&) = delete;
    FaceSize& operator=(const FaceSize&) = delete;

    bool Loaded() const { return face_ != nullptr; }
    FT_Face Face() const { return face_; }
    int PixelSize() const { return rendering_.pixelSize; }
    int StrikeHeight() const { return rendering_.strike >= 0 ? rendering_.pixelSize : 0; }
    bool Emboldened() const { return embolden_; }
    const std::string& Family() const { return family_; }
    bool Has(char32_t codePoint) const { return face_ != nullptr && FT_Get_Char_Index(face_, codePoint) != 0; }

    const Glyph& Render(char32_t codePoint) {
        const auto found = glyphs_.find(codePoint);
        if (found != glyphs_.end()) return found->second;
        Glyph& glyph = glyphs_[codePoint];
        if (face_ == nullptr) return glyph;
        const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
        // Outlines get full hinting (the monochrome target), which snaps stems to whole pixels in
        // both directions. A strike's bitmaps are used as they are; a glyph missing from the strike
        // comes from the outlines at the strike's size.
        FT_Int32 flags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO;
        if (rendering_.strike < 0) flags |= FT_LOAD_NO_BITMAP;
        if (FT_Load_Glyph(face_, index, flags) != 0) return glyph;
        FT_GlyphSlot slot = face_->glyph;
        const bool outline = slot->format == FT_GLYPH_FORMAT_OUTLINE;
        if (outline && embolden_) FT_GlyphSlot_Embolden(slot);
        if (outline && oblique_) FT_GlyphSlot_Oblique(slot);
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (slot->format != FT_GLYPH_FORMAT_BITMAP) {
            const bool bilevel = rendering_.bilevel || rendering_.strike >= 0;
            if (FT_Render_Glyph(slot, bilevel ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return glyph;
        }
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        CopyCoverage(slot->bitmap, glyph);
        if (!outline && embolden_) EmboldenBitmap(glyph);
        if (!outline && oblique_) ShearBitmap(glyph);
        return glyph;
    }

private:
    // 1-bit rows expand each bit to 0 or 255; grey levels scale to 0..255.
    void CopyCoverage(const FT_Bitmap& source, Glyph& glyph) {
        FT_Bitmap converted;
        FT_Bitmap_Init(&converted);
        const FT_Bitmap* bitmap = &source;
        const bool mono = source.pixel_mode == FT_PIXEL_MODE_MONO;
        if (!mono && source.pixel_mode != FT_PIXEL_MODE_GRAY) {
            if (FT_Bitmap_Convert(library_->Freetype(), &source, &converted, 1) != 0) {
                FT_Bitmap_Done(library_->Freetype(), &converted);
                return;
            }
            bitmap = &converted;
        }
        glyph.width = static_cast<int>(bitmap->width);
        glyph.height = static_cast<int>(bitmap->rows);
        glyph.bilevel = mono;
        glyph.coverage.assign(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height), 0);
        const int levels = mono ? 2 : std::max<int>(2, bitmap->num_grays);
        const int stride = std::abs(bitmap->pitch);
        for (int y = 0; y < glyph.height; ++y) {
            // A negative pitch means the rows are stored bottom up.
            const int stored = bitmap->pitch >= 0 ? y : glyph.height - 1 - y;
            const unsigned char* row = bitmap->buffer + static_cast<ptrdiff_t>(stored) * stride;
            uint8_t* out = glyph.coverage.data() + static_cast<ptrdiff_t>(y) * glyph.width;
            for (int x = 0; x < glyph.width; ++x) {
                if (mono) {
                    out[x] = (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
                } else {
                    out[x] = levels == 256 ? row[x] : static_cast<uint8_t>(std::min(255, row[x] * 255 / (levels - 1)));
                }
            }
        }
        FT_Bitmap_Done(library_->Freetype(), &converted);
    }

    std::shared_ptr<Library> library_;  // outlives every face made from it
    FT_Face face_ = nullptr;
    Rendering rendering_;
    bool embolden_;
    bool oblique_;
    std::string family_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

namespace {

std::shared_ptr<FaceSize> OpenFace(const FaceFile& file, const Rendering& rendering, bool bold, bool italic) {
    using Key = std::tuple<std::string, int, int, int, bool, bool, bool>;
    static rtl::NeverDestroyed<std::map<Key, std::weak_ptr<FaceSize>>> faces;
    auto& opened = *faces;
    const FaceFacts& facts = FactsOf(file);
    const bool embolden = bold && !facts.bold;
    const bool oblique = italic && !facts.italic;
    const Key key{file.path, file.index, rendering.pixelSize, rendering.strike, rendering.bilevel, embolden, oblique};
    if (auto existing = opened[key].lock()) return existing;
    auto face = std::make_shared<FaceSize>(file, rendering, embolden, oblique);
    if (!face->Loaded()) return nullptr;
    opened[key] = face;
    return face;
}

bool SameFile(const FaceFile& a, const FaceFile& b) { return a.path == b.path && a.index == b.index; }

int PixelSizeFor(const LOGFONT& font, FT_Face face) {
    if (font.lfHeight < 0) return -font.lfHeight;
    if (font.lfHeight == 0) return 11;
    // A positive height is the cell height: ascent plus descent.
    const TT_OS2* os2 = face != nullptr ? static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
    if (os2 == nullptr || os2->usWinAscent + os2->usWinDescent == 0) return font.lfHeight;
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(font.lfHeight) * face->units_per_EM /
                                                    (os2->usWinAscent + os2->usWinDescent))));
}

// A strike's character height (what a negative LOGFONT height asks for) is its ascent: the classic
// raster strikes of 13, 16 and 20 pixels answer -11, -13 and -16. A positive height asks for the
// cell. The smallest strike that reaches the asked height is taken; none when all are smaller.
const Strike* StrikeFor(const FaceFacts& facts, const LOGFONT& font) {
    for (const Strike& strike : facts.strikes) {
        const bool reaches = font.lfHeight > 0 ? strike.height >= font.lfHeight
                                               : strike.ascent >= (font.lfHeight < 0 ? -font.lfHeight : 11);
        if (reaches) return &strike;
    }
    return nullptr;
}

// The line box of the classic raster font drawn with a scalable stand-in: the character height as
// ascent and a quarter of it as descent and internal leading (11/2 at 8 points).
LineBox ClassicLineBox(const LOGFONT& font) {
    int character = font.lfHeight < 0 ? -font.lfHeight : 11;
    if (font.lfHeight > 0) {
        character = 1;
        while (character + character / 4 < font.lfHeight) ++character;
    }
    return LineBox{character, character / 4, character / 4};
}

struct Primary {
    std::optional<FaceFile> file;
    std::shared_ptr<FaceSize> face;
    std::optional<LineBox> lineBox;
};

Primary ChoosePrimary(const LOGFONT& font, bool bold, bool italic) {
    const std::vector<std::string> families = FontFamilyCandidates(font.lfFaceName);
    // The classic sans is drawn in whole pixels in its classic line box, whichever face stands in.
    const bool classic = !families.empty() && families.front() == kClassicSansFamily;
    Primary chosen;
    for (const std::string& family : families) {
        const auto file = FindFace(family, nullptr, bold, italic, true);
        if (!file) continue;
        const FaceFacts& facts = FactsOf(*file);
        if (!facts.scalable) {
            const Strike* strike = StrikeFor(facts, font);
            // Beyond its largest strike the classic face gives way to a scalable stand-in.
            if (strike == nullptr && (classic || facts.strikes.empty())) continue;
            if (strike == nullptr) strike = &facts.strikes.back();
            chosen.face = OpenFace(*file, Rendering{strike->height, strike->index, true}, bold, italic);
            if (chosen.face == nullptr) continue;
            chosen.file = file;
            chosen.lineBox = LineBox{strike->ascent, strike->descent, strike->descent};
            return chosen;
        }
        if (classic) {
            const LineBox box = ClassicLineBox(font);
            chosen.face = OpenFace(*file, Rendering{box.ascent, -1, true}, bold, italic);
            if (chosen.face == nullptr) continue;
            chosen.file = file;
            chosen.lineBox = box;
            return chosen;
        }
        // The pixel size of a positive (cell) height depends on the face's own metrics.
        auto probe = OpenFace(*file, Rendering{}, bold, italic);
        chosen.face = OpenFace(*file, Rendering{PixelSizeFor(font, probe != nullptr ? probe->Face() : nullptr)}, bold,
                               italic);
        if (chosen.face == nullptr) continue;
        chosen.file = file;
        return chosen;
    }
    if (const auto file = FindFace("sans-serif", nullptr, bold, italic, false)) {
        auto probe = OpenFace(*file, Rendering{}, bold, italic);
        chosen.face = OpenFace(*file, Rendering{PixelSizeFor(font, probe != nullptr ? probe->Face() : nullptr)}, bold,
                               italic);
        if (chosen.face != nullptr) chosen.file = file;
    }
    return chosen;
}

// Chinese at UI sizes comes from a 12-pixel bitmap strike in whole pixels; larger sizes, and
// machines without such a face, use outlines.
std::shared_ptr<FaceSize> ChooseCjk(const FaceFile& primary, int pixelSize, bool bold, bool italic) {
    for (const char* family : kCjkStrikeFaces) {
        const auto file = FindFace(family, nullptr, bold, italic, true);
        if (!file || SameFile(*file, primary)) continue;
        const FaceFacts& facts = FactsOf(*file);
        std::shared_ptr<FaceSize> face;
        if (pixelSize <= kCjkStrikeSize) {
            const auto strike = std::find_if(facts.strikes.begin(), facts.strikes.end(),
                                             [](const Strike& s) { return s.height == kCjkStrikeSize; });
            if (strike != facts.strikes.end()) {
                face = OpenFace(*file, Rendering{strike->height, strike->index, true}, bold, italic);
            }
        } else if (facts.scalable) {
            face = OpenFace(*file, Rendering{pixelSize}, bold, italic);
        }
        if (face != nullptr) return face;
    }
    std::vector<std::optional<FaceFile>> outlines;
    for (const char* family : kCjk) outlines.push_back(FindFace(family, nullptr, bold, italic, true));
    outlines.push_back(FindFace("", "zh-cn", bold, italic, false));
    for (const auto& file : outlines) {
        if (!file || SameFile(*file, primary) || !FactsOf(*file).scalable) continue;
        if (auto face = OpenFace(*file, Rendering{pixelSize}, bold, italic)) return face;
    }
    return nullptr;
}

}  // namespace

std::vector<std::string> FontFamilyCandidates(const std::string& faceName) {
    const auto& aliases = Aliases();
    const auto found = aliases.find(Lower(faceName));
    if (found != aliases.end()) return found->second;
    std::vector<std::string> families;
    if (!faceName.empty()) families.push_back(faceName);
    families.insert(families.end(), std::begin(kSans), std::end(kSans));
    return families;
}

FontInstance::FontInstance(const LOGFONT& font, std::shared_ptr<FaceSize> primary, std::shared_ptr<FaceSize> fallback,
                           const LineBox* lineBox)
    : primary_(std::move(primary)), fallback_(std::move(fallback)) {
    underline_ = font.lfUnderline != 0;
    strikeOut_ = font.lfStrikeOut != 0;
    metrics_.tmWeight = font.lfWeight == FW_DONTCARE ? FW_NORMAL : font.lfWeight;
    metrics_.tmItalic = font.lfItalic;
    metrics_.tmUnderlined = font.lfUnderline;
    metrics_.tmStruckOut = font.lfStrikeOut;
    metrics_.tmCharSet = font.lfCharSet;
    if (primary_ == nullptr) {
        // No usable face: text takes room as if drawn, so layouts still work.
        pixelSize_ = font.lfHeight < 0 ? -font.lfHeight : 11;
        metrics_.tmAscent = pixelSize_;
        metrics_.tmDescent = (pixelSize_ + 3) / 4;
        metrics_.tmHeight = metrics_.tmAscent + metrics_.tmDescent;
        metrics_.tmAveCharWidth = (pixelSize_ + 1) / 2;
        metrics_.tmMaxCharWidth = pixelSize_;
        missing_.advance = metrics_.tmAveCharWidth;
        return;
    }
    FT_Face face = primary_->Face();
    pixelSize_ = lineBox != nullptr ? lineBox->ascent + lineBox->descent - lineBox->internalLeading
                                    : primary_->PixelSize();
    family_ = primary_->Family();
    // A face of bitmaps only has no em; its strike's size stands in.
    const int em = face->units_per_EM > 0 ? face->units_per_EM : std::max(1, primary_->PixelSize());
    const TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const TT_HoriHeader* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    const double ascender = os2 != nullptr && os2->usWinAscent > 0 ? os2->usWinAscent : face->ascender;
    const double descender = os2 != nullptr && os2->usWinAscent > 0 ? os2->usWinDescent : -face->descender;
    // Ascent and descent are rounded up, like the platform's, so no glyph is cut off.
    metrics_.tmAscent = static_cast<int>(ScaledUp(ascender, pixelSize_, em));
    metrics_.tmDescent = static_cast<int>(ScaledUp(descender, pixelSize_, em));
    metrics_.tmHeight = metrics_.tmAscent + metrics_.tmDescent;
    metrics_.tmInternalLeading = std::max(0, metrics_.tmHeight - pixelSize_);
    if (hhea != nullptr) {
        const double gap = hhea->Line_Gap - ((ascender + descender) - (hhea->Ascender - hhea->Descender));
        metrics_.tmExternalLeading = std::max(0, static_cast<int>(std::lround(gap * pixelSize_ / em)));
    }
    const double average = os2 != nullptr && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : em / 2.0;
    metrics_.tmAveCharWidth = std::max(1, static_cast<int>(std::lround(average * pixelSize_ / em)));
    metrics_.tmMaxCharWidth =
        static_cast<int>(ScaledUp(static_cast<double>(face->bbox.xMax - face->bbox.xMin), pixelSize_, em));
    metrics_.tmOverhang = 0;
    const bool fixed = FT_IS_FIXED_WIDTH(face);
    // The platform's pitch bit is set for variable-pitch fonts.
    metrics_.tmPitchAndFamily = static_cast<uint8_t>(TMPF_TRUETYPE | TMPF_VECTOR | (fixed ? 0 : TMPF_FIXED_PITCH) |
                                                     (fixed ? FF_MODERN : FF_SWISS));
    if (face->underline_thickness > 0) {
        lineThickness_ = std::max(1, static_cast<int>(std::lround(face->underline_thickness * pixelSize_ / double(em))));
    }
    underlineOffset_ = std::max(1, static_cast<int>(std::lround(-face->underline_position * pixelSize_ / double(em))));
    strikeOutOffset_ = os2 != nullptr && os2->yStrikeoutPosition > 0
                           ? static_cast<int>(std::lround(os2->yStrikeoutPosition * pixelSize_ / double(em)))
                           : metrics_.tmAscent / 3;
    if (lineBox == nullptr) return;
    // The face's line box, not its tables: the classic metrics the stored layouts were made with.
    metrics_.tmAscent = lineBox->ascent;
    metrics_.tmDescent = lineBox->descent;
    metrics_.tmHeight = lineBox->ascent + lineBox->descent;
    metrics_.tmInternalLeading = lineBox->internalLeading;
    metrics_.tmExternalLeading = 0;
    underlineOffset_ = std::clamp(underlineOffset_, 1, std::max(1, lineBox->descent - 1));
    lineThickness_ = 1;
    if (primary_->StrikeHeight() == 0) return;
    // A raster font's average width is that of its "x"; it is not a TrueType font.
    metrics_.tmAveCharWidth = std::max(1, primary_->Render(U'x').advance);
    metrics_.tmMaxCharWidth =
        std::max(metrics_.tmAveCharWidth, static_cast<int>((face->size->metrics.max_advance + 63) >> 6));
    metrics_.tmPitchAndFamily = static_cast<uint8_t>((FT_IS_FIXED_WIDTH(face) ? 0 : TMPF_FIXED_PITCH) | FF_SWISS);
}

const std::string& FontInstance::FallbackFamilyName() const {
    static const std::string none;
    return fallback_ != nullptr ? fallback_->Family() : none;
}

int FontInstance::StrikeHeight() const { return primary_ != nullptr ? primary_->StrikeHeight() : 0; }

int FontInstance::FallbackStrikeHeight() const { return fallback_ != nullptr ? fallback_->StrikeHeight() : 0; }

const Glyph& FontInstance::GlyphFor(char32_t codePoint) const {
    if (codePoint < 0x20 || codePoint == 0x7F) return empty_;
    if (primary_ == nullptr) return missing_;
    if (primary_->Has(codePoint) || fallback_ == nullptr || !fallback_->Has(codePoint)) {
        return primary_->Render(codePoint);
    }
    return fallback_->Render(codePoint);
}

std::shared_ptr<const FontInstance> ResolveFont(const LOGFONT& font) {
    using Key = std::tuple<int, bool, bool, bool, bool, std::string>;
    static rtl::NeverDestroyed<std::map<Key, std::shared_ptr<const FontInstance>>> resolved;
    auto& instances = *resolved;
    const bool bold = font.lfWeight >= FW_SEMIBOLD;
    const bool italic = font.lfItalic != 0;
    const Key key{font.lfHeight, bold, italic, font.lfUnderline != 0, font.lfStrikeOut != 0, Lower(font.lfFaceName)};
    auto& slot = instances[key];
    if (slot != nullptr) return slot;
    const Primary primary = ChoosePrimary(font, bold, italic);
    std::shared_ptr<FaceSize> fallback;
    if (primary.face != nullptr) {
        const int pixelSize = primary.lineBox ? primary.lineBox->ascent + primary.lineBox->descent -
                                                    primary.lineBox->internalLeading
                                              : primary.face->PixelSize();
        fallback = ChooseCjk(*primary.file, pixelSize, bold, italic);
    }
    slot = std::make_shared<const FontInstance>(font, primary.face, fallback,
                                                primary.lineBox ? &*primary.lineBox : nullptr);
    return slot;
}

std::vector<FontFamilyInfo> EnumerateFontFamilies() {
    std::vector<FontFamilyInfo> families;
    FcConfig* config = SharedLibrary()->Config();
    if (config == nullptr) return families;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_SPACING, FC_FONTFORMAT, nullptr);
    FcFontSet* set = FcFontList(config, pattern, objects);
    std::map<std::string, FontFamilyInfo> byName;
    for (int i = 0; set != nullptr && i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch) continue;
        FontFamilyInfo& info = byName[reinterpret_cast<const char*>(family)];
        info.name = reinterpret_cast<const char*>(family);
        FcChar8* format = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FONTFORMAT, 0, &format) == FcResultMatch) {
            const std::string kind = reinterpret_cast<const char*>(format);
            info.trueType = info.trueType || kind == "TrueType" || kind == "CFF";
        }
        int spacing = FC_PROPORTIONAL;
        if (FcPatternGetInteger(set->fonts[i], FC_SPACING, 0, &spacing) == FcResultMatch) {
            info.fixedPitch = spacing == FC_MONO || spacing == FC_CHARCELL;
        }
    }
    if (set != nullptr) FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    for (auto& [name, info] : byName) families.push_back(info);
    return families;
}

}  // namespace vcl
