#pragma once
// The main window: TForm1 with the port panel, the send panel (request composer), the reply panel
// and the language chooser. Its controls come from the window's stored values (Unit1Stored.cpp),
// applied while the form loads; the handlers are bound afterwards, and OnCreate composes the first
// request. Every control is also reachable by its designer name through FindComponent.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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

// The send panel's columns the request composer moves. Stored for a write: the CRC fields and
// their captions beside the write data. For a read the write data goes and the CRC pair takes its
// place, keeping its spacing.
inline constexpr int kWriteDataLeft = 296;  // Edit22 and its caption
inline constexpr int kCrcLowLeft = 448;     // Edit25 and its caption
inline constexpr int kCrcHighLeft = 504;    // Edit26 and its caption
inline constexpr int kCrcLowLeftRead = kWriteDataLeft;
inline constexpr int kCrcHighLeftRead = kWriteDataLeft + (kCrcHighLeft - kCrcLowLeft);

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

    // Controls, by their designer names, panel by panel.

    // The window.
    se::TSeSkinRadioGroup* SeSkinRadioGroup1 = nullptr;  // language chooser: English, Chinese
    vcl::TImage* Image1 = nullptr;                       // logo; a click opens the home page
    vcl::TLabel* Label2 = nullptr;                       // what the program is for
    se::TSeSkinStatusBar* SeSkinStatusBar1 = nullptr;    // status bar; panel 0: bytes received
    serial::TComm* Comm1 = nullptr;                      // the serial port

    // The port panel.
    se::TSeSkinGroupBox* SeSkinGroupBox1 = nullptr;    // the panel
    se::TSeSkinLabel* SeSkinLabel1 = nullptr;          // caption: port
    se::TSeSkinComboBox* SeSkinComboBox1 = nullptr;    // port, COM1 to COM15
    se::TSeSkinLabel* SeSkinLabel2 = nullptr;          // caption: baud rate
    se::TSeSkinComboBox* SeSkinComboBox2 = nullptr;    // baud rate
    se::TSeSkinLabel* SeSkinLabel3 = nullptr;          // caption: data bits
    se::TSeSkinComboBox* SeSkinComboBox3 = nullptr;    // data bits, 5 to 8
    se::TSeSkinLabel* SeSkinLabel4 = nullptr;          // caption: stop bits
    se::TSeSkinComboBox* SeSkinComboBox4 = nullptr;    // stop bits, 1, 1.5 or 2
    se::TSeSkinButton* SeSkinButton1 = nullptr;        // opens and closes the port

    // The send panel (the request composer).
    se::TSeSkinGroupBox* SeSkinGroupBox4 = nullptr;    // the panel
    se::TSeSkinLabel* SeSkinLabel13 = nullptr;         // caption: slave address
    se::TSeSkinComboBox* SeSkinComboBox8 = nullptr;    // slave address, 1 to 50
    se::TSeSkinLabel* SeSkinLabel25 = nullptr;         // caption: function
    se::TSeSkinComboBox* SeSkinComboBox100 = nullptr;  // function: 0x03 read or 0x10 write
    se::TSeSkinLabel* SeSkinLabel26 = nullptr;         // caption: start address
    vcl::TEdit* Edit27 = nullptr;                      // start address, decimal
    se::TSeSkinLabel* SeSkinLabel9 = nullptr;          // caption: read or write length
    vcl::TEdit* Edit2 = nullptr;                       // length, decimal: registers to read, bytes to write
    se::TSeSkinLabel* SeSkinLabel31 = nullptr;         // caption: write data (writes only)
    vcl::TEdit* Edit22 = nullptr;                      // write data, hex (writes only)
    se::TSeSkinLabel* SeSkinLabel29 = nullptr;         // caption: CRC, low byte
    vcl::TEdit* Edit25 = nullptr;                      // the request's CRC, low byte
    se::TSeSkinLabel* SeSkinLabel28 = nullptr;         // caption: CRC, high byte
    vcl::TEdit* Edit26 = nullptr;                      // the request's CRC, high byte
    se::TSeSkinLabel* SeSkinLabel14 = nullptr;         // caption: float or double generator (4- or 8-byte writes)
    vcl::TEdit* Edit3 = nullptr;                       // the decimal the write data is generated from
    se::TSeSkinButton* SeSkinButton4 = nullptr;        // generates the write data from Edit3
    se::TSeSkinLabel* SeSkinLabel30 = nullptr;         // caption: frame to send
    vcl::TMemo* Memo2 = nullptr;                       // the frame to send, hex, editable
    se::TSeSkinButton* SeSkinButton3 = nullptr;        // sends Memo2 (enabled while the port is open)

    // The reply panel.
    se::TSeSkinGroupBox* SeSkinGroupBox3 = nullptr;    // the panel
    vcl::TMemo* Memo1 = nullptr;                       // the reply, hex
    se::TSeSkinLabel* SeSkinLabel19 = nullptr;         // caption: received CRC, low byte
    vcl::TEdit* Edit16 = nullptr;                      // received CRC, low byte
    se::TSeSkinLabel* SeSkinLabel18 = nullptr;         // caption: received CRC, high byte
    vcl::TEdit* Edit17 = nullptr;                      // received CRC, high byte
    se::TSeSkinLabel* SeSkinLabel21 = nullptr;         // caption: local CRC, low byte
    vcl::TEdit* Edit19 = nullptr;                      // CRC computed here over the reply, low byte
    se::TSeSkinLabel* SeSkinLabel22 = nullptr;         // caption: local CRC, high byte
    vcl::TEdit* Edit20 = nullptr;                      // CRC computed here over the reply, high byte
    vcl::TLabel* Label1 = nullptr;                     // float value of a 9-byte reply's 4 data bytes

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

    // A reply's bytes in the reply panel, as the receive handler shows them; firstArrival gives
    // the response time to the first reply after a request (the bus monitor hands over the
    // replies it read itself while repeating).
    void ShowReply(const std::vector<uint8_t>& bytes, std::optional<uint64_t> firstArrival);
    // Whether the receive handler is reading a reply now.
    bool Receiving() const { return receiving_; }
    modbus::TLanguage Language() const;
    void OpenBusMonitor();

protected:
    // F12 opens the bus monitor.
    void KeyDown(uint16_t& key, vcl::TShiftState shift) override;

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
    bool receiving_ = false;
    uint64_t requestEnd_ = 0;
    std::optional<uint64_t> responseMicros_;
    std::optional<modbus::TReplyCheck> lastCheck_;
    int floatLabelLeft_ = 0;
};

// The main window, set when it is created.
extern TForm1* Form1;

}  // namespace app
