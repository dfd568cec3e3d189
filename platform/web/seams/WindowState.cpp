// The browser's side: the canvas fills the page, which the browser places and sizes; there is
// no window to remember.
#include "engine/platform/WindowState.h"

#include <SDL.h>

namespace cocos2d {

WindowPlacement WindowState::restore(int defaultWidth, int defaultHeight) {
    WindowPlacement placement;
    placement.windowed = {SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, defaultWidth, defaultHeight};
    return placement;
}

WindowPlacement WindowState::fit(const WindowPlacement& wanted, const std::vector<DisplayArea>&) {
    return wanted;
}

bool WindowState::playerSized() {
    return false;
}

WindowState::WindowState(SDL_Window* window, const WindowPlacement& placed)
    : _window(window), _placement(placed) {}

void WindowState::tick(unsigned) {}

void WindowState::save() {}

} // namespace cocos2d
