#include "game/shop/TitleButton.h"

#include "engine/audio/SimpleAudioEngine.h"
#include "game/common/Controls.h"
#include "game/common/Hub.h"
#include "game/common/PlateWords.h"
#include "game/flow/SceneFlow.h"
#include "game/shop/UpgradeLayer.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

bool TitleButton::init() {
    if (!Sprite::init()) return false;
    SimpleAudioEngine::getInstance()->preloadEffect("Music/botton.mp3");
    auto* item = MenuItemImage::create("GameScene/titleButton1.png", "GameScene/titleButton2.png",
                                       CC_CALLBACK_1(TitleButton::onTitle, this));
    InputMap::getInstance()->attach(Controls::kGoTitle, item);
    PlateLabel::onButton(item, PlateWords::kTitle);
    // Drawn at half size, the picture alone is too small a target for a finger on a small
    // screen: the menu's scale makes this 120 units tall, 9.4 mm on a 7-inch 1280 x 800.
    item->setHitSize(Size(300, 240));
    auto* menu = Menu::create(item);
    menu->setScale(0.5f);
    menu->setPosition(kDesignSize.width * -0.2f, kDesignSize.height * -0.15f);
    addChild(menu, 1);
    return true;
}

void TitleButton::onTitle(Ref*) {
    auto* layer = hubOf<UpgradeLayer>(this);
    if (layer->isLeaving) return;
    layer->isLeaving = true;
    SimpleAudioEngine::getInstance()->playEffect("Music/botton.mp3", false, 1.0f, 0.0f, 1.0f);
    SceneFlow::toTitle();
}
