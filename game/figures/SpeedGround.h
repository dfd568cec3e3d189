#pragma once
#include "game/common/GameConstants.h"

// Two ground tiles that scroll left for ever behind the actors.
class SpeedGround : public cocos2d::Sprite {
  public:
    CREATE_FUNC(SpeedGround)
    bool init() override;
    void update(float delta) override;

    float speed = 20;
    cocos2d::Sprite* groundA = nullptr;
    cocos2d::Sprite* groundB = nullptr;
};
