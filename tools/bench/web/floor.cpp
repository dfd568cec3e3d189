// The browser's fill floor: a page built as the game's is (Debian's emscripten, the same SDL),
// drawing at every animation frame one opaque full-canvas picture (the game's backdrop) and one
// blended over it (the title's front picture, whole), scaled from the 1920 x 1080 design area
// as the game's are. The page notes when its first frame is drawn (doviFirstFrame).
#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

struct Floor {
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* back = nullptr;
    SDL_Texture* front = nullptr;
    bool drawn = false;
};

SDL_Texture* load(SDL_Renderer* renderer, const char* file, SDL_BlendMode blend) {
    SDL_Surface* surface = IMG_Load(file);
    if (!surface) {
        std::fprintf(stderr, "floor: %s: %s\n", file, IMG_GetError());
        return nullptr;
    }
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, surface);
    SDL_FreeSurface(surface);
    SDL_SetTextureBlendMode(texture, blend);
    return texture;
}

EM_BOOL frame(double, void* data) {
    auto* floor = static_cast<Floor*>(data);
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
    SDL_SetRenderDrawColor(floor->renderer, 0, 0, 0, 255);
    SDL_RenderClear(floor->renderer);
    SDL_RenderCopy(floor->renderer, floor->back, nullptr, nullptr);
    SDL_RenderCopy(floor->renderer, floor->front, nullptr, nullptr);
    SDL_RenderPresent(floor->renderer);
    if (!floor->drawn) {
        floor->drawn = true;
        EM_ASM({ window.doviFirstFrame = performance.now(); });
    }
    return EM_TRUE;
}

} // namespace

int main() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    SDL_Window* window = SDL_CreateWindow("floor", 0, 0, 1280, 720, SDL_WINDOW_RESIZABLE);
    if (!window) return 1;
    static Floor floor;
    floor.renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED);
    if (!floor.renderer) return 1;
    SDL_RenderSetLogicalSize(floor.renderer, 1920, 1080);
    floor.back = load(floor.renderer, "/GameScene/newBack.png", SDL_BLENDMODE_NONE);
    floor.front = load(floor.renderer, "/TitleScene/tutiOne.png", SDL_BLENDMODE_BLEND);
    if (!floor.back || !floor.front) return 1;
    emscripten_request_animation_frame_loop(frame, &floor);
    return 0;
}
