// Frames of the three families at chosen percentages, against pixels worked out by hand, and
// every registered effect from the old image to the new one.

#include <gtest/gtest.h>

#include <set>

#include "platform/runtime/Random.h"
#include "tests/controls/effects/EffectImages.h"

namespace se {
namespace {

using testing::Describe;
using testing::Expected;
using testing::Images;
using Rows = std::vector<std::string>;

Rows Play(const char* effect, int width, int height, int percent, TseRotation rotation = krNone, int resolution = 1,
          int tiles = 1) {
    Images images(width, height);
    TseAnimationRec animation;
    animation.SetEffect(effect);
    animation.SetRotation(rotation);
    animation.SetResolution(resolution);
    animation.SetTileCount(tiles);
    TseTransition transition(animation, images.newImage, images.oldImage);
    EXPECT_TRUE(transition.Ready()) << effect;
    return Describe(transition.Frame(percent));
}

// 6 × 4 has a grid of 7 × 5 cells; at 50 % the cells before the middle of the sweep have turned.
TEST(MaskFrames, SlideDownTurnsTheRowsBeforeTheMiddleTurnedByTheRotation) {
    EXPECT_EQ(Play("SlideDown", 6, 4, 0), Expected(6, 4, [](int, int) { return false; }));
    EXPECT_EQ(Play("SlideDown", 6, 4, 50), Expected(6, 4, [](int, int y) { return y < 2; }));
    EXPECT_EQ(Play("SlideDown", 6, 4, 100), Expected(6, 4, [](int, int) { return true; }));
    EXPECT_EQ(Play("SlideDown", 6, 4, 50, krRotate90), Expected(6, 4, [](int x, int) { return x >= 4; }));
    EXPECT_EQ(Play("SlideDown", 6, 4, 50, krRotate180), Expected(6, 4, [](int, int y) { return y == 3; }));
    EXPECT_EQ(Play("SlideDown", 6, 4, 50, krRotate270), Expected(6, 4, [](int x, int) { return x < 3; }));
    // Resolution 2: 5 × 5 cells of 2 × 2 pixels. Two tiles a side: tiles of 5 × 5 one-pixel cells.
    EXPECT_EQ(Play("SlideDown", 8, 8, 50, krNone, 2), Expected(8, 8, [](int, int y) { return y < 4; }));
    EXPECT_EQ(Play("SlideDown", 8, 8, 50, krNone, 1, 2), Expected(8, 8, [](int, int y) { return y % 5 < 2; }));
}

// Black turning into white on 4 × 2 (5 × 3 cells) shows each pixel's opacity as its grey level.
Rows Greys(const char* effect, int percent, TseRotation rotation = krNone, const TseBitmap* picture = nullptr) {
    TseBitmap black, white;
    black.SetSize(4, 2);
    black.Clear(0xFF000000);
    white.SetSize(4, 2);
    white.Clear(0xFFFFFFFF);
    TseAnimationRec animation;
    animation.SetEffect(effect);
    animation.SetRotation(rotation);
    if (picture) animation.SetBitmap(*picture);
    TseTransition transition(animation, white, black);
    const TseBitmap& frame = transition.Frame(percent);
    Rows rows(2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) rows[y] += (x ? " " : "") + std::to_string(frame.ReadPixel(x, y) & 0xFF);
    return rows;
}

TEST(MaskFrames, FadeAndTheBitmapAnimationBlendByTheirOpacities) {
    // Opacity round(127.5) = 128: 255 × 128 / 256 = 127; round(25.5) = 26: 25.
    EXPECT_EQ(Greys("Fade", 50), (Rows{"127 127 127 127", "127 127 127 127"}));
    EXPECT_EQ(Greys("Fade", 10), (Rows{"25 25 25 25", "25 25 25 25"}));
    // The picture's blue B is the base: opacity B + round(510 × p / 100) − 255 within 0 … 255.
    const int blue[3][5] = {{0, 64, 128, 200, 255}, {255, 127, 1, 30, 0}, {10, 20, 30, 40, 50}};
    TseBitmap picture;
    picture.SetSize(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) picture.WritePixel(x, y, MakePixel(90, 90, blue[y][x], 255));
    const char* bitmap = "[ BITMAP ] - Bitmap Animation";
    EXPECT_EQ(Greys(bitmap, 0, krNone, &picture), (Rows{"0 0 0 0", "0 0 0 0"}));
    EXPECT_EQ(Greys(bitmap, 50, krNone, &picture), (Rows{"0 63 127 199", "255 126 0 29"}));
    EXPECT_EQ(Greys(bitmap, 75, krNone, &picture), (Rows{"127 191 255 255", "255 255 128 157"}));
    EXPECT_EQ(Greys(bitmap, 25, krNone, &picture), (Rows{"0 0 0 72", "127 0 0 0"}));
    EXPECT_EQ(Greys(bitmap, 100, krNone, &picture), (Rows{"255 255 255 255", "255 255 255 255"}));
    // Half a turn reads the picture from the opposite corner; no picture is a plain cross-fade.
    EXPECT_EQ(Greys(bitmap, 50, krRotate180, &picture), (Rows{"49 39 29 19", "0 29 0 126"}));
    EXPECT_EQ(Greys(bitmap, 75), (Rows{"127 127 127 127", "127 127 127 127"}));
}

TEST(CellFrames, CornerAndInterlaceMoveTheNewImageInCellByCell) {
    const auto all = [](int, int) { return true; };
    // 4 × 4 has 5 × 5 cells; at 50 % 5 × 50 / 100 = 2 cells are still hidden.
    EXPECT_EQ(Play("Corner", 4, 4, 0), Expected(4, 4, all, -5, -5));
    EXPECT_EQ(Play("Corner", 4, 4, 50), Expected(4, 4, all, -2, -2));
    EXPECT_EQ(Play("Corner", 4, 4, 100), Expected(4, 4, all));
    EXPECT_EQ(Play("Corner", 8, 8, 50, krNone, 2), Expected(8, 8, all, -4, -4));
    // Each of two tiles a side (5 pixels) moves its own part; turned, it comes from the top right.
    EXPECT_EQ(Play("Corner", 8, 8, 50, krNone, 1, 2), Expected(8, 8, [](int x, int y) { return x % 5 >= 2 && y % 5 >= 2; }, -2, -2));
    EXPECT_EQ(Play("Corner", 4, 4, 50, krRotate90), Expected(4, 4, all, 2, -2));
    // Even rows come from the left, odd rows from the right; cell 4 of the grid lies off the image.
    EXPECT_EQ(Play("Interlace", 4, 2, 50), (Rows{". . N00 N10", "N21 N31 . ."}));
}

TEST(DrawFrames, SlideCoversTheOldImageAndPushMovesItOut) {
    EXPECT_EQ(Play("Slide", 4, 2, 50), (Rows{"N20 N30 . .", "N21 N31 . ."}));
    EXPECT_EQ(Play("Push", 4, 2, 50), (Rows{"N20 N30 O00 O10", "N21 N31 O01 O11"}));
    // Turned: from the top, from the right, from the bottom.
    EXPECT_EQ(Play("Push", 2, 4, 50, krRotate90), (Rows{"N02 N12", "N03 N13", "O00 O10", "O01 O11"}));
    EXPECT_EQ(Play("Slide", 4, 1, 25, krRotate180), (Rows{". . . N00"}));
    EXPECT_EQ(Play("Push", 1, 4, 75, krRotate270), (Rows{"O03", "N00", "N01", "N02"}));
}

// Every effect, in several settings, starts from the old image, ends on the new one (its key
// pixel showing the old one) and shows something of both half way.
class EveryEffect : public ::testing::TestWithParam<int> {};

TEST_P(EveryEffect, GoesFromTheOldImageAtNoneToTheNewOneAtAHundredPercent) {
    const TseProcItem& item = Effects().Items(GetParam());
    const struct { int resolution, tiles; TseRotation rotation; } settings[] = {
        {1, 1, krNone}, {2, 1, krRotate90}, {1, 3, krRotate180}, {3, 2, krRotate270}};
    for (const auto& s : settings) {
        Images images(16, 12);
        images.newImage.WritePixel(3, 2, KeyColor);
        TseAnimationRec animation;
        animation.SetEffect(item.Name());
        animation.SetResolution(s.resolution);
        animation.SetTileCount(s.tiles);
        animation.SetRotation(s.rotation);
        TseTransition transition(animation, images.newImage, images.oldImage);
        ASSERT_EQ(transition.Effect(), &item);
        const std::string where = item.Name() + " in setting " + std::to_string(&s - settings);
        EXPECT_EQ(Describe(transition.Frame(0)), Expected(16, 12, [](int, int) { return false; })) << where;
        EXPECT_EQ(Describe(transition.Frame(100)), Expected(16, 12, [](int x, int y) { return x != 3 || y != 2; }))
            << where;
        const Rows middle = Describe(transition.Frame(50));
        EXPECT_NE(middle, Describe(transition.Frame(0))) << where;
        EXPECT_NE(middle, Describe(transition.Frame(100))) << where;
    }
}

INSTANTIATE_TEST_SUITE_P(Registered, EveryEffect, ::testing::Range(0, 58), [](const auto& info) {
    std::string name(Effects().Items(info.param).EffectName());
    std::erase(name, ' ');
    return name;
});

TEST(Frames, NothingIsPlayedWithoutBothImagesOrAnEffectAndSizesNeedNotMatch) {
    Images images(4, 4), large(6, 3);
    TseBitmap empty;
    TseAnimationRec animation;
    animation.SetEffect("Fade");
    EXPECT_FALSE(TseTransition(animation, empty, images.oldImage).Ready());
    EXPECT_FALSE(TseTransition(animation, images.newImage, empty).Ready());
    // An old image of another size is cut or padded to the new one's.
    EXPECT_EQ(Describe(TseTransition(animation, images.newImage, large.oldImage).Frame(0))[2], ". . . .");
    EXPECT_EQ(TseTransition(animation, large.newImage, images.oldImage).Frame(0).ReadPixel(5, 2), 0u);
    animation.SetEffect("No such effect");
    EXPECT_FALSE(TseTransition(animation, images.newImage, images.oldImage).Ready());
    TseProcList list;
    list.RegisterEffect("Nothing", TseCellEffect{});
    animation.SetEffect("Nothing");
    EXPECT_FALSE(TseTransition(animation, images.newImage, images.oldImage, list).Ready());
}

TEST(Frames, TheRandomChoiceIsAlwaysARegisteredEffect) {
    Images images(4, 4);
    TseAnimationRec animation;
    std::set<const TseProcItem*> chosen;
    for (int i = 0; i < 300; ++i) {
        TseTransition transition(animation, images.newImage, images.oldImage);
        ASSERT_FALSE(transition.IsBitmapAnimation());
        ASSERT_NE(transition.Effect(), nullptr);
        ASSERT_EQ(Effects().FindEffect(transition.Effect()->Name()), transition.Effect());
        chosen.insert(transition.Effect());
    }
    // 300 uniform draws from 58 miss more than 8 of them far less than once in a billion runs.
    EXPECT_GE(chosen.size(), 50u);
    // The runtime's generator makes the choice, so a seed repeats it.
    vcl::SetRandSeed(20261209);
    const TseProcItem* first = TseTransition(animation, images.newImage, images.oldImage).Effect();
    vcl::SetRandSeed(20261209);
    EXPECT_EQ(TseTransition(animation, images.newImage, images.oldImage).Effect(), first);
}

}  // namespace
}  // namespace se
