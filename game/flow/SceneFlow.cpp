#include "game/flow/SceneFlow.h"

#include "engine/app/cocos2d.h"
#include "game/event/EventScene.h"
#include "game/round/GameScene.h"
#include "game/shop/UpgradeScene.h"
#include "game/title/TitleScene.h"

USING_NS_CC;

namespace SceneFlow {

namespace {

void fadeTo(Scene* scene, float seconds) {
    Director::getInstance()->replaceScene(TransitionFade::create(seconds, scene, Color3B::WHITE));
}

} // namespace

Scene* firstScene() {
    return TitleScene::create();
}

void toTitle() {
    fadeTo(TitleScene::create(), 1.0f);
}

void toShop(int coins) {
    fadeTo(UpgradeScene::create(coins), 1.0f);
}

void toCutScene(int coins, int timeLevel, int lifeLevel) {
    fadeTo(EventScene::create(coins, timeLevel, lifeLevel), 1.0f);
}

void toRound(int coins, int timeLevel, int lifeLevel, float fadeSeconds) {
    fadeTo(GameScene::create(coins, timeLevel, lifeLevel), fadeSeconds);
}

} // namespace SceneFlow
