#include "game/shop/UpgradeScene.h"

#include "game/shop/UpgradeLayer.h"

#include <new>

USING_NS_CC;

UpgradeScene* UpgradeScene::create(int coins) {
    auto* scene = new (std::nothrow) UpgradeScene();
    if (scene && scene->initWithProgress(coins)) {
        scene->autorelease();
        return scene;
    }
    delete scene;
    return nullptr;
}

UpgradeScene::~UpgradeScene() = default;

bool UpgradeScene::initWithProgress(int coins) {
    if (!Scene::init()) return false;
    upgradeLayer = UpgradeLayer::create(coins);
    addChild(upgradeLayer);
    return true;
}
