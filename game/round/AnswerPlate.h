#pragma once
#include "game/common/GameConstants.h"

// The plate behind the answer row; it stays for the whole round.
class AnswerPlate : public cocos2d::Sprite {
  public:
    CREATE_FUNC(AnswerPlate)
    ~AnswerPlate() override;
    bool init() override;
};
