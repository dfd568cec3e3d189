#pragma once
#include "game/common/GameConstants.h"

// The small plant in the middle of the title; once it has flown high enough the shop opens.
class TitlePlayer : public cocos2d::Sprite {
  public:
    CREATE_FUNC(TitlePlayer)
    ~TitlePlayer() override;
    void update(float delta) override;
    bool init() override;
    void launch();

    bool canChangeScene = true;
};
