#pragma once
// What a bus monitor hears of a port through its TComm: every frame written and every read, with
// the times the device gave, and what happened to the port (opened on a device with its line, a
// failed opening and why, closed, the device gone). Listening changes nothing in how the
// component behaves, and without a listener nothing is kept.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/serialdev/SerialDevice.h"
#include "serial/CommEnums.h"

namespace serial {

enum class TCommEventKind : uint8_t { Opened, OpenFailed, Closed, DeviceGone, Sent, Received };

// The line as it was set when the event happened.
struct TLineSettings {
    uint32_t Baud = 0;
    uint8_t DataBits = 8;
    TParity Parity = TParity::None;
    TStopBits StopBits = SB1;
    uint64_t CharacterMicros = 0;

    // The quiet line that ends a frame: 3.5 character times, but never under 20 ms, because a USB
    // adapter hands bytes over in chunks up to its latency timer apart.
    uint64_t InterFrameSilence() const {
        constexpr uint64_t kShortest = 20000;
        return std::max(CharacterMicros * 7 / 2, kShortest);
    }
};

struct TCommEvent {
    TCommEventKind Kind = TCommEventKind::Received;
    // When, on the device's clock: the write done (Sent), the first byte's arrival (Received),
    // the component's clock for the rest.
    uint64_t Micros = 0;
    int PortNumber = 0;
    TLineSettings Line{};
    std::vector<uint8_t> Bytes{};              // Sent, Received
    std::vector<vcl::TArrivalRun> Arrivals{};  // Received: runs over Bytes
    std::string Device{};                      // Opened, Closed, DeviceGone
    bool LowLatency = false;                   // Opened
    std::optional<int> LatencyTimerMs{};       // Opened: a USB adapter's timer, where known
    std::string Reason{};                      // OpenFailed: why, as standard error was told
};

using TCommMonitor = std::function<void(const TCommEvent& event)>;

}  // namespace serial
