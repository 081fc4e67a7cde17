#pragma once
// The Win32-shaped serial calls. A port is opened by name ("COMn", also after the device prefix)
// through the current SerialDeviceFactory and named by its HANDLE until CloseHandle. Every call
// on a handle that is not open fails; results say success, as the Win32 BOOL does.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/serialdev/CommTypes.h"
#include "platform/serialdev/SerialDevice.h"

namespace vcl {

// Opens a port for synchronous reading and writing. Only OPEN_EXISTING is accepted, and no
// FILE_FLAG_OVERLAPPED; the opening is always exclusive, whatever shareMode says. When a port
// does not open, one line says why (ReportSerialProblem): no such device, permission denied,
// held by another program. A device that goes away while open is reported once, at the first
// call that fails because of it.
HANDLE CreateFileA(const char* fileName, DWORD desiredAccess, DWORD shareMode, void* securityAttributes,
                   DWORD creationDisposition, DWORD flagsAndAttributes, HANDLE templateFile);

// outQueue sizes the port's output queue (4096 bytes until set); the input queue is the kernel's.
bool SetupComm(HANDLE file, DWORD inQueue, DWORD outQueue);
// PURGE_TXABORT and PURGE_TXCLEAR drop what waits in the port's output queue; PURGE_TXCLEAR also
// the kernel's, PURGE_RXCLEAR the input.
bool PurgeComm(HANDLE file, DWORD flags);
bool GetCommState(HANDLE file, DCB* dcb);
// Fails when the device did not take the line as asked (it may have taken part of it: a
// pseudo-terminal, for one, runs 8 bits without parity whatever it is told); GetCommState then
// tells what the line does.
bool SetCommState(HANDLE file, const DCB* dcb);

// Returns once the bytes are in the port's output queue (SetupComm sizes it), not when they are on
// the line: they go out as the line drains while the port is used, and flow control holds them
// there, not the caller. Only a write larger than the room in the queue waits, while the line
// moves; it fails with what was taken once the line has not moved for a second. overlapped must
// be null.
bool WriteFile(HANDLE file, const void* buffer, DWORD bytesToWrite, DWORD* bytesWritten,
               OVERLAPPED* overlapped);

// Reads up to bytesToRead of the bytes waiting and returns at once, with fewer or none when fewer
// wait (another reader of the device may have taken what a count promised); fails when the
// device is gone. overlapped must be null.
bool ReadFile(HANDLE file, void* buffer, DWORD bytesToRead, DWORD* bytesRead, OVERLAPPED* overlapped);

// errors and status may each be null. cbOutQue counts the bytes written but not yet sent, in the
// port's queue and the kernel's.
bool ClearCommError(HANDLE file, DWORD* errors, COMSTAT* status);
bool GetCommModemStatus(HANDLE file, DWORD* modemStatus);
bool EscapeCommFunction(HANDLE file, DWORD function);
bool CloseHandle(HANDLE file);

// Beyond the Win32 calls: the device's own timing (see SerialDevice). False for a handle that is
// not open; runs empty and micros 0 where the device cannot tell.
bool GetReadArrivals(HANDLE file, std::vector<TArrivalRun>& runs);
bool GetWriteDone(HANDLE file, uint64_t& micros);
// How many received bytes wait, leaving the line errors for the next ClearCommError.
bool GetInputWaiting(HANDLE file, DWORD& count);

// What the port is, for a person reading a log: the device it led to, whether the driver runs with
// low latency, whether the device has gone away. False for a handle that is not open.
struct TPortInfo {
    std::string device;
    bool lowLatency = false;
    bool vanished = false;
};
bool GetPortInfo(HANDLE file, TPortInfo& info);
// Why the last CreateFileA that failed did not open its port: the line it reported.
std::string LastOpenFailure();

}  // namespace vcl
