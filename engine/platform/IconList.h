#pragma once
// Every size of the window's icon at once, where the desktop takes a list (X11's icon property
// holds one): the task bar and the switcher each take the size they draw instead of scaling one.
// A platform whose windows carry SDL's one picture does nothing here.
#include <cstdint>
#include <vector>

struct SDL_Window;

namespace cocos2d {

// A square picture, its pixels as ARGB words, row by row.
struct IconPicture {
    int size = 0;
    std::vector<std::uint32_t> argb;
};

namespace IconList {

// The pictures come smallest first.
void give(SDL_Window* window, const std::vector<IconPicture>& pictures);

} // namespace IconList
} // namespace cocos2d
