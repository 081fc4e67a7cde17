#pragma once
// A serial port on a Linux tty: opened exclusively, in raw mode, driven through ioctls.
//
// Writing never waits for the line. The kernel's tty buffer holds a few kilobytes; what it cannot
// take yet stays in the port's own output queue (sized by SetupComm, as a driver's is) and goes
// out as the line drains, whenever the port is called again: the serial component's poll calls
// ClearCommError every period. Flow control (XOFF from the peer, CTS held low) pauses that
// draining, not the caller. Closing waits for the pending output no longer than it needs at the
// line's speed, and never more than about a second.
//
// Timing: an ArrivalWatcher notes when bytes reach the tty (see there why a thread), so every read
// knows when its bytes arrived; a write notes when its last byte went to the kernel. Both on the
// monotonic clock.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/serialdev/ArrivalWatcher.h"
#include "platform/serialdev/LowLatency.h"
#include "platform/serialdev/SerialDevice.h"

namespace vcl {

class TermiosDevice final : public SerialDevice {
public:
    // Opens the tty at path for reading and writing, exclusively: O_NOCTTY, TIOCEXCL and a
    // non-blocking flock, so a second opening from this or another process fails. Asks the driver
    // for low latency while open. Null when the path is no tty or the port is held; the report
    // then says why.
    static std::unique_ptr<TermiosDevice> Open(const std::string& path, PortOpenReport& report);
    ~TermiosDevice() override;

    bool SetupComm(DWORD inQueue, DWORD outQueue) override;
    bool PurgeComm(DWORD flags) override;
    bool GetCommState(DCB& dcb) override;
    bool SetCommState(const DCB& dcb) override;
    bool WriteFile(const BYTE* bytes, DWORD count, DWORD& written) override;
    bool ReadFile(BYTE* bytes, DWORD count, DWORD& read) override;
    bool ClearCommError(DWORD& errors, COMSTAT& status) override;
    bool GetCommModemStatus(DWORD& modemStatus) override;
    bool EscapeCommFunction(DWORD function) override;
    bool Vanished() override { return Gone(); }
    std::vector<TArrivalRun> LastReadArrivals() const override { return lastArrivals_; }
    uint64_t LastWriteDone() const override { return Queued() == 0 ? lastWriteDone_ : 0; }
    bool LowLatency() const override { return lowLatency_ && lowLatency_->Active(); }
    bool InputWaiting(DWORD& count) override;

private:
    // The kernel's line-error counters, the part of serial_icounter_struct that maps to CE_ flags.
    struct LineErrorCounts {
        int frame = 0;
        int overrun = 0;
        int parity = 0;
        int brk = 0;
        int bufferOverrun = 0;
    };

    explicit TermiosDevice(int fd);

    // True once the device has hung up (adapter pulled, other end of a pty closed); it stays so.
    bool Gone();
    // Notes a failed call's errno; the errors of a vanished device make it gone.
    void NoteFailure(int error);
    // Waits up to timeoutMs (-1: without a limit) until the events are possible; false when the
    // time ran out or the device is gone.
    bool WaitFor(short events, int timeoutMs = -1);
    // Hands the kernel as much of the output queue as it takes now.
    void PumpOutput();
    size_t Queued() const { return outQueue_.size() - outHead_; }
    // Bytes the kernel holds that are not on the line yet.
    size_t KernelQueued() const;
    // Before closing: lets the pending output go out for as long as it needs at the line's speed,
    // at most a second, then discards the rest, so that the kernel's closing wait (up to 30 s
    // with HUPCL) has nothing left to wait for.
    void FinishOutput();
    bool ReadLineErrorCounts(LineErrorCounts& counts);
    DWORD TakeLineErrors();
    bool SetModemLine(int line, bool on);
    bool ApplyLineControl(const DCB& dcb);

    int fd_;
    bool gone_ = false;
    bool hasErrorCounts_ = false;
    LineErrorCounts errorCounts_;
    // What the last SetCommState asked for, for the fields termios has no place for.
    DCB requested_;
    // Low latency for as long as the port is open; ends before the descriptor is closed.
    std::optional<LowLatencyRequest> lowLatency_;
    // Bytes written but not yet taken by the kernel, from outHead_ on.
    std::vector<BYTE> outQueue_;
    size_t outHead_ = 0;
    size_t outQueueSize_ = kDefaultOutQueueSize;
    static constexpr size_t kDefaultOutQueueSize = 4096;
    // When the bytes of the last read arrived, and when the last write's bytes all reached the
    // kernel. The watcher goes before the descriptor closes (the destructor resets it first).
    std::unique_ptr<ArrivalWatcher> arrivals_;
    std::vector<TArrivalRun> lastArrivals_;
    uint64_t lastWriteDone_ = 0;
};

// Opens "COMn" at the device the ports folder or the device list gives, looked up afresh at every
// opening.
class TermiosDeviceFactory final : public SerialDeviceFactory {
public:
    std::unique_ptr<SerialDevice> OpenPort(int portNumber, PortOpenReport& report) override;
};

}  // namespace vcl
