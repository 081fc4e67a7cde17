// The send panel as a user fills it: the request composer's two layouts and their frames, the
// refills of emptied fields, the key filters, Generate with its error boxes, the language table
// in both directions, the tab order and resizing.

#include <string>
#include <vector>

#include "controls/button/Button.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/label/Label.h"
#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "modbus/modbus.h"
#include "tests/app/MainWindowFixture.h"

namespace app::testing {
namespace {

class ComposerTest : public MainWindowTest {
protected:
    std::string Caption(se::TSeCustomLabel* label) { return Wide(label->Caption()); }
    void WriteMode() { Choose("SeSkinComboBox100", 1); }
    void ReadMode() { Choose("SeSkinComboBox100", 0); }
    std::string Crc() { return form_->Edit25->Text() + " " + form_->Edit26->Text(); }
};

TEST_F(ComposerTest, WriteModeShowsTheDataFieldTheFloatRowAndMovesTheCrcFieldsRight) {
    WriteMode();
    EXPECT_EQ(Caption(form_->SeSkinLabel9), "写长度:");
    for (vcl::TControl* c : std::vector<vcl::TControl*>{form_->Edit22, form_->SeSkinLabel31, form_->SeSkinLabel14,
                                                         form_->Edit3, form_->SeSkinButton4}) {
        EXPECT_TRUE(c->Visible()) << c->Name();
    }
    EXPECT_EQ(Caption(form_->SeSkinLabel14), "可由Float 生成待写Hex 数据");
    EXPECT_EQ(form_->Edit25->Left(), 448);
    EXPECT_EQ(form_->SeSkinLabel29->Left(), 448);
    EXPECT_EQ(form_->Edit26->Left(), 504);
    EXPECT_EQ(form_->SeSkinLabel28->Left(), 504);
    EXPECT_EQ(form_->Memo2->Text(), "01  10  00  01  00  02  04  00  00  00  00  32  63  ");
    EXPECT_EQ(Crc(), "32 63");

    ReadMode();
    EXPECT_EQ(Caption(form_->SeSkinLabel9), "读长度:");
    EXPECT_FALSE(form_->Edit22->Visible());
    EXPECT_FALSE(form_->SeSkinButton4->Visible());
    EXPECT_EQ(form_->Edit25->Left(), 296);
    EXPECT_EQ(form_->Edit26->Left(), 352);
    EXPECT_EQ(form_->Memo2->Text(), "01  03  00  01  00  04  15  C9");
}

TEST_F(ComposerTest, TheWriteLengthChoosesTheGenerationRow) {
    WriteMode();
    Retype(form_->Edit2, "8");
    EXPECT_EQ(Caption(form_->SeSkinLabel14), "可由Double 生成待写Hex 数据");
    EXPECT_TRUE(form_->SeSkinButton4->Visible());
    Retype(form_->Edit2, "6");
    EXPECT_FALSE(form_->SeSkinButton4->Visible());
    EXPECT_FALSE(form_->Edit3->Visible());
    EXPECT_EQ(Caption(form_->SeSkinLabel14), "可由Double 生成待写Hex 数据");
    Retype(form_->Edit2, "04");
    EXPECT_EQ(Caption(form_->SeSkinLabel14), "可由Float 生成待写Hex 数据");
    EXPECT_TRUE(form_->Edit3->Visible());
}

TEST_F(ComposerTest, EveryRequestFieldRecomposesTheFrame) {
    struct Step {
        const char* what;
        std::function<void()> act;
        const char* memo;
    };
    const Step steps[] = {
        {"slave 17 from the list", [&] { Choose("SeSkinComboBox8", 16); }, "11  03  00  01  00  04"},
        {"17 typed into the slave box", [&] { Choose("SeSkinComboBox8", 0); Retype(Control("SeSkinComboBox8"), "17"); },
         "01  03  00  01  00  04"},
        {"start 107", [&] { Retype(form_->Edit27, "107"); }, "01  03  00  6B  00  04"},
        {"length 2", [&] { Retype(form_->Edit2, "2"); }, "01  03  00  6B  00  02"},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(form_->Memo2->Text().substr(0, 22), s.memo);
        const int n = modbus::ParseFrameText(form_->Memo2->Text());
        EXPECT_EQ(modbus::Crc16(modbus::FrameBuffer.data(), n), 0) << "the frame carries its own CRC";
        EXPECT_EQ(Crc(), form_->Memo2->Text().substr(24, 2) + " " + form_->Memo2->Text().substr(28, 2));
    }
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(ComposerTest, AnEmptiedFieldIsRefilledWithOneAtOnce) {
    ClickOn(form_->Edit2);
    Press(vcl::VK_END);
    Press(vcl::VK_BACK);
    EXPECT_EQ(form_->Edit2->Text(), "1");
    EXPECT_EQ(form_->Memo2->Text(), "01  03  00  01  00  01  D5  CA");
    ClickOn(form_->Edit27);
    Press(vcl::VK_END);
    Press(vcl::VK_BACK);
    EXPECT_EQ(form_->Edit27->Text(), "1");
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(ComposerTest, AManualEditOfTheFrameLastsUntilTheNextFieldChange) {
    ClickOn(form_->Memo2);
    Press('A', vcl::ssCtrl);
    Type("AA BB");
    EXPECT_EQ(form_->Memo2->Text(), "AA BB");
    Retype(form_->Edit27, "2");
    EXPECT_EQ(form_->Memo2->Text().substr(0, 14), "01  03  00  02");
}

TEST_F(ComposerTest, ANumberTooBigForAnIntegerShowsTheErrorBoxAndLeavesTheFrame) {
    Retype(form_->Edit27, "999999999");
    const std::string before = form_->Memo2->Text();
    Type("9");
    ASSERT_GE(Boxes().Count(), 1);
    EXPECT_EQ(Boxes().Boxes().back().Caption, "Velmo Modbus-RTU");
    EXPECT_EQ(Boxes().Boxes().back().Text, "'9999999999' is not a valid integer value.");
    EXPECT_EQ(form_->Memo2->Text(), before);
}

TEST_F(ComposerTest, AWriteLengthTheBufferCannotHoldShowsTheErrorBoxAndChangesNoFrame) {
    WriteMode();
    Retype(form_->Edit2, "1023");
    const std::string memo = form_->Memo2->Text();
    const std::string crc = Crc();
    const auto buffer = modbus::FrameBuffer;
    Boxes().Clear();
    Type("3");
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Caption, "Velmo Modbus-RTU");
    EXPECT_EQ(form_->Memo2->Text(), memo);
    EXPECT_EQ(Crc(), crc);
    EXPECT_EQ(modbus::FrameBuffer, buffer);
    Retype(form_->Edit2, "10232");
    EXPECT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(form_->Memo2->Text().size(), 4u * (10232 + 9));
}

struct Filtered {
    const char* field;
    const char* typed;
    const char* shown;
};

TEST_F(ComposerTest, TheKeyFiltersLetThroughOnlyTheirCharacters) {
    WriteMode();
    const Filtered cases[] = {
        {"Edit3", "1.5e-3,", "1.53"},       {"Edit22", "0a Fg9G", "0aF9"},
        {"Edit2", "1a.2 -3", "123"},       {"Edit27", "4x5\xE4\xB8\x80", "45"},
    };
    for (const Filtered& c : cases) {
        SCOPED_TRACE(c.field);
        ClickOn(Control(c.field));
        Press(vcl::VK_END);
        Press(vcl::VK_HOME, vcl::ssShift);
        Type(c.typed);
        EXPECT_EQ(dynamic_cast<vcl::TEdit*>(Control(c.field))->Text(), c.shown);
    }
    // A lower-case digit in the write data is an upper-case one in the frame.
    Retype(form_->Edit2, "2");
    Retype(form_->Edit22, "ab");
    EXPECT_EQ(form_->Memo2->Text().substr(28, 2), "AB");
}

TEST_F(ComposerTest, TheClipboardShortcutsAreDiscardedByTheFilters) {
    screen_.SetClipboardText("12");
    ClickOn(form_->Edit2);
    Press('V', vcl::ssCtrl);
    EXPECT_EQ(form_->Edit2->Text(), "4");
}

struct Generated {
    const char* length;
    const char* value;
    const char* data;
    const char* frame;
};

TEST_F(ComposerTest, GenerateFillsTheDataBytesOfAFloatOrADouble) {
    const Generated cases[] = {
        {"4", "1", "00 00 80 3F", "01  10  00  01  00  02  04  00  00  80  3F  13  B3  "},
        {"8", "1", "00 00 00 00 00 00 F0 3F",
         "01  10  00  01  00  04  08  00  00  00  00  00  00  F0  3F  4F  A9  "},
        {"4", "12.5", "00 00 48 41", "01  10  00  01  00  02  04  00  00  48  41  C4  53  "},
        {"8", "12.5", "00 00 00 00 00 00 29 40", nullptr},
        {"4", "", "00 00 00 00", nullptr},
        {"4", ".", "00 00 00 00", nullptr},
    };
    WriteMode();
    for (const Generated& c : cases) {
        SCOPED_TRACE(std::string(c.length) + " " + c.value);
        Retype(form_->Edit2, c.length);
        Retype(form_->Edit3, c.value);
        ClickOn(form_->SeSkinButton4);
        EXPECT_EQ(form_->Edit22->Text(), c.data);
        if (c.frame) {
            EXPECT_EQ(form_->Memo2->Text(), c.frame);
        }
    }
    EXPECT_EQ(form_->Edit3->Text(), ".");
    EXPECT_EQ(Boxes().Count(), 0);
}

TEST_F(ComposerTest, GenerateWithALengthNoIntegerHoldsShowsTheErrorBoxAndChangesNothing) {
    WriteMode();
    Retype(form_->Edit22, "12");
    const std::string frame = form_->Memo2->Text();
    // Pasted with Shift+Insert, which no key filter sees; the composer fails at once, so the
    // generation row stays.
    screen_.SetClipboardText("4" + std::string(10, '0'));
    ClickOn(form_->Edit2);
    Press(vcl::VK_END);
    Press(vcl::VK_HOME, vcl::ssShift);
    Press(vcl::VK_INSERT, vcl::ssShift);
    ASSERT_TRUE(form_->SeSkinButton4->Visible());
    Boxes().Clear();
    ClickOn(form_->SeSkinButton4);
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Text, "'40000000000' is not a valid integer value.");
    EXPECT_EQ(form_->Edit22->Text(), "12");
    EXPECT_EQ(form_->Memo2->Text(), frame);
}

TEST_F(ComposerTest, AMillionDigitPasteIntoTheLengthIsRefusedWithItsQuoteShortened) {
    screen_.SetClipboardText(std::string(1000000, '7'));
    ClickOn(form_->Edit2);
    Press(vcl::VK_END);
    Press(vcl::VK_HOME, vcl::ssShift);
    Boxes().Clear();
    Press(vcl::VK_INSERT, vcl::ssShift);
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Text, "'" + std::string(64, '7') + "\u2026' is not a valid integer value.");
}

TEST_F(ComposerTest, GenerateTellsAFloatValueErrorAndAnOverflowInTheTitledBox) {
    WriteMode();
    Retype(form_->Edit22, "12");
    const std::string frame = form_->Memo2->Text();
    Retype(form_->Edit3, "1..2");
    Boxes().Clear();
    ClickOn(form_->SeSkinButton4);
    ASSERT_EQ(Boxes().Count(), 1);
    EXPECT_EQ(Boxes()[0].Caption, "Velmo Modbus-RTU");
    EXPECT_EQ(Boxes()[0].Text, "'1..2' is not a valid floating point value.");
    Retype(form_->Edit3, "1" + std::string(39, '0'));
    ClickOn(form_->SeSkinButton4);
    ASSERT_EQ(Boxes().Count(), 2);
    EXPECT_EQ(Boxes()[1].Text, "Floating point overflow.");
    EXPECT_EQ(form_->Edit22->Text(), "12");
    EXPECT_EQ(form_->Memo2->Text(), frame);
    Retype(form_->Edit2, "8");
    ClickOn(form_->SeSkinButton4);
    EXPECT_EQ(Boxes().Count(), 2);  // a double holds it
    EXPECT_EQ(form_->Edit22->Text().size(), 23u);
}

TEST_F(ComposerTest, GenerateWithAWidthOtherThanFourOrEightChangesNothing) {
    // The button is hidden for such widths; the handler itself is called as the only way there.
    WriteMode();
    Retype(form_->Edit2, "6");
    const std::string data = form_->Edit22->Text();
    const std::string frame = form_->Memo2->Text();
    form_->SeSkinButton4Click(form_->SeSkinButton4);
    EXPECT_EQ(form_->Edit22->Text(), data);
    EXPECT_EQ(form_->Memo2->Text(), frame);
}

using Row = std::tuple<const char*, const char*, const char*>;  // name, English, Chinese
const Row kLanguageTable[] = {
    {"SeSkinGroupBox1", " Port Set ", " 通讯端口设置 "},
    {"SeSkinLabel1", "PORT:", "串   口::"},
    {"SeSkinLabel2", "BaudRate:", "波特率:"},
    {"SeSkinLabel3", "DataBit:", "数据位长:"},
    {"SeSkinLabel4", "StopBit:", "停止位长:"},
    {"SeSkinButton1", "Port Open", "打开串口"},
    {"SeSkinGroupBox4", "Transmit", "发送操作"},
    {"SeSkinLabel13", "Addr", "表地址"},
    {"SeSkinLabel25", "Func", "功能号"},
    {"SeSkinLabel26", "StartAddress", "起始地址"},
    {"SeSkinLabel9", "Length", "长度"},
    {"SeSkinLabel31", "Sent Data ( Hex )", "待写数据 ( Hex )"},
    {"SeSkinLabel14", "Generation", "产生"},
    {"SeSkinButton4", "Generate", "生成"},
    {"SeSkinLabel30", "Data buffers ( Hex )", "待发数据 ( Hex )"},
    {"SeSkinGroupBox3", "Receive data buffers ( Hex )", "返回数据 ( Hex )"},
};

class LanguageTest : public ComposerTest {
protected:
    std::string CaptionOf(const char* name) {
        vcl::TComponent* c = form_->FindComponent(name);
        if (auto* l = dynamic_cast<se::TSeCustomLabel*>(c)) return Wide(l->Caption());
        if (auto* b = dynamic_cast<se::TSeCustomButton*>(c)) return Wide(b->Caption());
        if (auto* g = dynamic_cast<se::TSeCustomGroupBox*>(c)) return Wide(g->Caption());
        ADD_FAILURE() << name;
        return {};
    }
    void Pick(int item) { ClickOn(form_->SeSkinRadioGroup1->Buttons()[static_cast<size_t>(item)]); }
};

TEST_F(LanguageTest, TheChooserWritesItsTableInBothDirections) {
    Pick(0);
    for (const auto& [name, english, chinese] : kLanguageTable) EXPECT_EQ(CaptionOf(name), english) << name;
    EXPECT_EQ(CaptionOf("SeSkinButton3"), "发送");
    EXPECT_EQ(CaptionOf("SeSkinLabel19"), "接收CRCL：");
    EXPECT_EQ(CaptionOf("SeSkinLabel29"), "CRCL");
    EXPECT_EQ(form_->Caption(), "Modbus RTU 通讯调试程式");
    Pick(1);
    for (const auto& [name, english, chinese] : kLanguageTable) EXPECT_EQ(CaptionOf(name), chinese) << name;
}

TEST_F(LanguageTest, TheComposerAndThePortButtonWriteChineseWhateverTheLanguage) {
    Pick(0);
    Retype(form_->Edit2, "4");
    EXPECT_EQ(CaptionOf("SeSkinLabel9"), "读长度:");
    ClickPortButton();
    EXPECT_EQ(CaptionOf("SeSkinButton1"), "关闭串口");
    Pick(1);
    Pick(0);
    EXPECT_EQ(CaptionOf("SeSkinButton1"), "Port Open");
    EXPECT_TRUE(form_->Comm1->PortOpen());
    ClickPortButton();
    EXPECT_FALSE(form_->Comm1->PortOpen());
    EXPECT_EQ(CaptionOf("SeSkinButton1"), "打开串口");
}

TEST_F(ComposerTest, TabbingVisitsTheControlsInTheirStoredOrderSkippingDisabledAndHidden) {
    ClickPortButton();  // enables the send button
    ClickOn(Control("SeSkinComboBox1"), {5, 10});
    std::vector<std::string> visited;
    for (int i = 0; i < 16; ++i) {
        visited.push_back(form_->ActiveControl() ? form_->ActiveControl()->Name() : "");
        Press(vcl::VK_TAB);
    }
    const std::vector<std::string> expected = {
        "SeSkinComboBox1", "SeSkinComboBox2", "SeSkinButton1", "SeSkinComboBox3", "SeSkinComboBox4",
        "Edit16", "Edit17", "Edit19", "Edit20", "Memo1",
        "SeSkinComboBox100", "SeSkinComboBox8", "SeSkinButton3", "Edit27", "Edit2", "Memo2",
    };
    EXPECT_EQ(visited, expected);
    // The radio group hands the focus to its checked button.
    EXPECT_EQ(form_->ActiveControl()->Parent(), form_->SeSkinRadioGroup1);
}

TEST_F(ComposerTest, ResizingTheWindowMovesOnlyTheStatusBar) {
    std::vector<std::pair<vcl::TControl*, vcl::TRect>> before;
    for (int i = 0; i < form_->ComponentCount(); ++i) {
        if (auto* c = dynamic_cast<vcl::TControl*>(form_->Components(i))) before.emplace_back(c, c->BoundsRect());
    }
    screen_.ResizeNativeWindow(form_->Handle(), form_->Width() + 100, form_->Height() + 80);
    Pump();
    for (const auto& [c, rect] : before) {
        if (c == form_->SeSkinStatusBar1) continue;
        EXPECT_EQ(c->BoundsRect(), rect) << c->Name();
    }
    EXPECT_EQ(form_->SeSkinStatusBar1->Top(), 579 + 80);
    EXPECT_EQ(form_->SeSkinStatusBar1->Width(), 572 + 100);
    EXPECT_EQ(form_->SeSkinStatusBar1->Height(), 22);
}

}  // namespace
}  // namespace app::testing
