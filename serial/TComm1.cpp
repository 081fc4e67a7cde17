#include "serial/TComm1.h"

#include <algorithm>
#include <charconv>

#include "platform/runtime/Clock.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/serialdev/CommApi.h"
#include "platform/serialdev/PortFacts.h"
#include "platform/runtime/StoredProperties.h"

namespace serial {

namespace {

using vcl::DWORD;

constexpr const char* kCannotOpen = "通讯出现异常！请检查连接是否正确或重新启动程序和仪器。";
constexpr const char* kCannotSetup = "Cannot setup comm buffer";
constexpr const char* kAlreadyOpen = "COM Port has been opened!";
constexpr const char* kNotOpen = "COM Port is not opened yet!";

void ShowError(const char* text) { vcl::MessageDlg(text, vcl::mtError, {vcl::mbOK}); }

void ProcessMessages() { vcl::Application->ProcessMessages(); }

// Binary mode and every other flag off: no parity check, no flow control, DTR and RTS held off.
void ResetFlagWord(vcl::DCB& dcb) {
    dcb.fBinary = 1;
    dcb.fParity = 0;
    dcb.fOutxCtsFlow = 0;
    dcb.fOutxDsrFlow = 0;
    dcb.fDtrControl = vcl::DTR_CONTROL_DISABLE;
    dcb.fDsrSensitivity = 0;
    dcb.fTXContinueOnXoff = 0;
    dcb.fOutX = 0;
    dcb.fInX = 0;
    dcb.fErrorChar = 0;
    dcb.fNull = 0;
    dcb.fRtsControl = vcl::RTS_CONTROL_DISABLE;
    dcb.fAbortOnError = 0;
    dcb.fDummy2 = 0;
}

}  // namespace

TComm::TComm(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {
    pollTimer_ = new vcl::TTimer(this);
    pollTimer_->SetEnabled(false);
    pollTimer_->SetInterval(kPollInterval);
    pollTimer_->SetOnTimer([this](vcl::TObject*) { PollTimerTick(); });
    pollTimer_->SetEnabled(true);
}

TComm::~TComm() {
    tickState_->alive = false;
    pollTimer_->SetInterval(0);
    pollTimer_->SetEnabled(false);
    // Nothing could ever close a handle the component forgot, and the port would stay held.
    ClosePort();
}

// ---- opening and settings ----------------------------------------------------------------------

void TComm::SetPortOpen(bool value) {
    if (!value) {
        ClosePort();
        return;
    }
    if (portOpen_) {
        ShowError(kAlreadyOpen);
        return;
    }
    OpenPort();
}

void TComm::OpenPort() {
    const std::string name = PortDeviceName(commPort_);
    const vcl::HANDLE handle = vcl::CreateFileA(name.c_str(), vcl::GENERIC_READ | vcl::GENERIC_WRITE, 0, nullptr,
                                                vcl::OPEN_EXISTING, 0, nullptr);
    if (handle == vcl::INVALID_HANDLE_VALUE) {
        Tell({.Kind = TCommEventKind::OpenFailed, .Reason = vcl::LastOpenFailure()});
        throw ECommError(kCannotOpen);
    }
    if (!vcl::SetupComm(handle, kReceiveBufferSize, kReceiveBufferSize)) {
        vcl::CloseHandle(handle);
        Tell({.Kind = TCommEventKind::OpenFailed, .Reason = kCannotSetup});
        throw ECommError(kCannotSetup);
    }
    portHandle_ = handle;
    vcl::PurgeComm(portHandle_, vcl::PURGE_TXABORT | vcl::PURGE_RXABORT | vcl::PURGE_TXCLEAR | vcl::PURGE_RXCLEAR);
    ApplySettings();
    portOpen_ = true;
    goneTold_ = false;
    if (monitor_) {
        vcl::TPortInfo info;
        vcl::GetPortInfo(portHandle_, info);
        Tell({.Kind = TCommEventKind::Opened, .Device = info.device, .LowLatency = info.lowLatency,
              .LatencyTimerMs = vcl::AdapterLatencyTimer(info.device)});
    }
}

void TComm::ClosePort() {
    if (!IsOpen()) return;
    if (monitor_) {
        vcl::TPortInfo info;
        vcl::GetPortInfo(portHandle_, info);
        Tell({.Kind = TCommEventKind::Closed, .Device = info.device});
    }
    vcl::CloseHandle(portHandle_);
    portOpen_ = false;
    portHandle_ = nullptr;
}

void TComm::ApplySettings() {
    vcl::DCB dcb;
    vcl::GetCommState(portHandle_, &dcb);
    dcb.BaudRate = BaudRateSpeed(baudRate_);

    ResetFlagWord(dcb);

    dcb.Parity = static_cast<vcl::BYTE>(parity_);
    parityCheck_ = parity_ != TParity::None;
    if (parityCheck_) dcb.fParity = 1;

    switch (hwHandShaking_) {
        case hhNoneRTSON: dcb.fRtsControl = vcl::RTS_CONTROL_ENABLE; break;
        case hhRTSCTS:
            dcb.fRtsControl = vcl::RTS_CONTROL_HANDSHAKE;
            dcb.fOutxCtsFlow = 1;
            break;
        case hhNone: break;
    }
    if (swHandShaking_ == shXonXoff) {
        dcb.fOutX = 1;
        dcb.fInX = 1;
    }
    dcb.ByteSize = static_cast<vcl::BYTE>(dataBits_ + 5);
    dcb.StopBits = static_cast<vcl::BYTE>(stopBits_);
    vcl::SetCommState(portHandle_, &dcb);
}

template <typename T>
void TComm::SetLineSetting(T& field, T value) {
    if (field == value) return;
    field = value;
    if (IsOpen()) ApplySettings();
}

void TComm::SetBaudRate(TBaudRate value) { SetLineSetting(baudRate_, value); }
void TComm::SetHwHandShaking(THWHandShaking value) { SetLineSetting(hwHandShaking_, value); }
void TComm::SetSwHandShaking(TSWHandShaking value) { SetLineSetting(swHandShaking_, value); }
void TComm::SetDataBits(TDataBits value) { SetLineSetting(dataBits_, value); }
void TComm::SetParity(TParity value) { SetLineSetting(parity_, value); }
void TComm::SetStopBits(TStopBits value) { SetLineSetting(stopBits_, value); }

// ---- traffic -----------------------------------------------------------------------------------

bool TComm::SendBytes(const void* Buffer, uint32_t Count) {
    if (!IsOpen()) {
        ShowError(kNotOpen);
        return false;
    }
    DWORD written = 0;
    vcl::WriteFile(portHandle_, Buffer, Count, &written, nullptr);
    uint64_t done = 0;
    vcl::GetWriteDone(portHandle_, done);
    lastSendDone_ = done != 0 ? done : vcl::Clock().NowMicroseconds();
    if (monitor_) {
        const auto* bytes = static_cast<const uint8_t*>(Buffer);
        Tell({.Kind = TCommEventKind::Sent, .Micros = lastSendDone_, .Bytes = {bytes, bytes + written}});
    }
    return true;
}

TComm::QueueState TComm::QueryQueue() {
    DWORD errors = 0;
    vcl::COMSTAT status;
    if (vcl::ClearCommError(portHandle_, &errors, &status)) return {errors, status.cbInQue};
    // A device that went away answers nothing from now on: the monitor hears of it once.
    vcl::TPortInfo info;
    if (monitor_ && !goneTold_ && vcl::GetPortInfo(portHandle_, info) && info.vanished) {
        goneTold_ = true;
        Tell({.Kind = TCommEventKind::DeviceGone, .Device = info.device});
    }
    return {};
}

void TComm::ReadInput() {
    const QueueState queue = QueryQueue();
    commError_ = queue.errors;
    if (queue.waiting == 0) return;
    // Never more than waits.
    const DWORD count = inputLen_ != 0 ? std::min(inputLen_, queue.waiting) : queue.waiting;
    if (queue.waiting > kReceiveBufferSize) {
        vcl::PurgeComm(portHandle_, vcl::PURGE_RXCLEAR);
        return;
    }
    DWORD read = 0;
    if (!vcl::ReadFile(portHandle_, receiveBuffer_.data(), count, &read, nullptr)) return;
    // Reads never wait, and another reader of the device may have taken bytes since they were
    // counted: only what arrived in the buffer is the read, and a read that got nothing is none.
    if (read == 0) return;
    const auto begin = receiveBuffer_.begin();
    const auto end = begin + std::min(read, count);
    inputText_.assign(begin, std::find(begin, end, uint8_t{0}));
    inputBytes_.assign(begin, end);
    ++inputCount_;
    vcl::GetReadArrivals(portHandle_, inputArrivals_);
    if (inputArrivals_.empty()) inputArrivals_.push_back({0, vcl::Clock().NowMicroseconds()});
    if (monitor_) {
        Tell({.Kind = TCommEventKind::Received, .Micros = inputArrivals_.front().Micros, .Bytes = inputBytes_,
              .Arrivals = inputArrivals_});
    }
}

std::string TComm::Input() {
    if (!IsOpen()) throw ECommError(kNotOpen);
    ReadInput();
    return inputText_;
}

int32_t TComm::ReadBytes(const uint8_t*& Data) {
    if (!IsOpen()) throw ECommError(kNotOpen);
    ReadInput();
    Data = inputBytes_.empty() ? nullptr : inputBytes_.data();
    return static_cast<int32_t>(inputBytes_.size()) - 1;
}

uint64_t TComm::CharacterMicroseconds() const {
    // In half bits, for the one and a half stop bits.
    const uint64_t halfBits = 2 * (1 + (dataBits_ + 5) + (parity_ != TParity::None ? 1 : 0)) +
                              (stopBits_ == SB1 ? 2 : stopBits_ == SB1_5 ? 3 : 4);
    return (halfBits * 1000000 / 2 + BaudRateSpeed(baudRate_) - 1) / BaudRateSpeed(baudRate_);
}

TLineSettings TComm::Line() const {
    return {BaudRateSpeed(baudRate_), static_cast<uint8_t>(dataBits_ + 5), parity_, stopBits_, CharacterMicroseconds()};
}

void TComm::Tell(TCommEvent event) const {
    if (!monitor_) return;
    if (event.Micros == 0) event.Micros = vcl::Clock().NowMicroseconds();
    event.PortNumber = commPort_ + 1;
    event.Line = Line();
    const TCommMonitor monitor = monitor_;
    monitor(event);
}

uint64_t TComm::InterFrameSilenceMicroseconds() const { return Line().InterFrameSilence(); }

uint32_t TComm::WaitingCount() const {
    DWORD count = 0;
    if (IsOpen()) vcl::GetInputWaiting(portHandle_, count);
    return count;
}

uint32_t TComm::DataCount() {
    // The error flags this query collects are dropped.
    return QueryQueue().waiting;
}

void TComm::SetDataCount(uint32_t value) {
    if (value != 0) return;
    vcl::PurgeComm(portHandle_, vcl::PURGE_RXCLEAR);
}

void TComm::SetDTREnabled(bool value) {
    if (!IsOpen()) return;
    dtrEnabled_ = value;
    vcl::EscapeCommFunction(portHandle_, value ? vcl::SETDTR : vcl::CLRDTR);
}

void TComm::SetRTSEnabled(bool value) {
    if (!IsOpen()) return;
    rtsEnabled_ = value;
    vcl::EscapeCommFunction(portHandle_, value ? vcl::SETRTS : vcl::CLRRTS);
}

// ---- polling -----------------------------------------------------------------------------------

void TComm::CheckModemStatus() {
    if (!IsOpen()) throw ECommError(kNotOpen);
    commEvent_ = 0;
    DWORD status = 0;
    if (!vcl::GetCommModemStatus(portHandle_, &status)) return;
    struct Line {
        DWORD stateBit;
        DWORD changeValue;
        bool& holding;
    };
    const Line lines[] = {
        {vcl::MS_RLSD_ON, vcl::EV_RLSD, cdHolding_},
        {vcl::MS_DSR_ON, vcl::EV_DSR, dsrHolding_},
        {vcl::MS_RING_ON, vcl::EV_RING, riHolding_},
        {vcl::MS_CTS_ON, vcl::EV_CTS, ctsHolding_},
    };
    for (const Line& line : lines) {
        const bool on = (status & line.stateBit) != 0;
        if (on != line.holding) commEvent_ += line.changeValue;
        line.holding = on;
    }
}

class TComm::TickScope {
public:
    explicit TickScope(std::shared_ptr<TickState> state) : state_(std::move(state)) { state_->ticking = true; }
    ~TickScope() { state_->ticking = false; }
    TickScope(const TickScope&) = delete;
    TickScope& operator=(const TickScope&) = delete;
    bool Alive() const { return state_->alive; }

private:
    const std::shared_ptr<TickState> state_;
};

void TComm::PollTimerTick() {
    // A tick that came due inside the running one's message processing is not started there:
    // nested ticks would pile up on the stack for as long as a slow receive handler meets
    // waiting bytes. The bytes keep waiting for the next period's tick.
    if (tickState_->ticking || !IsOpen()) return;
    const TickScope tick(tickState_);
    const QueueState queue = QueryQueue();
    commError_ = queue.errors;
    if (rThreshold_ > 0 && queue.waiting >= rThreshold_) {
        const TReceiveDataEvent handler = onReceiveData_;
        vcl::Fire(handler, this);
        if (!tick.Alive()) return;
    }
    CheckModemStatus();
    ProcessMessages();
    if (!tick.Alive()) return;
    if (commEvent_ != 0) {
        const TModemStateChangeEvent handler = onModemStateChange_;
        vcl::Fire(handler, this, commEvent_);
        if (!tick.Alive()) return;
    }
    ProcessMessages();
    if (!tick.Alive()) return;
    if (commError_ != 0) {
        const TReceiveErrorEvent handler = onReceiveError_;
        vcl::Fire(handler, this, commError_);
        if (!tick.Alive()) return;
    }
    ProcessMessages();
}

// ---- stored properties ---------------------------------------------------------------------------

namespace {

using vcl::TEnumName;

constexpr TEnumName<TBaudRate> kBaudRateNames[] = {
    {"br110", br110},       {"br300", br300},       {"br600", br600},       {"br1200", br1200},
    {"br2400", br2400},     {"br4800", br4800},     {"br9600", br9600},     {"br14400", br14400},
    {"br19200", br19200},   {"br38400", br38400},   {"br56000", br56000},   {"br57600", br57600},
    {"br76800", br76800},   {"br115200", br115200}, {"br230400", br230400}};
constexpr TEnumName<TParity> kParityNames[] = {{"None", TParity::None}, {"Odd", TParity::Odd}, {"Even", TParity::Even},
                                               {"Mark", TParity::Mark}, {"Space", TParity::Space}};
constexpr TEnumName<TStopBits> kStopBitsNames[] = {{"SB1", SB1}, {"SB1_5", SB1_5}, {"SB2", SB2}};
constexpr TEnumName<TDataBits> kDataBitsNames[] = {{"DB5", DB5}, {"DB6", DB6}, {"DB7", DB7}, {"DB8", DB8}};
constexpr TEnumName<THWHandShaking> kHwHandShakingNames[] = {
    {"hhNone", hhNone}, {"hhNoneRTSON", hhNoneRTSON}, {"hhRTSCTS", hhRTSCTS}};
constexpr TEnumName<TSWHandShaking> kSwHandShakingNames[] = {{"shNone", shNone}, {"shXonXoff", shXonXoff}};

// "pnCOMn" is port n, 1 to 255.
TComPortNumber StoredPort(const vcl::TStoredWrite& value) {
    const std::string_view ident = value.Ident();
    const std::string_view digits = ident.substr(std::min<size_t>(5, ident.size()));
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    const bool named = ident.starts_with("pnCOM") && error == std::errc() && end == digits.data() + digits.size();
    if (!named || number < 1 || number > 255) value.Fail("unknown port");
    return static_cast<TComPortNumber>(number - 1);
}

}  // namespace

const vcl::TStoredProperties& TComm::StoredProperties() const {
    static const auto table = vcl::TStoredProperties::Of<TComm>(&TComponent::StoredProperties(), {
        {"CommPort", [](auto& c, auto& v) { c.SetCommPort(StoredPort(v)); }},
        {"PortOpen", [](auto& c, auto& v) { c.SetPortOpen(v.Bool()); }},
        {"BaudRate", [](auto& c, auto& v) { c.SetBaudRate(v.Enum(kBaudRateNames)); }},
        {"HwHandShaking", [](auto& c, auto& v) { c.SetHwHandShaking(v.Enum(kHwHandShakingNames)); }},
        {"SwHandShaking", [](auto& c, auto& v) { c.SetSwHandShaking(v.Enum(kSwHandShakingNames)); }},
        {"DataBits", [](auto& c, auto& v) { c.SetDataBits(v.Enum(kDataBitsNames)); }},
        {"Parity", [](auto& c, auto& v) { c.SetParity(v.Enum(kParityNames)); }},
        {"StopBits", [](auto& c, auto& v) { c.SetStopBits(v.Enum(kStopBitsNames)); }},
        {"InputLen", [](auto& c, auto& v) { c.SetInputLen(static_cast<uint32_t>(v.Int())); }},
        {"RThreshold", [](auto& c, auto& v) { c.SetRThreshold(static_cast<uint32_t>(v.Int())); }},
        {"DTREnabled", [](auto& c, auto& v) { c.SetDTREnabled(v.Bool()); }},
        {"RTSEnabled", [](auto& c, auto& v) { c.SetRTSEnabled(v.Bool()); }},
    });
    return table;
}

}  // namespace serial
