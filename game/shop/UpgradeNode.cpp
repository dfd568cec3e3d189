#include "game/shop/UpgradeNode.h"

#include "game/common/Controls.h"
#include "game/common/Hub.h"
#include "game/common/SavedKeys.h"
#include "game/shop/OfferParts.h"
#include "game/shop/UpgradeLayer.h"

USING_NS_CC;

bool UpgradeNode::init() {
    if (!Node::init()) return false;
    userDefault = UserDefault::getInstance();
    OfferParts::preloadSounds();

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
    plateMenu = OfferParts::menuFor(plateItem, 0.4f, -0.2, 0.4);
    addChild(plateMenu);
    return true;
}

void UpgradeNode::placeIcon(const char* image) {
    iconItem = MenuItemImage::create(image, image, CC_CALLBACK_1(UpgradeNode::onBuy, this));
    InputMap::getInstance()->attach(Controls::kBuyTime, iconItem);
    iconMenu = OfferParts::menuFor(iconItem, 0.6f, 0.03, 0.92);
    addChild(iconMenu);
}

void UpgradeNode::addTimeLevel() {
    userDefault->setIntegerForKey(keys::kTimeLevel, userDefault->getIntegerForKey(keys::kTimeLevel) + 1);
}

void UpgradeNode::onBuy(Ref*) {
    auto* layer = hubOf<UpgradeLayer>(this);
    if (layer->isLeaving) return;
    const int balance = layer->userDefault->getIntegerForKey(keys::kCoinScore);
    if (userDefault->getBoolForKey(keys::kTimeSoldOut)) {
        OfferParts::playRefused();
        return;
    }
    // Every write of one purchase happens here, in one frame, so the store commits them together.
    switch (price) {
    case 5:
        if (balance >= 5) {
            OfferParts::playBought();
            layer->spendCoins(5);
            price = 25;
            placeIcon("UpGradeScene/timeFive.png");
            addTimeLevel();
        } else {
            OfferParts::playRefused();
        }
        break;
    case 25:
        if (balance >= 25) {
            OfferParts::playBought();
            layer->spendCoins(25);
            price = 50;
            placeIcon("UpGradeScene/timeSeven.png");
            addTimeLevel();
        } else {
            OfferParts::playRefused();
        }
        break;
    case 50:
        if (balance >= 50) {
            OfferParts::playBought();
            layer->spendCoins(50);
            userDefault->setBoolForKey(keys::kTimeSoldOut, true);
            placeIcon("UpGradeScene/timeSoldOutSeven.png");
            addTimeLevel();
        } else {
            OfferParts::playRefused();
        }
        break;
    default:
        // Entered with a level beyond the offer: nothing to sell, not even a refusal.
        break;
    }
}
