#include <gtest/gtest.h>

#include "controls/effects/EffectList.h"

namespace se {
namespace {

const std::vector<std::string> kMaskEffects = {
    "SmoothDiagonal", "SmoothDiagonalIn", "SmoothDiagonalOut", "SmoothDown", "SmoothIn", "SmoothOut",
    "SmoothCrossOut", "SmoothCrossIn", "SmoothRectIn", "SmoothRectOut", "SlideDiagonal", "SlideDiagonalIn",
    "SlideDiagonalOut", "SlideDown", "SlideIn", "SlideOut", "SlideCrossOut", "SlideCrossIn", "SlideRectOut",
    "SlideRectIn", "Fade", "FadeDiagonal", "FadeDiagonalIn", "FadeDiagonalOut", "FadeDown", "FadeIn", "FadeOut",
    "FadeCrossOut", "FadeCrossIn", "FadeRectOut", "FadeRectIn", "Pixel", "Pixel fade", "Pixel line",
    "CircleSlideOut", "CircleFadeOut", "CircleSmoothOut", "CircleSlideIn", "CircleFadeIn", "CircleSmoothIn",
    "CircleSlide", "CircleFade", "CircleSmooth", "DiamondSlideIn", "DiamondFadeIn", "DiamondSmoothIn",
    "DiamondSlideOut", "DiamondFadeOut", "DiamondSmoothOut", "RotateSlide", "RotateFade", "RotateSmooth", "Stream",
    "Plasma"};

TEST(EffectList, OffersTheTwoSpecialNamesThenAll58EffectsInRegistrationOrder) {
    std::vector<std::string> expected = {"[ RANDOM ] - Random selection", "[ BITMAP ] - Bitmap Animation"};
    for (const std::string& name : kMaskEffects) expected.push_back("[ FADE ] - " + name);
    for (const char* name : {"Interlace", "Corner"}) expected.push_back(std::string("[ SLIDE ] - ") + name);
    for (const char* name : {"Slide", "Push"}) expected.push_back(std::string("[ MANUAL ] - ") + name);
    ASSERT_EQ(kMaskEffects.size(), 54u);

    EXPECT_EQ(Effects().EffectNames(), expected);
    ASSERT_EQ(Effects().Count(), 58);
    for (int i = 0; i < Effects().Count(); ++i) {
        const TseProcItem& item = Effects().Items(i);
        EXPECT_EQ(item.Family(), i < 54 ? 0 : i < 56 ? 1 : 2) << item.Name();
        EXPECT_TRUE(item.HasProcedure()) << item.Name();
        EXPECT_EQ(std::string(FamilyPrefix(item.Family())) + std::string(item.EffectName()), item.Name());
    }
}

TEST(EffectList, FindsAnEffectByItsFullOrBareNameIgnoringCase) {
    const TseProcItem* fade = Effects().FindEffect("[ FADE ] - Fade");
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->Name(), "[ FADE ] - Fade");
    EXPECT_EQ(Effects().FindEffect("[ fade ] - fade"), fade);
    EXPECT_EQ(Effects().FindEffect("fade"), fade);
    EXPECT_EQ(Effects().FindEffect("PUSH"), &Effects().Items(57));
    EXPECT_EQ(Effects().FindEffect("pixel FADE")->Name(), "[ FADE ] - Pixel fade");
    // The bare name is matched whole; another family's prefix is no match.
    EXPECT_EQ(Effects().FindEffect("Fad"), nullptr);
    EXPECT_EQ(Effects().FindEffect("[ SLIDE ] - Fade"), nullptr);
    EXPECT_EQ(Effects().FindEffect(""), nullptr);
    EXPECT_EQ(Effects().FindEffect("[ RANDOM ] - Random selection"), nullptr);
}

void Mask(uint8_t*, int, int, int) {}
void Cells(TseCell*, int, int, int) {}
void Other(uint8_t*, int, int, int) {}

TEST(EffectList, RefusesAProcedureThatIsAlreadyRegistered) {
    TseProcList list;
    list.RegisterEffect("Mine", &Mask);
    list.RegisterEffect("Grid", &Cells);
    try {
        list.RegisterEffect("Again", &Mask);
        FAIL() << "registered twice";
    } catch (const EProcItemError& e) {
        EXPECT_STREQ(e.what(), "Effect procedute Again already exists in list");
    }
    list.RegisterEffect("Other", &Other);
    // Entries without a procedure are not duplicates of each other.
    list.RegisterEffect("Empty", TseMaskEffect{});
    list.RegisterEffect("Empty too", TseMaskEffect{});
    ASSERT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Items(1).Name(), "[ SLIDE ] - Grid");
    EXPECT_FALSE(list.Items(3).HasProcedure());
    EXPECT_EQ(list.EffectNames().size(), 7u);
}

TEST(EffectList, TheSameNameInTwoFamiliesIsFoundFirstInRegistrationOrder) {
    TseProcList list;
    list.RegisterEffect("Same", &Cells);
    list.RegisterEffect("Same", &Mask);
    EXPECT_EQ(list.FindEffect("same")->Family(), 1);
    EXPECT_EQ(list.FindEffect("[ FADE ] - SAME")->Family(), 0);
}

}  // namespace
}  // namespace se
