#pragma once
// The runtime's pseudo-random generator: a 32-bit linear congruential generator (seed × 134775813
// + 1) whose whole state is RandSeed, so a run can be repeated by setting the seed.

#include <cstdint>

namespace vcl {

uint32_t RandSeed();
void SetRandSeed(uint32_t seed);
// Seeds from the wall clock, so each run differs.
void Randomize();
// A whole number in 0 .. range - 1 (0 when range is 0 or less).
int Random(int range);
// A number in [0, 1).
double Random();
// A whole number in from .. to - 1.
int RandomRange(int from, int to);

}  // namespace vcl
