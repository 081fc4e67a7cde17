#pragma once
// TComm: a non-visual component that owns one COM port. It keeps the port number and the line
// settings, opens, configures and closes the port, writes and reads it, and watches the open port
// with a 100 ms poll that raises OnReceiveData, OnModemStateChange and OnReceiveError on the GUI
// thread. There is no reader thread: arriving bytes are noticed only by the poll. A tick's message
// processing lets window events run inside it, but never the component's next tick: one that
// comes due meanwhile is taken at the following period. Writes return once the bytes are queued
// for the line (the poll drains that queue), reads take what has arrived, and neither waits.
//
//   auto* comm = new serial::TComm(form);     // owned, destroyed with the form
//   comm->SetCommPort(serial::pnCOM3);
//   comm->SetRThreshold(1);
//   comm->SetOnReceiveData([comm](vcl::TObject*) {
//       const uint8_t* data = nullptr;
//       const int32_t last = comm->ReadBytes(data);  // data[0..last]
//   });
//   comm->SetPortOpen(true);                  // ECommError when the port cannot be opened

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Exception.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Timer.h"
#include "platform/serialdev/CommTypes.h"
#include "platform/serialdev/SerialDevice.h"
#include "serial/CommEnums.h"
#include "serial/CommMonitor.h"

namespace serial {

// Opening failures and use of a closed port; carries only its message.
class ECommError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TComm : public vcl::TComponent {
public:
    static constexpr uint32_t kReceiveBufferSize = 16384;
    static constexpr uint32_t kPollInterval = 100;

    explicit TComm(vcl::TComponent* AOwner);
    ~TComm() override;

    // The port number, PortOpen, the line settings, InputLen, RThreshold and the modem lines.
    const vcl::TStoredProperties& StoredProperties() const override;

    // Port and line settings. The line setters reapply the settings at once while the port is
    // open, and only when the value changes; the port number takes effect at the next opening.
    TComPortNumber CommPort() const { return commPort_; }
    void SetCommPort(TComPortNumber value) { commPort_ = value; }
    bool PortOpen() const { return portOpen_; }
    // True opens the port (ECommError when that fails; an error box when it is open already),
    // false closes it.
    void SetPortOpen(bool value);
    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate value);
    THWHandShaking HwHandShaking() const { return hwHandShaking_; }
    void SetHwHandShaking(THWHandShaking value);
    TSWHandShaking SwHandShaking() const { return swHandShaking_; }
    void SetSwHandShaking(TSWHandShaking value);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits value);
    TParity Parity() const { return parity_; }
    void SetParity(TParity value);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits value);

    // Bytes per read, 0 meaning all that wait.
    uint32_t InputLen() const { return inputLen_; }
    void SetInputLen(uint32_t value) { inputLen_ = value; }
    // The poll raises OnReceiveData when at least this many bytes wait; 0 never.
    uint32_t RThreshold() const { return rThreshold_; }
    void SetRThreshold(uint32_t value) { rThreshold_ = value; }

    // Traffic.
    // Writes count bytes; false (after the error box) when the port is closed.
    bool SendBytes(const void* Buffer, uint32_t Count);
    // Reads what waits and returns the last read's text, up to its first zero byte. ECommError
    // when the port is closed.
    std::string Input();
    // Reads what waits and points Data at the last read's bytes (null before any), which stay
    // valid until the next read that finds bytes; returns their count minus 1. ECommError when
    // the port is closed.
    int32_t ReadBytes(const uint8_t*& Data);
    // Bytes waiting in the device's input queue, read without collecting the line errors the next
    // poll reports (0 while closed).
    uint32_t WaitingCount() const;
    // Bytes waiting in the device's input queue (0 while closed). Writing 0 empties the queue.
    uint32_t DataCount();
    void SetDataCount(uint32_t value);

    // Timing, in microseconds of the device's clock (the monotonic clock for a real port; where a
    // device cannot tell, the component's clock when it read or wrote). When the bytes of the last
    // read arrived, in runs from offset 0 (empty before any read); how many reads found bytes, so a
    // caller tells a new read from the last one repeated; when the last SendBytes's bytes had all
    // gone to the device (0 before any).
    const std::vector<vcl::TArrivalRun>& InputArrivals() const { return inputArrivals_; }
    // The bytes of the last read that found any (what ReadBytes points at), without reading.
    const std::vector<uint8_t>& InputBytes() const { return inputBytes_; }
    uint64_t InputCount() const { return inputCount_; }
    uint64_t LastSendDone() const { return lastSendDone_; }
    // One character on the line at the current settings: start bit, data bits, parity, stop bits.
    uint64_t CharacterMicroseconds() const;
    TLineSettings Line() const;
    // Hears every opening, closing, write and read from now on (see CommMonitor.h); empty: none.
    void SetMonitor(TCommMonitor monitor) { monitor_ = std::move(monitor); }
    // The silence that ends a frame at the current line settings (TLineSettings::InterFrameSilence).
    uint64_t InterFrameSilenceMicroseconds() const;

    // Modem output lines: written to the line while the port is open, ignored while closed.
    bool DTREnabled() const { return dtrEnabled_; }
    void SetDTREnabled(bool value);
    bool RTSEnabled() const { return rtsEnabled_; }
    void SetRTSEnabled(bool value);

    // What the last poll or read saw.
    uint32_t CommEvent() const { return commEvent_; }
    uint32_t CommError() const { return commError_; }
    bool CDHolding() const { return cdHolding_; }
    bool DSRHolding() const { return dsrHolding_; }
    bool RIHolding() const { return riHolding_; }
    bool CTSHolding() const { return ctsHolding_; }

    const TReceiveDataEvent& OnReceiveData() const { return onReceiveData_; }
    void SetOnReceiveData(TReceiveDataEvent handler) { onReceiveData_ = std::move(handler); }
    const TReceiveErrorEvent& OnReceiveError() const { return onReceiveError_; }
    void SetOnReceiveError(TReceiveErrorEvent handler) { onReceiveError_ = std::move(handler); }
    const TModemStateChangeEvent& OnModemStateChange() const { return onModemStateChange_; }
    void SetOnModemStateChange(TModemStateChangeEvent handler) { onModemStateChange_ = std::move(handler); }

