// The game's draws are computed by the engine itself so that the browser build repeats the
// desktop's game for a seed; on this desktop they must still equal what the standard library
// and the C runtime give, so that a seed keeps the game it always had.
#include "engine/base/Random.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

using namespace cocos2d;

TEST(Random, BoundedDrawsMatchTheStandardDistribution) {
    for (unsigned seed = 0; seed < 3000; ++seed) {
        const int low = static_cast<int>(seed % 7) - 3;
        const int high = low + static_cast<int>(seed * 7919 % 300);
        std::mt19937 ours(seed), theirs(seed);
        std::uniform_int_distribution<int> standard(low, high);
        const int expected = standard(theirs);
        ASSERT_EQ(low + static_cast<int>(Random::below(ours, static_cast<std::uint32_t>(high - low + 1))),
                  expected)
            << "seed " << seed;
    }
    Random::seed(99);
    for (int i = 0; i < 2000; ++i) {
        const int value = Random::uniformInt(5, 1);
        ASSERT_GE(value, 1);
        ASSERT_LE(value, 5);
    }
}

TEST(Random, LongSequenceMatchesTheCRuntime) {
    for (unsigned seed : {0u, 1u, 77u, 4000000000u}) {
        Random::seed(seed);
        std::srand(seed);
        for (int i = 0; i < 1000; ++i)
            ASSERT_EQ(Random::nextInt(), std::rand()) << "seed " << seed << ", value " << i;
    }
}
