#include "UpgradeLifeNode.h"

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

bool UpgradeLifeNode::init() {
    if (!Node::init()) return false;
    userDefault = UserDefault::getInstance();
    SimpleAudioEngine::getInstance()->preloadEffect("Music/cursor6.mp3");
    SimpleAudioEngine::getInstance()->preloadEffect("Music/cursor9.mp3");

    const int level = userDefault->getIntegerForKey(keys::kLifeLevel);
    if (level >= 0 && level <= 2) {
        static const int kPrices[] = {100, 200, 400};
        price = kPrices[level];
        showLifeIcon();
    } else {
        placeIcon("UpGradeScene/lifeSoldOut.png");
    }

    plateItem = MenuItemImage::create("UpGradeScene/moneyPlate.png", "UpGradeScene/moneyPlate2.png",
                                      CC_CALLBACK_1(UpgradeLifeNode::onBuy, this));
    plateMenu = Menu::create(plateItem);
    plateMenu->setScale(0.4f);
    plateItem->setPosition(static_cast<float>(kDesignSize.width * 0.6),
                           static_cast<float>(kDesignSize.height * 0.4));
    plateMenu->setPosition(Vec2::ZERO);
    addChild(plateMenu);
    return true;
}

void UpgradeLifeNode::showLifeIcon() {
    placeIcon("UpGradeScene/life.png");
}

void UpgradeLifeNode::placeIcon(const char* image) {
    iconItem = MenuItemImage::create(image, image, CC_CALLBACK_1(UpgradeLifeNode::onBuy, this));
    InputMap::getInstance()->attach(Controls::kBuyLife, iconItem);
    iconMenu = Menu::create(iconItem);
    iconMenu->setScale(0.6f);
    iconItem->setPosition(static_cast<float>(kDesignSize.width * 0.57),
                          static_cast<float>(kDesignSize.height * 0.92));
    iconMenu->setPosition(Vec2::ZERO);
    addChild(iconMenu);
}

void UpgradeLifeNode::addLifeLevel() {
    userDefault->setIntegerForKey(keys::kLifeLevel, userDefault->getIntegerForKey(keys::kLifeLevel) + 1);
}

void UpgradeLifeNode::onBuy(Ref*) {
    auto* layer = static_cast<UpgradeLayer*>(getParent());
    if (layer->isLeaving) return;
    const int balance = layer->userDefault->getIntegerForKey(keys::kCoinScore);
    if (userDefault->getBoolForKey(keys::kLifeSoldOut)) {
        playSound("Music/cursor9.mp3");
        return;
    }
    // Every write of one purchase happens here, in one frame, so the store commits them together.
    switch (price) {
    case 100:
    case 200:
        if (balance >= price) {
            playSound("Music/cursor6.mp3");
            layer->spendCoins(price);
            price *= 2; // 100, 200, then 400
            addLifeLevel();
        } else {
            playSound("Music/cursor9.mp3");
        }
        break;
    case 400:
        if (balance >= 400) {
            playSound("Music/cursor6.mp3");
            layer->spendCoins(400);
            userDefault->setBoolForKey(keys::kLifeSoldOut, true);
            placeIcon("UpGradeScene/lifeSoldOut.png");
            addLifeLevel();
        } else {
            playSound("Music/cursor9.mp3");
        }
        break;
    default:
        // Entered with a level beyond the offer: nothing to sell, not even a refusal.
        break;
    }
}
