#include "app/LogText.h"

#include <ctime>
#include <span>

#include "modbus/FrameDescription.h"
#include "modbus/HexText.h"
#include "platform/shell/NewFile.h"

namespace app {

namespace {

using modbus::TLanguage;

constexpr size_t kBriefBytes = 48;

bool Chinese(TLanguage language) { return language == TLanguage::Chinese; }

std::string LineText(const serial::TLineSettings& line) {
    static constexpr char kParity[] = {'N', 'O', 'E', 'M', 'S'};
    static constexpr const char* kStop[] = {"1", "1.5", "2"};
    return std::to_string(line.Baud) + " " + std::to_string(line.DataBits) + kParity[static_cast<int>(line.Parity)] +
           kStop[line.StopBits];
}

std::string EventText(const TLogRow& row, TLanguage language) {
    const std::string port = "COM" + std::to_string(row.PortNumber);
    switch (row.Kind) {
        case TLogKind::Opened: {
            std::string text = port + modbus::InLanguage(language, " 已打开：", " opened: ") + row.Device + ", " + LineText(row.Line) +
                               ", " + modbus::InLanguage(language, "低延迟", "low latency") +
                               (row.LowLatency ? modbus::InLanguage(language, "开", " on") : modbus::InLanguage(language, "关", " off"));
            if (row.LatencyTimerMs) {
                text += std::string(modbus::InLanguage(language, "，延迟计时器 ", ", latency timer ")) +
                        std::to_string(*row.LatencyTimerMs) + " ms";
            }
            return text;
        }
        case TLogKind::OpenFailed: return port + modbus::InLanguage(language, " 打开失败：", " did not open: ") + row.Reason;
        case TLogKind::Closed: return port + modbus::InLanguage(language, " 已关闭", " closed");
        case TLogKind::DeviceGone: return port + modbus::InLanguage(language, " 设备已移除：", " device gone: ") + row.Device;
        case TLogKind::Sent:
        case TLogKind::Received: break;
    }
    return {};
}

std::string VerdictCell(const TLogRow& row, TLanguage language) {
    switch (row.Verdict) {
        case modbus::TReplyVerdict::CrcOk: return modbus::InLanguage(language, "正确", "OK");
        case modbus::TReplyVerdict::CrcError: return modbus::InLanguage(language, "错误", "error");
        case modbus::TReplyVerdict::Exception: break;
    }
    return modbus::InLanguage(language, "异常 ", "exception ") + modbus::ByteToHex(row.ExceptionCode);
}

std::string CsvJoin(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += ',';
        line += vcl::CsvField(cells[i]);
    }
    return line;
}

}  // namespace

std::string Millis(uint64_t micros) {
    const uint64_t tenths = (micros + 50) / 100;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

std::string IsoTimestamp(int64_t epochMicros) {
    const auto seconds = static_cast<time_t>(epochMicros >= 0 ? epochMicros / 1000000 : (epochMicros - 999999) / 1000000);
    const auto micros = static_cast<long>(epochMicros - static_cast<int64_t>(seconds) * 1000000);
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32], zone[8], text[64];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    std::strftime(zone, sizeof zone, "%z", &local);  // +0100
    std::snprintf(text, sizeof text, "%s.%06ld%.3s:%s", date, micros, zone, zone + 3);
    return text;
}

std::vector<std::string> LogTitles(TLanguage language) {
    if (Chinese(language)) {
        return {"时间 ms", "方向", "长度", "数据 (Hex)", "静默 ms", "最长停顿 ms", "CRC", "响应 ms", "解析"};
    }
    return {"Time ms", "Dir", "Len", "Data (hex)", "Silence ms", "Longest gap ms", "CRC", "Reply ms", "Decoding"};
}

std::vector<std::string> LogCells(const TBusLog& log, const TLogRow& row, TLanguage language, bool brief) {
    std::vector<std::string> cells(kLogColumnCount);
    cells[kTimeColumn] = Millis(row.Micros - std::min(row.Micros, log.Start()));
    if (!row.IsFrame()) {
        cells[kDirectionColumn] = modbus::InLanguage(language, "端口", "Port");
        cells[kDecodingColumn] = EventText(row, language);
        return cells;
    }
    const bool sent = row.Kind == TLogKind::Sent;
    cells[kDirectionColumn] = sent ? modbus::InLanguage(language, "发送", "TX") : modbus::InLanguage(language, "接收", "RX");
    cells[kLengthColumn] = std::to_string(row.Bytes.size());
    std::span<const uint8_t> bytes(row.Bytes);
    const bool cut = brief && bytes.size() > kBriefBytes;
    cells[kBytesColumn] = modbus::JoinHex(cut ? bytes.first(kBriefBytes) : bytes, "", " ", "") + (cut ? " …" : "");
    if (row.SilenceBefore) cells[kSilenceColumn] = Millis(*row.SilenceBefore);
    if (!sent) cells[kGapColumn] = Millis(row.LongestGap) + (row.GapTooLong ? " !" : "");
    cells[kCrcColumn] = VerdictCell(row, language);
    if (row.Response) cells[kResponseColumn] = Millis(*row.Response);
    cells[kDecodingColumn] =
        modbus::DescribeFrame(row.Bytes, sent ? modbus::TFrameSide::Request : modbus::TFrameSide::Reply, language);
    return cells;
}

std::string CountersText(const TLogCounters& c, TLanguage language) {
    const std::string response = c.Answered ? Millis(c.ResponseMin) + " / " + Millis(c.ResponseAverage()) + " / " +
                                                  Millis(c.ResponseMax) + " ms"
                                            : "-";
    if (Chinese(language)) {
        return "发送 " + std::to_string(c.Sent) + "   应答 " + std::to_string(c.Answered) + "   无应答 " +
               std::to_string(c.NoReply) + "   CRC 错误 " + std::to_string(c.CrcErrors) + "   异常 " +
               std::to_string(c.Exceptions) + "   响应 最小/平均/最大 " + response;
    }
    return "Sent " + std::to_string(c.Sent) + "   Answered " + std::to_string(c.Answered) + "   No reply " +
           std::to_string(c.NoReply) + "   CRC errors " + std::to_string(c.CrcErrors) + "   Exceptions " +
           std::to_string(c.Exceptions) + "   Reply min/avg/max " + response;
}

std::string CsvHeader(TLanguage language) {
    std::vector<std::string> titles = LogTitles(language);
    titles.insert(titles.begin(), modbus::InLanguage(language, "时刻", "Timestamp"));
    return CsvJoin(titles);
}

std::string CsvRow(const TBusLog& log, const TLogRow& row, TLanguage language) {
    std::vector<std::string> cells = LogCells(log, row, language, false);
    cells.insert(cells.begin(), IsoTimestamp(log.EpochMicros(row.Micros)));
    return CsvJoin(cells);
}

std::string TabRow(const TBusLog& log, const TLogRow& row, TLanguage language) {
    const std::vector<std::string> cells = LogCells(log, row, language, false);
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += '\t';
        line += cells[i];
    }
    return line;
}

}  // namespace app
