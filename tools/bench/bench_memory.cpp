// Peak resident memory through one whole loop: title, shop, cut-scene, a round to game over,
// and back to the shop. Every sixth frame is drawn (ten a second: every picture on screen for
// that long is drawn, as in the game's window), so that the textures the renderer makes count
// too; drawing all of them in the software renderer would take minutes. The loop runs in a child process of
// its own, so that nothing the other benchmarks loaded counts towards its peak.
#include "tools/bench/BenchMain.h"
#include "tools/bench/BenchSupport.h"

#include "engine/scene/Director.h"
#include "engine/window/GLView.h"
#include "game/event/EventScene.h"
#include "game/shop/UpgradeScene.h"
#include "game/title/TitleScene.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace cocos2d;

namespace {

long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(field) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.rfind(prefix, 0) == 0) return std::atol(line.c_str() + prefix.size());
    return -1;
}

template <typename S> bool running(Playtest& pt) {
    return dynamic_cast<S*>(pt.runningScene()) != nullptr;
}

class DrawnLoop {
  public:
    explicit DrawnLoop(Playtest& pt) : _pt(pt) {}

    void frames(int n) {
        for (int i = 0; i < n; ++i) {
            _pt.step(1);
            if (++_count % kDrawEvery == 0) {
                Director::getInstance()->drawScene();
                SDL_RenderFlush(Director::getInstance()->getOpenGLView()->getRenderer());
            }
        }
    }
    // Steps until the scene S runs (a fade over), at most `limit` seconds.
    template <typename S> bool until(int limit) {
        for (int n = 0; n < limit * bench::kFps; ++n) {
            if (running<S>(_pt)) return true;
            frames(1);
        }
        return running<S>(_pt);
    }
    int count() const { return _count; }

  private:
    static constexpr int kDrawEvery = 6;
    Playtest& _pt;
    int _count = 0;
};

// The loop, step by step; the first step that fails is named on standard error.
bool playWholeLoop(Playtest& pt, DrawnLoop& loop) {
    auto fail = [](const char* what) {
        std::fprintf(stderr, "whole loop: %s\n", what);
        return false;
    };
    pt.execute("seed 7");
    loop.frames(2 * bench::kFps);
    pt.execute("key Space");
    if (!loop.until<UpgradeScene>(5)) return fail("the title did not lead to the shop");
    loop.frames(2 * bench::kFps);
    pt.execute("key Return");
    if (!loop.until<EventScene>(5)) return fail("the shop's start did not lead to the cut-scene");
    // The whole cut-scene, not skipped.
    if (!loop.until<GameScene>(20)) return fail("the cut-scene did not lead to a round");
    loop.frames(bench::kFps);
    for (int i = 0; i < 3; ++i) {
        GameLayer* layer = bench::roundLayer(pt);
        const int stage = layer->stageCount;
        if (!bench::enterTargets(pt, 6)) return fail("could not enter a stage's targets");
        for (int n = 0; n < 10 * bench::kFps && layer->stageCount == stage; ++n)
            loop.frames(1);
        if (layer->stageCount != stage + 1) return fail("a solved stage did not lead to the next");
    }
    // No extra life was bought, so the first time-out ends the round; then the result panel.
    GameLayer* layer = bench::roundLayer(pt);
    for (int n = 0; n < 30 * bench::kFps && layer->targetManager; ++n)
        loop.frames(1);
    if (layer->targetManager) return fail("the round did not end");
    loop.frames(4 * bench::kFps);
    pt.execute("key S");
    if (!loop.until<UpgradeScene>(5)) return fail("the result panel did not lead to the shop");
    loop.frames(3 * bench::kFps);
    return true;
}

void BM_PeakMemoryWholeLoop(benchmark::State& state) {
    long peakKB = 0, endKB = 0, frames = 0;
    for (auto _ : state) {
        FILE* child = popen((bench::selfPath() + " " + bench::kWholeLoopFlag).c_str(), "r");
        if (!child) {
            state.SkipWithError("cannot start the loop's process");
            return;
        }
        char line[256] = {};
        const bool read = std::fgets(line, sizeof line, child) != nullptr;
        const int status = pclose(child);
        if (!read || status != 0 || std::sscanf(line, "%ld %ld %ld", &peakKB, &endKB, &frames) != 3) {
            state.SkipWithError("the loop's process failed");
            return;
        }
    }
    state.counters["peak_MB"] = static_cast<double>(peakKB) / 1024.0;
    state.counters["end_MB"] = static_cast<double>(endKB) / 1024.0;
    state.counters["frames"] = static_cast<double>(frames);
}

} // namespace

namespace bench {

int runWholeLoop() {
    long peak = -1, end = -1, frames = 0;
    {
        ScopedDataHome home;
        Playtest pt;
        DrawnLoop loop(pt);
        if (!playWholeLoop(pt, loop)) return 1;
        peak = statusKilobytes("VmHWM");
        end = statusKilobytes("VmRSS");
        frames = loop.count();
    }
    std::printf("%ld %ld %ld\n", peak, end, frames);
    return 0;
}

} // namespace bench

BENCHMARK(BM_PeakMemoryWholeLoop)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(1);
