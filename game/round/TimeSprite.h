#pragma once
#include "game/common/GameConstants.h"

// The stage timer: a pulsing cloud whose colour tells the time left. When the time runs out
// it costs a life and ends the stage, or ends the round.
class TimeSprite : public cocos2d::Sprite {
  public:
    CREATE_FUNC(TimeSprite)
    bool init() override;
    void update(float delta) override;

    void countDown(float delta);
    void stopCountDown();

    int seconds = 0;
    bool isArmed = true;
    float fadeTime = 1.0f;

  private:
    void endRound();
};
