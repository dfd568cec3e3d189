#pragma once
#include "game/common/GameConstants.h"

// The plant's companion: stands beside it and blushes red while the entered answer is wrong.
class PlantBom : public cocos2d::Sprite {
  public:
    CREATE_FUNC(PlantBom)
    bool init() override;

    void enter();
    void tintRight();
    void tintWrong();
};
