#pragma once
#include "game/common/GameConstants.h"

// The shield around the plant: green, yellow, red for 3, 2, 1 extra lives, gone at 0.
class BarrierField : public cocos2d::Sprite {
  public:
    CREATE_FUNC(BarrierField)
    bool init() override;
    void update(float delta) override;

    int high = 255;
    int low = 100;
};
