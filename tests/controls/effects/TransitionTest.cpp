// Frames of the three families at chosen percentages, against pixels worked out by hand.

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "tests/controls/effects/EffectImages.h"

namespace se {
namespace {

using testing::Describe;
using testing::Images;
using testing::Rgb;

// The frame expected when the pixel at (x, y) shows the new image's pixel at source(x, y), or the
// old pixel of its place where source gives nothing.
using Source = std::function<bool(int x, int y, int& sx, int& sy)>;
std::vector<std::string> Expected(int width, int height, const Source& source) {
    std::vector<std::string> rows;
    for (int y = 0; y < height; ++y) {
        std::string row;
        for (int x = 0; x < width; ++x) {
            int sx = 0, sy = 0;
            row += x ? " " : "";
            row += source(x, y, sx, sy) ? "N" + std::to_string(sx) + std::to_string(sy) : ".";
        }
        rows.push_back(row);
    }
    return rows;
}
// The new pixel of the same place wherever shown(x, y).
std::vector<std::string> ExpectedInPlace(int width, int height, const std::function<bool(int, int)>& shown) {
    return Expected(width, height, [&](int x, int y, int& sx, int& sy) {
        sx = x;
        sy = y;
        return shown(x, y);
    });
}

struct Setup {
    const char* effect;
    int width, height;
    int percent;
    TseRotation rotation = krNone;
    int resolution = 1;
    int tiles = 1;
};

std::vector<std::string> Play(const Setup& s) {
    Images images(s.width, s.height);
    TseAnimationRec animation;
    animation.SetEffect(s.effect);
    animation.SetRotation(s.rotation);
    animation.SetResolution(s.resolution);
    animation.SetTileCount(s.tiles);
    TseTransition transition(animation, images.newImage, images.oldImage);
    EXPECT_TRUE(transition.Ready()) << s.effect;
    return Describe(transition.Frame(s.percent));
}

// A mask effect: SlideDown on 6 × 4 has a grid of 7 × 5 cells; at 50 % the cells before the middle
// of the sweep have turned. Turned, the sweep runs right to left, bottom to top, left to right.
TEST(MaskFrames, SlideDownTurnsOverTheRowsBeforeTheMiddleOfItsSweep) {
    EXPECT_EQ(Play({"SlideDown", 6, 4, 0}), ExpectedInPlace(6, 4, [](int, int) { return false; }));
    EXPECT_EQ(Play({"SlideDown", 6, 4, 50}), ExpectedInPlace(6, 4, [](int, int y) { return y < 2; }));
    EXPECT_EQ(Play({"SlideDown", 6, 4, 100}), ExpectedInPlace(6, 4, [](int, int) { return true; }));
    EXPECT_EQ(Play({"SlideDown", 6, 4, 50, krRotate90}), ExpectedInPlace(6, 4, [](int x, int) { return x >= 4; }));
    EXPECT_EQ(Play({"SlideDown", 6, 4, 50, krRotate180}), ExpectedInPlace(6, 4, [](int, int y) { return y == 3; }));
    EXPECT_EQ(Play({"SlideDown", 6, 4, 50, krRotate270}), ExpectedInPlace(6, 4, [](int x, int) { return x < 3; }));
}

TEST(MaskFrames, ResolutionWidensTheCellsAndTilesRepeatTheMask) {
    // 8 × 8 at resolution 2: 5 × 5 cells of 2 × 2 pixels; rows of cells 0 and 1 have turned.
    EXPECT_EQ(Play({"SlideDown", 8, 8, 50, krNone, 2}), ExpectedInPlace(8, 8, [](int, int y) { return y < 4; }));
    // Two tiles a side: 5 × 5 cells per tile of 5 pixels, the second tile cut at the image's edge.
    EXPECT_EQ(Play({"SlideDown", 8, 8, 50, krNone, 1, 2}),
              ExpectedInPlace(8, 8, [](int, int y) { return y % 5 < 2; }));
}

struct Blend {
    const char* effect;
    int percent;
    TseRotation rotation;
    std::vector<std::vector<int>> channels;  // grey level per pixel, rows of a 4 × 2 frame
};

// Black turning into white shows the opacity of each pixel as its grey level.
std::vector<std::vector<int>> GreyLevels(const Blend& b, const TseBitmap* picture) {
    TseBitmap black, white;
    black.SetSize(4, 2);
    black.Clear(0xFF000000);
    white.SetSize(4, 2);
    white.Clear(0xFFFFFFFF);
    TseAnimationRec animation;
    animation.SetEffect(b.effect);
    animation.SetRotation(b.rotation);
    if (picture) animation.SetBitmap(*picture);
    TseTransition transition(animation, white, black);
    const TseBitmap& frame = transition.Frame(b.percent);
    std::vector<std::vector<int>> levels(2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const TsePixel p = Rgb(frame.ReadPixel(x, y));
            EXPECT_TRUE((p & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == (p >> 16)) << std::hex << p;
            levels[static_cast<size_t>(y)].push_back(static_cast<int>(p & 0xFF));
        }
    }
    return levels;
}

TEST(MaskFrames, FadeBlendsTheWholeImageByThePercentage) {
    EXPECT_EQ(GreyLevels({"Fade", 0, krNone, {}}, nullptr), (std::vector<std::vector<int>>{{0, 0, 0, 0}, {0, 0, 0, 0}}));
    // Opacity round(127.5) = 128: 255 × 128 / 256 = 127.
    EXPECT_EQ(GreyLevels({"Fade", 50, krNone, {}}, nullptr),
              (std::vector<std::vector<int>>{{127, 127, 127, 127}, {127, 127, 127, 127}}));
    // Opacity round(25.5) = 26: 255 × 26 / 256 = 25.
    EXPECT_EQ(GreyLevels({"Fade", 10, krNone, {}}, nullptr),
              (std::vector<std::vector<int>>{{25, 25, 25, 25}, {25, 25, 25, 25}}));
    EXPECT_EQ(GreyLevels({"Fade", 100, krNone, {}}, nullptr),
              (std::vector<std::vector<int>>{{255, 255, 255, 255}, {255, 255, 255, 255}}));
}

TEST(MaskFrames, TheBitmapAnimationTurnsBrightPicturePixelsFirst) {
    // The 4 × 2 image has 5 × 3 cells; a picture of that size is the mask base as it is.
    const int blue[3][5] = {{0, 64, 128, 200, 255}, {255, 127, 1, 30, 0}, {10, 20, 30, 40, 50}};
    TseBitmap picture;
    picture.SetSize(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) picture.WritePixel(x, y, MakePixel(90, 90, blue[y][x], 255));
    using Levels = std::vector<std::vector<int>>;
    const char* name = "[ BITMAP ] - Bitmap Animation";
    EXPECT_EQ(GreyLevels({name, 0, krNone, {}}, &picture), (Levels{{0, 0, 0, 0}, {0, 0, 0, 0}}));
    // At 50 % the opacity is the picture's blue: 255 × B / 256, and 255 itself for B = 255.
    EXPECT_EQ(GreyLevels({name, 50, krNone, {}}, &picture), (Levels{{0, 63, 127, 199}, {255, 126, 0, 29}}));
    // At 75 %: B + round(382.5) − 255 = B + 128, limited to 255.
    EXPECT_EQ(GreyLevels({name, 75, krNone, {}}, &picture), (Levels{{127, 191, 255, 255}, {255, 255, 128, 157}}));
    // At 25 %: B − 127, no less than 0.
    EXPECT_EQ(GreyLevels({name, 25, krNone, {}}, &picture), (Levels{{0, 0, 0, 72}, {127, 0, 0, 0}}));
    EXPECT_EQ(GreyLevels({name, 100, krNone, {}}, &picture), (Levels{{255, 255, 255, 255}, {255, 255, 255, 255}}));
    // Half a turn reads the picture from the opposite corner: (x, y) takes B(4 − x, 2 − y).
    EXPECT_EQ(GreyLevels({name, 50, krRotate180, {}}, &picture), (Levels{{49, 39, 29, 19}, {0, 29, 0, 126}}));
}

TEST(MaskFrames, TheBitmapAnimationWithoutAPictureIsAPlainCrossFade) {
    using Levels = std::vector<std::vector<int>>;
    EXPECT_EQ(GreyLevels({"[ BITMAP ] - Bitmap Animation", 50, krNone, {}}, nullptr), (Levels{{0, 0, 0, 0}, {0, 0, 0, 0}}));
    EXPECT_EQ(GreyLevels({"[ BITMAP ] - Bitmap Animation", 75, krNone, {}}, nullptr),
              (Levels{{127, 127, 127, 127}, {127, 127, 127, 127}}));
}

// A displacement effect: the new image comes in from the top-left corner, cell by cell.
TEST(CellFrames, CornerMovesTheNewImageInFromTheTopLeft) {
    auto shifted = [](int shift, int limit) {
        return [=](int x, int y, int& sx, int& sy) {
            sx = x - shift;
            sy = y - shift;
            return sx >= 0 && sy >= 0 && sx < limit && sy < limit;
        };
    };
    // 4 × 4 has 5 × 5 cells; at 50 % 5 × 50 / 100 = 2 cells are still hidden.
    EXPECT_EQ(Play({"Corner", 4, 4, 0}), Expected(4, 4, shifted(5, 4)));
    EXPECT_EQ(Play({"Corner", 4, 4, 50}), Expected(4, 4, shifted(2, 4)));
    EXPECT_EQ(Play({"Corner", 4, 4, 100}), Expected(4, 4, shifted(0, 4)));
    // Resolution 2 on 8 × 8: the same two cells are four pixels.
    EXPECT_EQ(Play({"Corner", 8, 8, 50, krNone, 2}), Expected(8, 8, shifted(4, 8)));
    // Two tiles a side of 5 pixels: each tile moves its own part of the image.
    EXPECT_EQ(Play({"Corner", 8, 8, 50, krNone, 1, 2}), Expected(8, 8, [](int x, int y, int& sx, int& sy) {
                  sx = x - 2;
                  sy = y - 2;
                  return x % 5 >= 2 && y % 5 >= 2;
              }));
    // A quarter turn: the new image comes in from the top-right corner, moving down and left.
    EXPECT_EQ(Play({"Corner", 4, 4, 50, krRotate90}), Expected(4, 4, [](int x, int y, int& sx, int& sy) {
                  sx = x + 2;
                  sy = y - 2;
                  return sx < 4 && sy >= 0;
              }));
}

TEST(CellFrames, InterlaceBringsEvenRowsFromTheLeftAndOddRowsFromTheRight) {
    EXPECT_EQ(Play({"Interlace", 4, 2, 50}), (std::vector<std::string>{". . N00 N10", "N21 N31 . ."}));
    EXPECT_EQ(Play({"Interlace", 4, 2, 0}), (std::vector<std::string>{". . . .", ". . . ."}));
    EXPECT_EQ(Play({"Interlace", 4, 2, 100}), (std::vector<std::string>{"N00 N10 N20 N30", "N01 N11 N21 N31"}));
}

// The drawing effects compose the frame themselves.
TEST(DrawFrames, SlideCoversTheOldImageAndPushMovesItOut) {
    EXPECT_EQ(Play({"Slide", 4, 2, 50}), (std::vector<std::string>{"N20 N30 . .", "N21 N31 . ."}));
    EXPECT_EQ(Play({"Push", 4, 2, 50}), (std::vector<std::string>{"N20 N30 O00 O10", "N21 N31 O01 O11"}));
    EXPECT_EQ(Play({"Push", 4, 2, 0}), (std::vector<std::string>{". . . .", ". . . ."}));
    EXPECT_EQ(Play({"Push", 4, 2, 100}), (std::vector<std::string>{"N00 N10 N20 N30", "N01 N11 N21 N31"}));
    // Turned: from the top, from the right, from the bottom.
    EXPECT_EQ(Play({"Push", 2, 4, 50, krRotate90}), (std::vector<std::string>{"N02 N12", "N03 N13", "O00 O10", "O01 O11"}));
    EXPECT_EQ(Play({"Slide", 4, 1, 25, krRotate180}), (std::vector<std::string>{". . . N00"}));
    EXPECT_EQ(Play({"Push", 1, 4, 75, krRotate270}), (std::vector<std::string>{"O03", "N00", "N01", "N02"}));
}

TEST(Frames, KeyPixelsOfTheNewImageLeaveTheOldImageShowing) {
    for (const char* effect : {"Fade", "Corner", "Push"}) {
        Images images(4, 3);
        images.newImage.WritePixel(1, 1, KeyColor);
        TseAnimationRec animation;
        animation.SetEffect(effect);
        TseTransition transition(animation, images.newImage, images.oldImage);
        EXPECT_EQ(Describe(transition.Frame(100)),
                  (std::vector<std::string>{"N00 N10 N20 N30", "N01 . N21 N31", "N02 N12 N22 N32"}))
            << effect;
    }
}

// Every effect, in several settings, starts from the old image, ends on the new one and shows
// something of both on the way.
struct Settings {
    int resolution;
    int tiles;
    TseRotation rotation;
};

class EveryEffect : public ::testing::TestWithParam<int> {};

TEST_P(EveryEffect, GoesFromTheOldImageAtNoneToTheNewOneAtAHundredPercent) {
    const TseProcItem& item = Effects().Items(GetParam());
    for (const Settings& settings : {Settings{1, 1, krNone}, Settings{2, 1, krRotate90}, Settings{1, 3, krRotate180},
                                     Settings{3, 2, krRotate270}}) {
        Images images(16, 12);
        images.newImage.WritePixel(3, 2, KeyColor);
        TseAnimationRec animation;
        animation.SetEffect(item.Name());
        animation.SetResolution(settings.resolution);
        animation.SetTileCount(settings.tiles);
        animation.SetRotation(settings.rotation);
        TseTransition transition(animation, images.newImage, images.oldImage);
        ASSERT_TRUE(transition.Ready());
        ASSERT_EQ(transition.Effect(), &item);
        const std::string where = item.Name() + " resolution " + std::to_string(settings.resolution) + " tiles " +
                                  std::to_string(settings.tiles) + " rotation " + std::to_string(settings.rotation);

        EXPECT_TRUE(testing::ShowsOld(transition.Frame(0), images.oldImage)) << where;
        EXPECT_EQ(Describe(transition.Frame(100)), ExpectedInPlace(16, 12, [](int x, int y) { return x != 3 || y != 2; }))
            << where;
        const TseBitmap& middle = transition.Frame(50);
        int old = 0, changed = 0;
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 16; ++x) {
                const std::string token = testing::Token(middle, x, y);
                old += token == ".";
                changed += token != "." && token != "N" + std::to_string(x) + std::to_string(y);
            }
        }
        EXPECT_TRUE(old > 0 || changed > 0) << where << ": the new image at once";
        EXPECT_FALSE(testing::ShowsOld(middle, images.oldImage)) << where << ": nothing moved by half time";
    }
}