private:
    bool IsOpen() const { return portHandle_ != nullptr; }
    void OpenPort();
    void ClosePort();
    void ApplySettings();
    template <typename T>
    void SetLineSetting(T& field, T value);

    // The device's error flags and waiting count; a device that does not answer has neither.
    struct QueueState {
        vcl::DWORD errors = 0;
        vcl::DWORD waiting = 0;
    };
    QueueState QueryQueue();
    void ReadInput();
    void CheckModemStatus();
    void PollTimerTick();

    vcl::TTimer* pollTimer_ = nullptr;
    std::array<uint8_t, kReceiveBufferSize> receiveBuffer_{};
    vcl::HANDLE portHandle_ = nullptr;
    TComPortNumber commPort_ = pnCOM2;
    bool portOpen_ = false;
    TBaudRate baudRate_ = br9600;
    bool parityCheck_ = false;
    THWHandShaking hwHandShaking_ = hhNone;
    TSWHandShaking swHandShaking_ = shNone;
    TDataBits dataBits_ = DB8;
    TParity parity_ = TParity::None;
    TStopBits stopBits_ = SB1;
    uint32_t inputLen_ = 0;
    uint32_t rThreshold_ = 0;
    bool dtrEnabled_ = false;
    bool rtsEnabled_ = false;
    std::string inputText_;
    std::vector<uint8_t> inputBytes_;
    std::vector<vcl::TArrivalRun> inputArrivals_;
    uint64_t inputCount_ = 0;
    uint64_t lastSendDone_ = 0;
    uint32_t commEvent_ = 0;
    uint32_t commError_ = 0;
    bool cdHolding_ = false;
    bool ctsHolding_ = false;
    bool dsrHolding_ = false;
    bool riHolding_ = false;
    // Tells the monitor, if any, of an event of this port.
    void Tell(TCommEvent event) const;
    TCommMonitor monitor_;
    bool goneTold_ = false;
    TReceiveDataEvent onReceiveData_;
    TReceiveErrorEvent onReceiveError_;
    TModemStateChangeEvent onModemStateChange_;
    // Shared with a running tick, which outlives the component when a window event inside it
    // destroys the component.
    struct TickState {
        bool alive = true;    // cleared when the component dies, so the running tick stops
        bool ticking = false; // a tick is running: one that comes due meanwhile is skipped
    };
    // Marks a tick as running for its whole extent, exceptions included.
    class TickScope;
    std::shared_ptr<TickState> tickState_ = std::make_shared<TickState>();
};

}  // namespace serial
