#pragma once
#include "game/common/GameConstants.h"

class TargetSprite;
class JiyamaSprite;

// The stage's row of six targets, and the obstructions that may cover it.
class TargetManager : public cocos2d::Node {
  public:
    CREATE_FUNC(TargetManager)
    bool init() override;

    void addJiyamas(int threshold);
    void createTargets();

    // Where place i (0..5) of the row stands.
    static cocos2d::Vec2 placePosition(int i);

    static constexpr int kPlaces = 6;
    int jNo = 0;
    TargetSprite* targets[kPlaces] = {};
    JiyamaSprite* jiyamas[kPlaces] = {};
};
