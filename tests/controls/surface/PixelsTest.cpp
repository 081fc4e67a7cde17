#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "controls/surface/Pixels.h"

namespace se {
namespace {

constexpr TsePixel Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

TEST(BlendPixel, HalfTransparentRedOverOpaqueBlue) {
    const TsePixel top = Argb(128, 255, 0, 0), under = Argb(255, 0, 0, 255);
    // Packed: each channel (u * 128 + t * 128) div 256; alpha (255 * 128 + 128 * 128) div 256 = 191.
    EXPECT_EQ(PackedRoutines().blendPixel(top, under), Argb(191, 127, 0, 127));
    // Plain: (t * 128 + u * 127) div 256 per colour channel, opaque.
    EXPECT_EQ(PlainRoutines().blendPixel(top, under), Argb(255, 127, 0, 126));
}

TEST(BlendPixel, PackedSinglePixelAppliesTheFormulaAtEveryAlpha) {
    const TsePixel under = Argb(255, 10, 20, 30);
    // alpha 0: u * 256 div 256 = u; alpha 255: (u + t * 255) div 256, which is not t:
    // white over opaque black gives 65025 div 256 = 254 in the colours, 65280 div 256 = 255 in alpha.
    EXPECT_EQ(PackedRoutines().blendPixel(Argb(0, 200, 100, 50), under), under);
    EXPECT_EQ(PackedRoutines().blendPixel(Argb(255, 255, 255, 255), Argb(255, 0, 0, 0)), Argb(255, 254, 254, 254));
    // The plain variant takes the shortcuts.
    EXPECT_EQ(PlainRoutines().blendPixel(Argb(255, 255, 255, 255), Argb(255, 0, 0, 0)), Argb(255, 255, 255, 255));
    EXPECT_EQ(PlainRoutines().blendPixel(Argb(0, 200, 100, 50), under), under);
}

TsePixel ReferencePacked(TsePixel t, TsePixel u) {
    const uint32_t a = t >> 24;
    if (a == 0) return u;
    if (a == 255) return t;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const uint32_t tc = (t >> shift) & 0xFF, uc = (u >> shift) & 0xFF;
        out |= ((uc * (256 - a) + tc * a) / 256) << shift;
    }
    return out;
}

std::vector<const PixelRoutines*> PackedKernels() {
    std::vector<const PixelRoutines*> kernels{&PackedSse2Routines()};
    if (PackedAvx2Routines() != nullptr) kernels.push_back(PackedAvx2Routines());
    return kernels;
}

TEST(RowOperations, PackedBlendRowsMatchTheChannelFormulaForAnyLength) {
    std::mt19937 random(11);
    for (const PixelRoutines* kernel : PackedKernels()) {
        for (int length : {1, 3, 4, 7, 8, 9, 16, 33, 572}) {
            std::vector<TsePixel> source(static_cast<size_t>(length)), destination(source.size());
            for (size_t i = 0; i < source.size(); ++i) {
                source[i] = random();
                destination[i] = random();
            }
            // The shortcuts for clear and opaque pixels, also inside the wide blocks.
            for (size_t i = 0; i < source.size(); i += 5) source[i] = (source[i] & 0x00FFFFFF) | (i % 2 ? 0xFF000000u : 0u);
            std::vector<TsePixel> expected(destination.size());
            for (size_t i = 0; i < source.size(); ++i) expected[i] = ReferencePacked(source[i], destination[i]);
            kernel->blendRow(source.data(), destination.data(), length);
            EXPECT_EQ(destination, expected) << kernel->name << " " << length;
        }
    }
}

TEST(RowOperations, KeyRowSkipsKeyPixelsAndMakesTheRestOpaque) {
    const std::vector<TsePixel> source{0x007F007F, 0x00123456, 0xFF7F007F, 0x807F0080};
    for (const PixelRoutines* routines : {&PackedSse2Routines(), &PackedRoutines(), &PlainRoutines()}) {
        std::vector<TsePixel> destination(4, 0xFF00FF00);
        routines->keyRow(source.data(), destination.data(), 4);
        EXPECT_EQ(destination, (std::vector<TsePixel>{0xFF00FF00, 0xFF123456, 0xFF00FF00, 0xFF7F0080}));
    }
}

TEST(RowOperations, PlainBlendRowKeepsUnderForClearAndCopiesOpaque) {
    const std::vector<TsePixel> source{Argb(0, 1, 2, 3), Argb(255, 1, 2, 3), Argb(128, 255, 0, 0)};
    std::vector<TsePixel> destination(3, Argb(255, 0, 0, 255));
    PlainRoutines().blendRow(source.data(), destination.data(), 3);
    EXPECT_EQ(destination, (std::vector<TsePixel>{Argb(255, 0, 0, 255), Argb(255, 1, 2, 3), Argb(255, 127, 0, 126)}));
}

TEST(RowOperations, TheRunChoosesThePackedVariantOnThisProcessor) {
    EXPECT_EQ(&Routines(), &PackedRoutines());
    EXPECT_EQ(Routines().blendPixel, PackedSse2Routines().blendPixel);
    EXPECT_EQ(BlendPixel(Argb(128, 255, 0, 0), Argb(255, 0, 0, 255)), Argb(191, 127, 0, 127));
}

TEST(Colours, MakePixelClampsChannelsAndWrapsAlpha) {
    EXPECT_EQ(MakePixel(300, -5, 128, 256 + 7), Argb(7, 255, 0, 128));
    EXPECT_EQ(MakePixel(255, 0, 255, 255), 0xFFFF00FFu);
    EXPECT_EQ(MakePixel(1, 2, 3, -1), Argb(255, 1, 2, 3));
    EXPECT_EQ(ColorToPixel(vcl::clBtnFace), Argb(255, 212, 208, 200));
    EXPECT_EQ(ColorToPixel(vcl::clRed), Argb(255, 255, 0, 0));
    EXPECT_EQ(PixelToColor(Argb(9, 1, 2, 3)), static_cast<vcl::TColor>(vcl::RGB(1, 2, 3)));
}

TEST(Colours, HueSaturationLightness) {
    struct Case {
        TsePixel pixel;
        float h, s, l;
    };
    const Case cases[] = {
        {Argb(255, 255, 0, 0), 0.0f, 1.0f, 0.5f},
        {Argb(255, 0, 255, 0), 1.0f / 3, 1.0f, 0.5f},
        {Argb(255, 0, 0, 255), 2.0f / 3, 1.0f, 0.5f},
        {Argb(255, 255, 0, 255), 5.0f / 6, 1.0f, 0.5f},  // hue of magenta is negative before the turn is added
        {Argb(255, 128, 128, 128), 0.0f, 0.0f, 128 / 255.0f},
        {Argb(255, 255, 128, 128), 0.0f, 1.0f, (255 + 128) / 510.0f},
    };
    for (const Case& c : cases) {
        float h = -1, s = -1, l = -1;
        PixelToHsl(c.pixel, h, s, l);
        EXPECT_NEAR(h, c.h, 1e-5) << std::hex << c.pixel;
        EXPECT_NEAR(s, c.s, 1e-5) << std::hex << c.pixel;
        EXPECT_NEAR(l, c.l, 1e-5) << std::hex << c.pixel;
        EXPECT_EQ(HslToPixel(h, s, l), c.pixel | 0xFF000000u) << std::hex << c.pixel;
    }
    // Greys: every channel round(L × 255), halves to even (127.5 -> 128).
    EXPECT_EQ(HslToPixel(0.3f, 0.0f, 0.5f), Argb(255, 128, 128, 128));
    EXPECT_EQ(ShiftHue(Argb(200, 255, 0, 0), 85), Argb(200, 0, 255, 0));
}

}  // namespace
}  // namespace se
