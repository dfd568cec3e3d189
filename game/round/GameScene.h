#pragma once
#include "game/common/GameConstants.h"

class GameLayer;

// One round of play: a scene holding the round's hub layer.
class GameScene : public cocos2d::Scene {
  public:
    static GameScene* create(int coins, int timeLevel, int lifeLevel);
    ~GameScene() override;
    virtual bool initWithProgress(int coins, int timeLevel, int lifeLevel);

    GameLayer* gameLayer = nullptr;
};
