#include "game/event/EventNode.h"

#include "game/common/Hub.h"
#include "game/event/EventLayer.h"
#include "game/figures/PlantBom.h"
#include "game/figures/Player.h"

USING_NS_CC;

EventNode::~EventNode() = default;

bool EventNode::init() {
    if (!Node::init()) return false;
    // Read now, so the shock mark appears without a pause.
    Director::getInstance()->getTextureCache()->addImage("EventScene/shock.png");
    plantBom = PlantBom::create();
    addChild(plantBom);
    // Added second, so the plant is drawn over its companion.
    player = Player::create();
    addChild(player);
    player->enter();
    plantBom->setVisible(false);
    plantBom->enter();
    scheduleOnce(CC_SCHEDULE_SELECTOR(EventNode::showShock), 1.5f);
    return true;
}

void EventNode::showShock(float) {
    shock = Sprite::create("EventScene/shock.png");
    shock->setScale(0.6f);
    shock->setPosition(kDesignSize.width * 0.54f, kDesignSize.height * 0.7f);
    addChild(shock);
    hubOf<EventLayer>(this)->startEvent(0);
}
