#include "app/BusLog.h"

#include <algorithm>

namespace app {

namespace {

uint64_t Minus(uint64_t a, uint64_t b) { return a > b ? a - b : 0; }

TLogKind KindOf(serial::TCommEventKind kind) {
    switch (kind) {
        case serial::TCommEventKind::Opened: return TLogKind::Opened;
        case serial::TCommEventKind::OpenFailed: return TLogKind::OpenFailed;
        case serial::TCommEventKind::Closed: return TLogKind::Closed;
        case serial::TCommEventKind::DeviceGone: return TLogKind::DeviceGone;
        case serial::TCommEventKind::Sent: return TLogKind::Sent;
        case serial::TCommEventKind::Received: break;
    }
    return TLogKind::Received;
}

}  // namespace

void TBusLog::Hear(const serial::TCommEvent& event) {
    if (event.Kind == serial::TCommEventKind::Received) {
        Receive(event);
        return;
    }
    // Whatever happens next on the port, a frame still arriving has ended.
    CloseFrame();
    TLogRow row;
    row.Kind = KindOf(event.Kind);
    row.Micros = event.Micros;
    row.PortNumber = event.PortNumber;
    row.Line = event.Line;
    row.Device = event.Device;
    row.LowLatency = event.LowLatency;
    row.LatencyTimerMs = event.LatencyTimerMs;
    row.Reason = event.Reason;
    if (event.Kind == serial::TCommEventKind::Sent) {
        if (awaiting_) ++counters_.NoReply;  // the request before never got its reply
        row.Bytes = event.Bytes;
        row.Verdict = modbus::CheckReply(row.Bytes).Verdict;
        if (lineFreeAt_) row.SilenceBefore = Minus(event.Micros, *lineFreeAt_);
        lineFreeAt_ = event.Micros + row.Bytes.size() * event.Line.CharacterMicros;
        awaiting_ = lineFreeAt_;
        ++counters_.Sent;
    }
    if (event.Kind == serial::TCommEventKind::Closed || event.Kind == serial::TCommEventKind::DeviceGone) {
        awaiting_.reset();
    }
    Add(std::move(row));
}

void TBusLog::Receive(const serial::TCommEvent& event) {
    const uint64_t character = event.Line.CharacterMicros;
    for (size_t i = 0; i < event.Arrivals.size(); ++i) {
        const vcl::TArrivalRun& run = event.Arrivals[i];
        const size_t end = i + 1 < event.Arrivals.size() ? event.Arrivals[i + 1].Offset : event.Bytes.size();
        if (run.Offset >= end) continue;
        const uint64_t lineTime = (end - run.Offset) * character;
        // Quiet for the silence before this delivery's first byte began: a new frame.
        if (open_ && Minus(run.Micros, lineTime) >= open_->last + open_->line.InterFrameSilence()) CloseFrame();
        if (!open_) open_ = TOpenFrame{{}, {}, event.Line, event.PortNumber, run.Micros};
        open_->runs.push_back({static_cast<vcl::DWORD>(open_->bytes.size()), run.Micros});
        open_->bytes.insert(open_->bytes.end(), event.Bytes.begin() + run.Offset, event.Bytes.begin() + static_cast<std::ptrdiff_t>(end));
        open_->last = std::max(open_->last, run.Micros);
    }
    Changed();
}

void TBusLog::CloseFrame() {
    if (!open_) return;
    TOpenFrame frame = std::move(*open_);
    open_.reset();
    const uint64_t character = frame.line.CharacterMicros;
    TLogRow row;
    row.Kind = TLogKind::Received;
    row.Micros = frame.runs.front().Micros;
    row.PortNumber = frame.port;
    row.Line = frame.line;
    const auto runBytes = [&](size_t i) {
        const size_t end = i + 1 < frame.runs.size() ? frame.runs[i + 1].Offset : frame.bytes.size();
        return end - frame.runs[i].Offset;
    };
    // On the line the first delivery's bytes began before they were handed over.
    const uint64_t start = Minus(row.Micros, runBytes(0) * character);
    if (lineFreeAt_) row.SilenceBefore = Minus(start, *lineFreeAt_);
    for (size_t i = 1; i < frame.runs.size(); ++i) {
        const uint64_t pause = Minus(frame.runs[i].Micros - frame.runs[i - 1].Micros, runBytes(i) * character);
        row.LongestGap = std::max(row.LongestGap, pause);
    }
    row.GapTooLong = row.LongestGap * 2 > character * 3;
    const modbus::TReplyCheck check = modbus::CheckReply(frame.bytes);
    row.Verdict = check.Verdict;
    row.ExceptionCode = check.ExceptionCode;
    // A reply counts when its first byte came within the time-out, whenever it was read.
    if (awaiting_ && row.Micros > *awaiting_ + replyTimeout_) {
        ++counters_.NoReply;
        awaiting_.reset();
    }
    if (awaiting_) {
        row.Response = Minus(row.Micros, *awaiting_);
        counters_.ResponseMin = counters_.Answered ? std::min(counters_.ResponseMin, *row.Response) : *row.Response;
        counters_.ResponseMax = std::max(counters_.ResponseMax, *row.Response);
        counters_.ResponseTotal += *row.Response;
        ++counters_.Answered;
        awaiting_.reset();
    }
    if (check.Verdict == modbus::TReplyVerdict::CrcError) ++counters_.CrcErrors;
    if (check.Verdict == modbus::TReplyVerdict::Exception) ++counters_.Exceptions;
    lineFreeAt_ = frame.last;
    row.Bytes = std::move(frame.bytes);
    Add(std::move(row));
}

void TBusLog::Tick(uint64_t now) {
    if (open_ && now >= open_->last + open_->line.InterFrameSilence() && (!Waiting || Waiting() == 0)) CloseFrame();
    // Bytes waiting unread may be the reply, in time: they decide when they are read.
    if (awaiting_ && !open_ && now >= *awaiting_ + replyTimeout_ && (!Waiting || Waiting() == 0)) {
        ++counters_.NoReply;
        awaiting_.reset();
        Changed();
    }
}

std::optional<uint64_t> TBusLog::NextDeadline() const {
    std::optional<uint64_t> next;
    if (open_) next = open_->last + open_->line.InterFrameSilence();
    if (awaiting_ && !open_) next = *awaiting_ + replyTimeout_;
    return next;
}

void TBusLog::ZeroCounters() {
    counters_ = {};
    Changed();
}

void TBusLog::Add(TLogRow row) {
    rows_.push_back(std::move(row));
    if (rows_.size() > kMaxRows) {
        rows_.pop_front();
        ++dropped_;
    }
    Changed();
}

void TBusLog::Changed() const {
    if (OnChanged) {
        const std::function<void()> changed = OnChanged;
        changed();
    }
}

}  // namespace app
