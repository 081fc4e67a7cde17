// The gallery: every option control, group box, radio group and status bar state on one form,
// written to build/screenshots/static-controls-gallery.png to be compared with the classic look.

#include <gtest/gtest.h>

#include <string>

#include "controls/checkbox/CheckBox.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;

class Gallery : public vcl::testing_support::GuiTest {
protected:
    template <typename Control>
    Control* Put(TWinControl* parent, TRect bounds) {
        auto* control = new Control(parent);
        control->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        control->SetParent(parent);
        return control;
    }
};

TEST_F(Gallery, EveryStateOfTheStaticControls) {
    TForm* form = NewForm({40, 40, 40 + 600, 40 + 470});
    form->SetColor(clBtnFace);

    // Check boxes: unchecked, checked, grayed, focused, then the three disabled.
    const struct {
        const char16_t* caption;
        TCheckBoxState state;
        bool enabled;
    } boxes[] = {{u"&Unchecked", cbUnchecked, true},  {u"Checked", cbChecked, true},
                 {u"Grayed", cbGrayed, true},         {u"Focused", cbChecked, true},
                 {u"Disabled", cbUnchecked, false},   {u"Disabled on", cbChecked, false},
                 {u"Disabled gray", cbGrayed, false}};
    TSeSkinCheckBox* focused = nullptr;
    for (int i = 0; i < 7; ++i) {
        auto* box = Put<TSeSkinCheckBox>(form, Bounds(8 + (i % 4) * 140, 8 + (i / 4) * 24, 120, 20));
        box->SetAllowGrayed(true);
        box->SetCaption(boxes[i].caption);
        box->SetState(boxes[i].state);
        box->SetEnabled(boxes[i].enabled);
        if (i == 3) focused = box;
    }

    // Radio buttons in a group of their own each, so several can show checked.
    const struct {
        const char16_t* caption;
        bool checked;
        bool enabled;
        TSeLeftRight alignment;
    } radios[] = {{u"Unchecked", false, true, ktaLeftJustify},  {u"Checked", true, true, ktaLeftJustify},
                  {u"Disabled", false, false, ktaLeftJustify},  {u"Disabled on", true, false, ktaLeftJustify},
                  {u"Mark right", true, true, ktaRightJustify}};
    for (int i = 0; i < 5; ++i) {
        auto* radio = Put<TSeSkinRadioButton>(form, Bounds(8 + (i % 4) * 140, 60 + (i / 4) * 24, 120, 20));
        radio->SetGroupIndex(static_cast<uint8_t>(i));
        radio->SetCaption(radios[i].caption);
        radio->SetAlignment(radios[i].alignment);
        radio->SetChecked(radios[i].checked);
        radio->SetEnabled(radios[i].enabled);
    }

    // The main window's panels in both languages, a disabled one and one with a caption check box.
    const struct {
        const char16_t* caption;
        TRect bounds;
    } panels[] = {{u"通讯端口设置", Bounds(8, 116, 180, 97)}, {u" Port Set ", Bounds(196, 116, 180, 97)},
                  {u"返回数据 ( Hex ) ", Bounds(8, 220, 180, 90)},
                  {u"Receive data buffers ( Hex )", Bounds(196, 220, 180, 90)}};
    for (const auto& panel : panels) {
        auto* box = Put<TSeSkinGroupBox>(form, panel.bounds);
        box->SetPerformance(kspNoBuffer);
        box->SetCaption(panel.caption);
        auto* inside = Put<TSeSkinCheckBox>(box, Bounds(12, 24, 140, 20));
        inside->SetCaption(u"Inside");
        inside->SetChecked(true);
    }
    auto* disabled = Put<TSeSkinGroupBox>(form, Bounds(384, 116, 100, 97));
    disabled->SetCaption(u"发送操作");
    Put<TSeSkinCheckBox>(disabled, Bounds(10, 24, 80, 20))->SetCaption(u"Child");
    disabled->SetEnabled(false);
    auto* withCheck = Put<TSeSkinGroupBox>(form, Bounds(384, 220, 200, 90));
    withCheck->SetCaption(u"Transmit");
    Put<TSeSkinCheckBox>(withCheck, Bounds(10, 30, 120, 20))->SetCaption(u"Off with the box");
    withCheck->SetUseCheckBox(true);
    withCheck->SetChecked(false);

    // The language chooser in each language's choice, and three items in two columns.
    for (int i = 0; i < 2; ++i) {
        auto* chooser = Put<TSeSkinRadioGroup>(form, Bounds(8 + i * 113, 318, 105, 97));
        chooser->SetPerformance(kspNoBuffer);
        chooser->SetCaption(u" Language ");
        chooser->Items().Add("English");
        chooser->Items().Add("Chinese");
        chooser->SetItemIndex(1 - i);
    }
    auto* columns = Put<TSeSkinRadioGroup>(form, Bounds(234, 318, 200, 97));
    columns->SetCaption(u"数据位");
    for (const char* item : {"5", "6", "7", "8"}) columns->Items().Add(item);
    columns->SetColumns(2);
    columns->SetItemIndex(3);

    // The status bar with three 150-pixel panels, the first showing a reply's count.
    auto* bar = new TSeSkinStatusBar(form);
    bar->SetAlign(alBottom);
    bar->SetPerformance(kspNoBuffer);
    for (int i = 0; i < 3; ++i) bar->Panels().Add()->SetWidth(150);
    bar->SetParent(form);
    bar->Panels().Items(0)->SetText(u"共接收到 9 byte 数据");
    bar->Panels().Items(1)->SetText(u"A text far too long for its panel of 150 pixels");

    focused->SetFocus();
    Pump();
    const std::string path = SaveScreenshot("static-controls-gallery.png", form->Handle());
    SUCCEED() << path;
}

}  // namespace
}  // namespace se
