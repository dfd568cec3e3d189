#pragma once
// The game's random draws, the same on every platform and toolchain for the same seed: the
// Mersenne Twister is fully defined by the language, but its standard distributions and the C
// runtime's rand() are not, so both are computed here.
//
// Bounded draws: each makes its own 32-bit Mersenne Twister, seeded from the random device, or
// from a fixed sequence once seed() has been called (tools and tests).
// The long sequence: one additive-feedback generator for the whole run, the one glibc's rand()
// uses, so a seeded desktop run keeps the positions it always had.
#include <cstdint>

namespace cocos2d {
namespace Random {

int uniformInt(int low, int high);
// The next value, 0 to 2^31 - 1, of the run's long sequence (seeded with 1 until seed()).
int nextInt();
void seed(unsigned int value);

// A value below `span` (at least 1) from one 32-bit generator, by multiplying and rejecting
// the few values that would favour some results.
template <typename Generator> std::uint32_t below(Generator& generator, std::uint32_t span) {
    std::uint64_t product = std::uint64_t(static_cast<std::uint32_t>(generator())) * span;
    auto low = static_cast<std::uint32_t>(product);
    if (low < span) {
        const std::uint32_t threshold = (0u - span) % span;
        while (low < threshold) {
            product = std::uint64_t(static_cast<std::uint32_t>(generator())) * span;
            low = static_cast<std::uint32_t>(product);
        }
    }
    return static_cast<std::uint32_t>(product >> 32);
}

} // namespace Random
} // namespace cocos2d
