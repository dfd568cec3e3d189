#include "engine/base/Random.h"

#include <array>
#include <mutex>
#include <optional>
#include <random>
#include <utility>

namespace cocos2d {
namespace Random {

namespace {

// r[i] = r[i-3] + r[i-31] over 31 words, filled from a Lehmer generator and run 310 times
// before the first value, each value the sum without its lowest bit.
class LongSequence {
  public:
    explicit LongSequence(std::uint32_t seed) {
        if (seed == 0) seed = 1;
        _words[0] = seed;
        auto word = static_cast<std::int32_t>(seed);
        for (int i = 1; i < kWords; ++i) {
            // 16807 * word mod (2^31 - 1) without overflow (Schrage).
            const std::int32_t hi = word / 127773, lo = word % 127773;
            word = 16807 * lo - 2836 * hi;
            if (word < 0) word += 2147483647;
            _words[i] = static_cast<std::uint32_t>(word);
        }
        for (int i = 0; i < 310; ++i)
            next();
    }
    int next() {
        _words[_front] += _words[_back];
        const int value = static_cast<int>(_words[_front] >> 1);
        _front = (_front + 1) % kWords;
        _back = (_back + 1) % kWords;
        return value;
    }

  private:
    static constexpr int kWords = 31;
    std::array<std::uint32_t, kWords> _words{};
    int _front = 3;
    int _back = 0;
};

std::mutex g_mutex;
// Set by seed(): the source of per-draw seeds, so a seeded run repeats exactly.
std::optional<std::mt19937> g_seeds;
LongSequence g_sequence(1);

std::uint32_t nextSeed() {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_seeds) return static_cast<std::uint32_t>((*g_seeds)());
    std::random_device device;
    return static_cast<std::uint32_t>(device());
}

} // namespace

int uniformInt(int low, int high) {
    // An empty range has no value; accept the bounds either way round.
    if (high < low) std::swap(low, high);
    std::mt19937 engine(nextSeed());
    const auto span = static_cast<std::uint32_t>(static_cast<std::int64_t>(high) - low + 1);
    // The full 32-bit range needs no mapping (its span does not fit in 32 bits).
    if (span == 0) return static_cast<int>(static_cast<std::uint32_t>(engine()));
    return static_cast<int>(static_cast<std::int64_t>(low) + below(engine, span));
}

int nextInt() {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_sequence.next();
}

void seed(unsigned int value) {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_seeds.emplace(value);
    g_sequence = LongSequence(value);
}

} // namespace Random
} // namespace cocos2d
