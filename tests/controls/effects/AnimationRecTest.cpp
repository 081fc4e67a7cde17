#include <gtest/gtest.h>

#include <functional>

#include "controls/effects/AnimationRec.h"
#include "platform/rtl/Exception.h"

namespace se {
namespace {

TEST(AnimationRec, StartsDisabledWithTheRandomEffectOver400Milliseconds) {
    TseAnimationRec animation;
    EXPECT_FALSE(animation.Enabled());
    EXPECT_EQ(animation.Time(), 400);
    EXPECT_EQ(animation.Resolution(), 1);
    EXPECT_EQ(animation.TileCount(), 1);
    EXPECT_EQ(animation.Effect(), "[ RANDOM ] - Random selection");
    EXPECT_EQ(animation.Rotation(), krNone);
    EXPECT_TRUE(animation.Bitmap().Empty());
}

struct Clamp {
    const char* property;
    void (TseAnimationRec::*set)(int);
    int (TseAnimationRec::*get)() const;
    int written;
    int stored;
};

class AnimationRecClamp : public ::testing::TestWithParam<Clamp> {};

TEST_P(AnimationRecClamp, KeepsValuesWithinTheirRange) {
    const Clamp& c = GetParam();
    TseAnimationRec animation;
    (animation.*c.set)(c.written);
    EXPECT_EQ((animation.*c.get)(), c.stored) << c.property << " = " << c.written;
}

INSTANTIATE_TEST_SUITE_P(
    Properties, AnimationRecClamp,
    ::testing::Values(Clamp{"Time", &TseAnimationRec::SetTime, &TseAnimationRec::Time, 10, 50},
                      Clamp{"Time", &TseAnimationRec::SetTime, &TseAnimationRec::Time, -400, 50},
                      Clamp{"Time", &TseAnimationRec::SetTime, &TseAnimationRec::Time, 50, 50},
                      Clamp{"Time", &TseAnimationRec::SetTime, &TseAnimationRec::Time, 51, 51},
                      Clamp{"Time", &TseAnimationRec::SetTime, &TseAnimationRec::Time, 9000, 9000},
                      Clamp{"Time", &TseAnimationRec::SetTime, &TseAnimationRec::Time, 9001, 9000},
                      Clamp{"Resolution", &TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, 0, 1},
                      Clamp{"Resolution", &TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, -3, 1},
                      Clamp{"Resolution", &TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, 7, 7},
                      Clamp{"Resolution", &TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, 11, 10},
                      Clamp{"TileCount", &TseAnimationRec::SetTileCount, &TseAnimationRec::TileCount, 0, 1},
                      Clamp{"TileCount", &TseAnimationRec::SetTileCount, &TseAnimationRec::TileCount, 20, 20},
                      Clamp{"TileCount", &TseAnimationRec::SetTileCount, &TseAnimationRec::TileCount, 99, 20}));

TEST(AnimationRec, AssignCopiesAllSevenPropertiesAndThePicture) {
    TseAnimationRec source, target;
    source.SetEnabled(true);
    source.SetTime(1200);
    source.SetResolution(3);
    source.SetTileCount(4);
    source.SetEffect("[ SLIDE ] - Corner");
    source.SetRotation(krRotate270);
    TseBitmap picture;
    picture.SetSize(3, 2);
    picture.WritePixel(2, 1, 0xFF102030);
    source.SetBitmap(picture);

    target.Assign(source);
    EXPECT_TRUE(target.Enabled());
    EXPECT_EQ(target.Time(), 1200);
    EXPECT_EQ(target.Resolution(), 3);
    EXPECT_EQ(target.TileCount(), 4);
    EXPECT_EQ(target.Effect(), "[ SLIDE ] - Corner");
    EXPECT_EQ(target.Rotation(), krRotate270);
    ASSERT_EQ(target.Bitmap().Width(), 3);
    ASSERT_EQ(target.Bitmap().Height(), 2);
    EXPECT_EQ(target.Bitmap().ReadPixel(2, 1), 0xFF102030u);
    // A copy, not a share.
    EXPECT_NE(target.Bitmap().Bits(), source.Bitmap().Bits());

    // Assigning a record without a picture empties the target's.
    TseAnimationRec plain;
    target.Assign(plain);
    EXPECT_TRUE(target.Bitmap().Empty());
    EXPECT_EQ(target.Effect(), "[ RANDOM ] - Random selection");
}

TEST(AnimationRec, SettingThePictureCopiesIt) {
    TseAnimationRec animation;
    TseBitmap picture;
    picture.SetSize(2, 2);
    picture.Clear(0xFF0000FF);
    animation.SetBitmap(picture);
    picture.Clear(0);
    EXPECT_EQ(animation.Bitmap().ReadPixel(1, 1), 0xFF0000FFu);
}

TEST(AnimationRec, RefusesToTakeTheStateOfAnotherKind) {
    TseAnimationRec animation;
    TseBitmap picture;
    EXPECT_THROW(animation.Assign(picture), rtl::EConvertError);
}

}  // namespace
}  // namespace se
