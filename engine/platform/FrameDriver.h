#pragma once
// What drives the frames. On the desktop, a loop paced to the animation interval that ends when
// the window closes; in the browser (platform/web/seams), the page's animation frames, for as long as
// the page is open: there the call returns at once and `finish` never runs.
#include <functional>

namespace cocos2d {

class ApplicationProtocol;

class FrameDriver {
  public:
    // Runs the director's frames for `app` (its window is open); `finish` runs after the last one.
    static void run(ApplicationProtocol* app, std::function<void()> finish);
    // Whether the frames can end at the program's own wish: a page's go on while it is open, so
    // there a game has nothing to offer that quits.
    static bool canEnd();
};

} // namespace cocos2d
