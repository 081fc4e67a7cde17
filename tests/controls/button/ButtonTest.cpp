// The push button: its classic face in each state, the mouse and the keys that press it, the
// default and cancel buttons, accelerators, kinds and glyph strips.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/button/Button.h"
#include "controls/surface/Bitmap.h"
#include "controls/surface/Primitives.h"
#include "platform/draw/Gdi.h"
#include "platform/rtl/Exception.h"
#include "platform/toolkit/Form.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;
using vcl::testing_support::Mismatches;
using vcl::testing_support::PixelOf;

uint32_t Rgb(uint32_t pixel) { return pixel & 0xFFFFFFu; }
uint32_t Rgb(TColor color) { return PixelOf(color) & 0xFFFFFFu; }

class Button : public vcl::testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = NewForm({0, 0, 300, 200});
        // Something else to hold the focus.
        other_ = new TCustomControl(form_);
        other_->SetBounds(200, 150, 40, 20);
        other_->SetTabStop(true);
        other_->SetParent(form_);
    }
    TSeSkinButton* NewButton(TRect bounds, std::u16string_view caption) {
        auto* button = new TSeSkinButton(form_);
        button->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        button->SetParent(form_);
        button->SetCaption(caption);
        button->OnClick = [this, button](TObject* sender) {
            EXPECT_EQ(sender, button);
            ++clicks_;
        };
        return button;
    }
    PixelSection Shot() {
        Pump();
        return screen_.Screenshot(form_->Handle());
    }
    TForm* form_ = nullptr;
    TCustomControl* other_ = nullptr;
    int clicks_ = 0;
};

// One frame line of the face: the colours along the left, top, right and bottom edges of the
// ring `inset` pixels in from the button's edges (the middle of each edge).
struct Edge {
    int inset;
    TColor left, top, right, bottom;
};

struct FaceCase {
    const char* name;
    std::function<void(TSeSkinButton&)> arrange;
    std::vector<Edge> edges;
    bool focusRect;
};

class ButtonFace : public Button {};

TEST_F(ButtonFace, ClassicFramesInEachState) {
    const FaceCase cases[] = {
        {"normal: highlight and black outside, face colour and shadow inside",
         [](TSeSkinButton&) {},
         {{0, clBtnHighlight, clBtnHighlight, clBlack, clBlack}, {1, clBtnFace, clBtnFace, clBtnShadow, clBtnShadow}},
         false},
        {"focused: a black frame outermost, the face one pixel smaller, the focus rectangle",
         [](TSeSkinButton& b) { b.SetFocus(); },
         {{0, clBlack, clBlack, clBlack, clBlack},
          {1, clBtnHighlight, clBtnHighlight, clBlack, clBlack},
          {2, clBtnFace, clBtnFace, clBtnShadow, clBtnShadow}},
         true},
        {"the default button while a non-button has the focus: the black frame, no focus rectangle",
         [](TSeSkinButton& b) { b.SetDefault(true); },
         {{0, clBlack, clBlack, clBlack, clBlack}, {1, clBtnHighlight, clBtnHighlight, clBlack, clBlack}},
         false},
        {"pressed: the black frame, then one shadow frame",
         [this](TSeSkinButton& b) {
             screen_.MoveMouseTo(b.Handle(), {30, 12});
             screen_.PressButton();
         },
         {{0, clBlack, clBlack, clBlack, clBlack}, {1, clBtnShadow, clBtnShadow, clBtnShadow, clBtnShadow}, {2, clBtnFace, clBtnFace, clBtnFace, clBtnFace}},
         true},
    };
    for (const FaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        other_->SetFocus();
        TSeSkinButton* button = NewButton({20, 20, 85, 45}, u"");  // 65 x 25, no caption
        c.arrange(*button);
        const PixelSection shot = Shot();
        for (const Edge& e : c.edges) {
            SCOPED_TRACE("inset " + std::to_string(e.inset));
            EXPECT_EQ(Rgb(shot.At(20 + e.inset, 32)), Rgb(e.left));
            EXPECT_EQ(Rgb(shot.At(52, 20 + e.inset)), Rgb(e.top));
            EXPECT_EQ(Rgb(shot.At(84 - e.inset, 32)), Rgb(e.right));
            EXPECT_EQ(Rgb(shot.At(52, 44 - e.inset)), Rgb(e.bottom));
        }
        // The outer frame's corners: top-left takes the top-left colour, the other three the
        // bottom-right one.
        const Edge& outer = c.edges.front();
        EXPECT_EQ(Rgb(shot.At(20, 20)), Rgb(outer.left));
        EXPECT_EQ(Rgb(shot.At(84, 20)), Rgb(outer.right));
        EXPECT_EQ(Rgb(shot.At(20, 44)), Rgb(outer.bottom));
        EXPECT_EQ(Rgb(shot.At(84, 44)), Rgb(outer.bottom));
        // The focus rectangle runs 4 pixels inside the edges, dotted.
        const int dots = 57 - Mismatches(shot, {24, 24, 81, 25}, PixelOf(clBtnFace));
        if (c.focusRect) {
            EXPECT_GT(57 - dots, 20);
        } else {
            EXPECT_EQ(Mismatches(shot, {24, 24, 81, 25}, PixelOf(clBtnFace)), 0);
        }
        screen_.ReleaseButton();
        Pump();
        delete button;
    }
}

