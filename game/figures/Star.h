#pragma once
#include "game/common/GameConstants.h"

// One pale star that twinkles and jumps to a new spot after every twinkle.
class Star : public cocos2d::Sprite {
  public:
    CREATE_FUNC(Star)
    bool init() override;

    void startTwinkle(float delta);
    void relocate(float delta);

    // A random spot inside the design area, from the run's long random sequence: y first, then x.
    static cocos2d::Vec2 randomSpot();

    cocos2d::FadeTo* fadeOut = nullptr;
    cocos2d::FadeTo* fadeIn = nullptr;
    cocos2d::Sequence* twinkle = nullptr;
    cocos2d::RepeatForever* repeatAction = nullptr;
    float fadeTime = 0.7f;
    float twinkleDelay = 0.1f;
};
