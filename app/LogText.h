#pragma once
// The bus monitor's words: a log row as the cells of its columns, the column titles, the counters
// line, a row as CSV or tab-separated text, in either language. Times are milliseconds with one
// decimal; a log's wall-clock times are ISO 8601 with microseconds.

#include <cstdint>
#include <string>
#include <vector>

#include "app/BusLog.h"
#include "modbus/ReplyCheck.h"

namespace app {

enum TLogColumn : uint8_t {
    kTimeColumn, kDirectionColumn, kLengthColumn, kBytesColumn, kSilenceColumn, kGapColumn, kCrcColumn,
    kResponseColumn, kDecodingColumn, kLogColumnCount
};

std::vector<std::string> LogTitles(modbus::TLanguage language);
// The cells of a row; with brief, a long frame's bytes end in "…" (the view's cell), else whole.
std::vector<std::string> LogCells(const TBusLog& log, const TLogRow& row, modbus::TLanguage language, bool brief);
std::string CountersText(const TLogCounters& counters, modbus::TLanguage language);
// "12.3": microseconds as milliseconds with one decimal.
std::string Millis(uint64_t micros);
// "2026-12-09T21:55:08.123456+01:00" of microseconds since the epoch, local time.
std::string IsoTimestamp(int64_t epochMicros);
// The CSV header and one row (RFC 4180 quoting): the wall-clock time, then the cells.
std::string CsvHeader(modbus::TLanguage language);
std::string CsvRow(const TBusLog& log, const TLogRow& row, modbus::TLanguage language);
// One row as tab-separated cells, for the clipboard.
std::string TabRow(const TBusLog& log, const TLogRow& row, modbus::TLanguage language);

}  // namespace app
