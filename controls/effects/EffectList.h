#pragma once
// The registry of transition effects: named procedures in three families, kept in the order they
// were registered. Family 0 fills an opacity mask, family 1 a grid of displaced cells, family 2
// draws the frame itself.

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/rtl/Exception.h"

namespace se {

class TseBitmap;
class TseAnimationRec;

// One cell of a displacement grid: the opacity it is drawn with (0 … 255; 0 leaves the old
// image) and the cell of the new image it shows, in cell coordinates (may lie outside the grid).
struct TseCell {
    uint16_t Alpha;
    int16_t X;
    int16_t Y;
};
static_assert(sizeof(TseCell) == 6);

// Fills a cleared width × height mask, row after row, with opacities for percent 0 … 100.
using TseMaskEffect = void (*)(uint8_t* mask, int width, int height, int percent);
// Fills every cell of a width × height grid, row after row, for percent 0 … 100.
using TseCellEffect = void (*)(TseCell* cells, int width, int height, int percent);
// Composes the frame (holding the old image) from the new image for percent 0 … 100; pixels of the
// new image with alpha 0 are to be left out.
using TseDrawEffect = void (*)(TseBitmap& frame, const TseBitmap& newImage, const TseAnimationRec& animation,
                               int percent);
// The family of an effect is the kind of its procedure: 0 mask, 1 cells, 2 drawing.
using TseEffectProc = std::variant<TseMaskEffect, TseCellEffect, TseDrawEffect>;

inline constexpr int kMaskFamily = 0;
inline constexpr int kCellFamily = 1;
inline constexpr int kDrawFamily = 2;
// "[ FADE ] - ", "[ SLIDE ] - ", "[ MANUAL ] - " for families 0, 1, 2.
std::string_view FamilyPrefix(int family);
// Effect names compare ignoring the case of ASCII letters.
bool SameEffectName(std::string_view a, std::string_view b);

class EProcItemError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TseProcItem {
public:
    TseProcItem(std::string name, TseEffectProc procedure);

    int Family() const { return static_cast<int>(procedure_.index()); }
    const TseEffectProc& Procedure() const { return procedure_; }
    bool HasProcedure() const;
    // The family prefix followed by the effect's own name.
    const std::string& Name() const { return name_; }
    // The name without its family prefix.
    std::string_view EffectName() const;

private:
    std::string name_;
    TseEffectProc procedure_;
};

class TseProcList {
public:
    // Appends an effect under its family's prefix; raises EProcItemError for a procedure that is
    // already registered.
    void RegisterEffect(std::string_view name, TseEffectProc procedure);
    // The first entry whose full name matches, else the first whose bare name matches, both
    // ignoring case; null when none does.
    const TseProcItem* FindEffect(std::string_view name) const;

    int Count() const { return static_cast<int>(items_.size()); }
    const TseProcItem& Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    // The names offered to choose from: the random and the bitmap choice, then every full name.
    std::vector<std::string> EffectNames() const;

private:
    std::vector<TseProcItem> items_;
};

// The process-wide registry, holding the built-in effects from its first use on.
TseProcList& Effects();
// Appends the 58 built-in effects in their fixed order.
void RegisterBuiltinEffects(TseProcList& list);

}  // namespace se
