// Frame cost of the busiest round state at 1920 x 1080 in SDL's software renderer (the
// harness's off-screen view), against the same quads drawn with plain SDL calls; and the
// cost of the same state's logic alone.
#include "BenchSupport.h"

#include "Director.h"
#include "GLView.h"
#include "Renderer.h"
#include "Texture2D.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <vector>

using namespace cocos2d;

namespace {

constexpr double kFrameTime = 1.0 / 60.0;

SDL_Renderer* viewRenderer() {
    return Director::getInstance()->getOpenGLView()->getRenderer();
}

// One frame as the game makes it: logic, then the scene drawn, then every pixel finished.
void ourFrame(GameLayer* layer) {
    bench::holdTimer(layer);
    Director* director = Director::getInstance();
    director->mainLoop(kFrameTime);
    director->drawScene();
    SDL_RenderFlush(viewRenderer());
}

// The captured quads as a program without the engine would hold them: SDL vertices, and
// runs of quads that share a texture.
struct RawFrame {
    struct Run {
        SDL_Texture* texture;
        int firstVertex, vertexCount, firstIndex, indexCount;
    };
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    std::vector<Run> runs;
    // Indices of one quad (0..3), for the one-call-per-quad variant.
    int quadIndices[6] = {0, 1, 2, 0, 2, 3};

    RawFrame(const std::vector<CapturedQuad>& quads, SDL_Renderer* sdl, float height) {
        static constexpr float kU[4] = {0, 1, 1, 0};
        static constexpr float kV[4] = {1, 1, 0, 0};
        for (const auto& q : quads) {
            SDL_Texture* texture = q.texture->textureFor(sdl);
            if (runs.empty() || runs.back().texture != texture)
                runs.push_back(
                    {texture, static_cast<int>(vertices.size()), 0, static_cast<int>(indices.size()), 0});
            const int base = static_cast<int>(vertices.size()) - runs.back().firstVertex;
            const SDL_Color c{q.color.r, q.color.g, q.color.b, q.opacity};
            for (int i = 0; i < 4; ++i)
                vertices.push_back({{q.corners[i].x, height - q.corners[i].y}, c, {kU[i], kV[i]}});
            for (int i : quadIndices)
                indices.push_back(base + i);
            runs.back().vertexCount += 4;
            runs.back().indexCount += 6;
        }
    }

    void drawBatched(SDL_Renderer* sdl) const {
        SDL_SetRenderDrawColor(sdl, 0, 0, 0, 255);
        SDL_RenderClear(sdl);
        for (const Run& r : runs)
            SDL_RenderGeometry(sdl, r.texture, vertices.data() + r.firstVertex, r.vertexCount,
                               indices.data() + r.firstIndex, r.indexCount);
        SDL_RenderFlush(sdl);
    }

    void drawPerQuad(SDL_Renderer* sdl) const {
        SDL_SetRenderDrawColor(sdl, 0, 0, 0, 255);
        SDL_RenderClear(sdl);
        for (const Run& r : runs)
            for (int v = r.firstVertex; v < r.firstVertex + r.vertexCount; v += 4)
                SDL_RenderGeometry(sdl, r.texture, vertices.data() + v, 4, quadIndices, 6);
        SDL_RenderFlush(sdl);
    }
};

std::vector<Uint32> readPixels(SDL_Renderer* sdl) {
    std::vector<Uint32> pixels(1920 * 1080);
    SDL_RenderReadPixels(sdl, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), 1920 * 4);
    return pixels;
}

// Sets up the busiest round, captures the quads of one of its frames and checks that the
// plain SDL replay of them gives exactly the same picture. Null (with the reason in the
// state) when something went wrong.
struct FrameBench {
    bench::ScopedDataHome home;
    Playtest pt;
    GameLayer* layer = nullptr;
    std::unique_ptr<RawFrame> raw;
    std::size_t quads = 0;

    explicit FrameBench(benchmark::State& state) {
        layer = bench::busiestRound(pt);
        if (!layer) {
            state.SkipWithError("could not reach the busiest round state");
            return;
        }
        // A few frames drawn first, so that every texture has been uploaded.
        for (int i = 0; i < 10; ++i)
            ourFrame(layer);
        std::vector<CapturedQuad> captured;
        Renderer::setCapture(&captured);
        Director::getInstance()->drawScene();
        Renderer::setCapture(nullptr);
        SDL_RenderFlush(viewRenderer());
        const auto ours = readPixels(viewRenderer());
        quads = captured.size();
        raw = std::make_unique<RawFrame>(captured, viewRenderer(), 1080.0f);
        raw->drawBatched(viewRenderer());
        if (readPixels(viewRenderer()) != ours) {
            state.SkipWithError("the plain SDL replay does not give the game's picture");
            return;
        }
        raw->drawPerQuad(viewRenderer());
        if (readPixels(viewRenderer()) != ours) state.SkipWithError("the per-quad replay differs");
    }
    bool ok() const { return layer && raw; }
};

void BM_FrameOurs(benchmark::State& state) {
    FrameBench b(state);
    if (!b.ok()) return;
    for (auto _ : state)
        ourFrame(b.layer);
    state.counters["quads"] = static_cast<double>(b.quads);
}

void BM_FrameRawBatched(benchmark::State& state) {
    FrameBench b(state);
    if (!b.ok()) return;
    for (auto _ : state)
        b.raw->drawBatched(viewRenderer());
    state.counters["draw_calls"] = static_cast<double>(b.raw->runs.size());
}

void BM_FrameRawPerQuad(benchmark::State& state) {
    FrameBench b(state);
    if (!b.ok()) return;
    for (auto _ : state)
        b.raw->drawPerQuad(viewRenderer());
    state.counters["draw_calls"] = static_cast<double>(b.quads);
}

// Ours and the batched replay frame by frame in turn, so that both see the same machine
// load; the time reported is ours, and the counter "ratio" is ours / raw.
void BM_FrameRatio(benchmark::State& state) {
    FrameBench b(state);
    if (!b.ok()) return;
    using Clock = std::chrono::steady_clock;
    double oursTotal = 0, rawTotal = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ourFrame(b.layer);
        const auto t1 = Clock::now();
        b.raw->drawBatched(viewRenderer());
        const auto t2 = Clock::now();
        const double ours = std::chrono::duration<double>(t1 - t0).count();
        oursTotal += ours;
        rawTotal += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(ours);
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["ours_ms"] = oursTotal / n * 1e3;
    state.counters["raw_ms"] = rawTotal / n * 1e3;
    state.counters["ratio"] = oursTotal / rawTotal;
}

// The same state, logic only: the off-screen view has no window, so the main loop draws nothing.
void BM_UpdateOnly(benchmark::State& state) {
    bench::ScopedDataHome home;
    Playtest pt;
    GameLayer* layer = bench::busiestRound(pt);
    if (!layer) {
        state.SkipWithError("could not reach the busiest round state");
        return;
    }
    Director* director = Director::getInstance();
    for (auto _ : state) {
        bench::holdTimer(layer);
        director->mainLoop(kFrameTime);
    }
    state.counters["nodes"] = static_cast<double>(pt.stats()["nodes"].get<int>());
}

} // namespace

BENCHMARK(BM_FrameOurs)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FrameRawBatched)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FrameRawPerQuad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FrameRatio)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
BENCHMARK(BM_UpdateOnly)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
