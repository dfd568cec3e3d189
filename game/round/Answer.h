#pragma once
#include "game/common/GameConstants.h"

// One place of the answer row: shows the element entered there.
class Answer : public cocos2d::Sprite {
  public:
    CREATE_FUNC(Answer)
    ~Answer() override;
    bool init() override;

    void takeLastKind();

    // The element id shown; 0 until something is entered here.
    int kind = 0;
};
