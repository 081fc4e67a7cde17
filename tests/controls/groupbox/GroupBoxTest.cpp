// The group box's etched frame and caption gap checked on the main window's panels, its disabled
// look and children, and the caption check box that enables and disables its contents.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/groupbox/GroupBox.h"
#include "tests/controls/foundation/FaceCounter.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;
using vcl::testing_support::Mismatches;
using vcl::testing_support::PixelOf;

using CountingGroupBox = testing_support::FaceCounter<TSeSkinGroupBox>;

class GroupBox : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form = NewForm({50, 50, 650, 350});
        form->SetColor(clBtnFace);
    }

    CountingGroupBox* Panel(const std::u16string& caption, TRect bounds = Bounds(112, 8, 457, 97)) {
        auto* box = new CountingGroupBox(form);
        box->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        box->SetPerformance(kspNoBuffer);
        box->SetCaption(caption);
        box->SetParent(form);
        Pump();
        return box;
    }

    template <typename Control = TSeCustomCheckBox>
    Control* Child(TWinControl* parent, int top) {
        auto* child = new Control(parent);
        // Opaque, so its paints do not ask the box for its background.
        child->SetTransparent(false);
        child->SetBounds(20, top, 90, 20);
        child->SetParent(parent);
        return child;
    }

    PixelSection Shot() {
        Pump();
        return screen_.Screenshot(form->Handle());
    }

    TForm* form = nullptr;
};

struct GapCase {
    const char* name;
    std::u16string caption;
};

class CaptionGap : public GroupBox, public ::testing::WithParamInterface<GapCase> {};

