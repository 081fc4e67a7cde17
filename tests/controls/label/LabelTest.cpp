// The label: automatic size, alignment and layout, the "&" rule, the engraved disabled look, the
// background, its accelerator and its focus control.

#include <gtest/gtest.h>

#include <string>

#include "controls/label/Label.h"
#include "controls/surface/Bitmap.h"
#include "controls/surface/Primitives.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Form.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;
using vcl::testing_support::Mismatches;
using vcl::testing_support::PixelOf;

class Label : public vcl::testing_support::GuiTest {
protected:
    TSeSkinLabel* NewLabel(TWinControl* parent, int left, int top, std::u16string_view caption) {
        auto* label = new TSeSkinLabel(parent);
        label->SetBounds(left, top, 65, 17);
        label->SetParent(parent);
        label->SetCaption(caption);
        return label;
    }
    PixelSection Repainted(TForm* form) {
        InvalidateRect(form->Handle(), nullptr, true);
        Pump();
        return screen_.Screenshot(form->Handle());
    }
    // The size DrawText gives the text in the label's font.
    TSize Measured(const TFont& font, std::u16string_view text, unsigned flags = 0) {
        HDC dc = GetDC(nullptr);
        TCanvas canvas;
        canvas.SetHandle(dc);
        canvas.Font().Assign(font);
        TRect r{0, 0, 0, 0};
        DrawWideText(canvas, text, r, DT_CALCRECT | DT_EXPANDTABS | flags);
        canvas.SetHandle(nullptr);
        ReleaseDC(nullptr, dc);
        return {r.Right, r.Bottom};
    }
    // The pixels of area that are not background, as a set of points relative to area.
    std::vector<TPoint> Ink(const PixelSection& shot, const TRect& area, uint32_t background) {
        std::vector<TPoint> ink;
        for (int y = area.Top; y < area.Bottom; ++y) {
            for (int x = area.Left; x < area.Right; ++x) {
                if ((shot.At(x, y) & 0xFFFFFFu) != (background & 0xFFFFFFu)) ink.push_back({x - area.Left, y - area.Top});
            }
        }
        return ink;
    }
};

TEST_F(Label, AutoSizeTakesTheTextsSizeAndEmptyCaptionsMeasureOneSpace) {
    TForm* form = NewForm();
    struct Case {
        std::u16string caption;
        std::u16string measuredAs;
        bool showAccelChar;
    };
    const Case cases[] = {
        {u"", u" ", true},
        {u"Port", u"Port", true},
        {u"串口号", u"串口号", true},
        {u"&", u"& ", true},  // an underlined space
        {u"&", u"&", false},
        {u"A&&B", u"A&&B", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(rtl::Utf16ToUtf8(c.caption));
        auto* label = new TSeSkinLabel(form);
        label->SetShowAccelChar(c.showAccelChar);
        label->SetParent(form);
        label->SetCaption(u"x");
        label->SetCaption(c.caption);
        const TSize size = Measured(label->Font(), c.measuredAs, c.showAccelChar ? 0u : DT_NOPREFIX);
        EXPECT_EQ(label->Width(), size.cx);
        EXPECT_EQ(label->Height(), size.cy);
        EXPECT_GT(label->Height(), 0);
        delete label;
    }
}

TEST_F(Label, ARightAlignedAutoSizedLabelKeepsItsRightEdge) {
    TForm* form = NewForm();
    TSeSkinLabel* label = NewLabel(form, 50, 10, u"A long caption");
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption(u"Short");
    EXPECT_EQ(label->Left() + label->Width(), right);
    EXPECT_GT(label->Left(), 50);
    // Left-aligned ones keep their left edge.
    TSeSkinLabel* other = NewLabel(form, 50, 40, u"A long caption");
    other->SetCaption(u"Short");
    EXPECT_EQ(other->Left(), 50);
    // Without AutoSize the bounds stay.
    TSeSkinLabel* fixed = NewLabel(form, 50, 70, u"A");
    fixed->SetAutoSize(false);
    fixed->SetBounds(50, 70, 120, 20);
    fixed->SetCaption(u"A much longer caption than before");
    EXPECT_EQ(fixed->Width(), 120);
}

TEST_F(Label, LayoutPlacesTheTextTopCentreOrBottom) {
    TForm* form = NewForm();
    form->SetColor(clWhite);
    TSeSkinLabel* label = NewLabel(form, 10, 10, u"Baud");
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 60, 20);
    const int line = Measured(label->Font(), u"Baud").cy;
    struct Case {
        TTextLayout layout;
        int offset;
    };
    const Case cases[] = {{tlTop, 0}, {tlCenter, (20 - line) / 2}, {tlBottom, 20 - line}};
    label->SetLayout(tlTop);
    const auto top = Ink(Repainted(form), {10, 10, 70, 30}, PixelOf(clWhite));
    ASSERT_FALSE(top.empty());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        label->SetLayout(c.layout);
        auto ink = Ink(Repainted(form), {10, 10, 70, 30}, PixelOf(clWhite));
        for (TPoint& p : ink) p.Y -= c.offset;
        EXPECT_EQ(ink, top);
    }
    EXPECT_EQ(line, 13);  // the classic 8-point line: tlCenter starts 3 pixels down
}

