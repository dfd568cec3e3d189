#include "UpgradeNode.h"

#include "Controls.h"
#include "SavedKeys.h"
#include "SimpleAudioEngine.h"
#include "UpgradeLayer.h"

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

namespace {
void playSound(const char* file) {
    SimpleAudioEngine::getInstance()->playEffect(file, false, 1.0f, 0.0f, 1.0f);
}
} // namespace

bool UpgradeNode::init() {
    if (!Node::init()) return false;
    userDefault = UserDefault::getInstance();
    SimpleAudioEngine::getInstance()->preloadEffect("Music/cursor6.mp3");
    SimpleAudioEngine::getInstance()->preloadEffect("Music/cursor9.mp3");

    switch (userDefault->getIntegerForKey(keys::kTimeLevel)) {
    case 0:
        price = 5;
        placeIcon("UpGradeScene/timeThree.png");
        break;
    case 1:
        price = 25;
        placeIcon("UpGradeScene/timeFive.png");
        break;
    case 2:
        price = 50;
        placeIcon("UpGradeScene/timeSeven.png");
        break;
    default:
        placeIcon("UpGradeScene/timeSoldOutSeven.png");
        break;
    }

    plateItem = MenuItemImage::create("UpGradeScene/moneyPlate.png", "UpGradeScene/moneyPlate2.png",
                                      CC_CALLBACK_1(UpgradeNode::onBuy, this));
    plateMenu = Menu::create(plateItem);
    plateMenu->setScale(0.4f);
    plateItem->setPosition(static_cast<float>(kDesignSize.width * -0.2),
                           static_cast<float>(kDesignSize.height * 0.4));
    plateMenu->setPosition(Vec2::ZERO);
    addChild(plateMenu);
    return true;
}

void UpgradeNode::placeIcon(const char* image) {
    iconItem = MenuItemImage::create(image, image, CC_CALLBACK_1(UpgradeNode::onBuy, this));
    InputMap::getInstance()->attach(Controls::kBuyTime, iconItem);
    iconMenu = Menu::create(iconItem);
    iconMenu->setScale(0.6f);
    iconItem->setPosition(static_cast<float>(kDesignSize.width * 0.03),
                          static_cast<float>(kDesignSize.height * 0.92));
    iconMenu->setPosition(Vec2::ZERO);
    addChild(iconMenu);
}

void UpgradeNode::addTimeLevel() {
    userDefault->setIntegerForKey(keys::kTimeLevel, userDefault->getIntegerForKey(keys::kTimeLevel) + 1);
}

void UpgradeNode::onBuy(Ref*) {
    auto* layer = static_cast<UpgradeLayer*>(getParent());
    if (layer->isLeaving) return;
    const int balance = layer->userDefault->getIntegerForKey(keys::kCoinScore);
    if (userDefault->getBoolForKey(keys::kTimeSoldOut)) {
        playSound("Music/cursor9.mp3");
        return;
    }
    // Every write of one purchase happens here, in one frame, so the store commits them together.
    switch (price) {
    case 5:
        if (balance >= 5) {
            playSound("Music/cursor6.mp3");
            layer->spendCoins(5);
            price = 25;
            placeIcon("UpGradeScene/timeFive.png");
            addTimeLevel();
        } else {
            playSound("Music/cursor9.mp3");
        }
        break;
    case 25:
        if (balance >= 25) {
            playSound("Music/cursor6.mp3");
            layer->spendCoins(25);
            price = 50;
            placeIcon("UpGradeScene/timeSeven.png");
            addTimeLevel();
        } else {
            playSound("Music/cursor9.mp3");
        }
        break;
    case 50:
        if (balance >= 50) {
            playSound("Music/cursor6.mp3");
            layer->spendCoins(50);
            userDefault->setBoolForKey(keys::kTimeSoldOut, true);
            placeIcon("UpGradeScene/timeSoldOutSeven.png");
            addTimeLevel();
        } else {
            playSound("Music/cursor9.mp3");
        }
        break;
    default:
        // Entered with a level beyond the offer: nothing to sell, not even a refusal.
        break;
    }
}
