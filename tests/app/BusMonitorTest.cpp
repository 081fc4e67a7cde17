// The bus monitor as a user meets it, in virtual time over a scripted COM1: F12 opens it beside
// the main window; the port's opening, a request, its reply, an exception and a split reply show
// as rows with their timing; a row's data shows in every type and order; rows copy and the log
// saves; the captions follow the language; repeating sends until the port closes, counting.

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/BusMonitor.h"
#include "app/LogText.h"
#include "app/LogView.h"
#include "controls/button/Button.h"
#include "controls/checkbox/CheckBox.h"
#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "modbus/modbus.h"
#include "platform/runtime/Clock.h"
#include "platform/toolkit/Label.h"
#include "platform/window/Clipboard.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/TempFolder.h"

#include <algorithm>

namespace app::testing {
namespace {


class BusMonitorTest : public MainWindowTest {
protected:
    // A desktop wide enough for both windows side by side, the monitor opened with F12.
    void OpenMonitor() {
        screen_.SetMonitors({vcl::TMonitorInfo{{0, 0, 1920, 1080}, {0, 0, 1920, 1050}, true}});
        ClickOn(form_->Edit27);
        Press(vcl::VK_F12);
    }
    TBusMonitorForm& Monitor() { return *BusMonitor; }
    uint64_t Now() { return vcl::Clock().NowMicroseconds(); }
    std::string Cell(size_t row, size_t column) {
        const TBusLog& log = Monitor().Log();
        return LogCells(log, log.Rows()[row], Monitor().Language(), false)[column];
    }
    std::string Status() { return Wide(Monitor().StatusBar->Panels().Items(0)->Text()); }
};

TEST_F(BusMonitorTest, F12OpensItBesideTheMainWindowAndEveryFrameAndPortEventIsARow) {
    OpenMonitor();
    ASSERT_TRUE(Monitor().Visible());
    EXPECT_GE(Monitor().Left(), form_->Left() + form_->Width()) << "beside, not over the main window";
    ClickPortButton();
    ClickSend();
    // The slave answers 12 ms after the request; later a reply split by a 4 ms pause, and an
    // exception; a request nobody answers.
    com1_->ScheduleInput(modbus::WithCrc({0x01, 0x03, 0x08, 0x00, 0x00, 0x3F, 0x80, 0x12, 0x34, 0xAB, 0xCD}), Now() + 12000, 0);
    Advance(400);
    const Bytes split = modbus::WithCrc({0x01, 0x03, 0x04, 0x41, 0x20, 0x00, 0x00});
    com1_->ScheduleInput(Bytes(split.begin(), split.begin() + 4), Now() + 1000, 87);
    com1_->ScheduleInput(Bytes(split.begin() + 4, split.end()), Now() + 1000 + 4 * 87 + 4000, 87);
    Advance(400);
    ClickSend();
    com1_->ScheduleInput(modbus::WithCrc({0x01, 0x83, 0x02}), Now() + 3000, 87);
    Advance(400);

    const TBusLog& log = Monitor().Log();
    ASSERT_EQ(log.Rows().size(), 6u);
    EXPECT_EQ(log.Rows()[0].Kind, TLogKind::Opened);
    EXPECT_EQ(Cell(0, kDecodingColumn).rfind("COM1 已打开：/dev/ttyFAKE1, 115200 8N1", 0), 0u) << Cell(0, kDecodingColumn);
    EXPECT_EQ(Cell(1, kDirectionColumn), "发送");
    EXPECT_EQ(Cell(1, kDecodingColumn), "从站 1，读保持寄存器，起始 1，数量 4");
    EXPECT_EQ(Cell(2, kDirectionColumn), "接收");
    EXPECT_EQ(Cell(2, kResponseColumn), "11.3") << "12 ms after the write, less the request's 8 characters";
    EXPECT_EQ(Cell(2, kCrcColumn), "正确");
    EXPECT_TRUE(log.Rows()[3].GapTooLong) << "4 ms inside a frame at 115200 baud";
    EXPECT_EQ(Cell(3, kResponseColumn), "") << "no request awaited it";
    EXPECT_EQ(Cell(5, kCrcColumn), "异常 02");

    // The split reply's data in every type and order: 41 20 00 00 is 10 as ABCD, 00 00 41 20 as
    // CDAB.
    Monitor().LogView->SelectRow(log.Added() - 3);
    Pump();
    std::vector<std::string> float32;
    for (uint64_t row = 0; row < 6; ++row) {
        const std::vector<std::u16string> cells = Monitor().DetailView->RowCells(row);
        if (!cells.empty() && cells[0] == u"float32") {
            for (const auto& cell : cells) float32.push_back(Wide(cell));
        }
    }
    ASSERT_EQ(float32.size(), 5u);
    EXPECT_EQ(float32[1], "10");

    // Two rows copied as tab-separated text; the log saved as CSV; then into a folder that
    // cannot hold a file.
    ClickOn(Monitor().LogView, {100, 40});
    screen_.PressKey(vcl::VK_DOWN, vcl::ssShift);
    screen_.PressKey('C', vcl::ssCtrl);
    Pump();
    const std::string copied = vcl::ClipboardGetText();
    EXPECT_EQ(std::count(copied.begin(), copied.end(), '\n'), 2) << copied;
    EXPECT_NE(copied.find('\t'), std::string::npos);
    vcl::TempFolder folder("velmo-monitor");
    const std::string path = Monitor().SaveLog(folder.Path());
    ASSERT_FALSE(path.empty()) << Status();
    EXPECT_EQ(Status(), "已保存到 " + path);
    std::ifstream saved(path);
    const std::string csv{std::istreambuf_iterator<char>(saved), std::istreambuf_iterator<char>()};
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 7) << "a header and six rows";
    EXPECT_NE(Monitor().SaveLog(folder.Path()), path) << "a second save never overwrites the first";
    EXPECT_EQ(Monitor().SaveLog(path + "/inside"), "");
    EXPECT_NE(Status().find("Not a directory"), std::string::npos) << Status();
    EXPECT_EQ(log.Rows().size(), 6u) << "a failed save loses no row";

