#pragma once
#include "game/common/GameConstants.h"

class Player;
class PlantBom;

// The plant and its companion, moved about as one group by the cut-scene.
class EventNode : public cocos2d::Node {
  public:
    CREATE_FUNC(EventNode)
    ~EventNode() override;
    bool init() override;
    void showShock(float delta);

    cocos2d::Sprite* shock = nullptr;
    Player* player = nullptr;
    PlantBom* plantBom = nullptr;
};
