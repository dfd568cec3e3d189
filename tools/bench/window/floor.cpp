// The fill floor of a real window: a program that draws, as fast as it can (no vsync, no sleep),
// one opaque full-screen picture a frame (the game's backdrop, unblended), and with "blended"
// also a second full-screen picture blended over it (the title's front picture, whole). The
// window is the game's: resizable, scaled from the 1920 x 1080 design area, same hints and
// renderer choice.
//   bench_floor ASSETS_FOLDER opaque|blended WIDTH HEIGHT
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

SDL_Texture* load(SDL_Renderer* renderer, const std::string& file, SDL_BlendMode blend) {
    SDL_Surface* surface = IMG_Load(file.c_str());
    if (!surface) {
        std::fprintf(stderr, "bench_floor: %s: %s\n", file.c_str(), IMG_GetError());
        std::exit(1);
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    SDL_SetTextureBlendMode(texture, blend);
    return texture;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: bench_floor ASSETS_FOLDER opaque|blended WIDTH HEIGHT\n");
        return 2;
    }
    const std::string assets = argv[1];
    const bool blended = std::string(argv[2]) == "blended";
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_Window* window = SDL_CreateWindow("Doviveduzuz floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                          std::atoi(argv[3]), std::atoi(argv[4]),
                                          SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    if (!window) return 1;
    SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    if (!renderer) return 1;
    SDL_RenderSetLogicalSize(renderer, 1920, 1080);
    SDL_Texture* back = load(renderer, assets + "/GameScene/newBack.png", SDL_BLENDMODE_NONE);
    SDL_Texture* front =
        blended ? load(renderer, assets + "/TitleScene/tutiOne.png", SDL_BLENDMODE_BLEND) : nullptr;
    for (bool running = true; running;) {
        SDL_Event e;
        while (SDL_PollEvent(&e))
            if (e.type == SDL_QUIT) running = false;
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, back, nullptr, nullptr);
        if (front) SDL_RenderCopy(renderer, front, nullptr, nullptr);
        SDL_RenderPresent(renderer);
    }
    SDL_Quit();
    return 0;
}
