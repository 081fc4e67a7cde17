#include "platform/serialdev/CommApi.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/serialdev/PortName.h"
#include "platform/serialdev/SerialDevice.h"

namespace vcl {

namespace {

// The open ports by handle. Handles count up from 1 and are never reused, so a stale handle
// fails instead of reaching a later port.
class HandleTable {
public:
    HANDLE Add(std::unique_ptr<SerialDevice> device) {
        const std::lock_guard lock(mutex_);
        const uintptr_t value = ++lastValue_;
        devices_.emplace(value, std::move(device));
        return reinterpret_cast<HANDLE>(value);
    }

    std::shared_ptr<SerialDevice> Find(HANDLE handle) {
        const std::lock_guard lock(mutex_);
        const auto found = devices_.find(reinterpret_cast<uintptr_t>(handle));
        return found == devices_.end() ? nullptr : found->second;
    }

    // The device leaves the table now and is closed when its last running call ends.
    bool Remove(HANDLE handle) {
        std::shared_ptr<SerialDevice> closing;
        const std::lock_guard lock(mutex_);
        const auto found = devices_.find(reinterpret_cast<uintptr_t>(handle));
        if (found == devices_.end()) return false;
        closing = std::move(found->second);
        devices_.erase(found);
        return true;
    }

private:
    std::mutex mutex_;
    uintptr_t lastValue_ = 0;
    std::map<uintptr_t, std::shared_ptr<SerialDevice>> devices_;
};

HandleTable& Handles() {
    static HandleTable table;
    return table;
}

}  // namespace

HANDLE CreateFileA(const char* fileName, DWORD, DWORD, void*, DWORD creationDisposition,
                   DWORD flagsAndAttributes, HANDLE) {
    if (fileName == nullptr || creationDisposition != OPEN_EXISTING) return INVALID_HANDLE_VALUE;
    if ((flagsAndAttributes & FILE_FLAG_OVERLAPPED) != 0) return INVALID_HANDLE_VALUE;
    const std::optional<int> portNumber = ParsePortName(fileName);
    if (!portNumber) return INVALID_HANDLE_VALUE;
    std::unique_ptr<SerialDevice> device = CurrentSerialDeviceFactory().OpenPort(*portNumber);
    if (!device) return INVALID_HANDLE_VALUE;
    return Handles().Add(std::move(device));
}

bool SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue) {
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    return device && device->SetupComm(inQueue, outQueue);
}

bool PurgeComm(HANDLE file, DWORD flags) {
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    return device && device->PurgeComm(flags);
}

bool GetCommState(HANDLE file, DCB* dcb) {
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    return device && dcb != nullptr && device->GetCommState(*dcb);
}

bool SetCommState(HANDLE file, const DCB* dcb) {
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    return device && dcb != nullptr && device->SetCommState(*dcb);
}

bool WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               OVERLAPPED* overlapped) {
    DWORD written = 0;
    bool done = false;
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    if (device && overlapped == nullptr && (buffer != nullptr || bytesToWrite == 0)) {
        done = device->WriteFile(static_cast<const BYTE*>(buffer), bytesToWrite, written);
    }
    if (bytesWritten != nullptr) *bytesWritten = written;
    return done;
}

bool ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, OVERLAPPED* overlapped) {
    DWORD read = 0;
    bool done = false;
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    if (device && overlapped == nullptr && (buffer != nullptr || bytesToRead == 0)) {
        done = device->ReadFile(static_cast<BYTE*>(buffer), bytesToRead, read);
    }
    if (bytesRead != nullptr) *bytesRead = read;
    return done;
}

bool ClearCommError(HANDLE file, DWORD* errors, COMSTAT* status) {
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    if (!device) return false;
    DWORD collected = 0;
    COMSTAT queues;
    if (!device->ClearCommError(collected, queues)) return false;
    if (errors != nullptr) *errors = collected;
    if (status != nullptr) *status = queues;
    return true;
}

bool GetCommModemStatus(HANDLE file, DWORD* modemStatus) {
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    DWORD lines = 0;
    if (!device || modemStatus == nullptr || !device->GetCommModemStatus(lines)) return false;
    *modemStatus = lines;
    return true;
}

bool EscapeCommFunction(HANDLE file, DWORD function) {
    const std::shared_ptr<SerialDevice> device = Handles().Find(file);
    return device && device->EscapeCommFunction(function);
}

bool CloseHandle(HANDLE file) { return Handles().Remove(file); }

}  // namespace vcl