    // English from the main window's chooser: the rows repainted, not their kept pictures.
    const vcl::PixelSection chinese = screen_.Screenshot(Monitor().Handle());
    ClickOn(form_->SeSkinRadioGroup1->Buttons()[0]);
    EXPECT_EQ(Monitor().Caption(), "Bus monitor");
    EXPECT_EQ(Cell(1, kDecodingColumn), "Slave 1, Read holding registers, start 1, count 4");
    EXPECT_EQ(Wide(Monitor().LogView->Columns()[kResponseColumn].Title), "Reply ms");
    const vcl::TPoint rows = Monitor().ScreenToClient(Monitor().LogView->ClientToScreen({0, TLogView::kRowHeight}));
    const vcl::TRect firstRows = vcl::Bounds(rows.X, rows.Y, Monitor().LogView->ClientWidth(), 6 * TLogView::kRowHeight);
    const vcl::PixelSection english = screen_.Screenshot(Monitor().Handle());
    EXPECT_GT(vcl::testing_support::Differences(chinese, english, firstRows), 100);
    Monitor().LogView->Redraw();
    Pump();
    EXPECT_EQ(vcl::testing_support::Differences(english, screen_.Screenshot(Monitor().Handle()), firstRows), 0)
        << "kept row pictures differ from rows painted afresh";
    SaveScreenshot("bus-monitor.png", Monitor().Handle());
}

TEST_F(BusMonitorTest, RepeatSendsAfterEachReplyOrTimeOutCountsAndStopsWhenThePortCloses) {
    OpenMonitor();
    ClickPortButton();
    // Every request is answered 5 ms later, except each third.
    int requests = 0;
    com1_->SetCallHook([&](vcl::SerialCall call) {
        if (call != vcl::SerialCall::WriteFile || ++requests % 3 == 0) return;
        com1_->ScheduleInput(modbus::WithCrc({0x01, 0x03, 0x08, 0, 1, 0, 2, 0, 3, 0, 4}), Now() + 5000, 87);
    });
    Retype(Monitor().EditInterval, "20");
    Retype(Monitor().EditTimeout, "50");
    ClickOn(Monitor().CheckRepeat);
    ASSERT_TRUE(Monitor().Repeating()) << Status();
    Advance(3000);
    ClickOn(Monitor().CheckRepeat);
    Advance(200);
    EXPECT_FALSE(Monitor().Repeating());
    const TLogCounters& c = Monitor().Log().Counters();
    EXPECT_GT(c.Sent, 30u);
    EXPECT_EQ(c.Sent, static_cast<uint64_t>(requests));
    EXPECT_EQ(c.Answered + c.NoReply, c.Sent);
    EXPECT_EQ(c.NoReply, c.Sent / 3) << c.Sent << " sent, " << c.Answered << " answered";
    EXPECT_EQ(c.ResponseMin, 5000u - 8 * 87u);
    EXPECT_EQ(c.CrcErrors, 0u);
    // The main window showed the replies the monitor read.
    EXPECT_EQ(form_->Memo1->Text().substr(0, 12), "  01  03  08");
    ClickOn(Monitor().ButtonZero);
    EXPECT_EQ(Monitor().Log().Counters(), TLogCounters{});
    // Closing the port ends a repeat.
    ClickOn(Monitor().CheckRepeat);
    Advance(100);
    ASSERT_TRUE(Monitor().Repeating());
    ClickPortButton();
    Advance(100);
    EXPECT_FALSE(Monitor().Repeating());
    EXPECT_FALSE(Monitor().CheckRepeat->Checked());
    // An interval out of range is refused with a word why.
    Retype(Monitor().EditInterval, "5");
    ClickPortButton();
    ClickOn(Monitor().CheckRepeat);
    EXPECT_FALSE(Monitor().Repeating());
    EXPECT_EQ(Status(), "间隔和超时须为 20 至 3600000 ms");
}

}  // namespace
}  // namespace app::testing
