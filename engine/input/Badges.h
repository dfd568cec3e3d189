#pragma once
// Prompt badges: beside each button on screen, the key or pad button that presses it, in the
// pictures the game names, a key's label written over its cap. Made afresh for each picture
// drawn, so nothing of them outlives a frame.
#include "engine/base/Types.h"

#include <string>
#include <vector>

namespace cocos2d {

class Renderer;

struct Badge {
    std::string control;
    // The picture under the badge, and the text over it (a key's label) or nothing.
    std::string picture;
    std::string text;
    // The badge's centre on screen.
    Vec2 where;
};

class Badges {
  public:
    void setFont(const std::string& fontFile) { _font = fontFile; }
    void draw(Renderer& renderer, const std::vector<Badge>& badges) const;

  private:
    std::string _font;
};

} // namespace cocos2d
