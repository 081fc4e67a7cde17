// A gallery of the label and the push button in each of their states, saved as
// build/screenshots/gallery_label_button.png to be looked at beside the classic look.

#include <gtest/gtest.h>

#include "controls/button/Button.h"
#include "controls/label/Label.h"
#include "platform/toolkit/Form.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;

class Gallery : public vcl::testing_support::GuiTest {
protected:
    TForm* Form(TRect bounds, const std::string& caption) {
        TForm* form = NewForm(bounds);
        form->SetCaption(caption);
        return form;
    }
    TSeSkinLabel* Label(TWinControl* parent, int x, int y, std::u16string_view caption) {
        auto* label = new TSeSkinLabel(parent);
        label->SetBounds(x, y, 65, 17);
        label->SetParent(parent);
        label->SetCaption(caption);
        return label;
    }
    TSeSkinButton* Button(TWinControl* parent, TRect r, std::u16string_view caption) {
        auto* button = new TSeSkinButton(parent);
        button->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        button->SetParent(parent);
        button->SetCaption(caption);
        return button;
    }
};

TEST_F(Gallery, LabelsAndButtonsInEachState) {
    TForm* main = Form({0, 0, 560, 330}, "Labels and buttons");
    auto* keeper = new TCustomControl(main);  // holds the focus so the default button shows
    keeper->SetBounds(0, 0, 1, 1);
    keeper->SetTabStop(true);
    keeper->SetParent(main);

    Label(main, 10, 10, u"串口号:");
    Label(main, 90, 10, u"&Baud rate");
    Label(main, 180, 10, u"Disabled")->SetEnabled(false);
    TSeSkinLabel* opaque = Label(main, 260, 10, u"Opaque, centred");
    opaque->SetAutoSize(false);
    opaque->SetBounds(260, 8, 120, 20);
    opaque->SetTransparent(false);
    opaque->SetColor(clWindow);
    opaque->SetAlignment(taCenter);
    opaque->SetLayout(tlCenter);
    auto* panel = new TSeCustomControl(main);
    panel->SetBounds(390, 4, 160, 28);
    panel->SetBevelOuter(kbvLowered);
    panel->SetBevelInner(kbvNone);
    panel->SetBevelWidth(1);
    panel->SetColor(clInfoBk);
    panel->SetParent(main);
    Label(panel, 8, 7, u"Transparent on a panel");

    // Row: normal, hot, default, disabled.
    Label(main, 10, 44, u"Normal");
    Button(main, {10, 60, 85, 85}, u"打开串口");
    Label(main, 100, 44, u"Hot");
    TSeSkinButton* hot = Button(main, {100, 60, 175, 85}, u"Send");
    hot->SetKind(bkRetry);
    hot->SetBlackAndWhiteGlyph(true);
    TSeSkinButton* cold = Button(main, {190, 60, 265, 85}, u"Send");
    cold->SetKind(bkRetry);
    cold->SetBlackAndWhiteGlyph(true);
    Label(main, 190, 44, u"Not hot");
    Label(main, 280, 44, u"Default");
    Button(main, {280, 60, 355, 85}, u"&Generate")->SetDefault(true);
    Label(main, 370, 44, u"Disabled");
    TSeSkinButton* disabled = Button(main, {370, 60, 445, 85}, u"Close");
    disabled->SetKind(bkClose);
    disabled->SetEnabled(false);
    Button(main, {460, 60, 535, 85}, u"关闭串口")->SetEnabled(false);

    // Every kind, with the glyph to the left, right, top and bottom.
    const std::pair<TBitBtnKind, const char16_t*> kinds[] = {
        {bkOK, u"OK"},     {bkCancel, u"Cancel"}, {bkHelp, u"&Help"},  {bkYes, u"&Yes"},      {bkNo, u"&No"},
        {bkClose, u"&Close"}, {bkAbort, u"Abort"}, {bkRetry, u"&Retry"}, {bkIgnore, u"&Ignore"}, {bkAll, u"&All"},
    };
    int i = 0;
    for (const auto& [kind, caption] : kinds) {
        const int x = 10 + (i % 5) * 105, y = 100 + (i / 5) * 35;
        TSeSkinButton* b = Button(main, {x, y, x + 95, y + 27}, caption);
        b->SetKind(kind);
        ++i;
    }
    TSeSkinButton* top = Button(main, {10, 180, 95, 230}, u"Top");
    top->SetKind(bkOK);
    top->SetLayout(blGlyphTop);
    TSeSkinButton* right = Button(main, {105, 180, 200, 207}, u"Right");
    right->SetKind(bkNo);
    right->SetLayout(blGlyphRight);
    TSeSkinButton* wrap = Button(main, {210, 180, 300, 230}, u"A caption that wraps");
    wrap->SetWordWrap(true);
    TSeSkinButton* bottom = Button(main, {310, 180, 395, 230}, u"Bottom");
    bottom->SetKind(bkCancel);
    bottom->SetLayout(blGlyphBottom);
    keeper->SetFocus();

    // A focused button and a pressed one (Space held) on forms of their own.
    TForm* focusedForm = Form({570, 0, 780, 90}, "Focused");
    Button(focusedForm, {20, 20, 95, 45}, u"Focused")->SetFocus();
    TForm* pressedForm = Form({570, 110, 780, 200}, "Pressed");
    TSeSkinButton* pressed = Button(pressedForm, {20, 20, 95, 45}, u"Pressed");
    pressed->SetFocus();
    Pump();
    screen_.KeyDown(VK_SPACE);
    screen_.MoveMouseTo(hot->Handle(), {70, 20});
    Pump();
    EXPECT_EQ(pressed->State(), kbsPressed);
    EXPECT_TRUE(hot->MouseInside());
    const std::string path = SaveScreenshot("gallery_label_button.png");
    screen_.KeyUp(VK_SPACE);
    Pump();
    std::cout << "gallery: " << path << "\n";
}

}  // namespace
}  // namespace se
