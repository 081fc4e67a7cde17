#pragma once
// Small old and new images whose pixels tell where they came from, and a reading of a frame in
// those terms: "." the old pixel of the same place, "N21" the new image's pixel (2, 1), "O01"
// the old image's pixel (0, 1), "?" anything else (a blend).

#include <functional>
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
    const TsePixel g = (p >> 8) & 0xFF, b = p & 0xFF;
    if (g % 16 != 8 || b % 16 != 8 || ((p >> 16) != 240 && (p >> 16) != 16)) return "?";
    return ((p >> 16) == 240 ? "N" : "O") + std::to_string(g / 16) + std::to_string(b / 16);
}

// One string per row, tokens separated by single spaces.
inline std::vector<std::string> Describe(const TseBitmap& frame) {
    std::vector<std::string> rows;
    for (int y = 0; y < frame.Height(); ++y) {
        rows.emplace_back();
        for (int x = 0; x < frame.Width(); ++x) rows.back() += (x ? " " : "") + Token(frame, x, y);
    }
    return rows;
}

// The description of a frame that shows the new pixel at (x, y) + shift wherever that lies in
// shown, and the old pixel of its place elsewhere.
inline std::vector<std::string> Expected(int width, int height, const std::function<bool(int, int)>& shown,
                                         int shiftX = 0, int shiftY = 0) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        rows.emplace_back();
        for (int x = 0; x < width; ++x) {
            const int sx = x + shiftX, sy = y + shiftY;
            const bool inside = sx >= 0 && sy >= 0 && sx < width && sy < height && shown(x, y);
            rows.back() += (x ? " " : "") + (inside ? "N" + std::to_string(sx) + std::to_string(sy) : ".");
        }
    }
    return rows;
}

}  // namespace se::testing
