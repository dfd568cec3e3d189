#pragma once
#include "game/common/GameConstants.h"

// The round's score, large and green in the top-left corner.
class ScoreLabel : public cocos2d::Label {
  public:
    CREATE_FUNC(ScoreLabel)
    bool init() override;
    void update(float delta) override;

    // The text of this frame; autoreleased, so valid only until the frame ends.
    cocos2d::__String* text = nullptr;
};
