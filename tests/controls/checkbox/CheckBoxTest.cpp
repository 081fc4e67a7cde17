// The option controls driven as a user would: clicks, Space, accelerators and the focus; their
// marks, embossed captions and focus rectangles checked pixel by pixel where a wrong one matters.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controls/checkbox/CheckBox.h"
#include "controls/surface/Bitmap.h"
#include "platform/draw/FrameControl.h"
#include "platform/runtime/Component.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;
using vcl::testing_support::PixelOf;

class OptionControls : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = NewForm({100, 100, 400, 300});
        form->SetColor(clBtnFace);
    }

    template <typename Control>
    Control* Place(TRect bounds, const std::string& name) {
        auto* control = new Control(form);
        control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        control->SetParent(form);
        control->OnClick = [this, name](TObject*) { log.push_back(name); };
        return control;
    }

    PixelSection Shot() {
        Pump();
        return screen_.Screenshot(form->Handle());
    }

    TForm* form = nullptr;
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

// ---- radio buttons -------------------------------------------------------------------------------

struct SiblingCase {
    const char* name;
    uint8_t secondGroup;
    bool firstStaysChecked;
};

class RadioSiblings : public OptionControls, public ::testing::WithParamInterface<SiblingCase> {};

TEST_P(RadioSiblings, CheckingOneUnchecksOnlyItsOwnGroupWithoutAClickForTheUncheckedOne) {
    auto* first = Place<TSeCustomRadioButton>({10, 10, 108, 30}, "first");
    auto* second = Place<TSeCustomRadioButton>({10, 40, 108, 60}, "second");
    second->SetGroupIndex(GetParam().secondGroup);
    first->SetChecked(true);
    first->SetChecked(true);  // already checked: nothing
    second->SetChecked(true);
    EXPECT_EQ(first->Checked(), GetParam().firstStaysChecked);
    EXPECT_TRUE(second->Checked());
    EXPECT_EQ(log, (Log{"first", "second"}));
    // Only a checked button is a tab stop.
    EXPECT_EQ(first->TabStop(), first->Checked());
}

INSTANTIATE_TEST_SUITE_P(Cases, RadioSiblings,
                         ::testing::Values(SiblingCase{"SameGroup", 0, false}, SiblingCase{"OtherGroup", 1, true}),
                         [](const auto& info) { return info.param.name; });

TEST_F(OptionControls, PressingAnUnfocusedRadioButtonChecksItOnThePressAndTheReleaseChangesNothing) {
    auto* other = Place<TSeCustomRadioButton>({10, 40, 108, 60}, "other");
    auto* radio = Place<TSeCustomRadioButton>({10, 10, 108, 30}, "radio");
    other->SetChecked(true);
    log.clear();
    Pump();
    screen_.MoveMouseTo(radio->Handle(), {5, 5});
    screen_.PressButton();
    Pump();
    EXPECT_TRUE(radio->Checked());
    EXPECT_TRUE(radio->Pressing());
    EXPECT_FALSE(other->Checked());
    EXPECT_EQ(log, Log{"radio"});
    screen_.ReleaseButton();
    Pump();
    EXPECT_FALSE(radio->Pressing());
    EXPECT_EQ(log, Log{"radio"});
}

TEST_F(OptionControls, ReleasingOutsideEndsThePressedLookAndLeavesTheValue) {
    auto* radio = Place<TSeCustomRadioButton>({10, 10, 108, 30}, "radio");
    auto* box = Place<TSeCustomCheckBox>({10, 40, 108, 60}, "box");
    Pump();
    for (TSeCustomOptionControl* control : {static_cast<TSeCustomOptionControl*>(radio),
                                            static_cast<TSeCustomOptionControl*>(box)}) {
        screen_.MoveMouseTo(control->Handle(), {5, 5});
        screen_.PressButton();
        Pump();
        EXPECT_TRUE(control->Pressing());
        screen_.MoveMouseTo(form->Handle(), {300, 150});
        screen_.ReleaseButton();
        Pump();
        EXPECT_FALSE(control->Pressing());
    }
    // The radio button was checked by taking the focus; the check box did not toggle.
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(box->State(), cbUnchecked);
    EXPECT_EQ(log, Log{"radio"});
}

TEST_F(OptionControls, TabAndAcceleratorReachARadioButtonAndCheckIt) {
    auto* box = Place<TSeCustomCheckBox>({10, 10, 108, 30}, "box");
    auto* radio = Place<TSeCustomRadioButton>({10, 40, 108, 60}, "radio");
    radio->SetCaption(u"&Beta");
    radio->SetTabStop(true);
    box->SetFocus();
    Pump();
    screen_.TypeText("b");
    Pump();
    EXPECT_TRUE(radio->Focused());
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(log, Log{"radio"});
}

