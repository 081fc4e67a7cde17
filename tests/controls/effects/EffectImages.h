#pragma once
// Small old and new images whose pixels tell where they came from, and a reading of a frame in
// those terms: "." the old pixel of the same place, "N21" the new image's pixel (2, 1), "O01"
// the old image's pixel (0, 1), "?" anything else (a blend).

#include <string>
#include <vector>

#include "controls/effects/Transition.h"

namespace se::testing {

// Red tells the images apart (new 240, old 16); green and blue hold x and y.
inline TsePixel NewPixel(int x, int y) { return MakePixel(240, x * 16 + 8, y * 16 + 8, 255); }
inline TsePixel OldPixel(int x, int y) { return MakePixel(16, x * 16 + 8, y * 16 + 8, 255); }
inline TsePixel Rgb(TsePixel pixel) { return pixel & 0x00FFFFFFu; }

// Surfaces cannot be moved; tests build them in place.
struct Images {
    TseBitmap oldImage, newImage;
    Images(int width, int height) {
        oldImage.SetSize(width, height);
        newImage.SetSize(width, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                oldImage.WritePixel(x, y, OldPixel(x, y));
                newImage.WritePixel(x, y, NewPixel(x, y));
            }
        }
    }
};

inline std::string Token(const TseBitmap& frame, int x, int y) {
    const TsePixel p = Rgb(frame.ReadPixel(x, y));
    if (p == Rgb(OldPixel(x, y))) return ".";
    const int red = static_cast<int>(p >> 16), sx = static_cast<int>((p >> 8) & 0xFF) / 16,
              sy = static_cast<int>(p & 0xFF) / 16;
    const bool exact = ((p >> 8) & 0xFF) % 16 == 8 && (p & 0xFF) % 16 == 8;
    if (red == 240 && exact) return "N" + std::to_string(sx) + std::to_string(sy);
    if (red == 16 && exact) return "O" + std::to_string(sx) + std::to_string(sy);
    return "?";
}

// One string per row, tokens separated by single spaces.
inline std::vector<std::string> Describe(const TseBitmap& frame) {
    std::vector<std::string> rows;
    for (int y = 0; y < frame.Height(); ++y) {
        std::string row;
        for (int x = 0; x < frame.Width(); ++x) row += (x ? " " : "") + Token(frame, x, y);
        rows.push_back(row);
    }
    return rows;
}

inline bool ShowsOld(const TseBitmap& frame, const TseBitmap& oldImage) {
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            if (Rgb(frame.ReadPixel(x, y)) != Rgb(oldImage.ReadPixel(x, y))) return false;
    return true;
}

}  // namespace se::testing
