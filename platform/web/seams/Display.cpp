// The browser's side: the page's canvas, through SDL's own driver for it.
#include "engine/platform/Display.h"

#include "engine/base/Log.h"

#include <SDL.h>

namespace cocos2d {

bool Display::headlessRequested() {
    return false;
}

bool Display::open() {
    if (SDL_WasInit(SDL_INIT_VIDEO)) return true;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) return true;
    warn("cannot draw on the page: %s", SDL_GetError());
    return false;
}

} // namespace cocos2d
