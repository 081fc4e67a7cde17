#pragma once
// Where a radio group puts its buttons: columns filled top to bottom, sized from the whole group
// (not its client area) and the line height of its font.

#include <vector>

#include "platform/draw/Geometry.h"

namespace se {

// One rectangle per button, in the group's coordinates; empty when count is 0. columns is 1..16.
// rightToLeft mirrors the columns inside clientWidth.
std::vector<vcl::TRect> RadioGroupButtonRects(int count, int columns, int width, int height, int lineHeight,
                                              bool rightToLeft = false, int clientWidth = 0);

}  // namespace se
