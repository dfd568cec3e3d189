#pragma once
#include "game/common/GameConstants.h"

// Shows how many time levels are bought, 0 to 3.
class TimeGaugSprite : public cocos2d::Sprite {
  public:
    CREATE_FUNC(TimeGaugSprite)
    void update(float delta) override;
    bool init() override;
};
