#include "platform/serialdev/ArrivalWatcher.h"

#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <algorithm>
#include <chrono>

namespace vcl {

uint64_t ArrivalWatcher::Now() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

ArrivalWatcher::ArrivalWatcher(int fd) : fd_(fd) {
    epoll_ = ::epoll_create1(EPOLL_CLOEXEC);
    stop_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    epoll_event device{};
    device.events = EPOLLIN | EPOLLET;
    device.data.fd = fd_;
    epoll_event stop{};
    stop.events = EPOLLIN;
    stop.data.fd = stop_;
    if (epoll_ < 0 || stop_ < 0 || ::epoll_ctl(epoll_, EPOLL_CTL_ADD, fd_, &device) != 0 ||
        ::epoll_ctl(epoll_, EPOLL_CTL_ADD, stop_, &stop) != 0) {
        return;
    }
    // What waits already arrived before anyone watched: it is stamped now.
    {
        const std::lock_guard lock(mutex_);
        Sample(Now());
    }
    thread_ = std::thread([this] { Run(); });
}

ArrivalWatcher::~ArrivalWatcher() {
    if (thread_.joinable()) {
        const uint64_t one = 1;
        (void)!::write(stop_, &one, sizeof one);
        thread_.join();
    }
    if (stop_ >= 0) ::close(stop_);
    if (epoll_ >= 0) ::close(epoll_);
}

void ArrivalWatcher::Run() {
    epoll_event events[2];
    for (;;) {
        const int ready = ::epoll_wait(epoll_, events, 2, -1);
        // Taken at once: the wake-up is the moment the driver delivered.
        const uint64_t now = Now();
        if (ready < 0) {
            if (errno == EINTR) continue;
            return;
        }
        for (int i = 0; i < ready; ++i) {
            if (events[i].data.fd == stop_) return;
            // A hung-up device wakes once more, edge-triggered; its reader finds it gone.
            const std::lock_guard lock(mutex_);
            Sample(now);
        }
    }
}

void ArrivalWatcher::Sample(uint64_t micros) {
    int waiting = 0;
    if (::ioctl(fd_, FIONREAD, &waiting) != 0 || waiting <= 0) return;
    const uint64_t total = consumed_ + static_cast<uint64_t>(waiting);
    const uint64_t known = marks_.empty() ? consumed_ : marks_.back().total;
    if (total <= known) return;
    // A wake-up that waited for the lock while a read stamped later bytes must not go back in time.
    latest_ = std::max(latest_, micros);
    marks_.push_back({total, latest_});
}

std::vector<TArrivalRun> ArrivalWatcher::ReadTimed(const std::function<size_t()>& read) {
    const std::lock_guard lock(mutex_);
    // Bytes the thread has not got to yet are stamped now, a moment late at worst.
    Sample(Now());
    const size_t taken = read();
    std::vector<TArrivalRun> runs;
    const uint64_t end = consumed_ + taken;
    uint64_t at = consumed_;
    for (const Mark& mark : marks_) {
        if (at >= end) break;
        if (mark.total <= at) continue;
        runs.push_back({static_cast<DWORD>(at - consumed_), mark.micros});
        at = std::min(mark.total, end);
    }
    // Bytes that came between the last note and the read.
    if (at < end) {
        latest_ = std::max(latest_, Now());
        runs.push_back({static_cast<DWORD>(at - consumed_), latest_});
    }
    consumed_ = end;
    while (!marks_.empty() && marks_.front().total <= consumed_) marks_.pop_front();
    return runs;
}

void ArrivalWatcher::Discard(const std::function<void()>& flush) {
    const std::lock_guard lock(mutex_);
    flush();
    // What arrives from here is counted from the bytes read so far: the flushed ones never were.
    marks_.clear();
}

}  // namespace vcl
