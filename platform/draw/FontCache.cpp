#include "platform/draw/FontCache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <optional>
#include <tuple>

namespace vcl {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

const char* const kSans[] = {"Liberation Sans", "DejaVu Sans"};
const char* const kSerif[] = {"Liberation Serif", "DejaVu Serif"};
const char* const kMono[] = {"Liberation Mono", "DejaVu Sans Mono"};
const char* const kCjk[] = {"WenQuanYi Micro Hei", "WenQuanYi Zen Hei", "Noto Sans CJK SC", "Droid Sans Fallback",
                            "AR PL UMing CN"};

template <size_t N>
std::vector<std::string> List(const char* const (&names)[N]) {
    return std::vector<std::string>(std::begin(names), std::end(names));
}

// The classic face names of the platform the layouts were made on, and what stands in for them.
const std::map<std::string, std::vector<std::string>>& Aliases() {
    static const std::map<std::string, std::vector<std::string>> aliases = [] {
        std::map<std::string, std::vector<std::string>> a;
        for (const char* name : {"ms sans serif", "microsoft sans serif", "ms shell dlg", "ms shell dlg 2", "arial",
                                 "tahoma", "verdana", "helvetica", "segoe ui", "system", "small fonts"}) {
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
        config_ = FcInitLoadConfigAndFonts();
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
    static const std::shared_ptr<Library> library = std::make_shared<Library>();
    return library;
}

struct FaceFile {
    std::string path;
    int index = 0;
    std::string family;
    bool bold = false;    // the file's own weight
    bool italic = false;  // the file's own slant
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
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
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
        int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
        FcPatternGetInteger(match, FC_SLANT, 0, &slant);
        face->bold = weight >= FC_WEIGHT_DEMIBOLD;
        face->italic = slant != FC_SLANT_ROMAN;
    }
    FcPatternDestroy(match);
    return face;
}

double ScaledUp(double units, int pixelSize, int unitsPerEm) {
    return std::ceil(units * pixelSize / unitsPerEm - 1e-6);
}

}  // namespace

// One face file at one pixel size with its glyph cache.
class FaceSize {
public:
    FaceSize(const FaceFile& file, int pixelSize, bool emboldenLikeBold, bool slantLikeItalic)
        : library_(SharedLibrary()), pixelSize_(pixelSize), embolden_(emboldenLikeBold), oblique_(slantLikeItalic) {
        if (library_->Freetype() == nullptr) return;
        if (FT_New_Face(library_->Freetype(), file.path.c_str(), file.index, &face_) != 0) {
            face_ = nullptr;
            return;
        }
        if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
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
    int PixelSize() const { return pixelSize_; }
    bool Emboldened() const { return embolden_; }
    const std::string& Family() const { return family_; }
    bool Has(char32_t codePoint) const { return face_ != nullptr && FT_Get_Char_Index(face_, codePoint) != 0; }

    const Glyph& Render(char32_t codePoint) {
        const auto found = glyphs_.find(codePoint);
        if (found != glyphs_.end()) return found->second;
        Glyph& glyph = glyphs_[codePoint];
        if (face_ == nullptr) return glyph;
        const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
        // Full hinting (the monochrome target) snaps stems to whole pixels in both directions, which
        // keeps small anti-aliased text crisp.
        if (FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO) != 0) return glyph;
        FT_GlyphSlot slot = face_->glyph;
        if (embolden_) FT_GlyphSlot_Embolden(slot);
        if (oblique_) FT_GlyphSlot_Oblique(slot);
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.width = static_cast<int>(bitmap.width);
        glyph.height = static_cast<int>(bitmap.rows);
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.coverage.resize(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height));
        for (int y = 0; y < glyph.height; ++y) {
            const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
            std::copy(row, row + glyph.width, glyph.coverage.begin() + static_cast<ptrdiff_t>(y) * glyph.width);
        }
        return glyph;
    }

private:
    std::shared_ptr<Library> library_;  // outlives every face made from it
    FT_Face face_ = nullptr;
    int pixelSize_;
    bool embolden_;
    bool oblique_;
    std::string family_;
    std::unordered_map<char32_t, Glyph> glyphs_;
};

namespace {

std::shared_ptr<FaceSize> OpenFace(const FaceFile& file, int pixelSize, bool bold, bool italic) {
    using Key = std::tuple<std::string, int, int, bool, bool>;
    static std::map<Key, std::weak_ptr<FaceSize>> opened;
    const bool embolden = bold && !file.bold;
    const bool oblique = italic && !file.italic;
    const Key key{file.path, file.index, pixelSize, embolden, oblique};
    if (auto existing = opened[key].lock()) return existing;
    auto face = std::make_shared<FaceSize>(file, pixelSize, embolden, oblique);
    if (!face->Loaded()) return nullptr;
    opened[key] = face;
    return face;
}

std::optional<FaceFile> FindPrimary(const std::string& faceName, bool bold, bool italic) {
    for (const std::string& family : FontFamilyCandidates(faceName)) {
        if (auto face = FindFace(family, nullptr, bold, italic, true)) return face;
    }
    return FindFace("sans-serif", nullptr, bold, italic, false);
}

std::optional<FaceFile> FindCjk(bool bold, bool italic) {
    for (const char* family : kCjk) {
        if (auto face = FindFace(family, nullptr, bold, italic, true)) return face;
    }
    return FindFace("", "zh-cn", bold, italic, false);
}

int PixelSizeFor(const LOGFONT& font, FT_Face face) {
    if (font.lfHeight < 0) return -font.lfHeight;
    if (font.lfHeight == 0) return 11;
    // A positive height is the cell height: ascent plus descent.
    const TT_OS2* os2 = face != nullptr ? static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)) : nullptr;
    if (os2 == nullptr || os2->usWinAscent + os2->usWinDescent == 0) return font.lfHeight;
    return std::max(1, static_cast<int>(std::lround(static_cast<double>(font.lfHeight) * face->units_per_EM /
                                                    (os2->usWinAscent + os2->usWinDescent))));
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

FontInstance::FontInstance(const LOGFONT& font, std::shared_ptr<FaceSize> primary, std::shared_ptr<FaceSize> fallback)
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
    pixelSize_ = primary_->PixelSize();
    family_ = primary_->Family();
    const int em = face->units_per_EM;
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
}

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
    static std::map<Key, std::shared_ptr<const FontInstance>> instances;
    const bool bold = font.lfWeight >= FW_SEMIBOLD;
    const bool italic = font.lfItalic != 0;
    const Key key{font.lfHeight, bold, italic, font.lfUnderline != 0, font.lfStrikeOut != 0, Lower(font.lfFaceName)};
    auto& slot = instances[key];
    if (slot != nullptr) return slot;
    std::shared_ptr<FaceSize> primary, fallback;
    if (const auto file = FindPrimary(font.lfFaceName, bold, italic)) {
        // The pixel size of a positive (cell) height depends on the face's own metrics.
        auto probe = OpenFace(*file, 11, bold, italic);
        const int pixelSize = PixelSizeFor(font, probe != nullptr ? probe->Face() : nullptr);
        primary = OpenFace(*file, pixelSize, bold, italic);
        if (const auto cjk = FindCjk(bold, italic); cjk && cjk->path != file->path) {
            fallback = OpenFace(*cjk, pixelSize, bold, italic);
        }
    }
    slot = std::make_shared<const FontInstance>(font, primary, fallback);
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
