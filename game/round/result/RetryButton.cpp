#include "game/round/result/RetryButton.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Controls.h"
#include "game/common/Hub.h"
#include "game/common/PlateWords.h"
#include "game/common/SavedKeys.h"
#include "game/flow/SceneFlow.h"
#include "game/round/GameLayer.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
const char* const kButtonSound = "Music/botton.mp3";
}

RetryButton::~RetryButton() = default;

bool RetryButton::init() {
    if (!Sprite::init()) return false;
    // Read now, so the button appears without a pause.
    Director::getInstance()->getTextureCache()->addImage("GameScene/playButton1.png");
    Director::getInstance()->getTextureCache()->addImage("GameScene/playButton2.png");
    setPosition(Vec2::ZERO);
    SimpleAudioEngine::getInstance()->preloadEffect(kButtonSound);
    return true;
}

void RetryButton::startResult() {
    scheduleOnce(CC_SCHEDULE_SELECTOR(RetryButton::showResult), 2.5f);
}

void RetryButton::showResult(float) {
    auto* item = MenuItemImage::create("GameScene/playButton1.png", "GameScene/playButton2.png",
                                       CC_CALLBACK_1(RetryButton::onRetry, this));
    InputMap::getInstance()->attach(Controls::kRetry, item);
    PlateLabel::onButton(item, PlateWords::kRetry);
    auto* menu = Menu::create(item);
    menu->setPosition(static_cast<float>(kDesignSize.width * 0.25),
                      static_cast<float>(kDesignSize.height * 0.2));
    menu->setScale(0.8f);
    addChild(menu, 1);
}

void RetryButton::onRetry(Ref*) {
    SimpleAudioEngine::getInstance()->playEffect(kButtonSound, false, 1.0f, 0.0f, 1.0f);
    auto* layer = hubOf<GameLayer>(this);
    if (!layer) return;
    // The banked coins and the round's own levels carry over.
    const int coins = layer->userDefault->getIntegerForKey(keys::kRoundCoins);
    const int timeLevel = layer->userDefault->getIntegerForKey(keys::kRoundTimeLevel);
    const int lifeLevel = layer->userDefault->getIntegerForKey(keys::kRoundLifeLevel);
    SceneFlow::toRound(coins, timeLevel, lifeLevel);
}
