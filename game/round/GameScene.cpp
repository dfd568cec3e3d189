#include "game/round/GameScene.h"

#include "game/common/CreateWithProgress.h"
#include "game/round/GameLayer.h"
#include "game/round/PausePanel.h"

USING_NS_CC;

GameScene* GameScene::create(int coins, int timeLevel, int lifeLevel) {
    return createWithProgress<GameScene>(coins, timeLevel, lifeLevel);
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