TEST_F(ButtonFace, TheCaptionIsCentredAndEngravedWhenDisabled) {
    other_->SetFocus();
    TSeSkinButton* button = NewButton({20, 20, 85, 45}, u"打开串口");
    PixelSection shot = Shot();
    // The ink of the caption, inside the inner face.
    TRect ink;
    for (int y = 22; y < 43; ++y) {
        for (int x = 22; x < 83; ++x) {
            if (Rgb(shot.At(x, y)) != Rgb(clBtnFace)) ink = UnionRect(ink, {x, y, x + 1, y + 1});
        }
    }
    ASSERT_FALSE(ink.IsEmpty());
    // Centred in the 65 x 25 button, to a pixel.
    EXPECT_LE(std::abs((ink.Left - 20) - (85 - ink.Right)), 2);
    EXPECT_LE(std::abs((ink.Top - 20) - (45 - ink.Bottom)), 3);

    button->SetEnabled(false);
    shot = Shot();
    // What it should show: the highlight copy one pixel down and right, the shadow copy over it.
    TseBitmap expected;
    expected.SetSize(65, 25);
    TCanvas canvas;
    canvas.SetHandle(expected.DC());
    FillRectColor(canvas, {0, 0, 65, 25}, clBtnFace);
    canvas.Font().Assign(button->Font());
    const TSize text = canvas.TextExtent(u"打开串口");
    TRect t{0, 0, text.cx, text.cy};
    t = t.Offset((65 - text.cx) / 2, (25 - text.cy) / 2);
    canvas.Font().SetColor(clBtnHighlight);
    TRect h = t.Offset(1, 1);
    DrawWideText(canvas, u"打开串口", h, DT_CENTER);
    canvas.Font().SetColor(clBtnShadow);
    DrawWideText(canvas, u"打开串口", t, DT_CENTER);
    canvas.SetHandle(nullptr);
    int wrong = 0;
    for (int y = 3; y < 22; ++y) {
        for (int x = 3; x < 62; ++x) wrong += Rgb(shot.At(20 + x, 20 + y)) != Rgb(expected.ReadPixel(x, y));
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(Button, ThePressFollowsThePointerAndOnlyAReleaseInsideClicks) {
    TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"Send");
    Pump();
    screen_.MoveMouseTo(button->Handle(), {10, 10});
    screen_.PressButton();
    Pump();
    EXPECT_EQ(button->State(), kbsPressed);
    EXPECT_TRUE(button->Tracking());
    EXPECT_TRUE(button->HasFocus());
    screen_.MoveMouseTo(form_->Handle(), {150, 100});
    Pump();
    EXPECT_EQ(button->State(), kbsNormal);
    screen_.MoveMouseTo(button->Handle(), {5, 5});
    Pump();
    EXPECT_EQ(button->State(), kbsPressed);
    screen_.MoveMouseTo(form_->Handle(), {150, 100});
    screen_.ReleaseButton();
    Pump();
    EXPECT_EQ(clicks_, 0);
    EXPECT_FALSE(button->Tracking());
    EXPECT_EQ(button->State(), kbsNormal);
    screen_.ClickAt(button->Handle(), {10, 10});
    Pump();
    EXPECT_EQ(clicks_, 1);
    // A right-button release ends a left press and clicks.
    screen_.MoveMouseTo(button->Handle(), {10, 10});
    screen_.PressButton();
    screen_.PressButton(TMouseButton::Right);
    screen_.ReleaseButton(TMouseButton::Right);
    Pump();
    EXPECT_EQ(clicks_, 2);
    EXPECT_EQ(button->State(), kbsNormal);
    screen_.ReleaseButton();
    Pump();
    EXPECT_EQ(clicks_, 2);
    // A disabled button does not start a press.
    button->SetEnabled(false);
    screen_.ClickAt(button->Handle(), {10, 10});
    Pump();
    EXPECT_EQ(clicks_, 2);
}

TEST_F(Button, AReleaseThatClicksRepaintsReleasedEvenWhenTheHandlerRaises) {
    TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"Generate");
    RecordBoxes();
    button->OnClick = [](TObject*) { throw rtl::Exception("'x' is not a valid floating point value"); };
    Pump();
    screen_.MoveMouseTo(button->Handle(), {10, 10});
    screen_.PressButton();
    Pump();
    EXPECT_EQ(Rgb(Shot().At(21, 32)), Rgb(clBtnShadow));  // pressed: shadow inside the black frame
    screen_.ReleaseButton();
    Pump();
    EXPECT_EQ(button->State(), kbsNormal);
    EXPECT_EQ(Rgb(Shot().At(21, 32)), Rgb(clBtnHighlight));
}

