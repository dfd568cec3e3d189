#pragma once
#include "game/common/GameConstants.h"

// The coin balance, top right; follows "coinScore" every frame.
class UpgradeScore : public cocos2d::Label {
  public:
    CREATE_FUNC(UpgradeScore)
    void update(float delta) override;
    bool init() override;

    cocos2d::__String* text = nullptr;
};
