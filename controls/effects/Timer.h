#pragma once
// TseTimer: a stopwatch on the high-resolution counter that leaves out the cost of reading the
// counter itself.

#include <cstdint>

namespace se {

class TseTimer {
public:
    // Measures the counter-call overhead and reads the counter frequency.
    TseTimer();

    void Start();
    // Seconds since Start, less the overhead of one counter call.
    float Elapsed() const;

private:
    int64_t frequency_ = 1;
    int64_t overhead_ = 0;
    int64_t start_ = 0;
};

}  // namespace se
