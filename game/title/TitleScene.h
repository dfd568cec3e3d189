#pragma once
#include "game/common/GameConstants.h"

class TitleLayer;

// The first screen of the program, and where the shop's title button leads back to.
class TitleScene : public cocos2d::Scene {
  public:
    CREATE_FUNC(TitleScene)
    ~TitleScene() override;
    bool init() override;

    TitleLayer* titleLayer = nullptr;
};
