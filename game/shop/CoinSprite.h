#pragma once
#include "game/common/GameConstants.h"

// The coin beside the balance.
class CoinSprite : public cocos2d::Sprite {
  public:
    CREATE_FUNC(CoinSprite)
    bool init() override;
};
