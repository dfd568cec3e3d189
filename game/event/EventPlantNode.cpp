#include "game/event/EventPlantNode.h"

USING_NS_CC;

EventPlantNode::~EventPlantNode() = default;

bool EventPlantNode::init() {
    if (!Node::init()) return false;
    deadPlanet = Sprite::create("GameScene/deadPlanet.png");
    deadPlanet->setPosition(kDesignSize.width / 2, kDesignSize.height / 2);
    deadPlanet->setScale(0.7f);
    addChild(deadPlanet);
    return true;
}
