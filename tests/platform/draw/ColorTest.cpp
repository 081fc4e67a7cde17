#include <gtest/gtest.h>

#include "platform/draw/Color.h"

namespace vcl {
namespace {

TEST(Color, SystemColoursResolveThroughTheClassicPalette) {
    struct Case {
        TColor color;
        COLORREF rgb;
    };
    const Case cases[] = {
        {clBtnFace, RGB(212, 208, 200)},   {clBtnShadow, RGB(128, 128, 128)}, {cl3DDkShadow, RGB(64, 64, 64)},
        {clBtnHighlight, RGB(255, 255, 255)}, {cl3DLight, RGB(212, 208, 200)}, {clWindow, RGB(255, 255, 255)},
        {clWindowText, RGB(0, 0, 0)},      {clHighlight, RGB(10, 36, 106)},   {clHighlightText, RGB(255, 255, 255)},
        {clInfoBk, RGB(255, 255, 225)},    {clGrayText, RGB(128, 128, 128)},  {clSilver, RGB(192, 192, 192)},
        {clAqua, RGB(0, 255, 255)},        {clRed, RGB(255, 0, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(ColorToRGB(c.color), c.rgb) << std::hex << c.color;
}

TEST(Color, PixelConversionsSwapTheChannelOrder) {
    EXPECT_EQ(RgbToPixel(RGB(1, 2, 3)), 0xFF010203u);
    EXPECT_EQ(RgbToPixel(RGB(1, 2, 3), 0x40), 0x40010203u);
    EXPECT_EQ(PixelToRgb(0x80102030u), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(GetSysColor(-1), 0u);
    EXPECT_EQ(GetSysColor(kSystemColorCount), 0u);
}

}  // namespace
}  // namespace vcl