struct KeyCase {
    const char* name;
    std::function<void(TSeSkinButton&)> arrange;
    uint16_t key;
    TShiftState shift;
    int clicks;
};

TEST_F(Button, KeysThatPressIt) {
    const KeyCase cases[] = {
        {"Space on the focused button", [](TSeSkinButton& b) { b.SetFocus(); }, VK_SPACE, 0, 1},
        {"Enter on the focused button, not a default one", [](TSeSkinButton& b) { b.SetFocus(); }, VK_RETURN, 0, 1},
        {"Ctrl+Enter on the focused button", [](TSeSkinButton& b) { b.SetFocus(); }, VK_RETURN, ssCtrl, 0},
        {"Enter with a default button while another control has the focus",
         [this](TSeSkinButton& b) {
             b.SetDefault(true);
             other_->SetFocus();
         },
         VK_RETURN, 0, 1},
        {"Enter with a non-default button while another control has the focus",
         [this](TSeSkinButton&) { other_->SetFocus(); }, VK_RETURN, 0, 0},
        {"Escape on a cancel button",
         [this](TSeSkinButton& b) {
             b.SetCancel(true);
             other_->SetFocus();
         },
         VK_ESCAPE, 0, 1},
        {"Escape on another button", [this](TSeSkinButton&) { other_->SetFocus(); }, VK_ESCAPE, 0, 0},
        {"Alt and the accelerator", [this](TSeSkinButton&) { other_->SetFocus(); }, 'O', ssAlt, 1},
        {"another letter", [this](TSeSkinButton&) { other_->SetFocus(); }, 'X', ssAlt, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(c.name);
        clicks_ = 0;
        TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"&Open");
        button->SetModalResult(7);
        form_->SetModalResult(0);
        c.arrange(*button);
        Pump();
        screen_.PressKey(c.key, c.shift);
        Pump();
        EXPECT_EQ(clicks_, c.clicks);
        EXPECT_EQ(form_->ModalResult(), c.clicks ? 7 : 0);
        form_->SetModalResult(0);
        delete button;
    }
}

TEST_F(Button, SpaceShowsThePressWhileHeldAndClicksOnTheRelease) {
    TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"Send");
    button->SetFocus();
    Pump();
    screen_.KeyDown(VK_SPACE);
    Pump();
    EXPECT_EQ(button->State(), kbsPressed);
    EXPECT_EQ(clicks_, 0);
    EXPECT_EQ(Rgb(Shot().At(21, 32)), Rgb(clBtnShadow));
    screen_.KeyUp(VK_SPACE);
    Pump();
    EXPECT_EQ(button->State(), kbsNormal);
    EXPECT_EQ(clicks_, 1);
}

