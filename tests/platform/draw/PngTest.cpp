#include <gtest/gtest.h>

#include <unistd.h>

#include <string>

#include "platform/draw/Png.h"

namespace vcl {
namespace {

TEST(Png, RoundTripsEveryPixelAndTheRowOrder) {
    PixelSection bottomUp(7, 5, true);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) bottomUp.Set(x, y, 0xFF000000u | static_cast<uint32_t>(x * 30 << 16 | y * 40 << 8 | (x + y)));
    }
    bottomUp.Set(3, 2, 0x80FF00FFu);
    const std::string path = testing::TempDir() + "png_roundtrip_" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(SavePng(bottomUp, path));
    PixelSection loaded;
    ASSERT_TRUE(LoadPng(path, loaded));
    ASSERT_EQ(loaded.Width(), 7);
    ASSERT_EQ(loaded.Height(), 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 7; ++x) EXPECT_EQ(loaded.At(x, y), bottomUp.At(x, y)) << x << "," << y;
    }
    unlink(path.c_str());
}

TEST(Png, FailuresLeaveTheSectionAlone) {
    PixelSection section(2, 2);
    section.Set(0, 0, 0xFF123456u);
    EXPECT_FALSE(LoadPng("/nonexistent/file.png", section));
    EXPECT_EQ(section.At(0, 0), 0xFF123456u);
    EXPECT_FALSE(SavePng(PixelSection(), testing::TempDir() + "empty.png"));
}

}  // namespace
}  // namespace vcl
