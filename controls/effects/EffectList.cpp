#include "controls/effects/EffectList.h"

#include <algorithm>
#include <array>

#include "controls/effects/AnimationRec.h"
#include "controls/effects/MaskEffects.h"
#include "controls/effects/MotionEffects.h"
#include "platform/rtl/Format.h"

namespace se {

namespace {

constexpr std::array<std::string_view, 3> kPrefixes = {"[ FADE ] - ", "[ SLIDE ] - ", "[ MANUAL ] - "};

}  // namespace

bool SameEffectName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string_view FamilyPrefix(int family) {
    return family >= 0 && family < static_cast<int>(kPrefixes.size()) ? kPrefixes[static_cast<size_t>(family)]
                                                                        : std::string_view{};
}

TseProcItem::TseProcItem(std::string name, TseEffectProc procedure)
    : name_(std::move(name)), procedure_(procedure) {}

bool TseProcItem::HasProcedure() const {
    return std::visit([](auto procedure) { return procedure != nullptr; }, procedure_);
}

std::string_view TseProcItem::EffectName() const {
    return std::string_view(name_).substr(std::min(name_.size(), FamilyPrefix(Family()).size()));
}

void TseProcList::RegisterEffect(std::string_view name, TseEffectProc procedure) {
    TseProcItem item(std::string(FamilyPrefix(static_cast<int>(procedure.index()))) + std::string(name), procedure);
    if (item.HasProcedure()) {
        for (const TseProcItem& existing : items_) {
            if (existing.Procedure() == procedure) {
                const std::string text(name);
                throw EProcItemError(rtl::Format("Effect procedute %s already exists in list", text.c_str()));
            }
        }
    }
    items_.push_back(std::move(item));
}

const TseProcItem* TseProcList::FindEffect(std::string_view name) const {
    for (const TseProcItem& item : items_) {
        if (SameEffectName(item.Name(), name)) return &item;
    }
    for (const TseProcItem& item : items_) {
        if (SameEffectName(item.EffectName(), name)) return &item;
    }
    return nullptr;
}

std::vector<std::string> TseProcList::EffectNames() const {
    std::vector<std::string> names{kRandomEffectName, kBitmapEffectName};
    for (const TseProcItem& item : items_) names.push_back(item.Name());
    return names;
}

void RegisterBuiltinEffects(TseProcList& list) {
    RegisterMaskEffects(list);
    RegisterCellEffects(list);
    RegisterDrawEffects(list);
}

TseProcList& Effects() {
    static TseProcList list = [] {
        TseProcList builtin;
        RegisterBuiltinEffects(builtin);
        return builtin;
    }();
    return list;
}

}  // namespace se
