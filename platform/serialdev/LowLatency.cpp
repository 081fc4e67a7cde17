#include "platform/serialdev/LowLatency.h"

#include <sys/ioctl.h>

namespace vcl {

SerialInfoAccess SerialInfoAccess::OfDescriptor(int fd) {
    return {
        [fd](serial_struct& info) { return ::ioctl(fd, TIOCGSERIAL, &info) == 0; },
        [fd](const serial_struct& info) { return ::ioctl(fd, TIOCSSERIAL, &info) == 0; },
    };
}

LowLatencyRequest::LowLatencyRequest(SerialInfoAccess access) : access_(std::move(access)) {
    serial_struct info{};
    if (!access_.read(info)) return;
    if ((info.flags & ASYNC_LOW_LATENCY) != 0) {
        active_ = true;
        return;
    }
    info.flags |= ASYNC_LOW_LATENCY;
    if (!access_.write(info)) return;
    // Some drivers accept the call and drop the flag; only what reads back counts.
    serial_struct taken{};
    active_ = access_.read(taken) && (taken.flags & ASYNC_LOW_LATENCY) != 0;
    turnedOn_ = active_;
}

LowLatencyRequest::~LowLatencyRequest() {
    if (!turnedOn_) return;
    serial_struct info{};
    if (!access_.read(info)) return;
    info.flags &= ~ASYNC_LOW_LATENCY;
    access_.write(info);
}

}  // namespace vcl
