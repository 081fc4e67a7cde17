#include "controls/effects/Timer.h"

#include "platform/runtime/Clock.h"

namespace se {

TseTimer::TseTimer() {
    const int64_t first = vcl::QueryPerformanceCounter();
    overhead_ = vcl::QueryPerformanceCounter() - first;
    frequency_ = vcl::QueryPerformanceFrequency();
    if (frequency_ <= 0) frequency_ = 1;
    start_ = vcl::QueryPerformanceCounter();
}

void TseTimer::Start() { start_ = vcl::QueryPerformanceCounter(); }

float TseTimer::Elapsed() const {
    const int64_t now = vcl::QueryPerformanceCounter();
    return static_cast<float>(static_cast<double>(now - start_ - overhead_) / static_cast<double>(frequency_));
}

}  // namespace se
