#include "game/shop/StartButton.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Controls.h"
#include "game/common/Hub.h"
#include "game/common/PlateWords.h"
#include "game/common/SavedKeys.h"
#include "game/flow/SceneFlow.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeLifeNode.h"
#include "game/shop/UpgradeNode.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

bool StartButton::init() {
    if (!Sprite::init()) return false;
    SimpleAudioEngine::getInstance()->preloadEffect("Music/botton.mp3");
    auto* item = MenuItemImage::create("UpGradeScene/stageButton1.png", "UpGradeScene/stageButton2.png",
                                       CC_CALLBACK_1(StartButton::onStart, this));
    InputMap::getInstance()->attach(Controls::kStart, item);
    PlateLabel::onButton(item, PlateWords::kStart);
    auto* menu = Menu::create(item);
    menu->setScale(0.65f);
    menu->setPosition(static_cast<float>(kDesignSize.width * 0.65),
                      static_cast<float>(kDesignSize.height * -0.05));
    addChild(menu);
    return true;
}

void StartButton::onStart(Ref*) {
    auto* layer = hubOf<UpgradeLayer>(this);
    if (layer->isLeaving) return;
    layer->isLeaving = true;
    SimpleAudioEngine::getInstance()->playEffect("Music/botton.mp3", false, 1.0f, 0.0f, 1.0f);
    // The round starts from whatever the store holds right now, purchases included.
    const int coins = layer->userDefault->getIntegerForKey(keys::kCoinScore);
    const int timeLevel = layer->upgradeNode->userDefault->getIntegerForKey(keys::kTimeLevel);
    const int lifeLevel = layer->upgradeLifeNode->userDefault->getIntegerForKey(keys::kLifeLevel);
    SceneFlow::toCutScene(coins, timeLevel, lifeLevel);
}
