#pragma once
#include "game/common/GameConstants.h"

// The dead planet that drifts across the cut-scene.
class EventPlantNode : public cocos2d::Node {
  public:
    CREATE_FUNC(EventPlantNode)
    ~EventPlantNode() override;
    bool init() override;

    cocos2d::Sprite* deadPlanet = nullptr;
};
