#include "platform/serialdev/testing/FakeSerialPorts.h"

#include <algorithm>

#include "platform/runtime/Clock.h"

namespace vcl {

// The device behind one open handle; it dies with its port's generation when the port vanishes.
class FakeSerialDevice final : public SerialDevice {
public:
    explicit FakeSerialDevice(std::shared_ptr<FakeSerialPort> port)
        : port_(std::move(port)), generation_(port_->generation_) {}

    ~FakeSerialDevice() override {
        port_->calls_.push_back(SerialCall::Close);
        if (port_->generation_ == generation_) port_->open_ = false;
    }

    bool SetupComm(DWORD inQueue, DWORD outQueue) override {
        port_->setups_.push_back({inQueue, outQueue});
        return Begin(SerialCall::SetupComm);
    }

    bool PurgeComm(DWORD flags) override {
        port_->purges_.push_back(flags);
        if (!Begin(SerialCall::PurgeComm)) return false;
        if ((flags & PURGE_RXCLEAR) != 0) port_->TakeInput(port_->input_.size());
        return true;
    }

    bool GetCommState(DCB& dcb) override {
        if (!Begin(SerialCall::GetCommState)) return false;
        dcb = port_->state_;
        return true;
    }

    bool SetCommState(const DCB& dcb) override {
        port_->statesWritten_.push_back(dcb);
        if (!Begin(SerialCall::SetCommState)) return false;
        port_->state_ = dcb;
        port_->dtr_ = dcb.fDtrControl != DTR_CONTROL_DISABLE;
        port_->rts_ = dcb.fRtsControl != RTS_CONTROL_DISABLE;
        return true;
    }

    bool WriteFile(const BYTE* bytes, DWORD count, DWORD& written) override {
        written = 0;
        port_->writes_.emplace_back(bytes, bytes + count);
        if (!Begin(SerialCall::WriteFile)) return false;
        written = std::min(count, port_->writeLimit_);
        port_->written_.insert(port_->written_.end(), bytes, bytes + written);
        writeDone_ = Clock().NowMicroseconds();
        return written == count;
    }

    // Takes what is waiting, up to count, as a read whose time-out ran out would.
    bool ReadFile(BYTE* bytes, DWORD count, DWORD& read) override {
        read = 0;
        port_->readRequests_.push_back(count);
        if (!Begin(SerialCall::ReadFile)) return false;
        std::deque<BYTE>& input = port_->input_;
        read = static_cast<DWORD>(std::min<size_t>(count, input.size()));
        if (read == 0) return true;
        std::copy_n(input.begin(), read, bytes);
        arrivals_.clear();
        for (DWORD i = 0; i < read; ++i) {
            const uint64_t at = port_->inputTimes_[i];
            if (arrivals_.empty() || arrivals_.back().Micros != at) arrivals_.push_back({i, at});
        }
        port_->TakeInput(read);
        return true;
    }

    std::vector<TArrivalRun> LastReadArrivals() const override { return arrivals_; }
    bool InputWaiting(DWORD& count) override {
        if (port_->generation_ != generation_) return false;
        port_->DeliverScheduled();
        count = static_cast<DWORD>(port_->input_.size());
        return true;
    }
    uint64_t LastWriteDone() const override { return writeDone_; }

    bool ClearCommError(DWORD& errors, COMSTAT& status) override {
        if (!Begin(SerialCall::ClearCommError)) return false;
        errors = port_->pendingErrors_;
        port_->pendingErrors_ = 0;
        status = COMSTAT{};
        status.cbInQue = static_cast<DWORD>(port_->input_.size());
        return true;
    }

    bool GetCommModemStatus(DWORD& modemStatus) override {
        if (!Begin(SerialCall::GetCommModemStatus)) return false;
        modemStatus = port_->modemStatus_;
        return true;
    }

    bool EscapeCommFunction(DWORD function) override {
        port_->escapes_.push_back(function);
        if (!Begin(SerialCall::EscapeCommFunction)) return false;
        switch (function) {
            case SETDTR: port_->dtr_ = true; return true;
            case CLRDTR: port_->dtr_ = false; return true;
            case SETRTS: port_->rts_ = true; return true;
            case CLRRTS: port_->rts_ = false; return true;
            case SETBREAK: port_->break_ = true; return true;
            case CLRBREAK: port_->break_ = false; return true;
            case SETXON:
            case SETXOFF: return true;
            default: return false;
        }
    }

    bool Vanished() override { return port_->generation_ != generation_; }

private:
    bool Begin(SerialCall call) { return port_->Begin(call, generation_); }

