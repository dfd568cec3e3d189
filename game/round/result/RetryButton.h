#pragma once
#include "game/common/GameConstants.h"

// The result panel's button that starts a new round straight away.
class RetryButton : public cocos2d::Sprite {
  public:
    CREATE_FUNC(RetryButton)
    ~RetryButton() override;
    bool init() override;

    void startResult();
    void showResult(float delta);
    void onRetry(cocos2d::Ref* sender);
};
