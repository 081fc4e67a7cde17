#pragma once
// The 54 mask effects: each gives every cell of the mask a moment at which it turns from the old
// image to the new one (its order), and an edge that is hard (Slide), soft (Smooth) or as wide as
// the whole run (Fade).

#include "controls/effects/EffectList.h"

namespace se {

void RegisterMaskEffects(TseProcList& list);

}  // namespace se
