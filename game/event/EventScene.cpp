#include "game/event/EventScene.h"

#include "game/event/EventLayer.h"

#include <new>

USING_NS_CC;

EventScene* EventScene::create(int coins, int timeLevel, int lifeLevel) {
    auto* scene = new (std::nothrow) EventScene();
    if (scene && scene->initWithProgress(coins, timeLevel, lifeLevel)) {
        scene->autorelease();
        return scene;
    }
    delete scene;
    return nullptr;
}

EventScene::~EventScene() = default;

bool EventScene::initWithProgress(int coins, int timeLevel, int lifeLevel) {
    if (!Scene::init()) return false;
    eventLayer = EventLayer::create(coins, timeLevel, lifeLevel);
    addChild(eventLayer);
    return true;
}
