#include "game/round/result/UpgradeButton.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Controls.h"
#include "game/round/GameLayer.h"

#include "game/common/Hub.h"
#include "game/common/PlateWords.h"
#include "game/common/SavedKeys.h"
#include "game/flow/SceneFlow.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kButtonSound = "Music/botton.mp3";
}

UpgradeButton::~UpgradeButton() = default;

bool UpgradeButton::init() {
    if (!Sprite::init()) return false;
    // Read now, so the button appears without a pause.
    Director::getInstance()->getTextureCache()->addImage("GameScene/GoShop1-1.png");
    Director::getInstance()->getTextureCache()->addImage("GameScene/GoShop1-2.png");
    SimpleAudioEngine::getInstance()->preloadEffect(kButtonSound);
    return true;
}

void UpgradeButton::startResult() {
    scheduleOnce(CC_SCHEDULE_SELECTOR(UpgradeButton::showResult), 2.5f);
}

void UpgradeButton::showResult(float) {
    auto* item = MenuItemImage::create("GameScene/GoShop1-1.png", "GameScene/GoShop1-2.png",
                                       CC_CALLBACK_1(UpgradeButton::onGoShop, this));
    InputMap::getInstance()->attach(Controls::kGoShop, item);
    PlateLabel::onButton(item, PlateWords::kShop);
    auto* menu = Menu::create(item);
    menu->setPosition(static_cast<float>(kDesignSize.width * 0.55),
                      static_cast<float>(kDesignSize.height * 0.2));
    menu->setScale(0.8f);
    addChild(menu, 1);
}

void UpgradeButton::onGoShop(Ref*) {
    SimpleAudioEngine::getInstance()->playEffect(kButtonSound, false, 1.0f, 0.0f, 1.0f);
    auto* layer = hubOf<GameLayer>(this);
    if (!layer) return;
    const int coins = layer->userDefault->getIntegerForKey(keys::kRoundCoins);
    SceneFlow::toShop(coins);
}
