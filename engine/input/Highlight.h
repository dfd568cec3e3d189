#pragma once
// Which item of the menu on screen a pad or the arrow keys point at: it starts on the menu's
// first item, moves to the nearest item in the direction asked, and starts again whenever a new
// menu comes up (a scene, a panel opening), so no choice made earlier is pressed by mistake.
#include "engine/base/Types.h"

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
    // `items` are the menu's items shown now, the first one first.
    const Item* current(const std::vector<Item>& items) const;
    // Moves toward `direction` (y up); stays where it is when nothing lies that way.
    void move(const std::vector<Item>& items, const Vec2& direction);
    // Back on the first item of whatever menu shows next.
    void restart() { _control.clear(); }

  private:
    std::string _control;
};

} // namespace cocos2d
