#pragma once
// The bus monitor's record of the line, kept from the program's start whether its window shows or
// not: every frame sent and received with its timing and CRC verdict, every port event, and the
// counters of a long run.
//
// Received bytes come in reads of any size (whoever reads the port) with the times the device
// gave each delivery; they are framed by the quiet-line rule: a pause of the inter-frame silence
// (3.5 character times, never under 20 ms) ends a frame. A frame still open ends when the line has
// been quiet that long and nothing waits unread (Tick). Times are microseconds of the device's
// clock, which is the program's clock. At most kMaxRows rows are kept; the oldest go, counted,
// and the counters count on.

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "modbus/ReplyCheck.h"
#include "serial/CommMonitor.h"

namespace app {

enum class TLogKind : uint8_t { Sent, Received, Opened, OpenFailed, Closed, DeviceGone };

struct TLogRow {
    TLogKind Kind = TLogKind::Received;
    // When: a received frame's first delivery, a sent frame's write, an event's moment.
    uint64_t Micros = 0;
    std::vector<uint8_t> Bytes;
    // Frames: the quiet line since the previous frame ended (none for the first).
    std::optional<uint64_t> SilenceBefore;
    // Received frames: the longest pause inside, between one delivery and the next (less the next
    // one's own time on the line), and whether it exceeds 1.5 character times.
    uint64_t LongestGap = 0;
    bool GapTooLong = false;
    // A received frame that answers a request: from the request's end on the line to the first
    // byte.
    std::optional<uint64_t> Response;
    modbus::TReplyVerdict Verdict = modbus::TReplyVerdict::CrcError;
    uint8_t ExceptionCode = 0;
    int PortNumber = 0;
    serial::TLineSettings Line;
    std::string Device;
    bool LowLatency = false;
    std::optional<int> LatencyTimerMs;
    std::string Reason;

    bool IsFrame() const { return Kind == TLogKind::Sent || Kind == TLogKind::Received; }
};

struct TLogCounters {
    uint64_t Sent = 0;
    uint64_t Answered = 0;
    uint64_t NoReply = 0;
    uint64_t CrcErrors = 0;
    uint64_t Exceptions = 0;
    uint64_t ResponseMin = 0;
    uint64_t ResponseMax = 0;
    uint64_t ResponseTotal = 0;  // over Answered, for the average

    uint64_t ResponseAverage() const { return Answered ? ResponseTotal / Answered : 0; }
    friend bool operator==(const TLogCounters&, const TLogCounters&) = default;
};

class TBusLog {
public:
    static constexpr size_t kMaxRows = 100000;
    static constexpr uint64_t kDefaultReplyTimeout = 1000000;

    // startMicros: the program's start on the device's clock, the zero of the log's times;
    // startEpochMicros: the same moment on the wall clock (microseconds since 1970).
    TBusLog(uint64_t startMicros, int64_t startEpochMicros) : start_(startMicros), startEpoch_(startEpochMicros) {}

    // What the port told (the serial component's monitor).
    void Hear(const serial::TCommEvent& event);
    // Ends a received frame once the line has been quiet for the silence and nothing waits unread,
    // and a request whose reply is overdue (a reply counts by its first byte's arrival, so a reply
    // read late but come in time is an answer).
    void Tick(uint64_t now);
    // When Tick has something to do next; none while nothing is open.
    std::optional<uint64_t> NextDeadline() const;
    // How many received bytes wait unread in the port (a frame is not ended while some do).
    std::function<uint32_t()> Waiting;

    uint64_t Start() const { return start_; }
    // A time of the device's clock on the wall clock.
    int64_t EpochMicros(uint64_t micros) const { return startEpoch_ + static_cast<int64_t>(micros - start_); }
    const std::deque<TLogRow>& Rows() const { return rows_; }
    // Rows that went to keep the log at kMaxRows.
    uint64_t Dropped() const { return dropped_; }
    // Rows are numbered from the first ever added: the kept ones are FirstKept() to Added() - 1.
    uint64_t Added() const { return dropped_ + rows_.size(); }
    uint64_t FirstKept() const { return dropped_; }
    bool Kept(uint64_t number) const { return number >= dropped_ && number < Added(); }
    const TLogRow& Row(uint64_t number) const { return rows_[number - dropped_]; }
    const TLogCounters& Counters() const { return counters_; }
    void ZeroCounters();
    uint64_t ReplyTimeout() const { return replyTimeout_; }
    void SetReplyTimeout(uint64_t micros) { replyTimeout_ = micros; }
    // Whether a request still waits for its reply.
    bool AwaitingReply() const { return awaiting_.has_value(); }

    // After rows were added or dropped, or the counters changed.
    std::function<void()> OnChanged;

private:
    struct TOpenFrame {
        std::vector<uint8_t> bytes;
        std::vector<vcl::TArrivalRun> runs;  // offsets into bytes
        serial::TLineSettings line;
        int port = 0;
        uint64_t last = 0;  // the latest delivery
    };

    void Receive(const serial::TCommEvent& event);
    void CloseFrame();
    void Add(TLogRow row);
    void Changed() const;

    uint64_t start_;
    int64_t startEpoch_;
    std::deque<TLogRow> rows_;
    uint64_t dropped_ = 0;
    TLogCounters counters_;
    uint64_t replyTimeout_ = kDefaultReplyTimeout;
    std::optional<TOpenFrame> open_;
    // When the last frame on the line ended; none before the first.
    std::optional<uint64_t> lineFreeAt_;
    // The request's end on the line while it waits for its reply.
    std::optional<uint64_t> awaiting_;
};

}  // namespace app
