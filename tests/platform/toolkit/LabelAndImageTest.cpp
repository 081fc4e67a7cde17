// The label (auto size, accelerators, transparency, the engraved disabled look), the image
// (picture placement, click, cursor), the logo, and a screenshot of the standard controls
// together.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "platform/draw/Canvas.h"
#include "platform/draw/Color.h"
#include "platform/draw/FontCache.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Logo.h"
#include "platform/window/Input.h"
#include "tests/support/GuiTest.h"

namespace vcl {
namespace {

uint32_t Pixel(TColor c) { return RgbToPixel(ColorToRGB(c)); }

class StandardControls : public testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = NewForm({100, 100, 700, 400});
        form_->SetColor(clSilver);
    }
    template <typename T>
    T* Add(TRect bounds) {
        auto* control = new T(form_);
        control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        control->SetParent(form_);
        return control;
    }
    // The screen's pixel at a control's client point.
    uint32_t At(TControl* control, int x, int y) {
        Pump();
        const TPoint p = control->ClientToScreen({x, y});
        return screen_.Screenshot().At(p.X, p.Y);
    }
    // Every pixel colour inside a control.
    std::set<uint32_t> Colours(TControl* control) {
        Pump();
        const PixelSection shot = screen_.Screenshot();
        const TPoint origin = control->ClientToScreen({0, 0});
        std::set<uint32_t> colours;
        for (int y = 0; y < control->Height(); ++y) {
            for (int x = 0; x < control->Width(); ++x) colours.insert(shot.At(origin.X + x, origin.Y + y));
        }
        return colours;
    }
    int TextWidth(const TFont& font, const std::string& text) {
        auto instance = ResolveFont(LogFontOf(font));
        int width = 0;
        for (size_t i = 0; i < text.size();) width += instance->Advance(rtl::NextCodePoint(text, i));
        return width;
    }
    int LineHeight(const TFont& font) { return ResolveFont(LogFontOf(font))->Metrics().tmHeight; }

    TForm* form_ = nullptr;
};

TEST_F(StandardControls, ALabelSizesItselfToItsCaption) {
    auto* label = Add<TLabel>({20, 20, 100, 40});
    label->SetCaption("Label1");
    EXPECT_EQ(label->Width(), TextWidth(label->Font(), "Label1"));
    EXPECT_EQ(label->Height(), LineHeight(label->Font()));
    // The marker takes no room.
    label->SetCaption("&Port  1");
    EXPECT_EQ(label->Width(), TextWidth(label->Font(), "Port  1"));
    label->Font().SetHeight(-16);
    EXPECT_EQ(label->Width(), TextWidth(label->Font(), "Port  1"));
    EXPECT_EQ(label->Height(), LineHeight(label->Font()));
    // Right aligned, it keeps its right edge.
    label->Font().SetHeight(-11);
    label->SetAlignment(taRightJustify);
    const int right = label->Left() + label->Width();
    label->SetCaption("wider caption");
    EXPECT_EQ(label->Left() + label->Width(), right);
    const int wider = label->Width();
    // Not while loading: once loaded.
    LoadStoredForm(*form_, [&] {
        label->SetCaption("a long caption that is wider");
        EXPECT_EQ(label->Width(), wider);
    });
    EXPECT_EQ(label->Width(), TextWidth(label->Font(), "a long caption that is wider"));
    // Without AutoSize nothing moves.
    label->SetAutoSize(false);
    const TRect bounds = label->BoundsRect();
    label->SetCaption("x");
    EXPECT_EQ(label->BoundsRect(), bounds);
}

TEST_F(StandardControls, AWrappingLabelKeepsItsWidthAndGrows) {
    auto* label = Add<TLabel>({20, 20, 140, 33});
    label->SetWordWrap(true);
    label->SetCaption("one two three four five six seven eight nine ten");
    EXPECT_LE(label->Width(), 120);
    EXPECT_GE(label->Height(), 3 * LineHeight(label->Font()));
}

