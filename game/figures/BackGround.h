#pragma once
#include "game/common/GameConstants.h"

// The still backdrop behind every scene.
class BackGround : public cocos2d::Sprite {
  public:
    CREATE_FUNC(BackGround)
    bool init() override;
};