TEST_F(Label, TheAmpersandUnderlinesItsCharacterAndADoubledOneDrawsOnce) {
    TForm* form = NewForm();
    form->SetColor(clWhite);
    TSeSkinLabel* marked = NewLabel(form, 10, 10, u"&Port");
    TSeSkinLabel* plain = NewLabel(form, 10, 40, u"Port");
    TSeSkinLabel* doubled = NewLabel(form, 10, 70, u"A&&B");
    auto* literal = new TSeSkinLabel(form);
    literal->SetShowAccelChar(false);
    literal->SetBounds(10, 100, 65, 17);
    literal->SetParent(form);
    literal->SetCaption(u"A&B");
    const PixelSection shot = Repainted(form);
    const auto markedInk = Ink(shot, {10, 10, 80, 30}, PixelOf(clWhite));
    const auto plainInk = Ink(shot, {10, 40, 80, 60}, PixelOf(clWhite));
    // The same letters, plus an underline below the P.
    EXPECT_GT(markedInk.size(), plainInk.size());
    for (TPoint p : plainInk) EXPECT_NE(std::find(markedInk.begin(), markedInk.end(), p), markedInk.end());
    // "A&&B" and, without the prefix rule, "A&B" both show "A&B".
    EXPECT_EQ(Ink(shot, {10, 70, 80, 90}, PixelOf(clWhite)), Ink(shot, {10, 100, 80, 120}, PixelOf(clWhite)));
    EXPECT_EQ(doubled->Width(), literal->Width());
    (void)marked;
    (void)plain;
}

TEST_F(Label, ADisabledLabelIsEngraved) {
    TForm* form = NewForm();
    form->SetColor(clWhite);
    TSeSkinLabel* label = NewLabel(form, 10, 10, u"Data bits");
    label->SetEnabled(false);
    const PixelSection shot = Repainted(form);
    // What it should show: the highlight copy one pixel down and right, the shadow copy over it.
    TseBitmap expected;
    expected.SetSize(label->Width(), label->Height());
    TCanvas canvas;
    canvas.SetHandle(expected.DC());
    FillRectColor(canvas, {0, 0, label->Width(), label->Height()}, clWhite);
    canvas.Font().Assign(label->Font());
    canvas.Font().SetColor(clBtnHighlight);
    TRect r{1, 1, label->Width() + 1, label->Height() + 1};
    DrawWideText(canvas, u"Data bits", r, DT_EXPANDTABS);
    canvas.Font().SetColor(clBtnShadow);
    r = {0, 0, label->Width(), label->Height()};
    DrawWideText(canvas, u"Data bits", r, DT_EXPANDTABS);
    canvas.SetHandle(nullptr);
    int wrong = 0, ink = 0;
    for (int y = 0; y < label->Height(); ++y) {
        for (int x = 0; x < label->Width(); ++x) {
            const uint32_t want = expected.ReadPixel(x, y) & 0xFFFFFFu;
            wrong += (shot.At(10 + x, 10 + y) & 0xFFFFFFu) != want;
            ink += want != (PixelOf(clWhite) & 0xFFFFFFu);
        }
    }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(ink, 20);
    // Enabled again: the text in the font's colour.
    label->SetEnabled(true);
    const PixelSection again = Repainted(form);
    EXPECT_GT(vcl::testing_support::Differences(shot, again, {10, 10, 10 + label->Width(), 10 + label->Height()}), 20);
}

