#include "platform/serialdev/CommApi.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/serialdev/PortName.h"
#include "platform/serialdev/SerialDevice.h"
#include "platform/serialdev/SerialDiagnostics.h"
#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

namespace {

// One open port: its device, and what the report of its going away names.
struct OpenPort {
    OpenPort(std::unique_ptr<SerialDevice> opened, int number, std::string path)
        : device(std::move(opened)), portNumber(number), devicePath(std::move(path)) {}

    std::unique_ptr<SerialDevice> device;
    const int portNumber;
    const std::string devicePath;
    bool vanishReported = false;
};

// The open ports by handle. Handles count up from 1 and are never reused, so a stale handle
// fails instead of reaching a later port.
class HandleTable {
public:
    HANDLE Add(std::shared_ptr<OpenPort> port) {
        const std::lock_guard lock(mutex_);
        const uintptr_t value = ++lastValue_;
        ports_.emplace(value, std::move(port));
        return reinterpret_cast<HANDLE>(value);
    }

    std::shared_ptr<OpenPort> Find(HANDLE handle) {
        const std::lock_guard lock(mutex_);
        const auto found = ports_.find(reinterpret_cast<uintptr_t>(handle));
        return found == ports_.end() ? nullptr : found->second;
    }

    // The port leaves the table now and is closed when its last running call ends.
    bool Remove(HANDLE handle) {
        std::shared_ptr<OpenPort> closing;
        const std::lock_guard lock(mutex_);
        const auto found = ports_.find(reinterpret_cast<uintptr_t>(handle));
        if (found == ports_.end()) return false;
        closing = std::move(found->second);
        ports_.erase(found);
        return true;
    }

private:
    std::mutex mutex_;
    uintptr_t lastValue_ = 0;
    std::map<uintptr_t, std::shared_ptr<OpenPort>> ports_;
};

HandleTable& Handles() {
    static rtl::NeverDestroyed<HandleTable> table;
    return *table;
}

// Runs call on the port's device; false for a handle that is not open. A failure on a device
// that went away is reported once per opening: to the component it looks like a quiet line.
template <typename Call>
bool OnDevice(HANDLE file, Call&& call) {
    const std::shared_ptr<OpenPort> port = Handles().Find(file);
    if (!port) return false;
    if (call(*port->device)) return true;
    if (!port->vanishReported && port->device->Vanished()) {
        port->vanishReported = true;
        ReportSerialProblem(DescribeVanished(port->portNumber, port->devicePath));
    }
    return false;
}

}  // namespace

namespace {
rtl::NeverDestroyed<std::string> lastFailure;
}  // namespace

HANDLE CreateFileA(const char* fileName, DWORD, DWORD, void*, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE) {
    if (fileName == nullptr || creationDisposition != OPEN_EXISTING) return INVALID_HANDLE_VALUE;
    if ((flagsAndAttributes & FILE_FLAG_OVERLAPPED) != 0) return INVALID_HANDLE_VALUE;
    const std::optional<int> portNumber = ParsePortName(fileName);
    if (!portNumber) return INVALID_HANDLE_VALUE;
    PortOpenReport report;
    std::unique_ptr<SerialDevice> device = CurrentSerialDeviceFactory().OpenPort(*portNumber, report);
    if (!device) {
        *lastFailure = DescribeOpenFailure(*portNumber, report);
        ReportSerialProblem(*lastFailure);
        return INVALID_HANDLE_VALUE;
    }
    return Handles().Add(std::make_shared<OpenPort>(std::move(device), *portNumber, report.device));
}

bool SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue) {
    return OnDevice(file, [&](SerialDevice& device) { return device.SetupComm(inQueue, outQueue); });
}

bool PurgeComm(HANDLE file, DWORD flags) {
    return OnDevice(file, [&](SerialDevice& device) { return device.PurgeComm(flags); });
}

bool GetCommState(HANDLE file, DCB* dcb) {
    return dcb != nullptr && OnDevice(file, [&](SerialDevice& device) { return device.GetCommState(*dcb); });
}

bool SetCommState(HANDLE file, const DCB* dcb) {
    return dcb != nullptr && OnDevice(file, [&](SerialDevice& device) { return device.SetCommState(*dcb); });
}

bool WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               OVERLAPPED* overlapped) {
    DWORD written = 0;
    bool done = false;
    if (overlapped == nullptr && (buffer != nullptr || bytesToWrite == 0)) {
        done = OnDevice(file, [&](SerialDevice& device) {
            return device.WriteFile(static_cast<const BYTE*>(buffer), bytesToWrite, written);
        });
    }
    if (bytesWritten != nullptr) *bytesWritten = written;
    return done;
}

bool ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, OVERLAPPED* overlapped) {
    DWORD read = 0;
    bool done = false;
    if (overlapped == nullptr && (buffer != nullptr || bytesToRead == 0)) {
        done = OnDevice(file, [&](SerialDevice& device) {
            return device.ReadFile(static_cast<BYTE*>(buffer), bytesToRead, read);
        });
    }
    if (bytesRead != nullptr) *bytesRead = read;
    return done;
}

bool ClearCommError(HANDLE file, DWORD* errors, COMSTAT* status) {
    DWORD collected = 0;
    COMSTAT queues;
    if (!OnDevice(file, [&](SerialDevice& device) { return device.ClearCommError(collected, queues); })) {
        return false;
    }
    if (errors != nullptr) *errors = collected;
    if (status != nullptr) *status = queues;
    return true;
}

bool GetCommModemStatus(HANDLE file, DWORD* modemStatus) {
    DWORD lines = 0;
    if (modemStatus == nullptr ||
        !OnDevice(file, [&](SerialDevice& device) { return device.GetCommModemStatus(lines); })) {
        return false;
    }
    *modemStatus = lines;
    return true;
}

bool EscapeCommFunction(HANDLE file, DWORD function) {
    return OnDevice(file, [&](SerialDevice& device) { return device.EscapeCommFunction(function); });
}

bool CloseHandle(HANDLE file) { return Handles().Remove(file); }

bool GetReadArrivals(HANDLE file, std::vector<TArrivalRun>& runs) {
    const std::shared_ptr<OpenPort> port = Handles().Find(file);
    if (!port) return false;
    runs = port->device->LastReadArrivals();
    return true;
}

bool GetInputWaiting(HANDLE file, DWORD& count) {
    count = 0;
    return OnDevice(file, [&](SerialDevice& device) { return device.InputWaiting(count); });
}

bool GetPortInfo(HANDLE file, TPortInfo& info) {
    const std::shared_ptr<OpenPort> port = Handles().Find(file);
    if (!port) return false;
    info.device = port->devicePath;
    info.lowLatency = port->device->LowLatency();
    info.vanished = port->device->Vanished();
    return true;
}

std::string LastOpenFailure() { return *lastFailure; }

bool GetWriteDone(HANDLE file, uint64_t& micros) {
    const std::shared_ptr<OpenPort> port = Handles().Find(file);
    if (!port) return false;
    micros = port->device->LastWriteDone();
    return true;
}

}  // namespace vcl
