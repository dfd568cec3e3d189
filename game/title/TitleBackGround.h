#pragma once
#include "game/common/GameConstants.h"

// The picture behind the logo.
class TitleBackGround : public cocos2d::Sprite {
  public:
    CREATE_FUNC(TitleBackGround)
    ~TitleBackGround() override;
    bool init() override;
};
