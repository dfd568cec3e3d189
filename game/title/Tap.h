#pragma once
#include "game/common/GameConstants.h"

// The blinking "tap" prompt.
class Tap : public cocos2d::Sprite {
  public:
    CREATE_FUNC(Tap)
    ~Tap() override;
    bool init() override;
    // Ends the blinking and fades out from wherever the blink had got to.
    void stopBlink();

    cocos2d::FadeTo* fadeOut = nullptr;
    cocos2d::FadeTo* fadeIn = nullptr;
    cocos2d::Sequence* blinkSequence = nullptr;
    cocos2d::RepeatForever* blink = nullptr;
};
