#pragma once
// Scripted serial ports for tests. Installing FakeSerialPorts routes every CreateFileA to ports
// the test added and scripts: bytes that arrive, modem lines, line errors, calls that fail, a
// device that vanishes. Each port records what was called on it with which arguments.

#include <cstddef>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/serialdev/SerialDevice.h"

namespace vcl {

enum class SerialCall {
    Open,
    SetupComm,
    PurgeComm,
    GetCommState,
    SetCommState,
    WriteFile,
    ReadFile,
    ClearCommError,
    GetCommModemStatus,
    EscapeCommFunction,
    Close,
};

// One port as the device sees it. Its settings, lines and waiting input live on across openings,
// as a real device's do.
class FakeSerialPort {
public:
    static constexpr int kAlways = -1;

    struct QueueSizes {
        DWORD in;
        DWORD out;
        friend bool operator==(const QueueSizes&, const QueueSizes&) = default;
    };

    FakeSerialPort();
    FakeSerialPort(const FakeSerialPort&) = delete;
    FakeSerialPort& operator=(const FakeSerialPort&) = delete;

    // Script. Input arrives at the current clock's time.
    void QueueInput(std::initializer_list<BYTE> bytes);
    void QueueInput(const std::vector<BYTE>& bytes);
    void QueueInput(size_t count, BYTE value);
    // A line that delivers bytes over time: byte i arrives at firstAt + i * spacing (microseconds
    // of the current clock), seen by the first call on the port from then on.
    void ScheduleInput(const std::vector<BYTE>& bytes, uint64_t firstAt, uint64_t spacing);
    size_t InputScheduled() const { return scheduled_.size(); }
    // Another reader of the device takes up to count of the waiting bytes.
    void TakeInput(size_t count);
    void SetModemStatus(DWORD modemStatus) { modemStatus_ = modemStatus; }
    // Line errors collect until the next ClearCommError reports and clears them.
    void RaiseErrors(DWORD errors) { pendingErrors_ |= errors; }
    // The next times calls of this kind fail (kAlways: until Heal); Open failing means the port
    // is held elsewhere. A vanished port's opening fails as no such device.
    void Fail(SerialCall call, int times = kAlways);
    void Heal(SerialCall call);
    // A write sends at most this many bytes and then fails, as a stalled line would.
    void LimitWrites(DWORD bytes) { writeLimit_ = bytes; }
    // The adapter is pulled: the open handle fails every call but closing, and opening fails
    // until Reattach.
    void Vanish();
    void Reattach() { present_ = true; }
    // Openings fail with permission denied on a device owned by group, until AllowAccess.
    void RefuseAccess(std::string group) { refusedToGroup_ = std::move(group); }
    void AllowAccess() { refusedToGroup_.reset(); }
    // The device the port leads to ("/dev/ttyFAKEn" for port n until set).
    const std::string& DevicePath() const { return devicePath_; }
    void SetDevicePath(std::string path) { devicePath_ = std::move(path); }
    void SetState(const DCB& dcb) { state_ = dcb; }
    // Runs before each call on the port is carried out, to change the script at that moment.
    void SetCallHook(std::function<void(SerialCall)> hook) { hook_ = std::move(hook); }

    // State.
    bool IsOpen() const { return open_; }
    int OpenCount() const { return openCount_; }
    const DCB& State() const { return state_; }
    bool Dtr() const { return dtr_; }
    bool Rts() const { return rts_; }
    bool Break() const { return break_; }
    size_t InputWaiting() const { return input_.size(); }
    DWORD PendingErrors() const { return pendingErrors_; }

    // Record: every call tried, in order, and the arguments of each kind of call (failed ones
    // included); Written holds only bytes that went out.
    const std::vector<SerialCall>& Calls() const { return calls_; }
    int CallCount(SerialCall call) const;
    const std::vector<QueueSizes>& Setups() const { return setups_; }
    const std::vector<DWORD>& Purges() const { return purges_; }
    const std::vector<DCB>& StatesWritten() const { return statesWritten_; }
    const std::vector<DWORD>& Escapes() const { return escapes_; }
    const std::vector<DWORD>& ReadRequests() const { return readRequests_; }
    const std::vector<std::vector<BYTE>>& Writes() const { return writes_; }
    const std::vector<BYTE>& Written() const { return written_; }
    void ClearRecord();

private:
    friend class FakeSerialDevice;
    friend class FakeSerialPorts;

    // Records the call and tells whether it is to go ahead.
    bool Begin(SerialCall call, int generation);
    void DeliverScheduled();
    bool TakeFailure(SerialCall call);

    bool present_ = true;
    std::optional<std::string> refusedToGroup_;
    std::string devicePath_;
    bool open_ = false;
    int openCount_ = 0;
    int generation_ = 0;
    DCB state_;
    bool dtr_ = false;
    bool rts_ = false;
    bool break_ = false;
    std::deque<BYTE> input_;
    std::deque<uint64_t> inputTimes_;  // when each waiting byte arrived
    struct Scheduled {
        uint64_t at;
        BYTE value;
    };
    std::deque<Scheduled> scheduled_;
    DWORD modemStatus_ = 0;
    DWORD pendingErrors_ = 0;
    DWORD writeLimit_ = ~DWORD{0};
    std::map<SerialCall, int> failures_;
    std::function<void(SerialCall)> hook_;

    std::vector<SerialCall> calls_;
    std::vector<QueueSizes> setups_;
    std::vector<DWORD> purges_;
    std::vector<DCB> statesWritten_;
    std::vector<DWORD> escapes_;
    std::vector<DWORD> readRequests_;
    std::vector<std::vector<BYTE>> writes_;
    std::vector<BYTE> written_;
};

// The fake ports by number, installed as the process's factory for its lifetime. Ports outlive
// it while a handle on them is still open.
class FakeSerialPorts final : public SerialDeviceFactory {
public:
    FakeSerialPorts();
    ~FakeSerialPorts() override;

    FakeSerialPort& Add(int portNumber);
    // Null for a port never added.
    FakeSerialPort* Find(int portNumber);
    // Every port number CreateFileA asked for, added or not.
    const std::vector<int>& OpenAttempts() const { return openAttempts_; }

    std::unique_ptr<SerialDevice> OpenPort(int portNumber, PortOpenReport& report) override;

private:
    std::map<int, std::shared_ptr<FakeSerialPort>> ports_;
    std::vector<int> openAttempts_;
    SerialDeviceFactory* previous_;
};

}  // namespace vcl
