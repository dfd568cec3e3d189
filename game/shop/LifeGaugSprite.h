#pragma once
#include "game/common/GameConstants.h"

// Shows how many extra lives are bought, 0 to 3.
class LifeGaugSprite : public cocos2d::Sprite {
  public:
    CREATE_FUNC(LifeGaugSprite)
    void update(float delta) override;
    bool init() override;
};