    std::shared_ptr<FakeSerialPort> port_;
    int generation_;
    std::vector<TArrivalRun> arrivals_;
    uint64_t writeDone_ = 0;
};

FakeSerialPort::FakeSerialPort() : state_(FreshPortState()) {}

void FakeSerialPort::QueueInput(std::initializer_list<BYTE> bytes) {
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    inputTimes_.resize(input_.size(), Clock().NowMicroseconds());
}

void FakeSerialPort::QueueInput(const std::vector<BYTE>& bytes) {
    input_.insert(input_.end(), bytes.begin(), bytes.end());
    inputTimes_.resize(input_.size(), Clock().NowMicroseconds());
}

void FakeSerialPort::QueueInput(size_t count, BYTE value) {
    input_.insert(input_.end(), count, value);
    inputTimes_.resize(input_.size(), Clock().NowMicroseconds());
}

void FakeSerialPort::TakeInput(size_t count) {
    const auto n = static_cast<std::ptrdiff_t>(std::min(count, input_.size()));
    input_.erase(input_.begin(), input_.begin() + n);
    inputTimes_.erase(inputTimes_.begin(), inputTimes_.begin() + n);
}

void FakeSerialPort::Fail(SerialCall call, int times) { failures_[call] = times; }

void FakeSerialPort::Heal(SerialCall call) { failures_.erase(call); }

void FakeSerialPort::Vanish() {
    present_ = false;
    open_ = false;
    ++generation_;
}

int FakeSerialPort::CallCount(SerialCall call) const {
    return static_cast<int>(std::count(calls_.begin(), calls_.end(), call));
}

void FakeSerialPort::ClearRecord() {
    calls_.clear();
    setups_.clear();
    purges_.clear();
    statesWritten_.clear();
    escapes_.clear();
    readRequests_.clear();
    writes_.clear();
    written_.clear();
}

void FakeSerialPort::ScheduleInput(const std::vector<BYTE>& bytes, uint64_t firstAt, uint64_t spacing) {
    for (size_t i = 0; i < bytes.size(); ++i) scheduled_.push_back({firstAt + i * spacing, bytes[i]});
}

void FakeSerialPort::DeliverScheduled() {
    const uint64_t now = Clock().NowMicroseconds();
    while (!scheduled_.empty() && scheduled_.front().at <= now) {
        input_.push_back(scheduled_.front().value);
        inputTimes_.push_back(scheduled_.front().at);
        scheduled_.pop_front();
    }
}

bool FakeSerialPort::Begin(SerialCall call, int generation) {
    calls_.push_back(call);
    DeliverScheduled();
    if (hook_) hook_(call);
    if (generation != generation_) return false;
    return !TakeFailure(call);
}

bool FakeSerialPort::TakeFailure(SerialCall call) {
    const auto found = failures_.find(call);
    if (found == failures_.end()) return false;
    if (found->second != kAlways && --found->second == 0) failures_.erase(found);
    return true;
}

FakeSerialPorts::FakeSerialPorts() : previous_(InstallSerialDeviceFactory(this)) {}

FakeSerialPorts::~FakeSerialPorts() { InstallSerialDeviceFactory(previous_); }

FakeSerialPort& FakeSerialPorts::Add(int portNumber) {
    std::shared_ptr<FakeSerialPort>& port = ports_[portNumber];
    if (!port) {
        port = std::make_shared<FakeSerialPort>();
        port->devicePath_ = "/dev/ttyFAKE" + std::to_string(portNumber);
    }
    return *port;
}

FakeSerialPort* FakeSerialPorts::Find(int portNumber) {
    const auto found = ports_.find(portNumber);
    return found == ports_.end() ? nullptr : found->second.get();
}

std::unique_ptr<SerialDevice> FakeSerialPorts::OpenPort(int portNumber, PortOpenReport& report) {
    openAttempts_.push_back(portNumber);
    const auto found = ports_.find(portNumber);
    if (found == ports_.end()) {
        report.reason = PortOpenReport::Reason::NoDevice;
        return nullptr;
    }
    FakeSerialPort& port = *found->second;
    report.device = port.devicePath_;
    port.calls_.push_back(SerialCall::Open);
    if (port.hook_) port.hook_(SerialCall::Open);
    if (!port.present_) {
        report.reason = PortOpenReport::Reason::NoDevice;
        return nullptr;
    }
    if (port.refusedToGroup_) {
        report.reason = PortOpenReport::Reason::PermissionDenied;
        report.group = *port.refusedToGroup_;
        return nullptr;
    }
    if (port.open_ || port.TakeFailure(SerialCall::Open)) {
        report.reason = PortOpenReport::Reason::Held;
        return nullptr;
    }
    port.open_ = true;
    ++port.openCount_;
    // Opening a line raises DTR and RTS, as a tty does.
    port.dtr_ = true;
    port.rts_ = true;
    return std::make_unique<FakeSerialDevice>(found->second);
}

}  // namespace vcl
