#include "game/shop/UpgradeLifeNode.h"

#include "game/common/Controls.h"
#include "game/common/Hub.h"
#include "game/common/SavedKeys.h"
#include "game/shop/OfferParts.h"
#include "game/shop/UpgradeLayer.h"

USING_NS_CC;

bool UpgradeLifeNode::init() {
    if (!Node::init()) return false;
    userDefault = UserDefault::getInstance();
    OfferParts::preloadSounds();

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
    plateMenu = OfferParts::menuFor(plateItem, 0.4f, 0.6, 0.4);
    addChild(plateMenu);
    return true;
}

void UpgradeLifeNode::showLifeIcon() {
    placeIcon("UpGradeScene/life.png");
}

void UpgradeLifeNode::placeIcon(const char* image) {
    iconItem = MenuItemImage::create(image, image, CC_CALLBACK_1(UpgradeLifeNode::onBuy, this));
    InputMap::getInstance()->attach(Controls::kBuyLife, iconItem);
    iconMenu = OfferParts::menuFor(iconItem, 0.6f, 0.57, 0.92);
    addChild(iconMenu);
}

void UpgradeLifeNode::addLifeLevel() {
    userDefault->setIntegerForKey(keys::kLifeLevel, userDefault->getIntegerForKey(keys::kLifeLevel) + 1);
}

void UpgradeLifeNode::onBuy(Ref*) {
    auto* layer = hubOf<UpgradeLayer>(this);
    if (layer->isLeaving) return;
    const int balance = layer->userDefault->getIntegerForKey(keys::kCoinScore);
    if (userDefault->getBoolForKey(keys::kLifeSoldOut)) {
        OfferParts::playRefused();
        return;
    }
    // Every write of one purchase happens here, in one frame, so the store commits them together.
    switch (price) {
    case 100:
    case 200:
        if (balance >= price) {
            OfferParts::playBought();
            layer->spendCoins(price);
            price *= 2; // 100, 200, then 400
            addLifeLevel();
        } else {
            OfferParts::playRefused();
        }
        break;
    case 400:
        if (balance >= 400) {
            OfferParts::playBought();
            layer->spendCoins(400);
            userDefault->setBoolForKey(keys::kLifeSoldOut, true);
            placeIcon("UpGradeScene/lifeSoldOut.png");
            addLifeLevel();
        } else {
            OfferParts::playRefused();
        }
        break;
    default:
        // Entered with a level beyond the offer: nothing to sell, not even a refusal.
        break;
    }
}
