#include "app/Unit1.h"

#include "app/BusMonitor.h"
#include "app/ReplyCollector.h"

#include <algorithm>
#include <string>
#include <vector>

#include "controls/button/Button.h"
#include "controls/combobox/ComboBox.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/label/Label.h"
#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "modbus/modbus.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf.h"
#include "platform/runtime/Clock.h"
#include "platform/shell/Shell.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/Label.h"
#include "serial/TComm1.h"

namespace app {

TForm1* Form1 = nullptr;

namespace {

constexpr int kReadMode = 0;
constexpr int kWriteMode = 1;

constexpr serial::TBaudRate kBaudRates[] = {serial::br4800,  serial::br9600,  serial::br14400, serial::br19200,
                                            serial::br38400, serial::br57600, serial::br76800, serial::br115200};
constexpr serial::TStopBits kStopBits[] = {serial::SB1, serial::SB1_5, serial::SB2};

template <typename T, size_t N>
T Pick(const T (&table)[N], int index) {
    return table[static_cast<size_t>(std::clamp(index, 0, static_cast<int>(N) - 1))];
}

// Key filters: backspace always passes; any other character only when allowed.
bool Admit(char32_t key, bool (*allowed)(char32_t)) { return key == 8 || allowed(key); }
bool IsDigit(char32_t k) { return k >= '0' && k <= '9'; }
bool IsHexDigit(char32_t k) { return IsDigit(k) || (k >= 'A' && k <= 'F') || (k >= 'a' && k <= 'f'); }
bool IsDecimal(char32_t k) { return IsDigit(k) || k == '.'; }

struct TCaptionRow {
    const char* english;
    const char* chinese;
};

std::u16string ResponseText(uint64_t micros, modbus::TLanguage language) {
    const std::string ms = std::to_string((micros + 500) / 1000);
    return rtl::Utf8ToUtf16(std::string(modbus::InLanguage(language, "响应 ", "Reply ")) + ms + " ms");
}

std::u16string VerdictText(const modbus::TReplyCheck& check, modbus::TLanguage language) {
    const bool chinese = language == modbus::TLanguage::Chinese;
    switch (check.Verdict) {
        case modbus::TReplyVerdict::CrcOk: return chinese ? u"CRC 正确" : u"CRC OK";
        case modbus::TReplyVerdict::CrcError: return chinese ? u"CRC 错误" : u"CRC error";
        case modbus::TReplyVerdict::Exception: break;
    }
    std::string text = (chinese ? "异常 " : "Exception ") + modbus::ByteToHex(check.ExceptionCode);
    const std::string name = modbus::ExceptionName(check.ExceptionCode, language);
    if (!name.empty()) text += " " + name;
    return rtl::Utf8ToUtf16(text);
}

}  // namespace

TForm1::TForm1(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {
    ReadStoredForm(*this, Form1Stored());
    FindControls();
    BindHandlers();
    floatLabelLeft_ = Label1->Left();
    // The bus monitor opens by F12, the reply memo's menu, or a double click on the reply's panels.
    SetKeyPreview(true);
    Memo1->AddContextCommand(
        [this] { return modbus::InLanguage(Language(), "总线监视…", "Bus monitor…"); },
        [this](vcl::TObject*) { OpenBusMonitor(); });
    SeSkinStatusBar1->OnPanelDblClick = [this](vcl::TObject*, se::TSeStatusPanel* panel) {
        const int index = panel ? panel->Index() : -1;
        if (index == 1 || index == 2) OpenBusMonitor();
    };
}

TForm1::~TForm1() = default;

std::function<bool(const std::string&)>& TForm1::WebOpener() {
    static std::function<bool(const std::string&)> opener = vcl::OpenWebAddress;
    return opener;
}

template <typename T>
void TForm1::Find(T*& field, const char* name) {
    field = dynamic_cast<T*>(FindComponent(name));
    if (!field) throw EReadError(std::string("The stored form lacks ") + name);
}

void TForm1::FindControls() {
    Find(Image1, "Image1");
    Find(Label2, "Label2");
    Find(SeSkinGroupBox1, "SeSkinGroupBox1");
    Find(SeSkinLabel1, "SeSkinLabel1");
    Find(SeSkinLabel2, "SeSkinLabel2");
    Find(SeSkinLabel3, "SeSkinLabel3");
    Find(SeSkinLabel4, "SeSkinLabel4");
    Find(SeSkinComboBox1, "SeSkinComboBox1");
    Find(SeSkinComboBox2, "SeSkinComboBox2");
    Find(SeSkinButton1, "SeSkinButton1");
    Find(SeSkinComboBox3, "SeSkinComboBox3");
    Find(SeSkinComboBox4, "SeSkinComboBox4");
    Find(SeSkinGroupBox3, "SeSkinGroupBox3");
    Find(Memo1, "Memo1");
    Find(SeSkinLabel19, "SeSkinLabel19");
    Find(Edit16, "Edit16");
    Find(SeSkinLabel18, "SeSkinLabel18");
    Find(Edit17, "Edit17");
    Find(SeSkinLabel21, "SeSkinLabel21");
    Find(Edit19, "Edit19");
    Find(SeSkinLabel22, "SeSkinLabel22");
    Find(Edit20, "Edit20");
    Find(Label1, "Label1");
    Find(SeSkinGroupBox4, "SeSkinGroupBox4");
    Find(SeSkinLabel13, "SeSkinLabel13");
    Find(SeSkinLabel25, "SeSkinLabel25");
    Find(SeSkinLabel26, "SeSkinLabel26");
    Find(SeSkinLabel9, "SeSkinLabel9");
    Find(SeSkinLabel31, "SeSkinLabel31");
    Find(SeSkinLabel29, "SeSkinLabel29");
    Find(SeSkinLabel28, "SeSkinLabel28");
    Find(SeSkinLabel14, "SeSkinLabel14");
    Find(SeSkinLabel30, "SeSkinLabel30");
    Find(SeSkinComboBox8, "SeSkinComboBox8");
    Find(SeSkinComboBox100, "SeSkinComboBox100");
    Find(Edit27, "Edit27");
    Find(Edit2, "Edit2");
    Find(Edit22, "Edit22");
    Find(Edit25, "Edit25");
    Find(Edit26, "Edit26");
    Find(Edit3, "Edit3");
    Find(SeSkinButton4, "SeSkinButton4");
    Find(SeSkinButton3, "SeSkinButton3");
    Find(Memo2, "Memo2");
    Find(SeSkinRadioGroup1, "SeSkinRadioGroup1");
    Find(SeSkinStatusBar1, "SeSkinStatusBar1");
    Find(Comm1, "Comm1");
}

void TForm1::BindHandlers() {
    auto notify = [this](void (TForm1::*handler)(vcl::TObject*)) {
        return [this, handler](vcl::TObject* sender) { (this->*handler)(sender); };
    };
    auto keyPress = [this](void (TForm1::*handler)(vcl::TObject*, char32_t&)) {
        return [this, handler](vcl::TObject* sender, char32_t& key) { (this->*handler)(sender, key); };
    };
    BindStoredEvents(*this, Form1Stored(),
                     {{"SeSkinComboBox100Change", notify(&TForm1::SeSkinComboBox100Change)},
                      {"SeSkinButton1Click", notify(&TForm1::SeSkinButton1Click)},
                      {"SeSkinButton3Click", notify(&TForm1::SeSkinButton3Click)},
                      {"Comm1ReceiveData", notify(&TForm1::Comm1ReceiveData)},
                      {"SeSkinButton4Click", notify(&TForm1::SeSkinButton4Click)},
                      {"SeSkinRadioGroup1Click", notify(&TForm1::SeSkinRadioGroup1Click)},
                      {"Image1Click", notify(&TForm1::Image1Click)}},
                     {{"Edit2KeyPress", keyPress(&TForm1::Edit2KeyPress)},
                      {"Edit22KeyPress", keyPress(&TForm1::Edit22KeyPress)},
                      {"Edit3KeyPress", keyPress(&TForm1::Edit3KeyPress)}});
}

// The request composer: lays the send panel out for the function chosen and shows the request
// the fields describe, with its CRC.
void TForm1::SeSkinComboBox100Change(vcl::TObject*) {
    // Refilling an empty field runs this handler once more, nested, with the new text.
    if (Edit2->Text().empty()) Edit2->SetText("1");
    const int32_t length = modbus::StrToInt(Edit2->Text());
    if (Edit27->Text().empty()) Edit27->SetText("1");
    const int32_t start = modbus::StrToInt(Edit27->Text());
    const auto slave = static_cast<uint8_t>(SeSkinComboBox8->ItemIndex() + 1);

    if (SeSkinComboBox100->ItemIndex() == kReadMode) {
        SeSkinLabel9->SetCaption(u"读长度:");
        Edit22->SetVisible(false);
        SeSkinLabel31->SetVisible(false);
        Edit25->SetLeft(kCrcLowLeftRead);
        SeSkinLabel29->SetLeft(kCrcLowLeftRead);
        Edit26->SetLeft(kCrcHighLeftRead);
        SeSkinLabel28->SetLeft(kCrcHighLeftRead);
        SeSkinLabel14->SetVisible(false);
        Edit3->SetVisible(false);
        SeSkinButton4->SetVisible(false);
    } else if (SeSkinComboBox100->ItemIndex() == kWriteMode) {
        SeSkinLabel9->SetCaption(u"写长度:");
        Edit22->SetVisible(true);
        SeSkinLabel31->SetVisible(true);
        Edit25->SetLeft(kCrcLowLeft);
        SeSkinLabel29->SetLeft(kCrcLowLeft);
        Edit26->SetLeft(kCrcHighLeft);
        SeSkinLabel28->SetLeft(kCrcHighLeft);
        const bool generates = length == 4 || length == 8;
        SeSkinLabel14->SetVisible(generates);
        Edit3->SetVisible(generates);
        SeSkinButton4->SetVisible(generates);
        if (length == 4) SeSkinLabel14->SetCaption(u"可由Float 生成待写Hex 数据");
        if (length == 8) SeSkinLabel14->SetCaption(u"可由Double 生成待写Hex 数据");
    }

    if (SeSkinComboBox100->ItemIndex() == kReadMode) {
        modbus::BuildReadRequest(slave, start, length);
        Memo2->SetText(modbus::FormatReadFrame());
        Edit25->SetText(modbus::ByteToHex(modbus::FrameBuffer[6]));
        Edit26->SetText(modbus::ByteToHex(modbus::FrameBuffer[7]));
    } else if (SeSkinComboBox100->ItemIndex() == kWriteMode) {
        // A length the buffer cannot hold raises before anything is written.
        const int count = modbus::BuildWriteRequest(slave, start, length, Edit22->Text());
        Edit25->SetText(modbus::ByteToHex(modbus::FrameBuffer[static_cast<size_t>(length) + 7]));
        Edit26->SetText(modbus::ByteToHex(modbus::FrameBuffer[static_cast<size_t>(length) + 8]));
        Memo2->SetText(modbus::FormatWriteFrame(count));
    }
}

// The port panel's toggle: the chosen settings go to the port, then it opens or closes.
void TForm1::SeSkinButton1Click(vcl::TObject*) {
    Comm1->SetCommPort(static_cast<serial::TComPortNumber>(std::clamp(SeSkinComboBox1->ItemIndex(), 0, 14)));
    Comm1->SetBaudRate(Pick(kBaudRates, SeSkinComboBox2->ItemIndex()));
    Comm1->SetDataBits(static_cast<serial::TDataBits>(std::clamp(SeSkinComboBox3->ItemIndex(), 0, 3)));
    Comm1->SetStopBits(Pick(kStopBits, SeSkinComboBox4->ItemIndex()));
    if (!Comm1->PortOpen()) {
        Comm1->SetPortOpen(true);  // a failure ends the click here, the panel still closed
        SeSkinButton1->SetCaption(u"关闭串口");
        SeSkinButton3->SetEnabled(true);
    } else {
        Comm1->SetPortOpen(false);
        SeSkinButton1->SetCaption(u"打开串口");
        SeSkinButton3->SetEnabled(false);
    }
}

// Send: the frame memo's text, as it stands, goes out as bytes; the reply panel then waits.
void TForm1::SeSkinButton3Click(vcl::TObject*) {
    // A text longer than the buffer raises here, before anything is sent or reset.
    const int count = modbus::ParseFrameText(Memo2->Text());
    const bool sent = Comm1->SendBytes(modbus::FrameBuffer.data(), static_cast<uint32_t>(count));
    // The request is on the line until its last character has gone out at the port's speed.
    requestEnd_ = sent ? Comm1->LastSendDone() + static_cast<uint64_t>(count) * Comm1->CharacterMicroseconds() : 0;
    responseMicros_.reset();
    lastCheck_.reset();
    ShowReplyPanels();
    Memo1->SetText(kNoReplyText);
    Edit16->SetText("");
    Edit17->SetText("");
    Edit19->SetText("");
    Edit20->SetText("");
}

// Receive: after a moment for the rest of the reply, the reply is read until the line falls
// quiet, and shown with its CRC check, its count, its float value for four data bytes, its
// response time and its verdict.
void TForm1::Comm1ReceiveData(vcl::TObject*) {
    const rtl::ScopedFlag receiving(receiving_, true);
    const uint64_t found = vcl::Clock().NowMicroseconds();
    vcl::Sleep(100);
    TCollectedReply reply = CollectReply(*Comm1, found);
    // Nothing new (the port threw away an input too long for it): the last read shows again.
    if (reply.Bytes.empty()) {
        if (Comm1->InputBytes().empty()) return;
        ShowReply(Comm1->InputBytes(), std::nullopt);
        return;
    }
    ShowReply(reply.Bytes, reply.FirstArrival);
}

void TForm1::ShowReply(const std::vector<uint8_t>& bytes, std::optional<uint64_t> firstArrival) {
    const modbus::TReplyCheck check = modbus::CheckReply(bytes);
    Edit16->SetText(check.HasCrc ? modbus::ByteToHex(check.ReceivedCrcLow) : std::string());
    Edit17->SetText(check.HasCrc ? modbus::ByteToHex(check.ReceivedCrcHigh) : std::string());
    Memo1->SetText(check.Hex);
    Edit19->SetText(check.HasCrc ? modbus::ByteToHex(check.LocalCrcLow()) : std::string());
    Edit20->SetText(check.HasCrc ? modbus::ByteToHex(check.LocalCrcHigh()) : std::string());
    SeSkinStatusBar1->Panels().Items(0)->SetText(
        rtl::Utf8ToUtf16("共接收到 " + std::to_string(check.Count) + " byte 数据"));
    if (check.Float) {
        Label1->SetCaption(*check.Float);
        PlaceFloatLabel();
    }
    // Only the first reply after a request has a response time; a pty answers before the request
    // would have left a real line, which counts as no wait.
    responseMicros_.reset();
    if (firstArrival && requestEnd_ != 0) {
        responseMicros_ = *firstArrival > requestEnd_ ? *firstArrival - requestEnd_ : 0;
        requestEnd_ = 0;
    }
    lastCheck_ = check;
    ShowReplyPanels();
}

modbus::TLanguage TForm1::Language() const {
    return SeSkinRadioGroup1->ItemIndex() == 0 ? modbus::TLanguage::English : modbus::TLanguage::Chinese;
}

void TForm1::OpenBusMonitor() {
    if (BusMonitor) BusMonitor->ShowBeside(*this);
}

void TForm1::KeyDown(uint16_t& key, vcl::TShiftState shift) {
    vcl::TForm::KeyDown(key, shift);
    if (key != vcl::VK_F12 || shift != 0) return;
    key = 0;
    OpenBusMonitor();
}

void TForm1::ShowReplyPanels() {
    const modbus::TLanguage language = Language();
    SeSkinStatusBar1->Panels().Items(1)->SetText(responseMicros_ ? ResponseText(*responseMicros_, language) : u"");
    SeSkinStatusBar1->Panels().Items(2)->SetText(lastCheck_ ? VerdictText(*lastCheck_, language) : u"");
}

void TForm1::PlaceFloatLabel() {
    // The group box's etched frame takes the last four pixels of its width. A text wider than
    // the room beside the reply memo starts at the memo's edge instead: slid under the memo it
    // would lose its sign and first digits, a wrong value; past the frame only the last digit.
    const int innerEdge = SeSkinGroupBox3->Width() - 4;
    const int memoEdge = Memo1->Left() + Memo1->Width();
    Label1->SetLeft(std::max(memoEdge, std::min(floatLabelLeft_, innerEdge - Label1->Width())));
}

void TForm1::Edit2KeyPress(vcl::TObject*, char32_t& Key) {
    if (!Admit(Key, IsDigit)) Key = 0;
}

void TForm1::Edit22KeyPress(vcl::TObject*, char32_t& Key) {
    if (!Admit(Key, IsHexDigit)) Key = 0;
}

void TForm1::Edit3KeyPress(vcl::TObject*, char32_t& Key) {
    if (!Admit(Key, IsDecimal)) Key = 0;
}

// Generate: the data bytes of the decimal in Edit3, as a float (length 4) or a double (length 8).
void TForm1::SeSkinButton4Click(vcl::TObject*) {
    const int32_t width = modbus::StrToInt(Edit2->Text());
    if (Edit3->Text().empty()) Edit3->SetText("0");
    if (width != 4 && width != 8) return;
    Edit22->SetText(modbus::ValueToDataText(Edit3->Text(), width));
    Edit22->Update();
}

// The language chooser writes its table of captions, whatever else shows them meanwhile.
void TForm1::SeSkinRadioGroup1Click(vcl::TObject*) {
    const bool english = SeSkinRadioGroup1->ItemIndex() == 0;
    if (!english && SeSkinRadioGroup1->ItemIndex() != 1) return;
    auto pick = [english](const TCaptionRow& row) { return rtl::Utf8ToUtf16(english ? row.english : row.chinese); };
    SeSkinGroupBox1->SetCaption(pick({" Port Set ", " 通讯端口设置 "}));
    SeSkinLabel1->SetCaption(pick({"PORT:", "串   口::"}));
    SeSkinLabel2->SetCaption(pick({"BaudRate:", "波特率:"}));
    SeSkinLabel3->SetCaption(pick({"DataBit:", "数据位长:"}));
    SeSkinLabel4->SetCaption(pick({"StopBit:", "停止位长:"}));
    SeSkinButton1->SetCaption(pick({"Port Open", "打开串口"}));
    SeSkinGroupBox4->SetCaption(pick({"Transmit", "发送操作"}));
    SeSkinLabel13->SetCaption(pick({"Addr", "表地址"}));
    SeSkinLabel25->SetCaption(pick({"Func", "功能号"}));
    SeSkinLabel26->SetCaption(pick({"StartAddress", "起始地址"}));
    SeSkinLabel9->SetCaption(pick({"Length", "长度"}));
    SeSkinLabel31->SetCaption(pick({"Sent Data ( Hex )", "待写数据 ( Hex )"}));
    SeSkinLabel14->SetCaption(pick({"Generation", "产生"}));
    SeSkinButton4->SetCaption(pick({"Generate", "生成"}));
    SeSkinLabel30->SetCaption(pick({"Data buffers ( Hex )", "待发数据 ( Hex )"}));
    SeSkinGroupBox3->SetCaption(pick({"Receive data buffers ( Hex )", "返回数据 ( Hex )"}));
    ShowReplyPanels();
    if (BusMonitor) BusMonitor->SetLanguage(Language());
}

void TForm1::Image1Click(vcl::TObject*) {
    // Nothing is reported when the address cannot be opened.
    if (WebOpener()) WebOpener()(kHomePage);
}

}  // namespace app
