#include "platform/serialdev/TermiosDevice.h"

#include <fcntl.h>
#include <grp.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <vector>

#include "platform/serialdev/PortFacts.h"
#include "platform/serialdev/PortName.h"
#include "platform/serialdev/SerialDevice.h"
#include "platform/serialdev/TermiosSettings.h"

namespace vcl {

namespace {

constexpr short kHangUpEvents = POLLHUP | POLLERR | POLLNVAL;

// A write larger than the output queue gives up after the line moved nothing for this long.
constexpr int kStalledLineMs = 1000;

// Closing waits for pending output what it needs at the line's speed, plus a little for the
// driver, and never longer than a second.
constexpr uint64_t kCloseMarginUs = 10000;
constexpr uint64_t kLongestCloseUs = 1000000;

using SteadyClock = std::chrono::steady_clock;

// Errors by which the kernel says the device behind the descriptor is no more.
bool MeansGone(int error) { return error == EIO || error == ENXIO || error == ENODEV || error == EBADF; }

bool RetryAfter(int error) { return error == EINTR; }

bool WouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK; }

// Linux releases the descriptor even when close reports EINTR, so it is never retried.
void CloseQuietly(int fd) { ::close(fd); }

// The name of the group that owns the file at path; empty when unknown.
std::string OwningGroup(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return {};
    group entry{};
    group* found = nullptr;
    std::vector<char> buffer(4096);
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
    return found->gr_name;
}

void NoteOpenFailure(int error, const std::string& path, PortOpenReport& report) {
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
        case EIO: report.reason = PortOpenReport::Reason::NoDevice; break;
        case EACCES:
        case EPERM:
            report.reason = PortOpenReport::Reason::PermissionDenied;
            report.group = OwningGroup(path);
            break;
        // TIOCEXCL held by another program gives EBUSY, its lock EWOULDBLOCK.
        case EBUSY:
        case EWOULDBLOCK:
            report.reason = PortOpenReport::Reason::Held;
            report.holder = FindDeviceHolder(path);
            break;
        case ENOTTY: report.reason = PortOpenReport::Reason::NotSerial; break;
        default:
            report.reason = PortOpenReport::Reason::Other;
            report.error = error;
            break;
    }
}

// The device a ports-folder entry points at (dangling or not); other paths are the device.
std::string DeviceBehind(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_symlink(path, error)) return path;
    const fs::path target = fs::read_symlink(path, error);
    if (error) return path;
    return (target.is_absolute() ? target : fs::path(path).parent_path() / target).lexically_normal().string();
}

}  // namespace

std::unique_ptr<TermiosDevice> TermiosDevice::Open(const std::string& path, PortOpenReport& report) {
    report.device = path;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        NoteOpenFailure(errno, path, report);
        return nullptr;
    }
    // Reading the settings fails on anything that is no tty; the lock fails while another
    // opening, here or in another process, holds the port.
    termios2 settings{};
    if (::ioctl(fd, TCGETS2, &settings) != 0) {
        report.reason = errno == ENOTTY || errno == EINVAL ? PortOpenReport::Reason::NotSerial
                                                           : PortOpenReport::Reason::NoDevice;
        CloseQuietly(fd);
        return nullptr;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        NoteOpenFailure(errno, path, report);
        CloseQuietly(fd);
        return nullptr;
    }
    if (::ioctl(fd, TIOCEXCL) != 0) {
        NoteOpenFailure(errno, path, report);
        CloseQuietly(fd);
        return nullptr;
    }
    // The device owns the descriptor from here, and its destructor undoes TIOCEXCL.
    std::unique_ptr<TermiosDevice> device(new TermiosDevice(fd));
    // Raw at once, so nothing that arrives before the first settings is echoed or translated.
    MakeRaw(settings);
    if (::ioctl(fd, TCSETS2, &settings) != 0) {
        NoteOpenFailure(errno, path, report);
        return nullptr;
    }
    device->hasErrorCounts_ = device->ReadLineErrorCounts(device->errorCounts_);
    device->lowLatency_.emplace(SerialInfoAccess::OfDescriptor(fd));
    device->arrivals_ = std::make_unique<ArrivalWatcher>(fd);
    return device;
}

TermiosDevice::TermiosDevice(int fd) : fd_(fd), requested_(FreshPortState()) {}

TermiosDevice::~TermiosDevice() {
    arrivals_.reset();
    FinishOutput();
    // The driver is left with the latency it had when we found it.
    lowLatency_.reset();
    // Exclusive mode belongs to the tty, not to this descriptor; a pty's tty outlives us.
    ::ioctl(fd_, TIOCNXCL);
    CloseQuietly(fd_);
}

