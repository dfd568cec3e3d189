#pragma once
// The desktop the window opens on. Where no display can be reached SDL would fall back to
// drawing nowhere (its offscreen and dummy drivers), and a game nobody can see would run on
// unseen; those drivers are for tools and tests, taken only when SDL_VIDEODRIVER names them.
namespace cocos2d {

class Display {
  public:
    // Starts SDL's video on a real display, or on the driver SDL_VIDEODRIVER names. False, with
    // one line on standard error, when there is none.
    static bool open();
    // SDL_VIDEODRIVER asks for a driver without a screen: no one can see a window or a box.
    static bool headlessRequested();
};

} // namespace cocos2d
