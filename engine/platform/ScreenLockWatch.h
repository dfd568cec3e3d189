#pragma once
// Whether the desktop's screen is locked over the game. A screen locker blanks the screen, grabs
// the keyboard or covers the window without taking the focus in a way SDL reports, so the desktop
// itself is listened to (never by taking input: another program's keys stay its own). This is a desktop seam:
// a platform without such a desktop has create() give null.
#include <memory>

struct SDL_Window;

namespace cocos2d {

class ScreenLockWatch {
  public:
    // A grab shorter than this is a hot key (volume, a screenshot), not a lock.
    static constexpr unsigned kGrabMs = 1000;

    // Watches the desktop around `window`; null where there is nothing to watch.
    static std::unique_ptr<ScreenLockWatch> create(SDL_Window* window);
    virtual ~ScreenLockWatch() = default;
    // Once a frame, with the time in milliseconds: true while the screen saver is on, while
    // another program has held the keyboard, taken from the game's window, for longer than
    // kGrabMs, while the window is wholly covered, or while the desktop's screensaver service
    // says it is active.
    virtual bool locked(unsigned now) = 0;
};

} // namespace cocos2d
