#pragma once
// The main window: TForm1 with the port panel, the send panel (request composer), the reply panel
// and the language chooser. Its controls come from the window's stored values (Unit1Stored.cpp),
// applied while the form loads; the handlers are bound afterwards, and OnCreate composes the first
// request. Every control is also reachable by its designer name through FindComponent.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/StoredForm.h"
#include "modbus/ReplyCheck.h"
#include "platform/toolkit/Form.h"

namespace vcl {
class TEdit;
class TImage;
class TLabel;
class TMemo;
}  // namespace vcl
namespace se {
class TSeSkinButton;
class TSeSkinComboBox;
class TSeSkinGroupBox;
class TSeSkinLabel;
class TSeSkinRadioGroup;
class TSeSkinStatusBar;
}  // namespace se
namespace serial {
class TComm;
}

namespace app {

// The window's stored values: its properties, its components in creation order, its bindings.
const TStoredForm& Form1Stored();

// The address the logo opens.
inline constexpr const char* kHomePage = "https://www.modbus.org/";

// Texts the handlers write.
inline constexpr const char* kNoReplyText = "无返回数据 ";
inline constexpr const char* kOpenCaption = "打开串口";
inline constexpr const char* kCloseCaption = "关闭串口";

class TForm1 : public vcl::TForm {
public:
    explicit TForm1(vcl::TComponent* AOwner);
    ~TForm1() override;

    // How the logo opens its address; the desktop's non-blocking opener unless replaced (tests
    // replace it).
    static std::function<bool(const std::string&)>& WebOpener();

    // Controls, by their designer names.
    vcl::TImage* Image1 = nullptr;
    vcl::TLabel* Label2 = nullptr;
    se::TSeSkinGroupBox* SeSkinGroupBox1 = nullptr;
    se::TSeSkinLabel* SeSkinLabel1 = nullptr;
    se::TSeSkinLabel* SeSkinLabel2 = nullptr;
    se::TSeSkinLabel* SeSkinLabel3 = nullptr;
    se::TSeSkinLabel* SeSkinLabel4 = nullptr;
    se::TSeSkinComboBox* SeSkinComboBox1 = nullptr;
    se::TSeSkinComboBox* SeSkinComboBox2 = nullptr;
    se::TSeSkinButton* SeSkinButton1 = nullptr;
    se::TSeSkinComboBox* SeSkinComboBox3 = nullptr;
    se::TSeSkinComboBox* SeSkinComboBox4 = nullptr;
    se::TSeSkinGroupBox* SeSkinGroupBox3 = nullptr;
    vcl::TMemo* Memo1 = nullptr;
    se::TSeSkinLabel* SeSkinLabel19 = nullptr;
    vcl::TEdit* Edit16 = nullptr;
    se::TSeSkinLabel* SeSkinLabel18 = nullptr;
    vcl::TEdit* Edit17 = nullptr;
    se::TSeSkinLabel* SeSkinLabel21 = nullptr;
    vcl::TEdit* Edit19 = nullptr;
    se::TSeSkinLabel* SeSkinLabel22 = nullptr;
    vcl::TEdit* Edit20 = nullptr;
    vcl::TLabel* Label1 = nullptr;
    se::TSeSkinGroupBox* SeSkinGroupBox4 = nullptr;
    se::TSeSkinLabel* SeSkinLabel13 = nullptr;
    se::TSeSkinLabel* SeSkinLabel25 = nullptr;
    se::TSeSkinLabel* SeSkinLabel26 = nullptr;
    se::TSeSkinLabel* SeSkinLabel9 = nullptr;
    se::TSeSkinLabel* SeSkinLabel31 = nullptr;
    se::TSeSkinLabel* SeSkinLabel29 = nullptr;
    se::TSeSkinLabel* SeSkinLabel28 = nullptr;
    se::TSeSkinLabel* SeSkinLabel14 = nullptr;
    se::TSeSkinLabel* SeSkinLabel30 = nullptr;
    se::TSeSkinComboBox* SeSkinComboBox8 = nullptr;
    se::TSeSkinComboBox* SeSkinComboBox100 = nullptr;
    vcl::TEdit* Edit27 = nullptr;
    vcl::TEdit* Edit2 = nullptr;
    vcl::TEdit* Edit22 = nullptr;
    vcl::TEdit* Edit25 = nullptr;
    vcl::TEdit* Edit26 = nullptr;
    vcl::TEdit* Edit3 = nullptr;
    se::TSeSkinButton* SeSkinButton4 = nullptr;
    se::TSeSkinButton* SeSkinButton3 = nullptr;
    vcl::TMemo* Memo2 = nullptr;
    se::TSeSkinRadioGroup* SeSkinRadioGroup1 = nullptr;
    se::TSeSkinStatusBar* SeSkinStatusBar1 = nullptr;
    serial::TComm* Comm1 = nullptr;

    // Handlers.
    void SeSkinComboBox100Change(vcl::TObject* Sender);
    void SeSkinButton1Click(vcl::TObject* Sender);
    void SeSkinButton3Click(vcl::TObject* Sender);
    void Comm1ReceiveData(vcl::TObject* Sender);
    void Edit2KeyPress(vcl::TObject* Sender, char32_t& Key);
    void Edit22KeyPress(vcl::TObject* Sender, char32_t& Key);
    void Edit3KeyPress(vcl::TObject* Sender, char32_t& Key);
    void SeSkinButton4Click(vcl::TObject* Sender);
    void SeSkinRadioGroup1Click(vcl::TObject* Sender);
    void Image1Click(vcl::TObject* Sender);

private:
    template <typename T>
    void Find(T*& field, const char* name);
    void FindControls();
    void BindHandlers();

    // The status bar's second and third panels: the last reply's response time (for the first
    // reply after a request) and its verdict, in the chosen language.
    void ShowReplyPanels();
    // Label1 keeps its stored place while the float fits the reply panel, else its right edge
    // stays at the panel's inner edge.
    void PlaceFloatLabel();

    // When the last request's last byte left the line (0: no request awaits its reply).
    uint64_t requestEnd_ = 0;
    std::optional<uint64_t> responseMicros_;
    std::optional<modbus::TReplyCheck> lastCheck_;
    int floatLabelLeft_ = 0;
};

// The main window, set when it is created.
extern TForm1* Form1;

}  // namespace app
