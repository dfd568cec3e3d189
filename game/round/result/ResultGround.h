#pragma once
#include "game/common/GameConstants.h"

// The darkened backdrop of the result panel; it also swaps the round music for the game-over tune.
class ResultGround : public cocos2d::Sprite {
  public:
    CREATE_FUNC(ResultGround)
    ~ResultGround() override;
    bool init() override;

    void startResult();
    void showResult(float delta);
};