TEST_F(Label, OnlyAnOpaqueLabelPaintsItsColour) {
    TForm* form = NewForm();
    form->SetColor(clTeal);
    TSeSkinLabel* label = NewLabel(form, 10, 10, u"");
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 40, 20);
    label->SetColor(clYellow);
    EXPECT_EQ(Mismatches(Repainted(form), {10, 10, 50, 30}, PixelOf(clTeal)), 0);
    label->SetTransparent(false);
    EXPECT_EQ(Mismatches(Repainted(form), {10, 10, 50, 30}, PixelOf(clYellow)), 0);
}

TEST_F(Label, WritingTheSameValuesNeitherResizesNorRepaints) {
    TForm* form = NewForm();
    TSeSkinLabel* label = NewLabel(form, 10, 10, u"Stop bits");
    Pump();
    const int presents = screen_.PresentCount(form->Handle());
    const TRect bounds = label->BoundsRect();
    label->SetCaption(u"Stop bits");
    label->SetAlignment(taLeftJustify);
    label->SetLayout(tlTop);
    label->SetWordWrap(false);
    label->SetShowAccelChar(true);
    label->SetAutoSize(true);
    label->SetTransparent(true);
    Pump();
    EXPECT_EQ(screen_.PresentCount(form->Handle()), presents);
    EXPECT_EQ(label->BoundsRect(), bounds);
    label->SetCaption(u"Parity");
    Pump();
    EXPECT_GT(screen_.PresentCount(form->Handle()), presents);
}

TEST_F(Label, ItsAcceleratorFocusesItsControlWhichMayGoAway) {
    TForm* form = NewForm();
    TSeSkinLabel* label = NewLabel(form, 10, 10, u"&Baud");
    auto* target = new TCustomControl(form);
    target->SetBounds(10, 40, 50, 20);
    target->SetTabStop(true);
    target->SetParent(form);
    auto* other = new TCustomControl(form);
    other->SetBounds(10, 70, 50, 20);
    other->SetTabStop(true);
    other->SetParent(form);
    label->SetFocusControl(target);
    other->SetFocus();
    Pump();
    screen_.PressKey('B', ssAlt);
    Pump();
    EXPECT_TRUE(target->Focused());
    // Not while the accelerator character is shown as itself.
    other->SetFocus();
    label->SetShowAccelChar(false);
    screen_.PressKey('B', ssAlt);
    Pump();
    EXPECT_TRUE(other->Focused());
    delete target;
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(Label, TheToolkitTextBecomesTheCaption) {
    TForm* form = NewForm();
    TSeSkinLabel* label = NewLabel(form, 10, 10, u"");
    label->SetText("发送");
    EXPECT_EQ(label->Caption(), u"发送");
    EXPECT_EQ(label->Width(), Measured(label->Font(), u"发送").cx);
    EXPECT_EQ(label->SkinObject(), "Label");
    EXPECT_FALSE(label->SkinAvailable());
}

}  // namespace
}  // namespace se