TEST_F(Button, KindsSetTheirDefaultsAndGlyphs) {
    TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"OK");
    button->SetKind(bkOK);
    EXPECT_TRUE(button->Default());
    EXPECT_EQ(button->ModalResult(), 1);
    EXPECT_EQ(button->NumGlyphs(), 2);
    EXPECT_EQ(button->Glyph().Width(), 32);
    EXPECT_EQ(button->Glyph().Height(), 16);
    EXPECT_EQ(button->Caption(), u"OK");
    button->SetKind(bkCustom);
    EXPECT_EQ(button->Kind(), bkCustom);
    EXPECT_TRUE(button->Default());
    EXPECT_EQ(button->ModalResult(), 1);
    EXPECT_EQ(button->Glyph().Width(), 32);
    const std::pair<TBitBtnKind, int> results[] = {{bkCancel, 2}, {bkHelp, 0},  {bkYes, 6},   {bkNo, 7},     {bkClose, 0},
                                                   {bkAbort, 3},  {bkRetry, 4}, {bkIgnore, 5}, {bkAll, 8}};
    for (const auto& [kind, result] : results) {
        SCOPED_TRACE(static_cast<int>(kind));
        button->SetKind(kind);
        EXPECT_EQ(button->ModalResult(), result);
        EXPECT_EQ(button->Default(), kind == bkYes);
        const TBitmap* glyph = KindGlyph(kind);
        ASSERT_NE(glyph, nullptr);
        // Teal background in the bottom-left corner, a picture and its engraved copy.
        EXPECT_EQ(glyph->ScanLine(15)[0] & 0xFFFFFFu, 0x008080u);
        int picture = 0, engraved = 0;
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                picture += (glyph->ScanLine(y)[x] & 0xFFFFFFu) != 0x008080u;
                engraved += (glyph->ScanLine(y)[16 + x] & 0xFFFFFFu) == 0x808080u;
            }
        }
        EXPECT_GT(picture, 15);
        EXPECT_GT(engraved, 15);
    }
    EXPECT_EQ(KindGlyph(bkCustom), nullptr);
}

TEST_F(Button, TheGlyphStripGivesTheFrameCountWithinOneToFour) {
    TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"");
    struct Case {
        int width, height, frames;
    };
    const Case cases[] = {{48, 16, 3}, {100, 20, 1}, {64, 16, 4}, {30, 20, 4 /* kept */}};
    button->SetNumGlyphs(2);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        TBitmap glyph(c.width, c.height);
        button->SetGlyph(glyph);
        EXPECT_EQ(button->NumGlyphs(), c.frames);
    }
    button->SetNumGlyphs(0);
    EXPECT_EQ(button->NumGlyphs(), 1);
    button->SetNumGlyphs(9);
    EXPECT_EQ(button->NumGlyphs(), 4);
}

// A strip of `frames` 16 x 16 frames in the given colours on a teal background (a 1-pixel
// teal border around each frame's square).
std::unique_ptr<TBitmap> Strip(std::vector<uint32_t> colours) {
    auto owned = std::make_unique<TBitmap>(static_cast<int>(colours.size()) * 16, 16);
    TBitmap& strip = *owned;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < strip.Width(); ++x) {
            const bool border = x % 16 == 0 || x % 16 == 15 || y == 0 || y == 15;
            strip.ScanLine(y)[x] = border ? 0xFF008080u : colours[static_cast<size_t>(x / 16)];
        }
    }
    return owned;
}

TEST_F(Button, TheGlyphFrameFollowsTheStateAndStaysInsideTheStrip) {
    other_->SetFocus();
    TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"");  // 75 x 25: the glyph box is 20 wide
    const uint32_t red = 0xFFFF0000, green = 0xFF00FF00, blue = 0xFF0000FF, yellow = 0xFFFFFF00;
    struct Case {
        const char* name;
        std::vector<uint32_t> strip;
        bool enabled;
        bool pressed;
        uint32_t shown;
    };
    const Case cases[] = {
        {"two frames, enabled", {red, green}, true, false, red},
        {"two frames, disabled", {red, green}, false, false, green},
        {"three frames, pressed", {red, green, blue}, true, true, blue},
        {"three frames, disabled and pressed: the last frame", {red, green, blue}, false, true, blue},
        {"four frames, disabled and pressed", {red, green, blue, yellow}, false, true, yellow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        button->SetGlyph(*Strip(c.strip));
        button->SetEnabled(c.enabled);
        button->SetState(c.pressed ? kbsPressed : kbsNormal);
        button->Invalidate();
        const PixelSection shot = Shot();
        // One 16-pixel frame (not the whole strip) centred: content 16 + Spacing 4 wide.
        const int left = 20 + (75 - 20) / 2 + 2 + (c.pressed ? 1 : 0);
        const int top = 20 + (25 - 16) / 2 + (c.pressed ? 1 : 0);
        EXPECT_EQ(Rgb(shot.At(left + 8, top + 8)), Rgb(c.shown));
        EXPECT_EQ(Rgb(shot.At(left + 1, top + 1)), Rgb(c.shown));
        EXPECT_EQ(Rgb(shot.At(left + 14, top + 14)), Rgb(c.shown));
        EXPECT_EQ(Rgb(shot.At(left + 16, top + 8)), Rgb(clBtnFace));  // the teal border is not drawn
    }
}

