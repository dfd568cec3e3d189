#pragma once
#include "game/common/GameConstants.h"

// The plate behind the score.
class ScorePlate : public cocos2d::Sprite {
  public:
    CREATE_FUNC(ScorePlate)
    bool init() override;
};
