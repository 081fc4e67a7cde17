#pragma once
// When the bytes of a tty arrive, learned without reading them.
//
// Why a thread: the serial component reads only on its 100 ms poll, and the receive handler
// blocks the GUI thread while it waits, so neither can see when a byte came to better than tens
// of milliseconds. A response time or a gap inside a frame needs the moment the driver delivered
// the bytes. The watcher's thread sleeps in epoll on the descriptor, edge-triggered: the tty wakes
// it at every delivery into its buffer, and it notes the time and how many bytes have arrived in
// all (those already read plus those waiting). It never reads, so which bytes come and in what
// order stays the kernel's business alone; the GUI thread reads as before and learns from the
// notes when each byte it took arrived. Idle, the thread sleeps in the kernel: no timer, no poll.
//
// Times are the monotonic clock's microseconds, the clock the program runs on.

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/serialdev/SerialDevice.h"

namespace vcl {

class ArrivalWatcher {
public:
    // Starts watching fd (which must stay open until the watcher is gone). Where epoll cannot be
    // had, nothing watches, and the bytes a read takes are said to arrive when they are read.
    explicit ArrivalWatcher(int fd);
    ~ArrivalWatcher();
    ArrivalWatcher(const ArrivalWatcher&) = delete;
    ArrivalWatcher& operator=(const ArrivalWatcher&) = delete;

    // Runs read, which takes bytes from the descriptor and returns how many, with the notes held
    // still, and returns when those bytes arrived.
    std::vector<TArrivalRun> ReadTimed(const std::function<size_t()>& read);
    // Runs flush, which throws the waiting input away, and forgets what was noted of it.
    void Discard(const std::function<void()>& flush);

    // The monotonic clock in microseconds.
    static uint64_t Now();

private:
    // By Micros, Total bytes had arrived since the watching began.
    struct Mark {
        uint64_t total;
        uint64_t micros;
    };

    void Run();
    // Notes what arrived up to now; the caller holds the lock.
    void Sample(uint64_t micros);

    const int fd_;
    int epoll_ = -1;
    int stop_ = -1;
    std::mutex mutex_;
    std::deque<Mark> marks_;
    uint64_t consumed_ = 0;
    // The latest time given to any bytes: times never go back.
    uint64_t latest_ = 0;
    std::thread thread_;
};

}  // namespace vcl
