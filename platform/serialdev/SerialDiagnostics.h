#pragma once
// One-line reports, for the person at the terminal, of why a port did not open and of a device
// that went away while open. They go to standard error unless a sink is installed (tests do).
//
//   COM3 -> /dev/ttyUSB0: permission denied; join the group that owns the device (dialout), then log in again

#include <functional>
#include <optional>
#include <string>

#include "platform/serialdev/PortFacts.h"

namespace vcl {

// Why an opening failed, and where the port led.
struct PortOpenReport {
    enum class Reason { None, NoDevice, PermissionDenied, Held, NotSerial, Other };

    Reason reason = Reason::None;
    std::string device;  // the device the port resolved to; empty when none is present
    std::string group;   // for PermissionDenied: the group that owns the device, when known
    int error = 0;       // for Other: the errno
    std::optional<TDeviceHolder> holder;  // for Held: the other program, where /proc tells
};

// The line for a failed opening of "COMn".
std::string DescribeOpenFailure(int portNumber, const PortOpenReport& report);
// The line for a device that went away while "COMn" was open on it.
std::string DescribeVanished(int portNumber, const std::string& device);

using SerialDiagnosticSink = std::function<void(const std::string& line)>;

// Writes one line to the installed sink, or to standard error.
void ReportSerialProblem(const std::string& line);

// Routes the lines to sink for its lifetime, then back to where they went before.
class ScopedSerialDiagnosticSink {
public:
    explicit ScopedSerialDiagnosticSink(SerialDiagnosticSink sink);
    ~ScopedSerialDiagnosticSink();
    ScopedSerialDiagnosticSink(const ScopedSerialDiagnosticSink&) = delete;
    ScopedSerialDiagnosticSink& operator=(const ScopedSerialDiagnosticSink&) = delete;

private:
    SerialDiagnosticSink previous_;
};

}  // namespace vcl
