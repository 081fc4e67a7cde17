#pragma once
// Time of the GUI thread. Everything that waits or measures asks the current clock: real time when
// the program runs on screen, a virtual clock that only moves when told to under tests.

#include <cstdint>

namespace vcl {

class TClock {
public:
    TClock() = default;
    TClock(const TClock&) = delete;
    TClock& operator=(const TClock&) = delete;
    virtual ~TClock() = default;

    // Microseconds since an arbitrary start; never goes back.
    virtual uint64_t NowMicroseconds() const = 0;
    // Blocks the thread (or, for a virtual clock, moves time on) for the given span.
    virtual void SleepMicroseconds(uint64_t span) = 0;
    virtual bool IsVirtual() const { return false; }
};

// The monotonic clock of the machine.
class TSystemClock final : public TClock {
public:
    uint64_t NowMicroseconds() const override;
    void SleepMicroseconds(uint64_t span) override;
};

// A clock that stands still until advanced; sleeping advances it.
class TVirtualClock final : public TClock {
public:
    explicit TVirtualClock(uint64_t startMicroseconds = 0) : now_(startMicroseconds) {}
    uint64_t NowMicroseconds() const override { return now_; }
    void SleepMicroseconds(uint64_t span) override { now_ += span; }
    bool IsVirtual() const override { return true; }

    void Advance(uint64_t span) { now_ += span; }
    void AdvanceMilliseconds(uint64_t ms) { now_ += ms * 1000; }
    // Moves to a later time; earlier times are ignored.
    void AdvanceTo(uint64_t time) {
        if (time > now_) now_ = time;
    }

private:
    uint64_t now_;
};

// The clock in use; the system clock unless a backend or a test installed another.
TClock& Clock();
// Installs a clock (not owned; nullptr restores the system clock). Returns the previous one.
TClock* SetClock(TClock* clock);

// Milliseconds of the current clock, wrapping like the platform's tick count.
uint32_t GetTickCount();
// Blocks the GUI thread for ms milliseconds; under a virtual clock time simply moves on.
void Sleep(uint32_t ms);
// The high-resolution counter: microsecond ticks of the current clock.
int64_t QueryPerformanceCounter();
int64_t QueryPerformanceFrequency();

}  // namespace vcl
