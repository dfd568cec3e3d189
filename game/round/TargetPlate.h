#pragma once
#include "game/common/GameConstants.h"

// The animated plate at the left end of the target row.
class TargetPlate : public cocos2d::Sprite {
  public:
    CREATE_FUNC(TargetPlate)
    bool init() override;

    cocos2d::Animation* animation = nullptr;
    cocos2d::Animate* animate = nullptr;
    cocos2d::RepeatForever* repeatAction = nullptr;
};