TEST_F(StandardControls, ALabelsAcceleratorFocusesItsControl) {
    auto* edit = Add<TEdit>({100, 60, 220, 81});
    auto* other = Add<TEdit>({100, 100, 220, 121});
    auto* label = Add<TLabel>({20, 60, 80, 73});
    label->SetCaption("&Name");
    label->SetFocusControl(edit);
    other->SetFocus();
    screen_.PressKey('N', ssAlt);
    Pump();
    EXPECT_TRUE(edit->Focused());
    other->SetFocus();
    label->SetShowAccelChar(false);
    screen_.PressKey('N', ssAlt);
    Pump();
    EXPECT_TRUE(other->Focused());
    label->SetShowAccelChar(true);
    label->SetEnabled(false);
    screen_.PressKey('N', ssAlt);
    Pump();
    EXPECT_TRUE(other->Focused());
    // The focus control going away leaves the label safe.
    delete edit;
    label->SetEnabled(true);
    screen_.PressKey('N', ssAlt);
    Pump();
    EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST_F(StandardControls, ALabelFillsWithItsColourUnlessTransparent) {
    auto* label = Add<TLabel>({20, 20, 100, 40});
    label->SetCaption("      ");
    label->SetColor(clAqua);
    EXPECT_EQ(At(label, 1, 1), Pixel(clAqua));
    label->SetTransparent(true);
    EXPECT_EQ(At(label, 1, 1), Pixel(clSilver));
    label->SetParentColor(true);
    label->SetTransparent(false);
    EXPECT_EQ(At(label, 1, 1), Pixel(clSilver));
}

TEST_F(StandardControls, ADisabledLabelIsEngraved) {
    auto* label = Add<TLabel>({20, 20, 100, 40});
    label->SetCaption("Engraved");
    std::set<uint32_t> enabled = Colours(label);
    EXPECT_TRUE(enabled.count(Pixel(clBlack)));
    label->SetEnabled(false);
    std::set<uint32_t> disabled = Colours(label);
    EXPECT_FALSE(disabled.count(Pixel(clBlack)));
    EXPECT_TRUE(disabled.count(Pixel(clBtnShadow)));
    EXPECT_TRUE(disabled.count(Pixel(clBtnHighlight)));
}

TEST_F(StandardControls, ADisabledEditShowsGreyTextOnWhite) {
    auto* edit = Add<TEdit>({20, 20, 120, 41});
    edit->SetText("0000");
    // The darkest pixel of the text, inside the border.
    const auto darkest = [&] {
        Pump();
        const PixelSection shot = screen_.Screenshot();
        const TPoint origin = edit->ClientToScreen({0, 0});
        int least = 255;
        for (int y = 2; y < edit->Height() - 2; ++y) {
            for (int x = 2; x < edit->Width() - 2; ++x) least = std::min<int>(least, shot.At(origin.X + x, origin.Y + y) & 0xFF);
        }
        return least;
    };
    EXPECT_LT(darkest(), 60);
    edit->SetEnabled(false);
    const int grey = darkest();
    EXPECT_GE(grey, 100);
    EXPECT_LT(grey, 200);
    EXPECT_EQ(At(edit, 60, 10), Pixel(clWindow));
    // The sunken border: shadow and dark shadow at the top left, highlight and face at the bottom right.
    EXPECT_EQ(At(edit, 0, 0), Pixel(clBtnShadow));
    EXPECT_EQ(At(edit, 1, 1), Pixel(cl3DDkShadow));
    EXPECT_EQ(At(edit, edit->Width() - 1, edit->Height() - 1), Pixel(clBtnHighlight));
    EXPECT_EQ(At(edit, edit->Width() - 2, edit->Height() - 2), Pixel(cl3DLight));
}

TEST_F(StandardControls, TheLogoIsA119By33WordMark) {
    auto logo = CreateLogoBitmap();
    ASSERT_EQ(logo->Width(), kLogoWidth);
    ASSERT_EQ(logo->Height(), kLogoHeight);
    EXPECT_EQ(logo->PixelFormat(), pf24bit);
    std::set<uint32_t> colours;
    int dark = 0;
    for (int y = 0; y < logo->Height(); ++y) {
        for (int x = 0; x < logo->Width(); ++x) {
            const uint32_t p = logo->ScanLine(y)[x];
            colours.insert(p);
            if (((p >> 16) & 0xFF) < 80 && (p & 0xFF) > 90) ++dark;
        }
    }
    // Letters in blue over the silver, anti-aliased edges between.
    EXPECT_GT(colours.size(), 20u);
    EXPECT_GT(dark, 200);
    EXPECT_EQ(logo->ScanLine(0)[0], Pixel(clSilver));
}

struct PlacementCase {
    const char* name;
    bool center;
    bool stretch;
    TRect expected;  // in a 121 x 40 image of a 119 x 33 picture
};

class ImagePlacement : public StandardControls, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(ImagePlacement, ThePictureLandsWhereAsked) {
    auto* image = Add<TImage>({8, 20, 129, 60});
    auto logo = CreateLogoBitmap();
    image->Picture().SetGraphic(logo.get());
    image->SetCenter(GetParam().center);
    image->SetStretch(GetParam().stretch);
    EXPECT_EQ(image->DestRect(), GetParam().expected);
    image->SetAutoSize(true);
    EXPECT_EQ(image->BoundsRect(), (TRect{8, 20, 8 + kLogoWidth, 20 + kLogoHeight}));
    image->SetAutoSize(false);
    image->SetBounds(8, 20, 121, 40);
    const TRect r = GetParam().expected;
    // The picture's top-left pixel (silver) and a letter pixel somewhere inside.
    EXPECT_EQ(At(image, r.Left, r.Top), logo->ScanLine(0)[0]);
    if (!GetParam().stretch) {
        EXPECT_EQ(At(image, r.Left + 67, r.Top + 15), logo->ScanLine(15)[67]);
        if (r.Right < image->Width()) EXPECT_EQ(At(image, r.Right, r.Top + 15), Pixel(clSilver));
    }
}

INSTANTIATE_TEST_SUITE_P(Pictures, ImagePlacement,
                         ::testing::Values(PlacementCase{"TopLeft", false, false, {0, 0, 119, 33}},
                                           PlacementCase{"Center", true, false, {1, 3, 120, 36}},
                                           PlacementCase{"Stretch", false, true, {0, 0, 121, 40}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(StandardControls, AnImageClicksAndShowsItsCursor) {
    auto* image = Add<TImage>({8, 20, 129, 53});
    image->SetCursor(crHandPoint);
    int clicks = 0;
    image->OnClick = [&](TObject* sender) {
        EXPECT_EQ(sender, image);
        ++clicks;
    };
    screen_.MoveMouseTo(form_->Handle(), {30, 30});
    Pump();
    EXPECT_EQ(screen_.Cursor(), TCursorShape::Hand);
    screen_.ClickAt(form_->Handle(), {30, 30});
    Pump();
    EXPECT_EQ(clicks, 1);
    screen_.MoveMouseTo(form_->Handle(), {300, 150});
    Pump();
    EXPECT_EQ(screen_.Cursor(), TCursorShape::Arrow);
}

TEST_F(StandardControls, Screenshot) {
    form_->SetBounds(100, 100, 480, 260);
    auto* caption = Add<TLabel>({8, 8, 100, 21});
    caption->SetCaption("&Enabled and disabled edits:");
    auto* edit = Add<TEdit>({8, 24, 153, 45});
    edit->SetText("01 03 00 01");
    auto* disabled = Add<TEdit>({160, 24, 209, 45});
    disabled->SetText("C9");
    disabled->SetEnabled(false);
    auto* memo = Add<TMemo>({8, 56, 465, 129});
    memo->SetText("本软件适用于与MODBUS-RTU通讯格式的设备通讯。  01 03 04 00 00 80 3F DB E3  01 03 00 01 00 04 15 C9  "
                  "接收数据区 received data area, wrapped at words");
    caption->SetFocusControl(edit);
    auto* label = Add<TLabel>({136, 160, 449, 173});
    label->SetCaption("本软件适用于与MODBUS-RTU通讯格式的设备通讯。            ");
    auto* image = Add<TImage>({8, 144, 129, 177});
    auto logo = CreateLogoBitmap();
    image->Picture().SetGraphic(logo.get());
    memo->SetFocus();
    memo->SetSelStart(30);
    memo->SetSelLength(40);
    Pump();
    EXPECT_GT(memo->DisplayLineCount(), 1);
    SaveScreenshot("standard_controls.png", form_->Handle());
}

}  // namespace
}  // namespace vcl
