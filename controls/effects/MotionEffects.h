#pragma once
// The effects that move the new image in: Interlace and Corner displace the cells of a grid,
// Slide and Push draw the frame themselves (Push moves the old image out as the new one comes in).
// The movement follows the animation's rotation: unturned, the new image comes from the left or
// the top-left corner; each quarter turn turns that clockwise.

#include "controls/effects/EffectList.h"

namespace se {

void RegisterCellEffects(TseProcList& list);
void RegisterDrawEffects(TseProcList& list);

}  // namespace se
