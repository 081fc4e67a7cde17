#pragma once
// A block of 32-bit pixels 0xAARRGGBB: the back buffer of a top-level window, the pixels of an
// off-screen surface, a screenshot. Rows are stored top-down unless the section was made
// bottom-up (a device-independent section with a positive height).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vcl {

class PixelSection {
public:
    PixelSection() = default;
    PixelSection(int width, int height, bool bottomUp = false) { Resize(width, height, bottomUp); }

    // New size; every pixel becomes 0. Negative sizes count as 0.
    void Resize(int width, int height, bool bottomUp = false) {
        width_ = width > 0 ? width : 0;
        height_ = height > 0 ? height : 0;
        bottomUp_ = bottomUp;
        pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0);
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool BottomUp() const { return bottomUp_; }
    bool Empty() const { return pixels_.empty(); }

    // First pixel in memory (the top row, or the bottom row of a bottom-up section).
    uint32_t* Bits() { return pixels_.data(); }
    const uint32_t* Bits() const { return pixels_.data(); }

    // Row y as seen on screen (0 = top), whatever the memory order. No range check.
    uint32_t* Row(int y) { return pixels_.data() + static_cast<size_t>(MemoryRow(y)) * static_cast<size_t>(width_); }
    const uint32_t* Row(int y) const {
        return pixels_.data() + static_cast<size_t>(MemoryRow(y)) * static_cast<size_t>(width_);
    }

    // Pixel at (x, y) on screen, 0 outside.
    uint32_t At(int x, int y) const { return Inside(x, y) ? Row(y)[x] : 0; }
    void Set(int x, int y, uint32_t value) {
        if (Inside(x, y)) Row(y)[x] = value;
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

private:
    int MemoryRow(int y) const { return bottomUp_ ? height_ - 1 - y : y; }

    int width_ = 0;
    int height_ = 0;
    bool bottomUp_ = false;
    std::vector<uint32_t> pixels_;
};

}  // namespace vcl
