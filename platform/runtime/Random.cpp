#include "platform/runtime/Random.h"

#include <chrono>

namespace vcl {
namespace {

uint32_t seed = 0;

uint32_t Next() {
    seed = seed * 134775813u + 1u;
    return seed;
}

}  // namespace

uint32_t RandSeed() { return seed; }
void SetRandSeed(uint32_t value) { seed = value; }

void Randomize() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    const auto ticks = static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    seed = static_cast<uint32_t>(ticks ^ (ticks >> 32));
}

int Random(int range) {
    if (range <= 0) return 0;
    // The high bits of the product: the low bits of an LCG are the least random.
    return static_cast<int>((uint64_t{Next()} * static_cast<uint32_t>(range)) >> 32);
}

double Random() { return Next() / 4294967296.0; }

int RandomRange(int from, int to) {
    if (from > to) return RandomRange(to, from);
    return from + Random(to - from);
}

}  // namespace vcl
