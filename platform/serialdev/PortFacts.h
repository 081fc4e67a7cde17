#pragma once
// What the system tells of a serial device beyond the device itself: how long its USB adapter
// holds received bytes (the latency timer, which shows in every response time and gap the bus
// monitor measures), and which other program has it open when it will not open here.

#include <optional>
#include <string>

namespace vcl {

// The adapter's latency timer in milliseconds, from <sysRoot>/class/tty/<name>/device/latency_timer
// where <name> is the device the path leads to after its symlinks (/dev/ttyUSB0 gives ttyUSB0);
// none where the driver has no such setting (pseudo-terminals, on-board UARTs, CDC-ACM devices).
std::optional<int> AdapterLatencyTimer(const std::string& device, const std::string& sysRoot = "/sys");

// Another process with the device open.
struct TDeviceHolder {
    int pid = 0;
    std::string name;  // from <procRoot>/<pid>/comm; empty when unreadable
};

// The lowest-numbered process other than this one that has a descriptor open on the device (the
// path leads to it after its symlinks); none where no process we may look into has. Processes
// whose descriptors we may not read are passed over.
std::optional<TDeviceHolder> FindDeviceHolder(const std::string& device, const std::string& procRoot = "/proc");

}  // namespace vcl