bool TermiosDevice::Gone() {
    if (gone_) return true;
    pollfd poll{fd_, 0, 0};
    if (::poll(&poll, 1, 0) == 1 && (poll.revents & kHangUpEvents) != 0) gone_ = true;
    return gone_;
}

void TermiosDevice::NoteFailure(int error) {
    if (MeansGone(error)) gone_ = true;
}

bool TermiosDevice::WaitFor(short events, int timeoutMs) {
    for (;;) {
        pollfd poll{fd_, events, 0};
        const int ready = ::poll(&poll, 1, timeoutMs);
        if (ready < 0) {
            if (RetryAfter(errno)) continue;
            return false;
        }
        if (ready == 0) return false;
        if ((poll.revents & kHangUpEvents) != 0) {
            gone_ = true;
            return false;
        }
        if ((poll.revents & events) != 0) return true;
    }
}

bool TermiosDevice::SetupComm(DWORD, DWORD outQueue) {
    // The kernel's queues have fixed sizes; the output queue in front of them is ours.
    if (Gone()) return false;
    if (outQueue != 0) outQueueSize_ = std::max<size_t>(outQueue, Queued());
    termios2 settings{};
    if (::ioctl(fd_, TCGETS2, &settings) == 0) return true;
    NoteFailure(errno);
    return false;
}

bool TermiosDevice::PurgeComm(DWORD flags) {
    constexpr DWORD kKnownFlags = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
    if ((flags & ~kKnownFlags) != 0 || Gone()) return false;
    const bool input = (flags & PURGE_RXCLEAR) != 0;
    const bool output = (flags & PURGE_TXCLEAR) != 0;
    // Queued bytes are the pending write; aborting it or clearing the output drops them.
    if ((flags & (PURGE_TXABORT | PURGE_TXCLEAR)) != 0) {
        outQueue_.clear();
        outHead_ = 0;
    }
    if (!input && !output) return true;
    const int queue = input && output ? TCIOFLUSH : input ? TCIFLUSH : TCOFLUSH;
    int result = 0;
    const auto flush = [&] { result = ::ioctl(fd_, TCFLSH, queue); };
    if (input && arrivals_) {
        arrivals_->Discard(flush);
    } else {
        flush();
    }
    if (result == 0) return true;
    NoteFailure(errno);
    return false;
}

bool TermiosDevice::GetCommState(DCB& dcb) {
    if (Gone()) return false;
    termios2 settings{};
    if (::ioctl(fd_, TCGETS2, &settings) != 0) {
        NoteFailure(errno);
        return false;
    }
    DCB current = requested_;
    ReadDcb(settings, current);
    dcb = current;
    return true;
}

bool TermiosDevice::SetCommState(const DCB& dcb) {
    if (Gone()) return false;
    termios2 settings{};
    if (::ioctl(fd_, TCGETS2, &settings) != 0) {
        NoteFailure(errno);
        return false;
    }
    if (!ApplyDcb(dcb, settings)) return false;
    if (::ioctl(fd_, TCSETS2, &settings) != 0) {
        NoteFailure(errno);
        return false;
    }
    requested_ = dcb;
    requested_.DCBlength = sizeof(DCB);
    if (!ApplyLineControl(dcb)) return false;
    // Drivers take what they can without saying so; only a line as asked counts as success.
    termios2 taken{};
    if (::ioctl(fd_, TCGETS2, &taken) != 0) {
        NoteFailure(errno);
        return false;
    }
    return LineMatches(dcb, taken);
}

bool TermiosDevice::ApplyLineControl(const DCB& dcb) {
    // DTR handshaking does not exist on Linux; the line is simply held on.
    SetModemLine(TIOCM_DTR, dcb.fDtrControl != DTR_CONTROL_DISABLE);
    if (dcb.fRtsControl != RTS_CONTROL_HANDSHAKE) {
        SetModemLine(TIOCM_RTS, dcb.fRtsControl == RTS_CONTROL_ENABLE);
    }
    // A device without modem lines (a pseudo-terminal) took the settings all the same.
    return !gone_;
}

