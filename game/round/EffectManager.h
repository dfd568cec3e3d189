#pragma once
#include "game/common/GameConstants.h"

// The stage-clear lights: two lights that open and spin where the companion stands.
class EffectManager : public cocos2d::Node {
  public:
    CREATE_FUNC(EffectManager)
    bool init() override;

    void startStageClear();
};
