#include "Random.h"

#include <cstdlib>
#include <mutex>
#include <optional>
#include <random>
#include <utility>

namespace cocos2d {
namespace Random {

namespace {
std::mutex g_mutex;
// Set by seed(): the source of per-draw seeds, so a seeded run repeats exactly.
std::optional<std::mt19937> g_seeds;

std::uint32_t nextSeed() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_seeds) return static_cast<std::uint32_t>((*g_seeds)());
    std::random_device device;
    return static_cast<std::uint32_t>(device());
}
} // namespace

int uniformInt(int low, int high) {
    // The distribution is undefined for an empty range; accept the bounds either way round.
    if (high < low) std::swap(low, high);
    std::mt19937 engine(nextSeed());
    std::uniform_int_distribution<int> dist(low, high);
    return dist(engine);
}

void seed(unsigned int value) {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_seeds.emplace(value);
    }
    std::srand(value);
}

} // namespace Random
} // namespace cocos2d
