#pragma once
#include "game/common/GameConstants.h"

// The plant bobbing up and down beside the offers.
class UpgradePlayer : public cocos2d::Sprite {
  public:
    CREATE_FUNC(UpgradePlayer)
    bool init() override;

    cocos2d::MoveTo* moveUp = nullptr;
    cocos2d::MoveTo* moveDown = nullptr;
    cocos2d::Sequence* floatSequence = nullptr;
    cocos2d::RepeatForever* floatForever = nullptr;
};