bool TermiosDevice::SetModemLine(int line, bool on) {
    if (::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
    NoteFailure(errno);
    return false;
}

bool TermiosDevice::WriteFile(const BYTE* bytes, DWORD count, DWORD& written) {
    written = 0;
    if (Gone()) return false;
    PumpOutput();
    while (written < count) {
        // Straight to the kernel while nothing waits ahead of these bytes.
        if (Queued() == 0) {
            const ssize_t sent = ::write(fd_, bytes + written, count - written);
            if (sent > 0) {
                written += static_cast<DWORD>(sent);
                continue;
            }
            if (sent < 0 && RetryAfter(errno)) continue;
            if (sent < 0 && !WouldBlock(errno)) {
                NoteFailure(errno);
                return false;
            }
        }
        const size_t room = outQueueSize_ - std::min(outQueueSize_, Queued());
        const DWORD taken = static_cast<DWORD>(std::min<size_t>(room, count - written));
        outQueue_.insert(outQueue_.end(), bytes + written, bytes + written + taken);
        written += taken;
        if (written == count) break;
        // More than the queue holds: wait while the line drains, but give up on a line that
        // stopped moving (flow control held for good), as a write time-out would.
        if (!WaitFor(POLLOUT, kStalledLineMs)) return false;
        PumpOutput();
    }
    // Done now, or when the output queue has drained (PumpOutput notes it).
    if (Queued() == 0) lastWriteDone_ = ArrivalWatcher::Now();
    return true;
}

void TermiosDevice::PumpOutput() {
    while (Queued() > 0 && !gone_) {
        const ssize_t sent = ::write(fd_, outQueue_.data() + outHead_, Queued());
        if (sent > 0) {
            outHead_ += static_cast<size_t>(sent);
            if (Queued() == 0) lastWriteDone_ = ArrivalWatcher::Now();
            continue;
        }
        if (sent < 0 && RetryAfter(errno)) continue;
        if (sent < 0 && !WouldBlock(errno)) NoteFailure(errno);
        break;
    }
    if (Queued() == 0 || gone_) {
        outQueue_.clear();
        outHead_ = 0;
    } else if (outHead_ >= outQueue_.size() / 2) {
        outQueue_.erase(outQueue_.begin(), outQueue_.begin() + static_cast<std::ptrdiff_t>(outHead_));
        outHead_ = 0;
    }
}

size_t TermiosDevice::KernelQueued() const {
    int unsent = 0;
    if (::ioctl(fd_, TIOCOUTQ, &unsent) != 0 || unsent < 0) return 0;
    return static_cast<size_t>(unsent);
}

void TermiosDevice::FinishOutput() {
    if (Gone()) return;
    termios2 settings{};
    if (::ioctl(fd_, TCGETS2, &settings) != 0) return;
    PumpOutput();
    const size_t pending = Queued() + KernelQueued();
    if (pending == 0) return;
    const uint64_t waitUs =
        std::min(TransmitMicroseconds(static_cast<DWORD>(pending), settings) + kCloseMarginUs, kLongestCloseUs);
    const SteadyClock::time_point deadline = SteadyClock::now() + std::chrono::microseconds(waitUs);
    for (;;) {
        PumpOutput();
        if (gone_ || (Queued() == 0 && KernelQueued() == 0)) return;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
        if (left <= 0) break;
        const int slice = static_cast<int>(std::min<int64_t>(left, 5));
        // With bytes of ours waiting, room in the kernel is worth waking for; otherwise the
        // kernel's queue is simply left to drain.
        if (Queued() > 0) {
            WaitFor(POLLOUT, slice);
        } else {
            ::poll(nullptr, 0, slice);
        }
    }
    // The rest is discarded. The line is let go, so nothing held by flow control keeps the
    // kernel's closing wait busy.
    outQueue_.clear();
    outHead_ = 0;
    settings.c_cflag &= ~static_cast<tcflag_t>(CRTSCTS);
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON);
    ::ioctl(fd_, TCSETS2, &settings);
    ::ioctl(fd_, TCFLSH, TCOFLUSH);
    ::ioctl(fd_, TCXONC, TCOON);
}

bool TermiosDevice::ReadFile(BYTE* bytes, DWORD count, DWORD& read) {
    read = 0;
    if (Gone()) return false;
    PumpOutput();
    bool failed = false;
    // Never waits: another program that had the tty open before us may have taken the bytes a
    // count promised, and the read then returns what is left.
    const auto take = [&]() -> size_t {
        while (read < count) {
            const ssize_t got = ::read(fd_, bytes + read, count - read);
            if (got > 0) {
                read += static_cast<DWORD>(got);
                continue;
            }
            if (got < 0 && RetryAfter(errno)) continue;
            if (got < 0 && !WouldBlock(errno)) {
                NoteFailure(errno);
                failed = true;
            }
            break;
        }
        return read;
    };
    std::vector<TArrivalRun> arrivals = arrivals_ ? arrivals_->ReadTimed(take) : std::vector<TArrivalRun>{};
    if (!arrivals_) take();
    if (failed) return false;
    if (read > 0) lastArrivals_ = std::move(arrivals);
    return true;
}

