// Headless speed: frames per second of the harness while a seeded random player taps, drags
// and presses keys across every scene, with nothing drawn.
#include "tools/bench/BenchSupport.h"

#include "game/event/EventScene.h"
#include "game/shop/UpgradeScene.h"
#include "game/title/TitleScene.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace cocos2d;

namespace {

// The keys the game answers to, and a few it ignores.
const char* const kKeys[] = {"key W",      "key E",         "key D", "key X", "key Z",      "key A",
                             "key R",      "key S",         "key T", "key L", "key Return", "key Space",
                             "key Escape", "key Backspace", "key Q", "key F1"};

class RandomPlayer {
  public:
    explicit RandomPlayer(Playtest& pt, unsigned seed) : _pt(pt), _rng(seed) {}

    // One frame: maybe an input, then the frame itself.
    void frame() {
        if (chance(1, 12)) act();
        _pt.step(1);
    }

  private:
    bool chance(int in, int of) { return std::uniform_int_distribution<int>(1, of)(_rng) <= in; }
    float coord(float max) { return std::uniform_real_distribution<float>(0, max)(_rng); }

    void act() {
        const int roll = std::uniform_int_distribution<int>(0, 99)(_rng);
        if (roll < 45) {
            _pt.tap(coord(1920), coord(1080));
        } else if (roll < 85) {
            const auto n = std::uniform_int_distribution<std::size_t>(0, std::size(kKeys) - 1)(_rng);
            _pt.execute(kKeys[n]);
        } else if (roll < 93) {
            // A storm on the back button.
            for (int i = 0; i < 6; ++i)
                _pt.execute("key Backspace");
        } else {
            const float x = coord(1920), y = coord(1080);
            _pt.down(x, y);
            _pt.move(coord(1920), coord(1080));
            _pt.up(coord(1920), coord(1080));
        }
    }

    Playtest& _pt;
    std::mt19937 _rng;
};

void BM_HeadlessRandomPlayer(benchmark::State& state) {
    bench::ScopedDataHome home;
    Playtest pt;
    pt.execute("seed 11");
    RandomPlayer player(pt, 2024);
    double title = 0, shop = 0, event = 0, round = 0;
    unsigned long long sceneFrames = 0;
    for (auto _ : state) {
        player.frame();
        // Where the player is, sampled now and then so that the look-up costs nothing to speak of.
        if (++sceneFrames % 64 == 0) {
            Scene* s = pt.runningScene();
            if (dynamic_cast<TitleScene*>(s))
                ++title;
            else if (dynamic_cast<UpgradeScene*>(s))
                ++shop;
            else if (dynamic_cast<EventScene*>(s))
                ++event;
            else if (dynamic_cast<GameScene*>(s))
                ++round;
        }
    }
    state.SetItemsProcessed(state.iterations());
    const double samples = static_cast<double>(sceneFrames / 64);
    if (samples > 0) {
        state.counters["in_title"] = title / samples;
        state.counters["in_shop"] = shop / samples;
        state.counters["in_event"] = event / samples;
        state.counters["in_round"] = round / samples;
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(BM_HeadlessRandomPlayer)->Unit(benchmark::kMicrosecond)->Iterations(200000);
