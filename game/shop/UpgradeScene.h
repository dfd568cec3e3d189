#pragma once
#include "game/common/GameConstants.h"

class UpgradeLayer;

// The shop between rounds.
class UpgradeScene : public cocos2d::Scene {
  public:
    // coins: the balance to bring in; 0 keeps the saved one.
    static UpgradeScene* create(int coins);
    ~UpgradeScene() override;
    virtual bool initWithProgress(int coins);

    UpgradeLayer* upgradeLayer = nullptr;
};
