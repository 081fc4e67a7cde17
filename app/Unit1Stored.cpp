// The stored values of the main window: every component by its designer name, with its parent
// and its properties in stored order, and the event bindings by handler name.

#include <deque>
#include <string>

#include "app/Unit1.h"

namespace app {
namespace {

using P = TStoredProperty;
using Props = std::vector<TStoredProperty>;

Props Join(Props own, const Props& shared) {
    own.insert(own.end(), shared.begin(), shared.end());
    return own;
}

Props Bounds(int left, int top, int width, int height) {
    return {{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
}

// What every control of one class of the set stores on this window.
const Props& GroupBoxStored() {
    static const Props props{{"Performance", TIdent{"kspNoBuffer"}}, {"Transparent", true}, {"CaptionMargin", 12},
                             {"UseCheckBox", false}, {"CheckBoxAlignment", TIdent{"ktaLeftJustify"}}};
    return props;
}

const Props& LabelStored() {
    static const Props props{{"Performance", TIdent{"kspNoBuffer"}}, {"Transparent", true},
                             {"Color", TIdent{"clAqua"}}, {"ParentColor", false}};
    return props;
}

const Props& ComboBoxStored() {
    static const Props props{
        {"Cursor", TIdent{"crIBeam"}},
        {"Performance", TIdent{"kspDoubleBuffer"}},
        {"Transparent", false},
        {"AutoSize", true},
        {"BevelSides", TIdentSet{{"kbsLeft"}, {"kbsTop"}, {"kbsRight"}, {"kbsBottom"}}},
        {"BevelInner", TIdent{"kbvLowered"}},
        {"BevelOuter", TIdent{"kbvLowered"}},
        {"BevelKind", TIdent{"kbkSingle"}},
        {"BevelWidth", 1},
        {"BorderWidth", 3},
        {"PasswordKind", TIdent{"pkNone"}},
        {"ContextMenuOptions.Animation.EffectKind", std::string_view{"[ RANDOM ] - Random selection"}},
        {"AutoComplete", false},
        {"ComboStyle", TIdent{"kcsDropDown"}},
        {"DropDownCount", 8},
        {"ItemHeight", 15},
        {"Flat", true},
        {"ListStyle", TIdent{"lbStandard"}},
        {"ShowCheckBoxes", false},
        {"WordWrap", false},
    };
    return props;
}

const Props& ButtonStored() {
    static const Props props{{"Performance", TIdent{"kspDoubleBuffer"}}, {"Transparent", false},
                             {"BlackAndWhiteGlyph", false}, {"State", TIdent{"kbsNormal"}}, {"WordWrap", false},
                             {"ShowCaption", true}, {"ShowGlyph", true}};
    return props;
}

TStoredComponent Make(std::string_view cls, std::string_view name, std::string_view parent, Props own,
                      const Props& shared = {}) {
    return TStoredComponent{cls, name, parent, Join(std::move(own), shared)};
}

TStoredComponent SeLabel(std::string_view name, std::string_view parent, int left, int top, int width,
                         std::string_view caption) {
    return Make("TSeSkinLabel", name, parent, Join(Bounds(left, top, width, 13), {{"Caption", caption}}),
                LabelStored());
}

TStoredComponent Combo(std::string_view name, std::string_view parent, int left, int top, int width, int tabOrder,
                       TStringItems items, int itemIndex, std::string_view text, Props extra = {}) {
    Props own = Bounds(left, top, width, 23);
    own.push_back({"TabOrder", tabOrder});
    own.insert(own.end(), extra.begin(), extra.end());
    own.push_back({"Text", text});
    Props props = Join(std::move(own), ComboBoxStored());
    props.push_back({"Items.Strings", std::move(items)});
    props.push_back({"ItemIndex", itemIndex});
    return TStoredComponent{"TSeSkinComboBox", name, parent, std::move(props)};
}

TStoredComponent Button(std::string_view name, std::string_view parent, int left, int top, int width, int tabOrder,
                        std::string_view caption, Props extra = {}) {
    Props own = Join(Bounds(left, top, width, 25), {{"Caption", caption}, {"TabOrder", tabOrder}});
    own.insert(own.end(), extra.begin(), extra.end());
    return Make("TSeSkinButton", name, parent, std::move(own), ButtonStored());
}

TStoredComponent Edit(std::string_view name, std::string_view parent, int left, int top, int width, int tabOrder,
                      std::string_view text, Props extra = {}) {
    Props own = Join(Bounds(left, top, width, 21), {{"TabOrder", tabOrder}, {"Text", text}});
    own.insert(own.end(), extra.begin(), extra.end());
    return Make("TEdit", name, parent, std::move(own));
}

// A field whose hint is shown.
Props Hinted(std::string_view hint) {
    return {{"Hint", hint}, {"ParentShowHint", false}, {"ShowHint", true}};
}

TStringItems Numbered(std::string_view prefix, int count) {
    // The texts live as long as the stored form (the whole run); a deque never moves them.
    static std::deque<std::string> texts;
    TStringItems items;
    for (int i = 1; i <= count; ++i) {
        texts.push_back(std::string(prefix) + std::to_string(i));
    }
    for (size_t i = texts.size() - static_cast<size_t>(count); i < texts.size(); ++i) items.push_back(texts[i]);
    return items;
}

TStoredForm BuildForm1() {
    TStoredForm f;
    f.formProperties = {
        {"Caption", std::string_view{"Modbus RTU 通讯调试程式"}},
        {"ClientHeight", 601},
        {"ClientWidth", 572},
        {"Color", TIdent{"clSilver"}},
        {"Font.Charset", TIdent{"DEFAULT_CHARSET"}},
        {"Font.Color", TIdent{"clWindowText"}},
        {"Font.Height", -11},
        {"Font.Name", std::string_view{"MS Sans Serif"}},
        {"BorderStyle", TIdent{"bsSizeable"}},
        {"Position", TIdent{"poScreenCenter"}},
    };

    auto& c = f.components;
    c.push_back(Make("TImage", "Image1", "",
                     Join(Bounds(8, 544, 121, 33), {{"Cursor", TIdent{"crHandPoint"}}, {"Picture.Data", TIdent{"VelmoLogo"}}})));
    c.push_back(Make("TLabel", "Label2", "",
                     Join(Bounds(136, 560, 313, 13),
                          {{"Caption", std::string_view{"本软件适用于与MODBUS-RTU通讯格式的设备通讯。            "}}})));

    // The port panel.
    c.push_back(Make("TSeSkinGroupBox", "SeSkinGroupBox1", "",
                     Join(Bounds(112, 8, 457, 97), {{"Caption", std::string_view{"通讯端口设置"}}, {"TabOrder", 0}}),
                     GroupBoxStored()));
    c.push_back(SeLabel("SeSkinLabel1", "SeSkinGroupBox1", 16, 30, 57, "串     口："));
    c.push_back(SeLabel("SeSkinLabel2", "SeSkinGroupBox1", 16, 62, 56, "波特率："));
    c.push_back(SeLabel("SeSkinLabel3", "SeSkinGroupBox1", 192, 30, 70, "数据位长："));
    c.push_back(SeLabel("SeSkinLabel4", "SeSkinGroupBox1", 192, 62, 70, "停止位长："));
    c.push_back(Combo("SeSkinComboBox1", "SeSkinGroupBox1", 72, 24, 97, 0, Numbered("COM", 15), 0, "COM1"));
    c.push_back(Combo("SeSkinComboBox2", "SeSkinGroupBox1", 72, 56, 97, 1,
                      {"4.8Kbps", "9.6Kbps", "14.4Kbps", "19.2Kbps", "38.4Kbps", "57,6Kbps", "76.8Kbps",
                       "115.2Kbps    "},
                      7, "115.2Kbps    "));
    c.push_back(Button("SeSkinButton1", "SeSkinGroupBox1", 384, 56, 65, 2, "打开串口"));
    c.push_back(Combo("SeSkinComboBox3", "SeSkinGroupBox1", 256, 24, 113, 3, {"5 bit", "6 bit", "7 bit", "8 bit"}, 3,
                      "8 bit"));
    c.push_back(Combo("SeSkinComboBox4", "SeSkinGroupBox1", 256, 56, 113, 4,
                      {"1 bit        ", "1.5 bit      ", "2 bit        "}, 0, "1 bit"));

    // The reply panel.
    c.push_back(Make("TSeSkinGroupBox", "SeSkinGroupBox3", "",
                     Join(Bounds(8, 312, 561, 225), {{"Caption", std::string_view{"返回数据 ( Hex ) "}}, {"TabOrder", 1}}),
                     GroupBoxStored()));
    c.push_back(Make("TMemo", "Memo1", "SeSkinGroupBox3",
                     Join(Bounds(8, 16, 457, 201), {{"Lines.Strings", TStringItems{"接收数据区"}}, {"TabOrder", 4}})));
    c.push_back(SeLabel("SeSkinLabel19", "SeSkinGroupBox3", 480, 16, 64, "接收CRCL："));
    c.push_back(Edit("Edit16", "SeSkinGroupBox3", 480, 32, 65, 0, "0"));
    c.push_back(SeLabel("SeSkinLabel18", "SeSkinGroupBox3", 480, 56, 66, "接收CRCH："));
    c.push_back(Edit("Edit17", "SeSkinGroupBox3", 480, 72, 65, 1, "0"));
    c.push_back(SeLabel("SeSkinLabel21", "SeSkinGroupBox3", 480, 96, 64, "本地CRCL："));
    c.push_back(Edit("Edit19", "SeSkinGroupBox3", 480, 112, 65, 2, "0"));
    c.push_back(SeLabel("SeSkinLabel22", "SeSkinGroupBox3", 480, 136, 66, "本地CRCH："));
    c.push_back(Edit("Edit20", "SeSkinGroupBox3", 480, 152, 65, 3, "0"));
    c.push_back(Make("TLabel", "Label1", "SeSkinGroupBox3",
                     Join(Bounds(480, 184, 32, 13), {{"Caption", std::string_view{"Label1"}}})));

    // The send panel.
    const std::string_view send = "SeSkinGroupBox4";
    c.push_back(Make("TSeSkinGroupBox", send, "",
                     Join(Bounds(8, 112, 561, 193), {{"Caption", std::string_view{"发送操作"}}, {"TabOrder", 2}}),
                     GroupBoxStored()));
    c.push_back(SeLabel("SeSkinLabel13", send, 16, 24, 56, "表地址："));
    c.push_back(SeLabel("SeSkinLabel25", send, 80, 24, 56, "功能号："));
    c.push_back(SeLabel("SeSkinLabel26", send, 152, 24, 70, "起始地址："));
    c.push_back(SeLabel("SeSkinLabel9", send, 216, 24, 56, "读长度："));
    c.push_back(SeLabel("SeSkinLabel31", send, kWriteDataLeft, 24, 104, "待写数据 ( Hex )："));
    c.push_back(SeLabel("SeSkinLabel29", send, kCrcLowLeft, 24, 28, "CRCL"));
    c.push_back(SeLabel("SeSkinLabel28", send, kCrcHighLeft, 24, 30, "CRCH"));
    c.push_back(SeLabel("SeSkinLabel14", send, 296, 64, 70, "待写数据："));
    c.push_back(SeLabel("SeSkinLabel30", send, 8, 88, 104, "待发数据 ( Hex )："));
    c.push_back(Combo("SeSkinComboBox8", send, 16, 40, 57, 1, Numbered("", 50), 0, "1",
                      Hinted("从机地址，十进制显示")));
    c.push_back(Combo("SeSkinComboBox100", send, 80, 40, 65, 0, {"0x03[读]", "0x10[写]"}, 0, "0x03[读]",
                      Hinted("功能号，十六进制显示")));
    c.push_back(Edit("Edit27", send, 152, 40, 57, 5, "1", Hinted("起始地址，输入十进制整数")));
    c.push_back(Edit("Edit2", send, 216, 40, 73, 7, "4", Hinted("以byte 为单位")));
    c.push_back(Edit("Edit22", send, kWriteDataLeft, 40, 145, 6, "0", Hinted("请输入十六进制整数，每两位代表1字节。")));
    c.push_back(Edit("Edit25", send, kCrcLowLeft, 40, 49, 3, "0", {{"Enabled", false}}));
    c.push_back(Edit("Edit26", send, kCrcHighLeft, 40, 49, 4, "0", {{"Enabled", false}}));
    c.push_back(Make("TEdit", "Edit3", send,
                     Join(Join(Bounds(296, 82, 89, 21), {{"TabOrder", 8}, {"Text", std::string_view{"0"}}}),
                          Hinted("以byte 为单位"))));
    c.push_back(Button("SeSkinButton4", send, 384, 80, 57, 9, "生成"));
    c.push_back(Button("SeSkinButton3", send, 488, 78, 59, 2, "发送", {{"Enabled", false}}));
    c.push_back(Make("TMemo", "Memo2", send, Join(Bounds(8, 112, 457, 73), {{"TabOrder", 10}})));

    c.push_back(Make("TSeSkinRadioGroup", "SeSkinRadioGroup1", "",
                     Join(Bounds(8, 8, 105, 97),
                          {{"Caption", std::string_view{" Language "}},
                           {"TabOrder", 3},
                           {"Items.Strings", TStringItems{"English", "Chinese"}},
                           {"ItemIndex", 1}}),
                     GroupBoxStored()));
    c.push_back(Make("TSeSkinStatusBar", "SeSkinStatusBar1", "",
                     Join(Bounds(0, 579, 572, 22),
                          {{"Align", TIdent{"alBottom"}},
                           {"Performance", TIdent{"kspNoBuffer"}},
                           {"Transparent", false},
                           {"BevelSides", TIdentSet{{"kbsLeft"}, {"kbsTop"}, {"kbsRight"}, {"kbsBottom"}}},
                           {"BevelInner", TIdent{"kbvSpace"}},
                           {"BevelOuter", TIdent{"kbvRaised"}},
                           {"BevelKind", TIdent{"kbkNone"}},
                           {"BevelWidth", 0},
                           {"BorderWidth", 2},
                           {"Color", TIdent{"clBtnFace"}},
                           {"Panels", TCollectionItems{{{"ImageIndex", -1}, {"Width", 150}},
                                                       {{"ImageIndex", -1}, {"Width", 150}},
                                                       {{"ImageIndex", -1}, {"Width", 150}}}}})));
    c.push_back(Make("TComm", "Comm1", "",
                     {{"CommPort", TIdent{"pnCOM2"}},
                      {"PortOpen", false},
                      {"BaudRate", TIdent{"br9600"}},
                      {"HwHandShaking", TIdent{"hhNone"}},
                      {"SwHandShaking", TIdent{"shNone"}},
                      {"DataBits", TIdent{"DB8"}},
                      {"Parity", TIdent{"None"}},
                      {"StopBits", TIdent{"SB1"}},
                      {"InputLen", 0},
                      {"RThreshold", 1},
                      {"DTREnabled", false},
                      {"RTSEnabled", false}}));

    f.events = {
        {"", "OnCreate", "SeSkinComboBox100Change"},
        {"Image1", "OnClick", "Image1Click"},
        {"SeSkinButton1", "OnClick", "SeSkinButton1Click"},
        {"SeSkinComboBox8", "OnChange", "SeSkinComboBox100Change"},
        {"SeSkinComboBox100", "OnChange", "SeSkinComboBox100Change"},
        {"Edit27", "OnChange", "SeSkinComboBox100Change"},
        {"Edit27", "OnKeyPress", "Edit2KeyPress"},
        {"Edit2", "OnChange", "SeSkinComboBox100Change"},
        {"Edit2", "OnKeyPress", "Edit2KeyPress"},
        {"Edit22", "OnChange", "SeSkinComboBox100Change"},
        {"Edit22", "OnKeyPress", "Edit22KeyPress"},
        {"Edit3", "OnKeyPress", "Edit3KeyPress"},
        {"SeSkinButton4", "OnClick", "SeSkinButton4Click"},
        {"SeSkinButton3", "OnClick", "SeSkinButton3Click"},
        {"SeSkinRadioGroup1", "OnClick", "SeSkinRadioGroup1Click"},
        {"Comm1", "OnReceiveData", "Comm1ReceiveData"},
    };
    return f;
}

}  // namespace

const TStoredForm& Form1Stored() {
    static const TStoredForm stored = BuildForm1();
    return stored;
}

}  // namespace app