// ---- check boxes ---------------------------------------------------------------------------------

struct CycleCase {
    const char* name;
    bool allowGrayed;
    std::vector<TCheckBoxState> states;  // after each click
};

class CheckBoxClicks : public OptionControls, public ::testing::WithParamInterface<CycleCase> {};

TEST_P(CheckBoxClicks, CycleThroughTheStatesAndReportEveryChange) {
    auto* box = Place<TSeCustomCheckBox>({10, 10, 108, 30}, "box");
    box->SetAllowGrayed(GetParam().allowGrayed);
    Pump();
    std::vector<TCheckBoxState> seen;
    for (size_t i = 0; i < GetParam().states.size(); ++i) {
        screen_.ClickAt(box->Handle(), {5, 5});
        Pump();
        seen.push_back(box->State());
    }
    EXPECT_EQ(seen, GetParam().states);
    EXPECT_EQ(log.size(), GetParam().states.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckBoxClicks,
    ::testing::Values(CycleCase{"ThreeStates", true, {cbGrayed, cbChecked, cbUnchecked, cbGrayed}},
                      CycleCase{"TwoStates", false, {cbChecked, cbUnchecked, cbChecked}}),
    [](const auto& info) { return info.param.name; });

TEST_F(OptionControls, SpaceTogglesOnReleaseAndTheReleaseGoesNoFurther) {
    auto* box = Place<TSeCustomCheckBox>({10, 10, 108, 30}, "box");
    int keyUps = 0;
    box->OnKeyUp = [&](TObject*, uint16_t&, TShiftState) { ++keyUps; };
    box->SetFocus();
    Pump();
    screen_.KeyDown(VK_SPACE);
    Pump();
    EXPECT_TRUE(box->Pressing());
    EXPECT_EQ(box->State(), cbUnchecked);
    screen_.KeyUp(VK_SPACE);
    Pump();
    EXPECT_FALSE(box->Pressing());
    EXPECT_EQ(box->State(), cbChecked);
    EXPECT_EQ(keyUps, 0);
}

TEST_F(OptionControls, StateWrittenByCodeIsReportedExceptWhileLoading) {
    auto* box = Place<TSeCustomCheckBox>({10, 10, 108, 30}, "box");
    box->SetState(cbGrayed);
    box->SetState(cbGrayed);
    EXPECT_EQ(log, Log{"box"});
    LoadStoredForm(*form, [&] {
        box->SetChecked(true);
        auto* radio = Place<TSeCustomRadioButton>({10, 40, 108, 60}, "radio");
        radio->SetChecked(true);
    });
    EXPECT_EQ(log, Log{"box"});
    EXPECT_TRUE(box->Checked());
}

// ---- painting ------------------------------------------------------------------------------------

// The classic mark drawn alone with the given frame-control state, on clBtnFace.
// The classic mark drawn alone with the given frame-control state at (left, 3) of a surface the
// size of the control (the grayed mark's dither follows the DC's origin).
std::unique_ptr<TseBitmap> ReferenceMark(unsigned state, int left = 0) {
    auto mark = std::make_unique<TseBitmap>();
    mark->SetSize(98, 20);
    mark->Clear(PixelOf(clBtnFace) | 0xFF000000u);
    TRect r{left, 3, left + 13, 16};
    DrawFrameControl(mark->DC(), &r, DFC_BUTTON, state);
    return mark;
}

// Differences between the 13 x 13 mark of the reference at (left, 3) and the shot at the control's.
int MarkDifferences(const PixelSection& shot, TPoint control, const std::unique_ptr<TseBitmap>& mark, int left = 0) {
    int n = 0;
    for (int y = 3; y < 16; ++y) {
        for (int x = left; x < left + 13; ++x) {
            n += ((shot.At(control.X + x, control.Y + y) ^ mark->ReadPixel(x, y)) & 0xFFFFFFu) != 0;
        }
    }
    return n;
}

int Luminance(uint32_t pixel) { return (((pixel >> 16) & 255) * 3 + ((pixel >> 8) & 255) * 6 + (pixel & 255)) / 10; }

struct MarkCase {
    const char* name;
    bool radio;
    TCheckBoxState state;
    bool enabled;
    unsigned frameState;
};

class OptionMarks : public OptionControls, public ::testing::WithParamInterface<MarkCase> {};

TEST_P(OptionMarks, AreTheClassicFrameControlOfTheirState) {
    const MarkCase& c = GetParam();
    TSeCustomOptionControl* control = nullptr;
    if (c.radio) {
        auto* radio = Place<TSeCustomRadioButton>({20, 20, 118, 40}, "radio");
        radio->SetChecked(c.state == cbChecked);
        control = radio;
    } else {
        auto* box = Place<TSeCustomCheckBox>({20, 20, 118, 40}, "box");
        box->SetState(c.state);
        control = box;
    }
    control->SetEnabled(c.enabled);
    const PixelSection shot = Shot();
    // Left edge, centred in the 20-pixel height.
    EXPECT_EQ(MarkDifferences(shot, {20, 20}, ReferenceMark(c.frameState | (c.enabled ? 0u : DFCS_INACTIVE))), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionMarks,
    ::testing::Values(MarkCase{"RadioOff", true, cbUnchecked, true, DFCS_BUTTONRADIO},
                      MarkCase{"RadioOn", true, cbChecked, true, DFCS_BUTTONRADIO | DFCS_CHECKED},
                      MarkCase{"RadioOnDisabled", true, cbChecked, false, DFCS_BUTTONRADIO | DFCS_CHECKED},
                      MarkCase{"BoxOff", false, cbUnchecked, true, DFCS_BUTTONCHECK},
                      MarkCase{"BoxOn", false, cbChecked, true, DFCS_BUTTONCHECK | DFCS_CHECKED},
                      MarkCase{"BoxGrayed", false, cbGrayed, true, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE},
                      MarkCase{"BoxOffDisabled", false, cbUnchecked, false, DFCS_BUTTONCHECK}),
    [](const auto& info) { return info.param.name; });

TEST_F(OptionControls, RightJustifiedMarkSitsAtTheRightEdgeAndTheCaptionStartsTwoPixelsIn) {
    auto* box = Place<TSeCustomCheckBox>({20, 20, 118, 40}, "box");
    box->SetAlignment(ktaRightJustify);
    box->SetChecked(true);
    const PixelSection shot = Shot();
    EXPECT_EQ(MarkDifferences(shot, {20, 20}, ReferenceMark(DFCS_BUTTONCHECK | DFCS_CHECKED, 98 - 13), 98 - 13), 0);
    // The first column of ink of "CheckBox" is at x = 2 of the control (the C's round side).
    int firstInk = -1;
    for (int x = 20; x < 60 && firstInk < 0; ++x) {
        for (int y = 20; y < 40; ++y) {
            if (Luminance(shot.At(x, y)) < 120) firstInk = x - 20;
        }
    }
    EXPECT_GE(firstInk, 2);
    EXPECT_LE(firstInk, 3);
}

TEST_F(OptionControls, DisabledCaptionIsEmbossedInHighlightAndShadow) {
    auto* box = Place<TSeCustomCheckBox>({20, 20, 118, 40}, "box");
    box->SetEnabled(false);
    const PixelSection shot = Shot();
    const TRect caption{20 + 18, 20, 118, 40};
    // Ink no darker than the shadow grey, and a highlight copy brighter than the face.
    int darkest = 255, brightest = 0;
    for (int y = caption.Top; y < caption.Bottom; ++y) {
        for (int x = caption.Left; x < caption.Right; ++x) {
            darkest = std::min(darkest, Luminance(shot.At(x, y)));
            brightest = std::max(brightest, Luminance(shot.At(x, y)));
        }
    }
    EXPECT_EQ(darkest, Luminance(PixelOf(clBtnShadow)));
    EXPECT_EQ(brightest, 255);
}

TEST_F(OptionControls, FocusRectangleSurroundsTheCaptionOnly) {
    auto* box = Place<TSeCustomCheckBox>({20, 20, 118, 40}, "box");
    const PixelSection before = Shot();
    box->SetFocus();
    const PixelSection after = Shot();
    TRect changed;
    for (int y = 20; y < 40; ++y) {
        for (int x = 20; x < 118; ++x) {
            if (((before.At(x, y) ^ after.At(x, y)) & 0xFFFFFFu) != 0) changed = UnionRect(changed, {x, y, x + 1, y + 1});
        }
    }
    // Caption "CheckBox" from x = 13 + 5 = 18: the dotted frame starts one pixel left of it and
    // never reaches the mark.
    EXPECT_EQ(changed.Left, 20 + 17);
    // The 13-pixel line centred in 20 rows, grown by 2 above and below.
    EXPECT_EQ(changed.Top, 20 + 1);
    EXPECT_EQ(changed.Bottom, 20 + 18);
}

}  // namespace
}  // namespace se
