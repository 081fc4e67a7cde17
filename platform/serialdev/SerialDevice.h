#pragma once
// One opened serial port behind the Win32-shaped calls, and the factory that opens ports by
// number. The process has one factory: the termios one unless a test installs a scripted fake.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/serialdev/CommTypes.h"
#include "platform/serialdev/SerialDiagnostics.h"

namespace vcl {

// Bytes of one read that arrived together: those from Offset up to the next run's offset (or the
// read's end) reached the device at Micros, on its clock.
struct TArrivalRun {
    DWORD Offset = 0;
    uint64_t Micros = 0;
    friend bool operator==(const TArrivalRun&, const TArrivalRun&) = default;
};

// An open port. Every operation returns false when it fails; a port whose device went away
// fails every operation but closing (the destructor).
class SerialDevice {
public:
    SerialDevice() = default;
    SerialDevice(const SerialDevice&) = delete;
    SerialDevice& operator=(const SerialDevice&) = delete;
    virtual ~SerialDevice() = default;

    virtual bool SetupComm(DWORD inQueue, DWORD outQueue) = 0;
    virtual bool PurgeComm(DWORD flags) = 0;
    virtual bool GetCommState(DCB& dcb) = 0;
    virtual bool SetCommState(const DCB& dcb) = 0;
    // Hands all count bytes to the port's output queue; written tells how many it took even when
    // it fails.
    virtual bool WriteFile(const BYTE* bytes, DWORD count, DWORD& written) = 0;
    // Reads up to count of the bytes waiting, without waiting for more.
    virtual bool ReadFile(BYTE* bytes, DWORD count, DWORD& read) = 0;
    // Reports and clears the line errors collected since the last call.
    virtual bool ClearCommError(DWORD& errors, COMSTAT& status) = 0;
    virtual bool GetCommModemStatus(DWORD& modemStatus) = 0;
    virtual bool EscapeCommFunction(DWORD function) = 0;
    // Whether the device has gone away (adapter pulled, other end of a pty closed); it stays so.
    virtual bool Vanished() = 0;

    // Timing, beyond what the Win32 calls tell, on the device's clock (microseconds; a real
    // port's is the monotonic clock). When the bytes of the last successful ReadFile arrived, in
    // runs from offset 0; empty when the device cannot tell.
    virtual std::vector<TArrivalRun> LastReadArrivals() const { return {}; }
    // When the last WriteFile's bytes had all been handed on towards the line; 0 when the device
    // cannot tell, or some still wait in the port's output queue.
    virtual uint64_t LastWriteDone() const { return 0; }
    // How many received bytes wait, without touching the line errors ClearCommError collects.
    virtual bool InputWaiting(DWORD& count) {
        COMSTAT status;
        DWORD errors = 0;
        if (!ClearCommError(errors, status)) return false;
        count = status.cbInQue;
        return true;
    }
    // Whether the driver holds no received bytes back (see LowLatency.h).
    virtual bool LowLatency() const { return false; }
};

// The line record of a port just opened: 9600 8N1, binary, DTR and RTS raised (opening a tty
// raises both), the usual XON/XOFF characters and limits.
DCB FreshPortState();

// Opens "COMn" for n in 1..255, exclusively; null when the port is absent or held elsewhere.
// The report names the device the port led to, and on failure why it did not open.
class SerialDeviceFactory {
public:
    SerialDeviceFactory() = default;
    SerialDeviceFactory(const SerialDeviceFactory&) = delete;
    SerialDeviceFactory& operator=(const SerialDeviceFactory&) = delete;
    virtual ~SerialDeviceFactory() = default;

    virtual std::unique_ptr<SerialDevice> OpenPort(int portNumber, PortOpenReport& report) = 0;
};

// The factory CreateFileA opens ports through.
SerialDeviceFactory& CurrentSerialDeviceFactory();

// Makes factory the one CreateFileA uses (null: the termios one again) and returns the previous
// one. The caller keeps ownership and must restore the previous factory before destroying it.
SerialDeviceFactory* InstallSerialDeviceFactory(SerialDeviceFactory* factory);

}  // namespace vcl
