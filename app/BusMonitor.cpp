#include "app/BusMonitor.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>

#include "app/LogText.h"
#include "app/LogView.h"
#include "controls/button/Button.h"
#include "controls/checkbox/CheckBox.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/label/Label.h"
#include "controls/statusbar/StatusBar.h"
#include "modbus/DataTable.h"
#include "modbus/FrameDescription.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf.h"
#include "platform/runtime/Clock.h"
#include "platform/shell/NewFile.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Screen.h"
#include "platform/window/Clipboard.h"
#include "serial/TComm1.h"

namespace app {

TBusMonitorForm* BusMonitor = nullptr;

namespace {

using modbus::TLanguage;

// The monitor's own reading while a repeated request waits: short against the 20 ms silence.
constexpr uint32_t kReadStepMs = 2;
// The log is shown at most this often: at line speed rows come faster than anyone reads them,
// and a paint for every frame would cost a tenth of a core at 500 frames a second.
constexpr uint64_t kShowEveryMicros = 40000;

std::u16string Say(TLanguage language, const char* chinese, const char* english) {
    return rtl::Utf8ToUtf16(modbus::InLanguage(language, chinese, english));
}

uint64_t Now() { return vcl::Clock().NowMicroseconds(); }

int64_t EpochNow() {
    using namespace std::chrono;
    return duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
}

// "velmo-modbus-20261209-215508": the log's file name by the time it is saved.
std::string FileStem() {
    const time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stem[64];
    std::strftime(stem, sizeof stem, "velmo-modbus-%Y%m%d-%H%M%S", &local);
    return stem;
}

bool WriteAll(int fd, const std::string& text) {
    for (size_t at = 0; at < text.size();) {
        const ssize_t n = ::write(fd, text.data() + at, text.size() - at);
        if (n < 0) return false;
        at += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

TBusMonitorForm::TBusMonitorForm(vcl::TComponent* AOwner)
    : vcl::TForm(AOwner), log_(Now(), EpochNow()) {
    ReadStoredForm(*this, BusMonitorStored());
    Find(GroupRepeat, "GroupRepeat");
    Find(CheckRepeat, "CheckRepeat");
    Find(LabelInterval, "LabelInterval");
    Find(EditInterval, "EditInterval");
    Find(LabelTimeout, "LabelTimeout");
    Find(EditTimeout, "EditTimeout");
    Find(ButtonZero, "ButtonZero");
    Find(ButtonSave, "ButtonSave");
    Find(LabelCounters, "LabelCounters");
    Find(LogView, "LogView");
    Find(DetailView, "DetailView");
    Find(StatusBar, "StatusBar");
    auto notify = [this](void (TBusMonitorForm::*handler)(vcl::TObject*)) {
        return [this, handler](vcl::TObject* sender) { (this->*handler)(sender); };
    };
    BindStoredEvents(*this, BusMonitorStored(),
                     {{"CheckRepeatClick", notify(&TBusMonitorForm::CheckRepeatClick)},
                      {"ButtonZeroClick", notify(&TBusMonitorForm::ButtonZeroClick)},
                      {"ButtonSaveClick", notify(&TBusMonitorForm::ButtonSaveClick)},
                      {"TimingChange", notify(&TBusMonitorForm::TimingChange)}},
                     {});

    LogView->SetSource({[this] { return log_.FirstKept(); },
                        [this] { return static_cast<uint64_t>(log_.Rows().size()); },
                        [this](uint64_t row) {
                            const TLogRow& r = log_.Row(row);
                            std::vector<std::u16string> cells;
                            for (const std::string& cell : LogCells(log_, r, language_, true)) {
                                cells.push_back(rtl::Utf8ToUtf16(cell));
                            }
                            return cells;
                        },
                        [this](uint64_t row, size_t column) {
                            const TLogRow& r = log_.Row(row);
                            if (column == kGapColumn) return r.GapTooLong;
                            if (column == kCrcColumn) return r.IsFrame() && r.Verdict != modbus::TReplyVerdict::CrcOk;
                            return r.Kind == TLogKind::OpenFailed || r.Kind == TLogKind::DeviceGone;
                        }});
    LogView->OnSelectionChange = [this](vcl::TObject*) { ShowDetail(); };
    LogView->OnCopy = [this](vcl::TObject*) { CopySelection(); };

    logTimer_ = new vcl::TTimer(this);
    logTimer_->SetEnabled(false);
    logTimer_->SetOnTimer([this](vcl::TObject*) { TickLog(); });
    repeatTimer_ = new vcl::TTimer(this);
    repeatTimer_->SetEnabled(false);
    repeatTimer_->SetOnTimer([this](vcl::TObject*) { RepeatStep(); });
    readTimer_ = new vcl::TTimer(this);
    readTimer_->SetEnabled(false);
    readTimer_->SetInterval(kReadStepMs);
    readTimer_->SetOnTimer([this](vcl::TObject*) { ReadReply(); });
    showTimer_ = new vcl::TTimer(this);
    showTimer_->SetEnabled(false);
    showTimer_->SetOnTimer([this](vcl::TObject*) { ShowLogNow(); });
    log_.OnChanged = [this] { LogChanged(); };
    SetLanguage(TLanguage::Chinese);
}

TBusMonitorForm::~TBusMonitorForm() {
    // The port outlives nothing of ours: it must not call into a gone log.
    if (comm_) comm_->SetMonitor({});
    log_.OnChanged = nullptr;
}

template <typename T>
void TBusMonitorForm::Find(T*& field, const char* name) {
    field = dynamic_cast<T*>(FindComponent(name));
    if (!field) throw EReadError(std::string("The stored form lacks ") + name);
}

void TBusMonitorForm::Watch(serial::TComm& comm, std::function<void()> send,
                            std::function<void(const std::vector<uint8_t>&, uint64_t)> show) {
    comm_ = &comm;
    send_ = std::move(send);
    show_ = std::move(show);
    comm.SetMonitor([this](const serial::TCommEvent& event) { log_.Hear(event); });
    log_.Waiting = [this]() -> uint32_t { return comm_->PortOpen() ? comm_->WaitingCount() : 0; };
}

// ---- the log -----------------------------------------------------------------------------------

void TBusMonitorForm::LogChanged() {
    ShowLog();
    Schedule();
    // The reply the monitor read itself goes to the main window once it has ended.
    if (reading_ && log_.Added() > readFrom_ && !log_.Rows().empty()) {
        const TLogRow& last = log_.Rows().back();
        if (last.Kind == TLogKind::Received) {
            reading_ = false;
            if (show_) show_(last.Bytes, last.Micros);
        }
    }
    if (!repeating_) return;
    if (!log_.Rows().empty()) {
        const TLogKind last = log_.Rows().back().Kind;
        if (last == TLogKind::Closed || last == TLogKind::DeviceGone) {
            StopRepeating(Say(language_, "端口已关闭，重复发送停止", "The port closed: repeating stopped"));
            return;
        }
    }
    // Answered or timed out: the next request after the interval.
    if (!log_.AwaitingReply() && !repeatTimer_->Enabled()) {
        readTimer_->SetEnabled(false);
        repeatTimer_->SetInterval(static_cast<uint32_t>(Milliseconds(*EditInterval).value_or(kShortestRepeatMs)));
        repeatTimer_->SetEnabled(true);
    }
}

void TBusMonitorForm::ShowLog() {
    if (showTimer_->Enabled()) return;
    const uint64_t now = Now();
    if (!shownAt_ || now - *shownAt_ >= kShowEveryMicros) {
        ShowLogNow();
        return;
    }
    showTimer_->SetInterval(static_cast<uint32_t>((*shownAt_ + kShowEveryMicros - now + 999) / 1000));
    showTimer_->SetEnabled(true);
}

void TBusMonitorForm::ShowLogNow() {
    showTimer_->SetEnabled(false);
    shownAt_ = Now();
    LogView->RowsChanged();
    ShowCounters();
}

void TBusMonitorForm::Schedule() {
    const std::optional<uint64_t> deadline = log_.NextDeadline();
    if (!deadline) {
        logTimer_->SetEnabled(false);
        return;
    }
    const uint64_t now = Now();
    const auto ms = static_cast<uint32_t>(*deadline > now ? (*deadline - now + 999) / 1000 : 1);
    logTimer_->SetInterval(std::max<uint32_t>(ms, 1));
    logTimer_->SetEnabled(true);
}

void TBusMonitorForm::TickLog() {
    log_.Tick(Now());
    Schedule();
}

// ---- repeat ------------------------------------------------------------------------------------

void TBusMonitorForm::CheckRepeatClick(vcl::TObject*) {
    if (CheckRepeat->Checked() == repeating_) return;
    if (!CheckRepeat->Checked()) {
        StopRepeating(u"");
        return;
    }
    const std::optional<int> interval = Milliseconds(*EditInterval);
    const std::optional<int> timeout = Milliseconds(*EditTimeout);
    if (!interval || !timeout) {
        StopRepeating(TimingError());
        return;
    }
    if (!comm_ || !comm_->PortOpen()) {
        StopRepeating(Say(language_, "端口未打开", "The port is not open"));
        return;
    }
    log_.SetReplyTimeout(static_cast<uint64_t>(*timeout) * 1000);
    repeating_ = true;
    ShowStatus(u"");
    RepeatStep();
}

void TBusMonitorForm::RepeatStep() {
    repeatTimer_->SetEnabled(false);
    if (!repeating_) return;
    if (!comm_->PortOpen()) {
        StopRepeating(Say(language_, "端口已关闭，重复发送停止", "The port closed: repeating stopped"));
        return;
    }
    try {
        send_();
    } catch (const std::exception& e) {
        StopRepeating(rtl::Utf8ToUtf16(e.what()));
        return;
    }
    readTimer_->SetEnabled(log_.AwaitingReply());
}

void TBusMonitorForm::ReadReply() {
    if (!log_.AwaitingReply() || !comm_->PortOpen()) {
        readTimer_->SetEnabled(false);
        return;
    }
    // While the main window reads a reply itself the bytes are its; the log hears them anyway.
    if (MainReceiving && MainReceiving()) return;
    if (comm_->WaitingCount() == 0) return;
    if (!reading_) readFrom_ = log_.Added();
    reading_ = true;
    const uint8_t* data = nullptr;
    comm_->ReadBytes(data);
}

void TBusMonitorForm::StopRepeating(const std::u16string& why) {
    repeating_ = false;
    repeatTimer_->SetEnabled(false);
    readTimer_->SetEnabled(false);
    if (CheckRepeat->Checked()) CheckRepeat->SetChecked(false);
    if (!why.empty()) ShowStatus(why);
}

void TBusMonitorForm::TimingChange(vcl::TObject*) {
    const std::optional<int> timeout = Milliseconds(*EditTimeout);
    if (!Milliseconds(*EditInterval) || !timeout) {
        ShowStatus(TimingError());
        return;
    }
    log_.SetReplyTimeout(static_cast<uint64_t>(*timeout) * 1000);
    ShowStatus(u"");
}

std::u16string TBusMonitorForm::TimingError() const {
    return Say(language_, "间隔和超时须为 20 至 3600000 ms", "Interval and time-out must be 20 to 3600000 ms");
}

std::optional<int> TBusMonitorForm::Milliseconds(const vcl::TEdit& field) const {
    const std::string& text = field.Text();
    if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos) return {};
    const int value = std::stoi(text);
    if (value < kShortestRepeatMs || value > kLongestRepeatMs) return {};
    return value;
}

void TBusMonitorForm::ButtonZeroClick(vcl::TObject*) { log_.ZeroCounters(); }

// ---- detail, copy, save --------------------------------------------------------------------------

void TBusMonitorForm::ShowDetail() {
    std::vector<modbus::TDataRow> rows;
    const std::optional<uint64_t> current = LogView->CurrentRow();
    if (current && log_.Kept(*current)) {
        const TLogRow& row = log_.Row(*current);
        if (row.IsFrame()) {
            const auto side = row.Kind == TLogKind::Sent ? modbus::TFrameSide::Request : modbus::TFrameSide::Reply;
            rows = modbus::DataTable(modbus::FrameData(row.Bytes, side));
        }
    }
    auto shared = std::make_shared<std::vector<modbus::TDataRow>>(std::move(rows));
    DetailView->SetSource({[] { return uint64_t{0}; }, [shared] { return static_cast<uint64_t>(shared->size()); },
                           [shared](uint64_t row) {
                               const modbus::TDataRow& r = (*shared)[row];
                               std::vector<std::u16string> cells{rtl::Utf8ToUtf16(r.type)};
                               for (const std::string& value : r.values) cells.push_back(rtl::Utf8ToUtf16(value));
                               return cells;
                           },
                           {}});
    DetailView->ScrollTo(0);
}

void TBusMonitorForm::CopySelection() {
    std::string text;
    for (const uint64_t row : LogView->SelectedRows()) {
        text += TabRow(log_, log_.Row(row), language_);
        text += '\n';
    }
    if (!text.empty()) vcl::ClipboardSetText(text);
}

std::string TBusMonitorForm::SaveLog(const std::string& folder) {
    const vcl::TNewFile file = vcl::CreateNewFile(folder.empty() ? vcl::DocumentsFolder() : folder, FileStem(), "csv");
    if (file.fd < 0) {
        ShowStatus(rtl::Utf8ToUtf16(file.error));
        return {};
    }
    const rtl::ScopeExit close([&] { ::close(file.fd); });
    std::string text = CsvHeader(language_) + "\r\n";
    bool written = true;
    for (const TLogRow& row : log_.Rows()) {
        text += CsvRow(log_, row, language_);
        text += "\r\n";
        // Written in pieces: a full log is tens of megabytes.
        if (text.size() > (1u << 20)) {
            written = written && WriteAll(file.fd, text);
            text.clear();
        }
    }
    written = written && WriteAll(file.fd, text);
    if (!written) {
        const std::string why = std::string(modbus::InLanguage(language_, "无法写入 ", "cannot write ")) +
                                file.path + ": " + std::strerror(errno);
        ::unlink(file.path.c_str());
        ShowStatus(rtl::Utf8ToUtf16(why));
        return {};
    }
    ShowStatus(Say(language_, "已保存到 ", "Saved to ") + rtl::Utf8ToUtf16(file.path));
    return file.path;
}

void TBusMonitorForm::ButtonSaveClick(vcl::TObject*) { SaveLog(); }

// ---- words -------------------------------------------------------------------------------------

void TBusMonitorForm::ShowCounters() {
    std::string text = CountersText(log_.Counters(), language_);
    if (log_.Dropped() > 0) {
        text += language_ == TLanguage::Chinese ? "   已舍弃最早的 " + std::to_string(log_.Dropped()) + " 行"
                                               : "   " + std::to_string(log_.Dropped()) + " oldest rows dropped";
    }
    LabelCounters->SetCaption(text);
}

void TBusMonitorForm::ShowStatus(const std::u16string& text) { StatusBar->Panels().Items(0)->SetText(text); }

void TBusMonitorForm::SetLanguage(TLanguage language) {
    language_ = language;
    SetCaption(modbus::InLanguage(language, "总线监视", "Bus monitor"));
    GroupRepeat->SetCaption(Say(language, "重复发送与计数", "Repeat and counters"));
    CheckRepeat->SetCaption(Say(language, "重复发送", "Repeat"));
    LabelInterval->SetCaption(Say(language, "间隔 ms：", "Every ms:"));
    LabelTimeout->SetCaption(Say(language, "超时 ms：", "Time-out ms:"));
    ButtonZero->SetCaption(Say(language, "清零", "Zero"));
    ButtonSave->SetCaption(Say(language, "保存", "Save"));
    std::vector<TLogView::TColumn> columns;
    static constexpr int kWidths[kLogColumnCount] = {62, 34, 34, 180, 62, 84, 70, 56, 320};
    const std::vector<std::string> titles = LogTitles(language);
    for (size_t i = 0; i < titles.size(); ++i) columns.push_back({rtl::Utf8ToUtf16(titles[i]), kWidths[i]});
    LogView->SetColumns(columns);
    DetailView->SetColumns({{Say(language, "类型", "Type"), 70}, {u"ABCD", 150}, {u"CDAB", 150}, {u"BADC", 150},
                            {u"DCBA", 150}});
    ShowCounters();
    LogView->Redraw();
}

void TBusMonitorForm::ShowBeside(const vcl::TForm& main) {
    if (!placed_) {
        placed_ = true;
        // Right of the main window, else left of it, else as far right as the screen allows.
        const int screen = vcl::Screen().Width();
        const int right = main.Left() + main.Width() + 8, left = main.Left() - 8 - Width();
        SetLeft(right + Width() <= screen ? right : left >= 0 ? left : std::max(0, screen - Width()));
        SetTop(main.Top());
    }
    Show();
    BringToFront();
}

}  // namespace app
