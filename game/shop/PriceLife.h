#pragma once
#include "game/common/GameConstants.h"

// The life offer's price on its plate, or "MAX".
class PriceLife : public cocos2d::Label {
  public:
    CREATE_FUNC(PriceLife)
    void update(float delta) override;
    bool init() override;

    cocos2d::__String* text = nullptr;
};
