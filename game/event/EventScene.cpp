#include "game/event/EventScene.h"

#include "game/common/CreateWithProgress.h"
#include "game/event/EventLayer.h"

USING_NS_CC;

EventScene* EventScene::create(int coins, int timeLevel, int lifeLevel) {
    return createWithProgress<EventScene>(coins, timeLevel, lifeLevel);
}

EventScene::~EventScene() = default;

bool EventScene::initWithProgress(int coins, int timeLevel, int lifeLevel) {
    if (!Scene::init()) return false;
    eventLayer = EventLayer::create(coins, timeLevel, lifeLevel);
    addChild(eventLayer);
    return true;
}
