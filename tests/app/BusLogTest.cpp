// The bus monitor's record, fed with what a port tells: frames cut at the line's silence, their
// pauses and silences, replies paired with requests, counters over a run, and the bound.

#include "app/BusLog.h"

#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "app/LogText.h"
#include "modbus/modbus.h"

namespace app {
namespace {

using Bytes = std::vector<uint8_t>;

// 9600 baud, 8N1: 1042 us a character, so the silence is its 20 ms floor.
constexpr serial::TLineSettings kLine{9600, 8, serial::TParity::None, serial::SB1, 1042};

serial::TCommEvent Sent(uint64_t at, Bytes bytes) {
    return {.Kind = serial::TCommEventKind::Sent, .Micros = at, .PortNumber = 1, .Line = kLine, .Bytes = std::move(bytes)};
}

// A read: bytes delivered in runs {offset, time}.
serial::TCommEvent Read(Bytes bytes, std::vector<vcl::TArrivalRun> runs) {
    return {.Kind = serial::TCommEventKind::Received, .Micros = runs.front().Micros, .PortNumber = 1, .Line = kLine,
            .Bytes = std::move(bytes), .Arrivals = std::move(runs)};
}


TEST(BusLog, FramesPausesRepliesAndCountersOfARun) {
    TBusLog log(0, 0);
    uint32_t unread = 0;
    log.Waiting = [&] { return unread; };
    const Bytes request = modbus::WithCrc({0x01, 0x03, 0x00, 0x01, 0x00, 0x02});
    const Bytes reply = modbus::WithCrc({0x01, 0x03, 0x04, 0x00, 0x00, 0x80, 0x3F});
    log.Hear(Sent(100000, request));
    // The reply in two USB chunks 6 ms apart, read together long after; it starts 30 ms after
    // the request left the line (100 ms + 8 characters).
    const uint64_t first = 100000 + 8 * 1042 + 30000;
    log.Hear(Read(reply, {{0, first}, {4, first + 6000}}));
    EXPECT_EQ(log.Rows().size(), 1u) << "the frame is still open";
    unread = 3;
    log.Tick(first + 6000 + 25000);
    EXPECT_EQ(log.Rows().size(), 1u) << "bytes wait unread: not ended yet";
    unread = 0;
    log.Tick(first + 6000 + 25000);
    ASSERT_EQ(log.Rows().size(), 2u);
    const TLogRow& answer = log.Rows()[1];
    EXPECT_EQ(answer.Bytes, reply);
    EXPECT_EQ(answer.Verdict, modbus::TReplyVerdict::CrcOk);
    EXPECT_EQ(answer.Response, 30000u);
    EXPECT_EQ(answer.SilenceBefore, 30000u - 4 * 1042u) << "from the request's end to the first chunk's start";
    EXPECT_EQ(answer.LongestGap, 6000u - 5 * 1042u) << "the second chunk's five characters took 5.2 ms";
    EXPECT_FALSE(answer.GapTooLong);

    // A second request: an exception reply split by a 4 ms pause, then bytes 25 ms later are a
    // frame of their own; a third request never gets a reply.
    log.Hear(Sent(500000, request));
    const Bytes exception = modbus::WithCrc({0x01, 0x83, 0x02});
    const uint64_t at = 500000 + 8 * 1042 + 10000;
    log.Hear(Read({exception[0], exception[1], exception[2], exception[3], exception[4], 0x77},
                  {{0, at}, {2, at + 3 * 1042 + 4000}, {5, at + 3 * 1042 + 4000 + 25000}}));
    log.Tick(at + 60000);
    log.Hear(Sent(900000, request));
    log.Tick(900000 + 8 * 1042 + TBusLog::kDefaultReplyTimeout);
    ASSERT_EQ(log.Rows().size(), 6u);
    EXPECT_EQ(log.Rows()[3].Verdict, modbus::TReplyVerdict::Exception);
    EXPECT_EQ(log.Rows()[3].ExceptionCode, 2);
    EXPECT_TRUE(log.Rows()[3].GapTooLong) << "4 ms inside a frame is more than 1.5 characters";
    EXPECT_EQ(log.Rows()[4].Bytes, Bytes{0x77});
    EXPECT_FALSE(log.Rows()[4].Response) << "bytes after the reply answer nothing";
    const TLogCounters& c = log.Counters();
    EXPECT_EQ(c.Sent, 3u);
    EXPECT_EQ(c.Answered, 2u);
    EXPECT_EQ(c.NoReply, 1u);
    EXPECT_EQ(c.Exceptions, 1u);
    EXPECT_EQ(c.CrcErrors, 1u) << "the lone byte";
    EXPECT_EQ(c.ResponseMin, 10000u);
    EXPECT_EQ(c.ResponseMax, 30000u);
    EXPECT_EQ(c.ResponseAverage(), 20000u);
    log.ZeroCounters();
    EXPECT_EQ(log.Counters(), TLogCounters{});
}

TEST(LogText, RowsInBothLanguagesAsCellsCsvAndTabs) {
    setenv("TZ", "UTC", 1);
    tzset();
    // Started at 2026-12-09 12:00:00 UTC.
    TBusLog log(1000000, 1796817600000000);
    log.Hear(Sent(1000000 + 1234567, modbus::WithCrc({0x01, 0x03, 0x00, 0x01, 0x00, 0x02})));
    log.Hear({.Kind = serial::TCommEventKind::Opened, .Micros = 1500000, .PortNumber = 3, .Line = kLine,
              .Device = "/dev/ttyUSB0", .LowLatency = true, .LatencyTimerMs = 1});
    log.Hear({.Kind = serial::TCommEventKind::OpenFailed, .Micros = 1600000, .PortNumber = 3, .Line = kLine,
              .Reason = "COM3 -> /dev/ttyUSB0: cannot open the port: held by another program (minicom, pid 42)"});
    ASSERT_EQ(log.Rows().size(), 3u);
    const auto cells = LogCells(log, log.Rows()[0], modbus::TLanguage::English, false);
    EXPECT_EQ(cells[kTimeColumn], "1234.6");
    EXPECT_EQ(cells[kDirectionColumn], "TX");
    EXPECT_EQ(cells[kBytesColumn], "01 03 00 01 00 02 95 CB");
    EXPECT_EQ(cells[kCrcColumn], "OK");
    EXPECT_EQ(cells[kDecodingColumn], "Slave 1, Read holding registers, start 1, count 2");
    EXPECT_EQ(LogCells(log, log.Rows()[0], modbus::TLanguage::Chinese, false)[kDirectionColumn], "发送");
    EXPECT_EQ(LogCells(log, log.Rows()[1], modbus::TLanguage::English, false)[kDecodingColumn],
              "COM3 opened: /dev/ttyUSB0, 9600 8N1, low latency on, latency timer 1 ms");
    EXPECT_EQ(CsvRow(log, log.Rows()[0], modbus::TLanguage::English),
              "2026-12-09T12:00:01.234567+00:00,1234.6,TX,8,01 03 00 01 00 02 95 CB,,,OK,,"
              "\"Slave 1, Read holding registers, start 1, count 2\"");
    EXPECT_EQ(TabRow(log, log.Rows()[2], modbus::TLanguage::English),
              "600.0\tPort\t\t\t\t\t\t\tCOM3 did not open: COM3 -> /dev/ttyUSB0: cannot open the port: held by "
              "another program (minicom, pid 42)");
    EXPECT_EQ(CsvHeader(modbus::TLanguage::English).substr(0, 24), "Timestamp,Time ms,Dir,Le");
}

TEST(BusLog, KeepsTheNewest100000RowsAndCountsTheRest) {
    TBusLog log(0, 0);
    for (uint64_t i = 0; i < TBusLog::kMaxRows + 5; ++i) log.Hear(Sent(i * 1000000, {static_cast<uint8_t>(i)}));
    EXPECT_EQ(log.Rows().size(), TBusLog::kMaxRows);
    EXPECT_EQ(log.Dropped(), 5u);
    EXPECT_EQ(log.Rows().front().Bytes, Bytes{5});
    EXPECT_EQ(log.Counters().Sent, TBusLog::kMaxRows + 5);
}

}  // namespace
}  // namespace app
