#pragma once
#include "game/common/GameConstants.h"

// The spinning light that marks the stage's bonus button while its bonus can be taken.
class BonusEffect : public cocos2d::Sprite {
  public:
    CREATE_FUNC(BonusEffect)
    bool init() override;
    void update(float delta) override;
};
