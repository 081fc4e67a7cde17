#pragma once
// A memory DC over a top-down 32-bit section, for tests that look at the pixels drawn.

#include <filesystem>
#include <string>

#include "platform/draw/Gdi.h"
#include "platform/draw/Png.h"

namespace vcl::test {

class TestCanvas {
public:
    TestCanvas(int width, int height, uint32_t fill = 0xFFFFFFFF) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits);
        pixels_ = static_cast<uint32_t*>(bits);
        dc_ = CreateCompatibleDC(nullptr);
        SelectObject(dc_, bitmap_);
        Clear(fill);
    }
    ~TestCanvas() {
        DeleteDC(dc_);
        DeleteObject(bitmap_);
    }
    TestCanvas(const TestCanvas&) = delete;
    TestCanvas& operator=(const TestCanvas&) = delete;

    HDC Dc() const { return dc_; }
    HBITMAP Bitmap() const { return bitmap_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    uint32_t At(int x, int y) const { return pixels_[y * width_ + x]; }
    uint32_t& Ref(int x, int y) { return pixels_[y * width_ + x]; }
    void Clear(uint32_t value) {
        for (int i = 0; i < width_ * height_; ++i) pixels_[i] = value;
    }
    int Count(uint32_t value) const {
        int n = 0;
        for (int i = 0; i < width_ * height_; ++i) n += pixels_[i] == value;
        return n;
    }
    // Rows as text: '#' where the pixel equals ink, '.' elsewhere.
    std::string Picture(uint32_t ink) const {
        std::string out;
        for (int y = 0; y < height_; ++y) {
            for (int x = 0; x < width_; ++x) out += At(x, y) == ink ? '#' : '.';
            out += '\n';
        }
        return out;
    }

private:
    int width_, height_;
    HBITMAP bitmap_ = nullptr;
    HDC dc_ = nullptr;
    uint32_t* pixels_ = nullptr;
};

// Writes the canvas as build/screenshots/<name>.png and, for a person to look at small text,
// <name>_3x.png enlarged three times by repeating pixels. Returns the enlarged file's path.
inline std::string SaveSheet(const TestCanvas& canvas, const std::string& name) {
    const std::string directory = VELMO_SCREENSHOT_DIRECTORY;
    std::error_code ignored;
    std::filesystem::create_directories(directory, ignored);
    constexpr int kScale = 3;
    PixelSection plain(canvas.Width(), canvas.Height());
    PixelSection enlarged(canvas.Width() * kScale, canvas.Height() * kScale);
    for (int y = 0; y < enlarged.Height(); ++y) {
        for (int x = 0; x < enlarged.Width(); ++x) enlarged.Set(x, y, canvas.At(x / kScale, y / kScale));
    }
    for (int y = 0; y < plain.Height(); ++y) {
        for (int x = 0; x < plain.Width(); ++x) plain.Set(x, y, canvas.At(x, y));
    }
    const std::string path = directory + "/" + name + "_3x.png";
    if (!SavePng(plain, directory + "/" + name + ".png") || !SavePng(enlarged, path)) return {};
    return path;
}

inline constexpr uint32_t kWhite = 0xFFFFFFFF;
inline constexpr uint32_t kBlack = 0xFF000000;
inline constexpr uint32_t kRed = 0xFFFF0000;

}  // namespace vcl::test
