#pragma once
// One seedable generator for the whole program: production seeds it from the clock, tests seed it.

#include <cstdint>

void Randomize();
void RandSeed(uint32_t seed);
// A whole number in 0 .. range-1; 0 when range <= 0.
int Random(int range);
// A real number in [0, 1).
double RandomReal();