TEST_F(Button, OneFrameGlyphsFadeWhenDisabledAndGreyUntilHovered) {
    other_->SetFocus();
    TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"");
    button->SetGlyph(*Strip({0xFFFF0000}));
    const int left = 20 + (75 - 20) / 2 + 2, top = 20 + (25 - 16) / 2;
    const auto grey = [](uint32_t p) { return (p & 0xFF) == ((p >> 8) & 0xFF) && (p & 0xFF) == ((p >> 16) & 0xFF); };
    EXPECT_EQ(Rgb(Shot().At(left + 8, top + 8)), 0xFF0000u);
    button->SetEnabled(false);
    uint32_t p = Rgb(Shot().At(left + 8, top + 8));
    EXPECT_TRUE(grey(p));
    EXPECT_GE(p & 0xFF, 160u);
    EXPECT_LE(p & 0xFF, 210u);
    button->SetEnabled(true);
    button->SetBlackAndWhiteGlyph(true);
    p = Rgb(Shot().At(left + 8, top + 8));
    EXPECT_TRUE(grey(p));
    EXPECT_EQ(p & 0xFF, 128u);  // red's lightness 0.5
    screen_.MoveMouseTo(button->Handle(), {3, 3});
    EXPECT_EQ(Rgb(Shot().At(left + 8, top + 8)), 0xFF0000u);
}

TEST_F(Button, TheDefaultFrameGoesToTheFocusedButton) {
    TSeSkinButton* first = NewButton({20, 20, 95, 45}, u"Open");
    TSeSkinButton* second = NewButton({120, 20, 195, 45}, u"Send");
    first->SetDefault(true);
    other_->SetFocus();
    Pump();
    EXPECT_TRUE(first->ActiveDefault());
    EXPECT_FALSE(second->ActiveDefault());
    second->SetFocus();
    Pump();
    EXPECT_FALSE(first->ActiveDefault());
    // Enter presses the focused button, not the default one.
    int secondClicks = 0;
    second->OnClick = [&](TObject*) { ++secondClicks; };
    screen_.PressKey(VK_RETURN);
    Pump();
    EXPECT_EQ(secondClicks, 1);
    EXPECT_EQ(clicks_, 0);
    other_->SetFocus();
    Pump();
    EXPECT_TRUE(first->ActiveDefault());
}

TEST_F(Button, AWrappedCaptionStaysInsideItsCentredArea) {
    other_->SetFocus();
    TSeSkinButton* button = NewButton({20, 20, 95, 70}, u"A caption that wraps");  // 75 x 50
    button->SetWordWrap(true);
    const PixelSection shot = Shot();
    TRect ink;
    for (int y = 22; y < 68; ++y) {
        for (int x = 22; x < 93; ++x) {
            if (Rgb(shot.At(x, y)) != Rgb(clBtnFace)) ink = UnionRect(ink, {x, y, x + 1, y + 1});
        }
    }
    // (75 - 4 - 10) x (50 - 4 - 10), centred: 7 pixels in from each side.
    const TRect area = TRect{7, 7, 68, 43}.Offset(20, 20);
    EXPECT_EQ(IntersectRect(ink, area), ink);
    EXPECT_GT(ink.Height(), 20);  // more than one line
}

TEST_F(Button, UnchangedPropertiesDoNotRepaint) {
    TSeSkinButton* button = NewButton({20, 20, 95, 45}, u"Send");
    Pump();
    const int presents = screen_.PresentCount(form_->Handle());
    button->SetCaption(u"Send");
    button->SetLayout(blGlyphLeft);
    button->SetNumGlyphs(1);
    button->SetSpacing(4);
    button->SetBlackAndWhiteGlyph(false);
    button->SetWordWrap(false);
    button->SetKind(bkCustom);
    Pump();
    EXPECT_EQ(screen_.PresentCount(form_->Handle()), presents);
    button->SetCaption(u"Stop");
    Pump();
    EXPECT_GT(screen_.PresentCount(form_->Handle()), presents);
    // The toolkit's text becomes the caption.
    button->SetText("关闭串口");
    EXPECT_EQ(button->Caption(), u"关闭串口");
    EXPECT_EQ(button->SkinObject(), "Button");
    EXPECT_FALSE(button->SkinAvailable());
}

}  // namespace
}  // namespace se
