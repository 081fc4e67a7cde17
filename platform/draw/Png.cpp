#include "platform/draw/Png.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace vcl {

// libpng's simplified API with the BGRA format matches the little-endian 0xAARRGGBB pixels.
bool SavePng(const PixelSection& section, const std::string& path) {
    if (section.Empty()) return false;
    std::vector<uint32_t> rows(static_cast<size_t>(section.Width()) * static_cast<size_t>(section.Height()));
    for (int y = 0; y < section.Height(); ++y) {
        std::memcpy(&rows[static_cast<size_t>(y) * static_cast<size_t>(section.Width())], section.Row(y),
                    static_cast<size_t>(section.Width()) * sizeof(uint32_t));
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(section.Width());
    image.height = static_cast<png_uint_32>(section.Height());
    image.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&image, path.c_str(), 0, rows.data(), 0, nullptr) != 0;
}

bool LoadPng(const std::string& path, PixelSection& section) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_BGRA;
    PixelSection loaded(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, loaded.Bits(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    section = std::move(loaded);
    return true;
}

}  // namespace vcl