bool TermiosDevice::ClearCommError(DWORD& errors, COMSTAT& status) {
    if (Gone()) return false;
    PumpOutput();
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0) {
        NoteFailure(errno);
        return false;
    }
    status = COMSTAT{};
    status.cbInQue = static_cast<DWORD>(waiting);
    status.cbOutQue = static_cast<DWORD>(KernelQueued() + Queued());
    errors = TakeLineErrors();
    return true;
}

bool TermiosDevice::InputWaiting(DWORD& count) {
    int waiting = 0;
    if (Gone() || ::ioctl(fd_, FIONREAD, &waiting) != 0) return false;
    count = static_cast<DWORD>(waiting);
    return true;
}

bool TermiosDevice::ReadLineErrorCounts(LineErrorCounts& counts) {
    serial_icounter_struct kernel{};
    if (::ioctl(fd_, TIOCGICOUNT, &kernel) != 0) return false;
    counts.frame = kernel.frame;
    counts.overrun = kernel.overrun;
    counts.parity = kernel.parity;
    counts.brk = kernel.brk;
    counts.bufferOverrun = kernel.buf_overrun;
    return true;
}

DWORD TermiosDevice::TakeLineErrors() {
    // Drivers without counters (pseudo-terminals among them) report no line errors.
    if (!hasErrorCounts_) return 0;
    LineErrorCounts now;
    if (!ReadLineErrorCounts(now)) return 0;
    DWORD errors = 0;
    if (now.frame != errorCounts_.frame) errors |= CE_FRAME;
    if (now.overrun != errorCounts_.overrun) errors |= CE_OVERRUN;
    if (now.parity != errorCounts_.parity) errors |= CE_RXPARITY;
    if (now.brk != errorCounts_.brk) errors |= CE_BREAK;
    if (now.bufferOverrun != errorCounts_.bufferOverrun) errors |= CE_RXOVER;
    errorCounts_ = now;
    return errors;
}

bool TermiosDevice::GetCommModemStatus(DWORD& modemStatus) {
    if (Gone()) return false;
    PumpOutput();
    int lines = 0;
    if (::ioctl(fd_, TIOCMGET, &lines) != 0) {
        NoteFailure(errno);
        return false;
    }
    modemStatus = 0;
    if ((lines & TIOCM_CTS) != 0) modemStatus |= MS_CTS_ON;
    if ((lines & TIOCM_DSR) != 0) modemStatus |= MS_DSR_ON;
    if ((lines & TIOCM_RI) != 0) modemStatus |= MS_RING_ON;
    if ((lines & TIOCM_CD) != 0) modemStatus |= MS_RLSD_ON;
    return true;
}

bool TermiosDevice::EscapeCommFunction(DWORD function) {
    if (Gone()) return false;
    int result = -1;
    switch (function) {
        case SETRTS: return SetModemLine(TIOCM_RTS, true);
        case CLRRTS: return SetModemLine(TIOCM_RTS, false);
        case SETDTR: return SetModemLine(TIOCM_DTR, true);
        case CLRDTR: return SetModemLine(TIOCM_DTR, false);
        case SETBREAK: result = ::ioctl(fd_, TIOCSBRK); break;
        case CLRBREAK: result = ::ioctl(fd_, TIOCCBRK); break;
        case SETXOFF: result = ::ioctl(fd_, TCXONC, TCOOFF); break;
        case SETXON: result = ::ioctl(fd_, TCXONC, TCOON); break;
        default: return false;
    }
    if (result == 0) return true;
    NoteFailure(errno);
    return false;
}

std::unique_ptr<SerialDevice> TermiosDeviceFactory::OpenPort(int portNumber, PortOpenReport& report) {
    const std::optional<std::string> path = ResolvePortPath(portNumber, PortFolders::FromEnvironment());
    if (!path) {
        report.reason = PortOpenReport::Reason::NoDevice;
        return nullptr;
    }
    std::unique_ptr<SerialDevice> device = TermiosDevice::Open(*path, report);
    report.device = DeviceBehind(*path);
    return device;
}

}  // namespace vcl
