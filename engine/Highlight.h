#pragma once
// Which item of the menu on screen a pad or the arrow keys point at: it starts on the menu's
// first item, moves to the nearest item in the direction asked, and starts again on a new scene.
#include "Types.h"

#include <string>
#include <vector>

namespace cocos2d {

class MenuItemImage;

class Highlight {
  public:
    struct Item {
        std::string control;
        Vec2 where;
        MenuItemImage* item;
    };
    // `items` are the menu's items shown now, the first one first; `scene` the running scene.
    const Item* current(const std::vector<Item>& items, const void* scene) const;
    // Moves toward `direction` (y up); stays where it is when nothing lies that way.
    void move(const std::vector<Item>& items, const void* scene, const Vec2& direction);

  private:
    std::string _control;
    const void* _scene = nullptr;
};

} // namespace cocos2d
