#include "game/shop/UpgradeScene.h"

#include "game/common/CreateWithProgress.h"
#include "game/shop/UpgradeLayer.h"

USING_NS_CC;

UpgradeScene* UpgradeScene::create(int coins) {
    return createWithProgress<UpgradeScene>(coins);
}

UpgradeScene::~UpgradeScene() = default;

bool UpgradeScene::initWithProgress(int coins) {
    if (!Scene::init()) return false;
    upgradeLayer = UpgradeLayer::create(coins);
    addChild(upgradeLayer);
    return true;
}
