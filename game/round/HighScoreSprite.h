#pragma once
#include "game/common/GameConstants.h"

// The new-high-score badge: empty until the result panel finds a new best.
class HighScoreSprite : public cocos2d::Sprite {
  public:
    CREATE_FUNC(HighScoreSprite)
    bool init() override;

    void showNewHighScore();

    cocos2d::ScaleTo* shrink = nullptr;
    cocos2d::ScaleTo* grow = nullptr;
    cocos2d::Sequence* pulse = nullptr;
    cocos2d::RepeatForever* repeatAction = nullptr;
};
