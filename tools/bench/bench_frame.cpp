// Frame cost of the busiest round state at 1920 x 1080 in SDL's software renderer (the
// harness's off-screen view), against the same drawing made with plain SDL calls; and the
// cost of the same state's logic alone.
#include "engine/app/AppFrame.h"
#include "tools/bench/BenchSupport.h"

#include "engine/graphics/Renderer.h"
#include "engine/graphics/Texture2D.h"
#include "engine/scene/Director.h"
#include "engine/window/GLView.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
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
    AppFrame::step(kFrameTime);
    director->drawScene();
    SDL_RenderFlush(viewRenderer());
}

// The captured pictures as a program without the engine would hold them: the SDL calls the
// renderer made (copies, fills, runs of triangles sharing a texture), with plain data.
struct RawFrame {
    struct Call {
        enum class Kind { Copy, Fill, Triangles } kind;
        SDL_Texture* texture;
        SDL_BlendMode blend;
        SDL_ScaleMode sampling;
        SDL_Color color;
        SDL_FRect destination;
        SDL_RendererFlip flip;
        int firstVertex, vertexCount, firstIndex, indexCount;
    };
    std::vector<SDL_Vertex> vertices;
    std::vector<int> indices;
    std::vector<Call> calls;
    // Indices of one quad (0..3), for the one-call-per-quad variant.
    int quadIndices[6] = {0, 1, 2, 0, 2, 3};

    RawFrame(const std::vector<CapturedQuad>& quads, SDL_Renderer* sdl) {
        for (const auto& q : quads) {
            if (q.drawn == CapturedQuad::Drawn::Skipped) continue;
            SDL_Texture* texture = q.texture ? q.texture->textureFor(sdl) : nullptr;
            const SDL_Color c{q.color.r, q.color.g, q.color.b, q.opacity};
            if (q.drawn == CapturedQuad::Drawn::Copied) {
                calls.push_back({texture ? Call::Kind::Copy : Call::Kind::Fill, texture, q.blend, q.sampling,
                                 c, q.destination, q.flip, 0, 0, 0, 0});
                continue;
            }
            if (calls.empty() || calls.back().kind != Call::Kind::Triangles ||
                calls.back().texture != texture || calls.back().blend != q.blend)
                calls.push_back({Call::Kind::Triangles,
                                 texture,
                                 q.blend,
                                 q.sampling,
                                 c,
                                 {},
                                 SDL_FLIP_NONE,
                                 static_cast<int>(vertices.size()),
                                 0,
                                 static_cast<int>(indices.size()),
                                 0});
            const int base = static_cast<int>(vertices.size()) - calls.back().firstVertex;
            vertices.insert(vertices.end(), std::begin(q.vertices), std::end(q.vertices));
            for (int i : quadIndices)
                indices.push_back(base + i);
            calls.back().vertexCount += 4;
            calls.back().indexCount += 6;
        }
    }

    void draw(SDL_Renderer* sdl, bool perQuad) const {
        SDL_SetRenderDrawColor(sdl, 0, 0, 0, 255);
        SDL_RenderClear(sdl);
        for (const Call& c : calls) {
            switch (c.kind) {
            case Call::Kind::Fill:
                SDL_SetRenderDrawBlendMode(sdl, c.blend);
                SDL_SetRenderDrawColor(sdl, c.color.r, c.color.g, c.color.b, c.color.a);
                SDL_RenderFillRectF(sdl, &c.destination);
                break;
            case Call::Kind::Copy:
                SDL_SetTextureScaleMode(c.texture, c.sampling);
                SDL_SetTextureBlendMode(c.texture, c.blend);
                SDL_SetTextureColorMod(c.texture, c.color.r, c.color.g, c.color.b);
                SDL_SetTextureAlphaMod(c.texture, c.color.a);
                SDL_RenderCopyExF(sdl, c.texture, nullptr, &c.destination, 0, nullptr, c.flip);
                break;
            case Call::Kind::Triangles:
                SDL_SetTextureScaleMode(c.texture, c.sampling);
                SDL_SetTextureBlendMode(c.texture, c.blend);
                SDL_SetTextureColorMod(c.texture, 255, 255, 255);
                SDL_SetTextureAlphaMod(c.texture, 255);
                if (!perQuad) {
                    SDL_RenderGeometry(sdl, c.texture, vertices.data() + c.firstVertex, c.vertexCount,
                                       indices.data() + c.firstIndex, c.indexCount);
                    break;
                }
                for (int v = c.firstVertex; v < c.firstVertex + c.vertexCount; v += 4)
                    SDL_RenderGeometry(sdl, c.texture, vertices.data() + v, 4, quadIndices, 6);
                break;
            }
        }
        SDL_RenderFlush(sdl);
    }
    void drawBatched(SDL_Renderer* sdl) const { draw(sdl, false); }
    void drawPerQuad(SDL_Renderer* sdl) const { draw(sdl, true); }
    std::size_t quadCalls() const {
        std::size_t n = 0;
        for (const Call& c : calls)
            n += c.kind == Call::Kind::Triangles ? static_cast<std::size_t>(c.vertexCount / 4) : 1;
        return n;
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
        quads = static_cast<std::size_t>(
            std::count_if(captured.begin(), captured.end(), [](const CapturedQuad& q) {
                return q.texture && q.drawn != CapturedQuad::Drawn::Skipped;
            }));
        raw = std::make_unique<RawFrame>(captured, viewRenderer());
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
    state.counters["draw_calls"] = static_cast<double>(b.raw->calls.size());
}

void BM_FrameRawPerQuad(benchmark::State& state) {
    FrameBench b(state);
    if (!b.ok()) return;
    for (auto _ : state)
        b.raw->drawPerQuad(viewRenderer());
    state.counters["draw_calls"] = static_cast<double>(b.raw->quadCalls());
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
    for (auto _ : state) {
        bench::holdTimer(layer);
        AppFrame::step(kFrameTime);
    }
    state.counters["nodes"] = static_cast<double>(pt.stats()["nodes"].get<int>());
}

} // namespace

BENCHMARK(BM_FrameOurs)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FrameRawBatched)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FrameRawPerQuad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_FrameRatio)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);
BENCHMARK(BM_UpdateOnly)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
