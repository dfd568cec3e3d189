#pragma once
#include "game/common/GameConstants.h"

class EventLayer;

// The short cut-scene between the shop and a round.
class EventScene : public cocos2d::Scene {
  public:
    static EventScene* create(int coins, int timeLevel, int lifeLevel);
    ~EventScene() override;
    virtual bool initWithProgress(int coins, int timeLevel, int lifeLevel);

    EventLayer* eventLayer = nullptr;
};
