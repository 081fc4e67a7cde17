#pragma once
// The program's icon: the logo's line signal in orange with the logo's rule under it, on a navy
// tile. It is drawn from rectangles on a 16-unit grid, so it is pixel-exact at 16 px and its
// multiples, and the same rectangles give the scalable SVG: the artwork exists once, here. The
// window icon is drawn from it at run time; the installed PNG sizes and the SVG are written from
// it at build time.

#include <string>

#include "platform/draw/PixelSection.h"

namespace vcl {

// The icon at size x size pixels, 0xAARRGGBB with transparent corners.
PixelSection DrawAppIcon(int size);

// The icon as an SVG document on its 16-unit grid.
std::string AppIconSvg();

}  // namespace vcl
