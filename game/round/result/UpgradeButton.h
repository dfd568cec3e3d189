#pragma once
#include "game/common/GameConstants.h"

// The result panel's button that opens the upgrade shop.
class UpgradeButton : public cocos2d::Sprite {
  public:
    CREATE_FUNC(UpgradeButton)
    ~UpgradeButton() override;
    bool init() override;

    void startResult();
    void showResult(float delta);
    void onGoShop(cocos2d::Ref* sender);
};
