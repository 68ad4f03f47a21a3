#include "platform/Random.h"

#include <chrono>
#include <random>

namespace {
std::mt19937& Generator()
{
    static std::mt19937 generator(5489u);
    return generator;
}
} // namespace

void Randomize()
{
    RandSeed(uint32_t(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

void RandSeed(uint32_t seed)
{
    Generator().seed(seed);
}

int Random(int range)
{
    if (range <= 0) return 0;
    return std::uniform_int_distribution<int>(0, range - 1)(Generator());
}

double RandomReal()
{
    return std::generate_canonical<double, 32>(Generator());
}
