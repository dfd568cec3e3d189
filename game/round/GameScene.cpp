#include "game/round/GameScene.h"

#include "game/round/GameLayer.h"
#include "game/round/PausePanel.h"

#include <new>

USING_NS_CC;

GameScene* GameScene::create(int coins, int timeLevel, int lifeLevel) {
    auto* scene = new (std::nothrow) GameScene();
    if (scene && scene->initWithProgress(coins, timeLevel, lifeLevel)) {
        scene->autorelease();
        return scene;
    }
    delete scene;
    return nullptr;
}

GameScene::~GameScene() = default;

bool GameScene::initWithProgress(int coins, int timeLevel, int lifeLevel) {
    if (!Scene::init()) return false;
    gameLayer = GameLayer::create(coins, timeLevel, lifeLevel);
    addChild(gameLayer);
    // Over the round and apart from it, so that it stays awake while the round is paused.
    addChild(PausePanel::create(gameLayer), 1);
    return true;
}
