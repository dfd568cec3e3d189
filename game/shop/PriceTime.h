#pragma once
#include "game/common/GameConstants.h"

// The time offer's price on its plate, or "MAX".
class PriceTime : public cocos2d::Label {
  public:
    CREATE_FUNC(PriceTime)
    void update(float delta) override;
    bool init() override;

    cocos2d::__String* text = nullptr;
};