INSTANTIATE_TEST_SUITE_P(Registered, EveryEffect, ::testing::Range(0, 58), [](const auto& info) {
    std::string name(Effects().Items(info.param).EffectName());
    std::erase(name, ' ');
    return name;
});

TEST(Frames, NothingIsPlayedWithoutBothImagesOrWithoutAnEffect) {
    Images images(4, 4);
    TseBitmap empty;
    TseAnimationRec animation;
    animation.SetEffect("Fade");
    EXPECT_FALSE(TseTransition(animation, empty, images.oldImage).Ready());
    EXPECT_FALSE(TseTransition(animation, images.newImage, empty).Ready());
    animation.SetEffect("No such effect");
    EXPECT_FALSE(TseTransition(animation, images.newImage, images.oldImage).Ready());

    TseProcList list;
    list.RegisterEffect("Nothing", TseCellEffect{});
    animation.SetEffect("Nothing");
    EXPECT_FALSE(TseTransition(animation, images.newImage, images.oldImage, list).Ready());
    animation.SetEffect("[ RANDOM ] - Random selection");
    EXPECT_FALSE(TseTransition(animation, images.newImage, images.oldImage, TseProcList{}).Ready());
}

TEST(Frames, AnOldImageOfAnotherSizeIsCutToTheNewOne) {
    Images large(6, 3), small(2, 2);
    TseAnimationRec animation;
    animation.SetEffect("Fade");
    TseTransition cut(animation, small.newImage, large.oldImage);
    EXPECT_EQ(Describe(cut.Frame(0)), (std::vector<std::string>{". .", ". ."}));
    TseTransition padded(animation, large.newImage, small.oldImage);
    EXPECT_EQ(padded.Frame(0).ReadPixel(5, 2), 0u);
    EXPECT_EQ(Rgb(padded.Frame(100).ReadPixel(5, 2)), Rgb(testing::NewPixel(5, 2)));
}

TEST(Frames, TheRandomChoiceIsAlwaysARegisteredEffect) {
    Images images(4, 4);
    TseAnimationRec animation;
    std::set<const TseProcItem*> chosen;
    for (int i = 0; i < 300; ++i) {
        TseTransition transition(animation, images.newImage, images.oldImage);
        ASSERT_TRUE(transition.Ready());
        ASSERT_FALSE(transition.IsBitmapAnimation());
        const TseProcItem* effect = transition.Effect();
        ASSERT_NE(effect, nullptr);
        ASSERT_EQ(Effects().FindEffect(effect->Name()), effect);
        chosen.insert(effect);
    }
    // 300 uniform draws from 58 miss more than 8 of them with a chance far below one in a billion.
    EXPECT_GE(chosen.size(), 50u);
}

}  // namespace
}  // namespace se
