#pragma once
#include "game/common/GameConstants.h"

// Bottom left: back to the title screen.
class TitleButton : public cocos2d::Sprite {
  public:
    CREATE_FUNC(TitleButton)
    bool init() override;
    void onTitle(cocos2d::Ref* sender);
};
