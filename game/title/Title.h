#pragma once
#include "game/common/GameConstants.h"

// The game's logo.
class Title : public cocos2d::Sprite {
  public:
    CREATE_FUNC(Title)
    ~Title() override;
    bool init() override;
    // Drifts up out of the screen, already invisible after half a second.
    void leave();
};
