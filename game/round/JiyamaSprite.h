#pragma once
#include "game/common/GameConstants.h"

// A flickering obstruction drawn over one target in later stages.
class JiyamaSprite : public cocos2d::Sprite {
  public:
    CREATE_FUNC(JiyamaSprite)
    bool init() override;
    void update(float delta) override;

    void rollJiyama(float delta);

    // The picture asked for, 1..15 once drawn; 0 for the first 0.3 s.
    int jiyamaNo = 0;
    // The picture on screen now; -1 before the first frame.
    int shownNo = -1;
};
