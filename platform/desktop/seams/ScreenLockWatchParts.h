#pragma once
// The desktop's two ways of hearing a lock, which ScreenLockWatch::create puts together: the X
// display's (the saver, a held grab, the window covered) and the session's own word on its bus.
#include "engine/platform/ScreenLockWatch.h"

namespace cocos2d::lockwatch {

// Null where the window is not on an X display.
std::unique_ptr<ScreenLockWatch> x11(SDL_Window* window);
// Null without a session bus, or in a build without its library.
std::unique_ptr<ScreenLockWatch> sessionBus();

} // namespace cocos2d::lockwatch
