#pragma once
// PNG files of pixel sections: screenshots, test sheets, the logo.

#include <string>

#include "platform/draw/PixelSection.h"

namespace vcl {

// Writes the section as an 8-bit RGBA PNG (rows top-down). Returns false on any failure.
bool SavePng(const PixelSection& section, const std::string& path);

// Reads a PNG of any colour type into a top-down section. Returns false on any failure and then
// leaves the section unchanged.
bool LoadPng(const std::string& path, PixelSection& section);

}  // namespace vcl
