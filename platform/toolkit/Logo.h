#pragma once
// The program's logo: a 119 x 33 "Velmo" word mark (24 bits per pixel) drawn from strokes here,
// so the program reads no file for it.

#include <memory>

#include "platform/draw/Graphic.h"

namespace vcl {

inline constexpr int kLogoWidth = 119;
inline constexpr int kLogoHeight = 33;

std::unique_ptr<TBitmap> CreateLogoBitmap();

}  // namespace vcl
