#pragma once
// One opened serial port behind the Win32-shaped calls, and the factory that opens ports by
// number. The process has one factory: the termios one unless a test installs a scripted fake.

#include <memory>

#include "platform/serialdev/CommTypes.h"
#include "platform/serialdev/SerialDiagnostics.h"

namespace vcl {

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
