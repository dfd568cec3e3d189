// The game's frame pacer on a real window, told that the display refreshes at a given rate
// whatever it really does: shows whether vsync is kept or handed to the timed loop, and how
// evenly the frames come. Draws the game's backdrop once a frame.
//   bench_pacing_check ASSETS_FOLDER CLAIMED_HZ SECONDS
// Prints one line: claimed rate, whether vsync ended on or distrusted, frames, mean rate over
// the whole run and over its last ten seconds, and the frames that started late (by more than
// half an interval: the machine was busy elsewhere) with the time they lost.
#include "engine/app/FramePacer.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: bench_pacing_check ASSETS_FOLDER CLAIMED_HZ SECONDS\n");
        return 2;
    }
    const double claimed = std::atof(argv[2]), seconds = std::atof(argv[3]);
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_Window* window = SDL_CreateWindow("Doviveduzuz pacing", SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, 1280, 720, SDL_WINDOW_RESIZABLE);
    SDL_Renderer* renderer = window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (!renderer) return 1;
    SDL_RenderSetLogicalSize(renderer, 1920, 1080);
    SDL_Surface* back = IMG_Load((std::string(argv[1]) + "/GameScene/newBack.png").c_str());
    SDL_Texture* texture = back ? SDL_CreateTextureFromSurface(renderer, back) : nullptr;
    if (!texture) return 1;

    auto& clock = cocos2d::FramePacer::systemClock();
    cocos2d::FramePacer pacer(clock, 1.0 / 60,
                              [renderer](bool on) { SDL_RenderSetVSync(renderer, on ? 1 : 0); });
    pacer.setRefreshRate(claimed);
    const bool vsyncAtStart = pacer.vsync();
    std::vector<double> starts;
    const double begin = clock.now();
    while (clock.now() - begin < seconds) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
        }
        pacer.beginFrame();
        starts.push_back(clock.now());
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        pacer.endFrame();
    }
    const std::size_t n = starts.size();
    const double whole = static_cast<double>(n - 1) / (starts.back() - starts.front());
    std::size_t from = 0;
    while (from < n && starts.back() - starts[from] > 10.0)
        ++from;
    const double last = static_cast<double>(n - 1 - from) / (starts.back() - starts[from]);
    // Frames that started more than half an interval late, and the time they lost.
    int late = 0;
    double lost = 0;
    for (std::size_t i = 1; i < n; ++i)
        if (starts[i] - starts[i - 1] > 1.5 / 60) {
            ++late;
            lost += starts[i] - starts[i - 1] - 1.0 / 60;
        }
    std::printf("claimed %.1f Hz: vsync %s at the start, %s at the end%s; %zu frames, %.3f fps overall, %.3f "
                "fps over "
                "the last %.1f s; %d late frames lost %.1f ms\n",
                claimed, vsyncAtStart ? "on" : "off", pacer.vsync() ? "on" : "off",
                pacer.vsyncDistrusted() ? " (presents came faster than the refresh)" : "", n, whole, last,
                starts.back() - starts[from], late, lost * 1000);
    SDL_Quit();
    return 0;
}
