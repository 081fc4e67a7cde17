// The window as the program starts it: every stored control where it belongs with its text, the
// first read request composed, the reply panel waiting, the port closed; and the picture of it.

#include <filesystem>

#include "controls/button/Button.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/label/Label.h"
#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/Label.h"
#include "tests/app/MainWindowFixture.h"

namespace app::testing {
namespace {

using StartUpTest = MainWindowTest;

TEST_F(StartUpTest, TheProgramIsTitledAndItsWindowIsTheMainForm) {
    EXPECT_EQ(vcl::Application->Title(), "Velmo Modbus-RTU");
    EXPECT_EQ(vcl::Application->MainForm(), form_);
    EXPECT_EQ(form_->Caption(), "Modbus RTU 通讯调试程式");
    EXPECT_EQ(form_->ClientWidth(), 572);
    EXPECT_EQ(form_->ClientHeight(), 601);
    EXPECT_EQ(form_->Color(), vcl::clSilver);
    EXPECT_EQ(form_->Position(), vcl::poScreenCenter);
    EXPECT_EQ(form_->Font().Name(), "MS Sans Serif");
    EXPECT_EQ(form_->Font().Height(), -11);
}

struct Placed {
    const char* name;
    const char* parent;  // "" for the form
    int left, top, width;
    bool visible;
};

// Positions after the composer ran once in read mode.
const Placed kPlaces[] = {
    {"Image1", "", 8, 544, 121, true},
    {"Label2", "", 136, 560, -1, true},
    {"SeSkinGroupBox1", "", 112, 8, 457, true},
    {"SeSkinGroupBox3", "", 8, 312, 561, true},
    {"SeSkinGroupBox4", "", 8, 112, 561, true},
    {"SeSkinRadioGroup1", "", 8, 8, 105, true},
    {"SeSkinStatusBar1", "", 0, 579, 572, true},
    {"SeSkinLabel1", "SeSkinGroupBox1", 16, 30, -1, true},
    {"SeSkinLabel2", "SeSkinGroupBox1", 16, 62, -1, true},
    {"SeSkinLabel3", "SeSkinGroupBox1", 192, 30, -1, true},
    {"SeSkinLabel4", "SeSkinGroupBox1", 192, 62, -1, true},
    {"SeSkinComboBox1", "SeSkinGroupBox1", 72, 24, 97, true},
    {"SeSkinComboBox2", "SeSkinGroupBox1", 72, 56, 97, true},
    {"SeSkinButton1", "SeSkinGroupBox1", 384, 56, 65, true},
    {"SeSkinComboBox3", "SeSkinGroupBox1", 256, 24, 113, true},
    {"SeSkinComboBox4", "SeSkinGroupBox1", 256, 56, 113, true},
    {"Memo1", "SeSkinGroupBox3", 8, 16, 457, true},
    {"SeSkinLabel19", "SeSkinGroupBox3", 480, 16, -1, true},
    {"Edit16", "SeSkinGroupBox3", 480, 32, 65, true},
    {"SeSkinLabel18", "SeSkinGroupBox3", 480, 56, -1, true},
    {"Edit17", "SeSkinGroupBox3", 480, 72, 65, true},
    {"SeSkinLabel21", "SeSkinGroupBox3", 480, 96, -1, true},
    {"Edit19", "SeSkinGroupBox3", 480, 112, 65, true},
    {"SeSkinLabel22", "SeSkinGroupBox3", 480, 136, -1, true},
    {"Edit20", "SeSkinGroupBox3", 480, 152, 65, true},
    {"Label1", "SeSkinGroupBox3", 480, 184, -1, true},
    {"SeSkinLabel13", "SeSkinGroupBox4", 16, 24, -1, true},
    {"SeSkinLabel25", "SeSkinGroupBox4", 80, 24, -1, true},
    {"SeSkinLabel26", "SeSkinGroupBox4", 152, 24, -1, true},
    {"SeSkinLabel9", "SeSkinGroupBox4", 216, 24, -1, true},
    {"SeSkinLabel31", "SeSkinGroupBox4", 296, 24, -1, false},
    {"SeSkinLabel29", "SeSkinGroupBox4", 296, 24, -1, true},
    {"SeSkinLabel28", "SeSkinGroupBox4", 352, 24, -1, true},
    {"SeSkinLabel14", "SeSkinGroupBox4", 296, 64, -1, false},
    {"SeSkinLabel30", "SeSkinGroupBox4", 8, 88, -1, true},
    {"SeSkinComboBox8", "SeSkinGroupBox4", 16, 40, 57, true},
    {"SeSkinComboBox100", "SeSkinGroupBox4", 80, 40, 65, true},
    {"Edit27", "SeSkinGroupBox4", 152, 40, 57, true},
    {"Edit2", "SeSkinGroupBox4", 216, 40, 73, true},
    {"Edit22", "SeSkinGroupBox4", 296, 40, 145, false},
    {"Edit25", "SeSkinGroupBox4", 296, 40, 49, true},
    {"Edit26", "SeSkinGroupBox4", 352, 40, 49, true},
    {"Edit3", "SeSkinGroupBox4", 296, 82, 89, false},
    {"SeSkinButton4", "SeSkinGroupBox4", 384, 80, 57, false},
    {"SeSkinButton3", "SeSkinGroupBox4", 488, 78, 59, true},
    {"Memo2", "SeSkinGroupBox4", 8, 112, 457, true},
};

TEST_F(StartUpTest, EveryControlIsFoundByItsNameInItsPanelAtItsPlace) {
    for (const Placed& p : kPlaces) {
        SCOPED_TRACE(p.name);
        vcl::TControl* c = Control(p.name);
        ASSERT_NE(c, nullptr);
        const vcl::TComponent* parent = c->Parent();
        const vcl::TComponent* expected = *p.parent ? form_->FindComponent(p.parent) : form_;
        EXPECT_EQ(parent, expected);
        EXPECT_EQ(c->Left(), p.left);
        EXPECT_EQ(c->Top(), p.top);
        if (p.width >= 0) {
            EXPECT_EQ(c->Width(), p.width);
        }
        EXPECT_EQ(c->Visible(), p.visible);
    }
    EXPECT_NE(form_->FindComponent("Comm1"), nullptr);
}

TEST_F(StartUpTest, TheStoredCaptionsShowExceptTheLengthLabelWhichTheComposerWrote) {
    const std::pair<const char*, const char*> captions[] = {
        {"SeSkinLabel1", "串     口："},   {"SeSkinLabel2", "波特率："},       {"SeSkinLabel3", "数据位长："},
        {"SeSkinLabel4", "停止位长："},    {"SeSkinLabel13", "表地址："},      {"SeSkinLabel25", "功能号："},
        {"SeSkinLabel26", "起始地址："},   {"SeSkinLabel9", "读长度:"},        {"SeSkinLabel29", "CRCL"},
        {"SeSkinLabel28", "CRCH"},          {"SeSkinLabel30", "待发数据 ( Hex )："},
        {"SeSkinLabel19", "接收CRCL："},   {"SeSkinLabel18", "接收CRCH："},   {"SeSkinLabel21", "本地CRCL："},
        {"SeSkinLabel22", "本地CRCH："},   {"SeSkinLabel14", "待写数据："},   {"SeSkinLabel31", "待写数据 ( Hex )："},
    };
    for (const auto& [name, caption] : captions) {
        EXPECT_EQ(Wide(dynamic_cast<se::TSeCustomLabel*>(Control(name))->Caption()), caption) << name;
    }
    EXPECT_EQ(Wide(form_->SeSkinGroupBox1->Caption()), "通讯端口设置");
    EXPECT_EQ(Wide(form_->SeSkinGroupBox3->Caption()), "返回数据 ( Hex ) ");
    EXPECT_EQ(Wide(form_->SeSkinGroupBox4->Caption()), "发送操作");
    EXPECT_EQ(Wide(form_->SeSkinRadioGroup1->Caption()), " Language ");
    EXPECT_EQ(form_->SeSkinRadioGroup1->ItemIndex(), 1);
    EXPECT_EQ(Wide(form_->SeSkinButton1->Caption()), "打开串口");
    EXPECT_EQ(Wide(form_->SeSkinButton3->Caption()), "发送");
    EXPECT_FALSE(form_->SeSkinButton3->Enabled());
    EXPECT_EQ(Wide(form_->SeSkinButton4->Caption()), "生成");
    EXPECT_EQ(form_->Label2->Caption(), "本软件适用于与MODBUS-RTU通讯格式的设备通讯。            ");
    EXPECT_EQ(form_->Label1->Caption(), "Label1");
}

TEST_F(StartUpTest, TheFirstReadRequestIsComposedAndTheReplyPanelWaits) {
    EXPECT_EQ(form_->Memo2->Text(), "01  03  00  01  00  04  15  C9");
    EXPECT_EQ(form_->Edit25->Text(), "15");
    EXPECT_EQ(form_->Edit26->Text(), "C9");
    EXPECT_FALSE(form_->Edit25->Enabled());
    EXPECT_FALSE(form_->Edit26->Enabled());
    EXPECT_EQ(form_->Memo1->Lines().Count(), 1);
    EXPECT_EQ(form_->Memo1->Lines()[0], "接收数据区");
    for (vcl::TEdit* crc : {form_->Edit16, form_->Edit17, form_->Edit19, form_->Edit20}) EXPECT_EQ(crc->Text(), "0");
    auto& panels = form_->SeSkinStatusBar1->Panels();
    ASSERT_EQ(panels.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(panels.Items(i)->Width(), 150);
        EXPECT_EQ(panels.Items(i)->ImageIndex(), -1);
        EXPECT_TRUE(panels.Items(i)->Text().empty());
    }
}

TEST_F(StartUpTest, TheComboBoxesShowTheirStoredChoicesAndTheHintsAreOn) {
    EXPECT_EQ(ItemIndexOf("SeSkinComboBox1"), 0);
    EXPECT_EQ(Wide(form_->SeSkinComboBox1->Text()), "COM1");
    EXPECT_EQ(ItemIndexOf("SeSkinComboBox2"), 7);
    EXPECT_EQ(Wide(form_->SeSkinComboBox2->Text()), "115.2Kbps    ");
    EXPECT_EQ(ItemIndexOf("SeSkinComboBox3"), 3);
    EXPECT_EQ(Wide(form_->SeSkinComboBox4->Text()), "1 bit");
    EXPECT_EQ(ItemIndexOf("SeSkinComboBox8"), 0);
    EXPECT_EQ(ItemIndexOf("SeSkinComboBox100"), 0);
    EXPECT_EQ(Wide(form_->SeSkinComboBox100->Text()), "0x03[读]");
    const std::pair<const char*, const char*> hints[] = {
        {"SeSkinComboBox8", "从机地址，十进制显示"}, {"SeSkinComboBox100", "功能号，十六进制显示"},
        {"Edit27", "起始地址，输入十进制整数"},     {"Edit2", "以byte 为单位"},
        {"Edit22", "请输入十六进制整数，每两位代表1字节。"}, {"Edit3", "以byte 为单位"},
    };
    for (const auto& [name, hint] : hints) {
        EXPECT_EQ(Control(name)->Hint(), hint) << name;
        EXPECT_TRUE(Control(name)->ShowHint()) << name;
    }
}

TEST_F(StartUpTest, ThePortKeepsItsStoredSettingsWithAThresholdOfOneUntilTheButtonIsPressed) {
    EXPECT_EQ(form_->Comm1->CommPort(), serial::pnCOM2);
    EXPECT_EQ(form_->Comm1->BaudRate(), serial::br9600);
    EXPECT_EQ(form_->Comm1->RThreshold(), 1u);
    EXPECT_FALSE(form_->Comm1->PortOpen());
    EXPECT_TRUE(ports_->OpenAttempts().empty());
}

TEST_F(StartUpTest, TheLogoIsALinkToTheHomePage) {
    EXPECT_EQ(form_->Image1->Picture().Width(), 119);
    EXPECT_EQ(form_->Image1->Cursor(), vcl::crHandPoint);
    ClickOn(form_->Image1, {20, 10});
    EXPECT_EQ(opened_, std::vector<std::string>{kHomePage});
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(StartUpTest, ThePictureOfTheWindowAtStartUpAndInEnglish) {
    const std::string start = SaveScreenshot("main-window-start.png", form_->Handle());
    ClickOn(form_->SeSkinRadioGroup1->Buttons()[0]);
    const std::string english = SaveScreenshot("main-window-english.png", form_->Handle());
    EXPECT_TRUE(std::filesystem::exists(start));
    EXPECT_TRUE(std::filesystem::exists(english));
    // The status bar's face is button face, the window's own background silver.
    const vcl::PixelSection shot = screen_.Screenshot(form_->Handle());
    EXPECT_EQ(shot.At(300, 40) & 0xFFFFFF, vcl::testing_support::PixelOf(vcl::clSilver) & 0xFFFFFF);
}

}  // namespace
}  // namespace app::testing
