#include "platform/serialdev/SerialDiagnostics.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

namespace {

SerialDiagnosticSink& InstalledSink() {
    static rtl::NeverDestroyed<SerialDiagnosticSink> sink;
    return *sink;
}

std::string PortAndDevice(int portNumber, const std::string& device) {
    return "COM" + std::to_string(portNumber) + " -> " + (device.empty() ? "no device present" : device);
}

std::string GroupHint(const std::string& group) {
    // root owning the device gives no group worth joining; the usual serial group is named then.
    if (group.empty() || group == "root") return "join the group that owns the device (for example dialout)";
    return "join the group that owns the device (" + group + ")";
}

// " (minicom, pid 1234)", or nothing when the holder is unknown.
std::string HolderNote(const std::optional<TDeviceHolder>& holder) {
    if (!holder) return {};
    const std::string pid = "pid " + std::to_string(holder->pid);
    return " (" + (holder->name.empty() ? pid : holder->name + ", " + pid) + ")";
}

}  // namespace

std::string DescribeOpenFailure(int portNumber, const PortOpenReport& report) {
    std::string reason;
    switch (report.reason) {
        case PortOpenReport::Reason::None:
        case PortOpenReport::Reason::NoDevice: reason = "no such device"; break;
        case PortOpenReport::Reason::PermissionDenied:
            reason = "permission denied; " + GroupHint(report.group) + ", then log in again";
            break;
        case PortOpenReport::Reason::Held: reason = "held by another program" + HolderNote(report.holder); break;
        case PortOpenReport::Reason::NotSerial: reason = "not a serial device"; break;
        case PortOpenReport::Reason::Other: reason = std::strerror(report.error); break;
    }
    return PortAndDevice(portNumber, report.device) + ": cannot open the port: " + reason;
}

std::string DescribeVanished(int portNumber, const std::string& device) {
    return PortAndDevice(portNumber, device) +
           ": the device went away while the port was open; close the port and open it again once the device "
           "is back";
}

void ReportSerialProblem(const std::string& line) {
    if (InstalledSink()) {
        InstalledSink()(line);
        return;
    }
    std::fprintf(stderr, "velmo-modbus: %s\n", line.c_str());
    std::fflush(stderr);
}

ScopedSerialDiagnosticSink::ScopedSerialDiagnosticSink(SerialDiagnosticSink sink)
    : previous_(std::exchange(InstalledSink(), std::move(sink))) {}

ScopedSerialDiagnosticSink::~ScopedSerialDiagnosticSink() { InstalledSink() = std::move(previous_); }

}  // namespace vcl
