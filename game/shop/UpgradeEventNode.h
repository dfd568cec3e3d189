#pragma once
#include "game/common/GameConstants.h"

class Player;
class PlantBom;

// The endless little show along the bottom of the shop: the plant hops over a planet that
// turns green, then is knocked out and carried off by a second one, and rises again.
class UpgradeEventNode : public cocos2d::Node {
  public:
    CREATE_FUNC(UpgradeEventNode)
    void update(float delta) override;
    bool init() override;
    void riseIn(float delta);
    void startGreenPlanet(float delta);
    void hop(float delta);

    bool greenPlanetMoving = false;
    bool hitPlanetMoving = false;
    bool hitPending = true;
    bool hopPending = true;
    cocos2d::Sprite* hitPlanet = nullptr;
    cocos2d::Sprite* greenPlanet = nullptr;
    Player* player = nullptr;
    PlantBom* plantBom = nullptr;
    // Per frame, not per second: the planets roll slower when frames are slow.
    float scrollSpeed = 10;
};
