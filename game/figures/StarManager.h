#pragma once
#include "game/common/GameConstants.h"

class Star;

// The twenty stars of the sky; it runs by itself once made.
class StarManager : public cocos2d::Node {
  public:
    CREATE_FUNC(StarManager)
    bool init() override;

    static constexpr int kStarCount = 20;
    Star* stars[kStarCount] = {};
};
