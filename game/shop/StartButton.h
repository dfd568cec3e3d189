#pragma once
#include "game/common/GameConstants.h"

// Bottom right: leaves the shop for the cut-scene and the next round.
class StartButton : public cocos2d::Sprite {
  public:
    CREATE_FUNC(StartButton)
    bool init() override;
    void onStart(cocos2d::Ref* sender);
};
