#pragma once
// The bus monitor: a second window of our own beside the main one. It shows the bus log (every
// frame sent and received with its timing, CRC verdict and decoding, every port event) as a
// table, the selected frame's data read in every type and byte order, repeats the frame memo's
// request with counters, copies rows and saves the whole log as CSV. It is made at start-up and
// logs from then on, shown or not; closing it only hides it. It follows the main window's
// language. Its controls come from its stored values (BusMonitorStored.cpp).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/BusLog.h"
#include "app/StoredForm.h"
#include "modbus/ReplyCheck.h"
#include "platform/runtime/Timer.h"
#include "platform/toolkit/Form.h"

namespace vcl {
class TEdit;
class TLabel;
}  // namespace vcl
namespace se {
class TSeSkinButton;
class TSeSkinCheckBox;
class TSeSkinGroupBox;
class TSeSkinLabel;
class TSeSkinStatusBar;
}  // namespace se
namespace serial {
class TComm;
}

namespace app {

class TLogView;

// The window's stored values.
const TStoredForm& BusMonitorStored();

// Repeat intervals and reply time-outs, in milliseconds: from 20 ms to an hour.
inline constexpr int kShortestRepeatMs = 20;
inline constexpr int kLongestRepeatMs = 3600000;

class TBusMonitorForm : public vcl::TForm {
public:
    explicit TBusMonitorForm(vcl::TComponent* AOwner);
    ~TBusMonitorForm() override;

    // Starts logging comm (from now on, shown or not). send is the main window's send: the frame
    // memo's bytes, as the send button sends them; show hands a reply the monitor read itself
    // while repeating to the main window's reply panel.
    void Watch(serial::TComm& comm, std::function<void()> send,
               std::function<void(const std::vector<uint8_t>&, uint64_t firstArrival)> show);
    // Whether the main window is reading a reply itself (the monitor then leaves the port alone).
    std::function<bool()> MainReceiving;
    void SetLanguage(modbus::TLanguage language);
    modbus::TLanguage Language() const { return language_; }
    // Shows the window beside the main one (or where it was left) and brings it to the front.
    void ShowBeside(const vcl::TForm& main);
    TBusLog& Log() { return log_; }
    // Saves the whole log as CSV into folder (the documents folder unless given); the path, or
    // empty with the reason in the status bar.
    std::string SaveLog(const std::string& folder = "");
    bool Repeating() const { return repeating_; }

    // Controls, by their stored names.
    se::TSeSkinGroupBox* GroupRepeat = nullptr;
    se::TSeSkinCheckBox* CheckRepeat = nullptr;    // repeat the frame memo's request
    se::TSeSkinLabel* LabelInterval = nullptr;
    vcl::TEdit* EditInterval = nullptr;            // ms after each reply (or time-out) before the next
    se::TSeSkinLabel* LabelTimeout = nullptr;
    vcl::TEdit* EditTimeout = nullptr;             // ms a reply may take
    se::TSeSkinButton* ButtonZero = nullptr;       // zeroes the counters
    se::TSeSkinButton* ButtonSave = nullptr;       // the log as CSV
    vcl::TLabel* LabelCounters = nullptr;
    TLogView* LogView = nullptr;                   // the log, newest at the bottom
    TLogView* DetailView = nullptr;                // the selected frame's data, typed and ordered
    se::TSeSkinStatusBar* StatusBar = nullptr;     // rows dropped, where the log was saved, why not

    // Handlers.
    void CheckRepeatClick(vcl::TObject* Sender);
    void ButtonZeroClick(vcl::TObject* Sender);
    void ButtonSaveClick(vcl::TObject* Sender);
    void TimingChange(vcl::TObject* Sender);

private:
    template <typename T>
    void Find(T*& field, const char* name);
    void LogChanged();
    // The rows and counters shown now, or when the last showing is old enough.
    void ShowLog();
    void ShowLogNow();
    void Schedule();
    void TickLog();
    void RepeatStep();
    void ReadReply();
    void StopRepeating(const std::u16string& why);
    void ShowDetail();
    void CopySelection();
    void ShowCounters();
    void ShowStatus(const std::u16string& text);
    // The field's value in ms when it is a whole number from 20 to 3600000.
    std::optional<int> Milliseconds(const vcl::TEdit& field) const;
    // Why the interval or time-out field is refused.
    std::u16string TimingError() const;

    TBusLog log_;
    serial::TComm* comm_ = nullptr;
    std::function<void()> send_;
    std::function<void(const std::vector<uint8_t>&, uint64_t)> show_;
    modbus::TLanguage language_ = modbus::TLanguage::Chinese;
    // Drives the log's deadlines (a frame ending, a reply overdue) while any is open.
    vcl::TTimer* logTimer_ = nullptr;
    // The next repeated request, and the monitor's own reading of its reply.
    vcl::TTimer* repeatTimer_ = nullptr;
    vcl::TTimer* readTimer_ = nullptr;
    vcl::TTimer* showTimer_ = nullptr;
    std::optional<uint64_t> shownAt_;
    bool repeating_ = false;
    bool placed_ = false;
    // Rows of the log the monitor read itself, to be shown in the main window when they end.
    uint64_t readFrom_ = 0;
    bool reading_ = false;
    uint64_t shownRows_ = 0;
};

// The monitor, made at start-up.
extern TBusMonitorForm* BusMonitor;

}  // namespace app
