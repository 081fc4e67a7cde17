// The animation record's clamps and copies, and the registry's names, order and look-up.

#include <gtest/gtest.h>

#include "controls/effects/AnimationRec.h"
#include "controls/effects/EffectList.h"

namespace se {
namespace {

TEST(AnimationRec, KeepsTimeResolutionAndTileCountWithinTheirRanges) {
    TseAnimationRec animation;
    EXPECT_EQ(animation.Time(), 400);
    EXPECT_EQ(animation.Effect(), "[ RANDOM ] - Random selection");
    struct Clamp {
        void (TseAnimationRec::*set)(int);
        int (TseAnimationRec::*get)() const;
        int written, stored;
    };
    const Clamp clamps[] = {
        {&TseAnimationRec::SetTime, &TseAnimationRec::Time, 10, 50},
        {&TseAnimationRec::SetTime, &TseAnimationRec::Time, 51, 51},
        {&TseAnimationRec::SetTime, &TseAnimationRec::Time, 9001, 9000},
        {&TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, 0, 1},
        {&TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, 10, 10},
        {&TseAnimationRec::SetResolution, &TseAnimationRec::Resolution, 11, 10},
        {&TseAnimationRec::SetTileCount, &TseAnimationRec::TileCount, -1, 1},
        {&TseAnimationRec::SetTileCount, &TseAnimationRec::TileCount, 99, 20},
    };
    for (const Clamp& c : clamps) {
        (animation.*c.set)(c.written);
        EXPECT_EQ((animation.*c.get)(), c.stored) << "written " << c.written;
    }
}

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
    picture.Clear(0);

    target.Assign(source);
    EXPECT_TRUE(target.Enabled());
    EXPECT_EQ(target.Time() * 100 + target.Resolution() * 10 + target.TileCount(), 120034);
    EXPECT_EQ(target.Effect(), "[ SLIDE ] - Corner");
    EXPECT_EQ(target.Rotation(), krRotate270);
    EXPECT_EQ(target.Bitmap().ReadPixel(2, 1), 0xFF102030u);
    EXPECT_NE(target.Bitmap().Bits(), source.Bitmap().Bits());
    // A record without a picture empties the target's; another kind of object is refused.
    target.Assign(TseAnimationRec());
    EXPECT_TRUE(target.Bitmap().Empty());
    EXPECT_THROW(target.Assign(picture), rtl::EConvertError);
}

TEST(EffectList, OffersTheTwoSpecialNamesThenAll58EffectsInRegistrationOrder) {
    const char* masks[] = {
        "SmoothDiagonal", "SmoothDiagonalIn", "SmoothDiagonalOut", "SmoothDown", "SmoothIn", "SmoothOut",
        "SmoothCrossOut", "SmoothCrossIn", "SmoothRectIn", "SmoothRectOut", "SlideDiagonal", "SlideDiagonalIn",
        "SlideDiagonalOut", "SlideDown", "SlideIn", "SlideOut", "SlideCrossOut", "SlideCrossIn", "SlideRectOut",
        "SlideRectIn", "Fade", "FadeDiagonal", "FadeDiagonalIn", "FadeDiagonalOut", "FadeDown", "FadeIn", "FadeOut",
        "FadeCrossOut", "FadeCrossIn", "FadeRectOut", "FadeRectIn", "Pixel", "Pixel fade", "Pixel line",
        "CircleSlideOut", "CircleFadeOut", "CircleSmoothOut", "CircleSlideIn", "CircleFadeIn", "CircleSmoothIn",
        "CircleSlide", "CircleFade", "CircleSmooth", "DiamondSlideIn", "DiamondFadeIn", "DiamondSmoothIn",
        "DiamondSlideOut", "DiamondFadeOut", "DiamondSmoothOut", "RotateSlide", "RotateFade", "RotateSmooth",
        "Stream", "Plasma"};
    std::vector<std::string> expected = {"[ RANDOM ] - Random selection", "[ BITMAP ] - Bitmap Animation"};
    for (const char* name : masks) expected.push_back(std::string("[ FADE ] - ") + name);
    expected.insert(expected.end(), {"[ SLIDE ] - Interlace", "[ SLIDE ] - Corner", "[ MANUAL ] - Slide",
                                     "[ MANUAL ] - Push"});
    ASSERT_EQ(expected.size(), 60u);
    EXPECT_EQ(Effects().EffectNames(), expected);
    for (int i = 0; i < Effects().Count(); ++i) {
        EXPECT_EQ(Effects().Items(i).Family(), i < 54 ? 0 : i < 56 ? 1 : 2) << Effects().Items(i).Name();
        EXPECT_TRUE(Effects().Items(i).HasProcedure()) << Effects().Items(i).Name();
    }
}

TEST(EffectList, FindsAnEffectByItsFullOrBareNameIgnoringCase) {
    const TseProcItem* fade = &Effects().Items(20);
    EXPECT_EQ(Effects().FindEffect("[ FADE ] - Fade"), fade);
    EXPECT_EQ(Effects().FindEffect("[ fade ] - fade"), fade);
    EXPECT_EQ(Effects().FindEffect("fade"), fade);
    EXPECT_EQ(Effects().FindEffect("PIXEL FADE"), &Effects().Items(32));
    for (const char* none : {"Fad", "[ SLIDE ] - Fade", "", "[ RANDOM ] - Random selection"})
        EXPECT_EQ(Effects().FindEffect(none), nullptr) << none;
}

void Mask(uint8_t*, int, int, int) {}
void Cells(TseCell*, int, int, int) {}

TEST(EffectList, RefusesAProcedureThatIsAlreadyRegistered) {
    TseProcList list;
    list.RegisterEffect("Mine", &Mask);
    list.RegisterEffect("Mine", &Cells);
    try {
        list.RegisterEffect("Again", &Mask);
        FAIL() << "registered twice";
    } catch (const EProcItemError& e) {
        EXPECT_STREQ(e.what(), "Effect procedute Again already exists in list");
    }
    // Entries without a procedure are no duplicates; the same name is found first as registered.
    list.RegisterEffect("Empty", TseMaskEffect{});
    list.RegisterEffect("Empty", TseMaskEffect{});
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.FindEffect("mine")->Family(), 0);
    EXPECT_EQ(list.FindEffect("[ SLIDE ] - Mine")->Family(), 1);
}

}  // namespace
}  // namespace se
