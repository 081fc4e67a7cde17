#pragma once
// The low-latency request of an open tty. USB-serial adapters hold received bytes before handing
// them on (FTDI chips 16 ms by default), which adds to every reply; ASYNC_LOW_LATENCY asks the
// driver not to. Drivers without the setting (pseudo-terminals, many others) refuse it, and then
// nothing changes.

#include <linux/serial.h>

#include <functional>

namespace vcl {

// How the driver's serial_struct is read and written; each call says whether it worked.
struct SerialInfoAccess {
    std::function<bool(serial_struct&)> read;
    std::function<bool(const serial_struct&)> write;

    // TIOCGSERIAL and TIOCSSERIAL on fd.
    static SerialInfoAccess OfDescriptor(int fd);
};

// Turns low latency on for its lifetime where the driver takes it, and off again at its end if it
// was off before, keeping whatever else changed meanwhile.
class LowLatencyRequest {
public:
    explicit LowLatencyRequest(SerialInfoAccess access);
    ~LowLatencyRequest();
    LowLatencyRequest(const LowLatencyRequest&) = delete;
    LowLatencyRequest& operator=(const LowLatencyRequest&) = delete;

    // Whether the driver now runs with low latency.
    bool Active() const { return active_; }

private:
    SerialInfoAccess access_;
    bool active_ = false;
    bool turnedOn_ = false;
};

}  // namespace vcl
