// The pictures of the button kinds, drawn here as 16 x 16 pixel art in the classic 16-colour
// palette; the engraved disabled frame beside each is made from it.

#include <array>
#include <map>
#include <memory>
#include <string_view>

#include "controls/button/Button.h"
#include "platform/rtl/Exception.h"

namespace se {

using namespace vcl;

namespace {

using Art = std::array<std::string_view, 16>;

// "." is the teal background.
uint32_t PaletteColor(char c) {
    switch (c) {
        case 'K': return 0xFF000000;  // black
        case 'm': return 0xFF800000;  // maroon
        case 'G': return 0xFF008000;  // green
        case 'o': return 0xFF808000;  // olive
        case 'n': return 0xFF000080;  // navy
        case 'd': return 0xFF808080;  // grey
        case 's': return 0xFFC0C0C0;  // silver
        case 'R': return 0xFFFF0000;  // red
        case 'L': return 0xFF00FF00;  // lime
        case 'Y': return 0xFFFFFF00;  // yellow
        case 'B': return 0xFF0000FF;  // blue
        case 'W': return 0xFFFFFFFF;  // white
        default: return 0xFF008080;   // teal
    }
}

constexpr uint32_t kTeal = 0xFF008080;

// The pixels the engraved copy keeps: the dark ones (light fills such as the door's yellow drop
// out, as they do on the classic disabled glyphs).
bool Engraved(char c) {
    if (c == '.') return false;
    const uint32_t p = PaletteColor(c);
    const int luminance = (299 * static_cast<int>((p >> 16) & 0xFF) + 587 * static_cast<int>((p >> 8) & 0xFF) +
                           114 * static_cast<int>(p & 0xFF)) / 1000;
    return luminance < 160;
}
constexpr uint32_t kEngraveShadow = 0xFF808080;
constexpr uint32_t kEngraveHighlight = 0xFFFFFFFF;

constexpr Art kCheck = {
    "................", "................", "................", "............GG..",
    "...........GLG..", "..........GLG...", ".GG......GLG....", ".GLG....GLG.....",
    "..GLG..GLG......", "...GLGGLG.......", "....GLLG........", ".....GG.........",
    "................", "................", "................", "................",
};
constexpr Art kCross = {
    "................", "................", "..mm.......mm...", "..mRm.....mRm...",
    "...mRm...mRm....", "....mRm.mRm.....", ".....mRRRm......", "......mRm.......",
    ".....mRRRm......", "....mRm.mRm.....", "...mRm...mRm....", "..mRm.....mRm...",
    "..mm.......mm...", "................", "................", "................",
};
constexpr Art kAll = {
    "................", "..........GG....", ".........GLG....", "........GLG.....",
    ".GG....GLG......", ".GLG..GLG...GG..", "..GLGGLG...GLG..", "...GLLG...GLG...",
    "....GG...GLG....", ".GG.....GLG.....", ".GLG...GLG......", "..GLG.GLG.......",
    "...GLLLG........", "....GGG.........", "................", "................",
};
constexpr Art kClose = {
    "................", "..KKKKKKKKKK....", "..KoooooooKK....", "..KoYYYYYoKK....",
    "..KoYYYYYoKK....", "..KoYYYYYoKK....", "..KoYYYYYoKK....", "..KoYYYKYoKK....",
    "..KoYYYKYoKK....", "..KoYYYYYoKK....", "..KoYYYYYoKK....", "..KoYYYYYoKK....",
    "..KoYYYYYoKK....", "..KoooooooKK....", "..KKKKKKKKKK....", "................",
};
constexpr Art kHelp = {
    "................", ".....nnnnn......", "....nnBBBnn.....", "....nn...nn.....",
    "....nn...nn.....", ".........nn.....", "........nn......", ".......nn.......",
    "......nn........", "......nn........", "......nn........", "................",
    "......nn........", "......nn........", "................", "................",
};
constexpr Art kIgnore = {
    "................", ".....RRRRRR.....", "...RRRRRRRRRR...", "..RRRRRRRRRRRR..",
    "..RRRRRRRRRRRR..", ".RRRRRRRRRRRRRR.", ".RRWWWWWWWWWWRR.", ".RRWWWWWWWWWWRR.",
    ".RRWWWWWWWWWWRR.", ".RRRRRRRRRRRRRR.", "..RRRRRRRRRRRR..", "..RRRRRRRRRRRR..",
    "...RRRRRRRRRR...", ".....RRRRRR.....", "................", "................",
};
constexpr Art kNo = {
    "................", ".....RRRRRR.....", "...RRRRRRRRRR...", "..RRR......RRR..",
    "..RRRR.......RR.", ".RR.RRR......RR.", ".RR..RRR.....RR.", ".RR...RRR....RR.",
    ".RR....RRR...RR.", ".RR.....RRR..RR.", ".RR......RRR.RR.", "..RR......RRRR..",
    "..RRR......RRR..", "...RRRRRRRRRR...", ".....RRRRRR.....", "................",
};
constexpr Art kRetry = {
    "................", "......BBBB......", "....BBBnnBBB....", "...BB......BB.B.",
    "..BB........BBB.", "..B........BBBB.", ".BB.............", ".BB.............",
    ".............BB.", ".............BB.", ".BBBB........B..", ".BBB........BB..",
    ".B.BB......BB...", "....BBBnnBBB....", "......BBBB......", "................",
};

const Art* ArtOf(TBitBtnKind kind) {
    switch (kind) {
        case bkOK:
        case bkYes: return &kCheck;
        case bkCancel:
        case bkAbort: return &kCross;
        case bkAll: return &kAll;
        case bkClose: return &kClose;
        case bkHelp: return &kHelp;
        case bkIgnore: return &kIgnore;
        case bkNo: return &kNo;
        case bkRetry: return &kRetry;
        case bkCustom: break;
    }
    return nullptr;
}

std::unique_ptr<TBitmap> MakeGlyph(const Art& art) {
    auto bitmap = std::make_unique<TBitmap>(32, 16);
    bitmap->SetPixelFormat(pf4bit);
    for (int y = 0; y < 16; ++y) {
        const std::string_view row = art[static_cast<size_t>(y)];
        if (row.size() != 16) throw rtl::Exception("Button glyph rows must be 16 pixels wide");
        uint32_t* line = bitmap->ScanLine(y);
        for (int x = 0; x < 32; ++x) line[x] = kTeal;
        for (int x = 0; x < 16; ++x) line[x] = PaletteColor(row[static_cast<size_t>(x)]);
    }
    // The disabled frame: the dark pixels engraved, a white copy one pixel down and right under
    // a grey one.
    const auto engraved = [&](int x, int y) { return Engraved(art[static_cast<size_t>(y)][static_cast<size_t>(x)]); };
    for (int y = 0; y < 15; ++y) {
        for (int x = 0; x < 15; ++x) {
            if (engraved(x, y)) bitmap->ScanLine(y + 1)[16 + x + 1] = kEngraveHighlight;
        }
    }
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            if (engraved(x, y)) bitmap->ScanLine(y)[16 + x] = kEngraveShadow;
        }
    }
    return bitmap;
}

}  // namespace

const TBitmap* KindGlyph(TBitBtnKind kind) {
    static std::map<TBitBtnKind, std::unique_ptr<TBitmap>> cache;
    const Art* art = ArtOf(kind);
    if (!art) return nullptr;
    auto& slot = cache[kind];
    if (!slot) slot = MakeGlyph(*art);
    return slot.get();
}

}  // namespace se
