#include "platform/runtime/Clock.h"

#include <chrono>
#include <thread>

#include "platform/rtl/NeverDestroyed.h"

namespace vcl {

uint64_t TSystemClock::NowMicroseconds() const {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
}

void TSystemClock::SleepMicroseconds(uint64_t span) { std::this_thread::sleep_for(std::chrono::microseconds(span)); }

namespace {
TSystemClock& SystemClock() {
    static rtl::NeverDestroyed<TSystemClock> clock;
    return *clock;
}
TClock* currentClock = nullptr;
}  // namespace

TClock& Clock() { return currentClock ? *currentClock : SystemClock(); }

TClock* SetClock(TClock* clock) {
    TClock* previous = currentClock;
    currentClock = clock;
    return previous;
}

uint32_t GetTickCount() { return static_cast<uint32_t>(Clock().NowMicroseconds() / 1000); }

void Sleep(uint32_t ms) { Clock().SleepMicroseconds(uint64_t{ms} * 1000); }

int64_t QueryPerformanceCounter() { return static_cast<int64_t>(Clock().NowMicroseconds()); }

int64_t QueryPerformanceFrequency() { return 1000000; }

}  // namespace vcl
