#pragma once
// The window's icon from pictures of several sizes. SDL hands the window manager one picture; on
// X11 the window is given them all (its icon property holds a list), so the task bar and the
// switcher each take the size they draw instead of scaling one. Sizes a task bar commonly asks
// for that have no picture of their own are made from a picture an exact multiple larger.
#include <string>
#include <vector>

struct SDL_Window;

namespace cocos2d {

class WindowIcon {
  public:
    // False, with a warning, when none of the files loads.
    static bool apply(SDL_Window* window, const std::vector<std::string>& files);
    // The sizes the window carries for pictures of these widths (square), smallest first.
    static std::vector<int> sizesFor(std::vector<int> widths);
};

} // namespace cocos2d