// The port panel: the top line is open from x = 9 to x = 15 + the caption's width, and the frame
// starts half a line below the top, also without a caption.
TEST_P(CaptionGap, OpensTheTopLineOverTheCaptionOnly) {
    const std::u16string& caption = GetParam().caption;
    auto* box = Panel(caption);
    const int textWidth = TScreenTextMeasure(box->Font()).TextWidth(caption);
    const int lineHeight = TScreenTextMeasure(box->Font()).TextHeight(caption);
    const PixelSection shot = Shot();
    const int left = box->Left(), top = box->Top() + lineHeight / 2 + 1, right = box->Left() + box->Width();
    const int gapFrom = caption.empty() ? 12 : 9, gapTo = caption.empty() ? 12 : 15 + textWidth;
    const uint32_t light = PixelOf(clBtnHighlight), dark = PixelOf(clBtnShadow);
    // Shadow one row above the highlight, both open over the caption.
    EXPECT_EQ(Mismatches(shot, {left + 2, top - 1, left + gapFrom, top}, dark), 0);
    EXPECT_EQ(Mismatches(shot, {left + 3, top, left + gapFrom, top + 1}, light), 0);
    EXPECT_EQ(Mismatches(shot, {left + gapTo, top - 1, right - 3, top}, dark), 0);
    EXPECT_EQ(Mismatches(shot, {left + gapTo, top, right - 3, top + 1}, light), 0);
    EXPECT_EQ(Mismatches(shot, {left + gapFrom, top, left + gapTo, top + 1}, light), gapTo - gapFrom);
    // Etched sides: shadow outside on the left and top, inside on the right and bottom; where the
    // two paths cross, the shadow drawn second wins.
    const int bottom = box->Top() + box->Height();
    EXPECT_EQ(Mismatches(shot, {left + 2, top, left + 3, bottom - 3}, dark), 0);
    EXPECT_EQ(Mismatches(shot, {left + 3, top + 1, left + 4, bottom - 3}, light), 0);
    EXPECT_EQ(Mismatches(shot, {left + 3, bottom - 3, right - 2, bottom - 2}, dark), 0);
    EXPECT_EQ(Mismatches(shot, {right - 3, top, right - 2, bottom - 3}, dark), 0);
    EXPECT_EQ(Mismatches(shot, {right - 2, top, right - 1, bottom - 1}, light), 0);
    EXPECT_EQ(Mismatches(shot, {left + 3, bottom - 2, right - 1, bottom - 1}, light), 0);
    // Transparent: the form's face shows above the frame.
    EXPECT_EQ(Mismatches(shot, {left, box->Top(), left + 2, top - 1}, PixelOf(clBtnFace)), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, CaptionGap,
                         ::testing::Values(GapCase{"Chinese", u"通讯端口设置"}, GapCase{"English", u" Port Set "},
                                           GapCase{"Empty", u""}),
                         [](const auto& info) { return info.param.name; });

TEST_F(GroupBox, CaptionIsCentredInItsGap) {
    auto* box = Panel(u"通讯端口设置");
    const int textWidth = TScreenTextMeasure(box->Font()).TextWidth(box->Caption());
    const PixelSection shot = Shot();
    TRect ink;
    for (int y = box->Top(); y < box->Top() + 14; ++y) {
        for (int x = box->Left() + 9; x < box->Left() + 15 + textWidth + 3; ++x) {
            const uint32_t p = shot.At(x, y) & 0xFFFFFFu;
            if (p != (PixelOf(clBtnFace) & 0xFFFFFFu) && p != (PixelOf(clBtnHighlight) & 0xFFFFFFu) &&
                p != (PixelOf(clBtnShadow) & 0xFFFFFFu)) {
                ink = UnionRect(ink, {x, y, x + 1, y + 1});
            }
        }
    }
    ASSERT_FALSE(ink.IsEmpty());
    // The text cell is (12, 12 + width); glyphs keep a column or two of their cell free.
    EXPECT_GE(ink.Left - box->Left(), 12);
    EXPECT_LE(ink.Right - box->Left(), 12 + textWidth);
    EXPECT_LE(ink.Left - box->Left() - 12, 2);
}

TEST_F(GroupBox, DisabledBoxEmbossesItsCaptionDisablesItsChildrenAndReenablesThemAll) {
    auto* box = Panel(u"发送操作");
    auto* first = Child(box, 30);
    auto* second = Child(box, 55);
    second->SetEnabled(false);
    Pump();
    const int faces = box->Faces;
    box->SetEnabled(false);
    Pump();
    // Changing Enabled does not by itself repaint the box.
    EXPECT_EQ(box->Faces, faces);
    EXPECT_FALSE(first->Enabled());
    box->Invalidate();
    const PixelSection shot = Shot();
    int lights = 0, blacks = 0;
    for (int y = box->Top(); y < box->Top() + 14; ++y) {
        for (int x = box->Left() + 12; x < box->Left() + 70; ++x) {
            lights += (shot.At(x, y) & 0xFFFFFFu) == 0xFFFFFFu;
            blacks += (shot.At(x, y) & 0xFFFFFFu) == 0;
        }
    }
    EXPECT_GT(lights, 5);
    EXPECT_EQ(blacks, 0);
    box->SetEnabled(true);
    EXPECT_TRUE(first->Enabled());
    EXPECT_TRUE(second->Enabled());
}

TEST_F(GroupBox, ItsAcceleratorFocusesItsFirstChild) {
    auto* outside = Child(form, 250);
    auto* box = Panel(u"&Transmit");
    auto* first = Child(box, 30);
    Child(box, 55);
    outside->SetFocus();
    Pump();
    screen_.TypeText("t");
    Pump();
    EXPECT_TRUE(first->Focused());
}

TEST_F(GroupBox, WritingTheSameCaptionDoesNothing) {
    auto* box = Panel(u"发送操作");
    const int faces = box->Faces;
    box->SetCaption(u"发送操作");
    Pump();
    EXPECT_EQ(box->Faces, faces);
    box->SetCaption(u"Transmit");
    Pump();
    EXPECT_EQ(box->Faces, faces + 1);
}

TEST_F(GroupBox, ClientAreaStartsBelowTheCaptionBand) {
    auto* box = Panel(u"发送操作", Bounds(8, 112, 561, 193));
    const int line = TScreenTextMeasure(box->Font()).TextHeight(box->Caption());
    EXPECT_EQ(box->ClientRect(), (TRect{0, line, 561, 193}));
    box->SetUseCheckBox(true);
    EXPECT_EQ(box->ClientRect(), (TRect{0, box->CheckBox()->Height(), 561, 193}));
}

TEST_F(GroupBox, CaptionCheckBoxEnablesAndDisablesTheContents) {
    auto* box = Panel(u"Options");
    auto* child = Child(box, 40);
    std::vector<std::string> log;
    box->OnClick = [&](TObject*) { log.push_back("click"); };
    box->OnCheckBoxClick = [&](TObject*) { log.push_back("check box"); };
    box->SetUseCheckBox(true);
    TSeCustomCheckBox* check = box->CheckBox();
    ASSERT_NE(check, nullptr);
    log.clear();
    // Placed at the caption margin, as wide as mark, spacing, caption and 6 pixels.
    const int textWidth = TScreenTextMeasure(check->Font()).TextWidth(u"Options");
    EXPECT_EQ(check->BoundsRect(), Bounds(12, 0, 13 + 5 + textWidth + 6, 20));
    EXPECT_TRUE(check->Checked());

    box->SetChecked(false);
    EXPECT_TRUE(box->Enabled());
    EXPECT_FALSE(child->Enabled());
    EXPECT_TRUE(check->Enabled());

    Pump();
    screen_.ClickAt(check->Handle(), {5, 10});
    Pump();
    EXPECT_TRUE(box->Checked());
    EXPECT_TRUE(child->Enabled());
    // Writing Checked went through the check box too, so both were reported twice.
    EXPECT_EQ(log, (std::vector<std::string>{"click", "check box", "click", "check box"}));
}

TEST_F(GroupBox, TurningTheCheckBoxOffDestroysIt) {
    auto* box = Panel(u"Options");
    box->SetCheckBoxAlignment(ktaRightJustify);
    box->SetUseCheckBox(true);
    EXPECT_EQ(box->CheckBox()->Alignment(), ktaRightJustify);
    EXPECT_EQ(box->ControlCount(), 1);
    box->SetUseCheckBox(false);
    EXPECT_EQ(box->CheckBox(), nullptr);
    EXPECT_EQ(box->ControlCount(), 0);
    EXPECT_EQ(box->CheckBoxAlignment(), ktaRightJustify);
    // One deleted from outside is forgotten too.
    box->SetUseCheckBox(true);
    delete box->CheckBox();
    EXPECT_EQ(box->CheckBox(), nullptr);
    EXPECT_TRUE(box->Enabled());
    box->SetCaptionMargin(20);
}

}  // namespace
}  // namespace se
