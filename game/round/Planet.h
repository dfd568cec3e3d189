#pragma once
#include "game/common/GameConstants.h"

// The dead planet: after each cleared stage it flies past, turns green in front of the plant
// and flies off; at the end of a round it slides in and stays dead.
class Planet : public cocos2d::Sprite {
  public:
    CREATE_FUNC(Planet)
    bool init() override;
    void update(float delta) override;

    void startFlyPast();
    void slideIn();
    void speedUp(float delta);

    cocos2d::MoveTo* slideAction = nullptr;
    bool canHeal = true;
    bool isFlying = false;
    float speed = 25;

  private:
    void park();
};
