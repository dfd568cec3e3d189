#include "game/shop/ShopOffer.h"

#include "game/common/Hub.h"
#include "game/common/PlateWords.h"
#include "game/common/SavedKeys.h"
#include "game/shop/OfferParts.h"
#include "game/shop/UpgradeLayer.h"

#include <algorithm>
#include <iterator>

USING_NS_CC;

bool ShopOffer::initOffer(const Levels& levels) {
    if (!Node::init()) return false;
    _levels = &levels;
    userDefault = UserDefault::getInstance();
    OfferParts::preloadSounds();

    const int bought = level();
    if (bought >= 0 && bought < kLevels) {
        price = levels.prices[bought];
        showIcon(levels.icons[bought]);
    } else {
        showIcon(levels.soldOutIcon);
    }

    plateItem = MenuItemImage::create("UpGradeScene/moneyPlate.png", "UpGradeScene/moneyPlate2.png",
                                      CC_CALLBACK_1(ShopOffer::onBuy, this));
    plateMenu = OfferParts::menuFor(plateItem, 0.4f, levels.plateX, 0.4);
    addChild(plateMenu);
    return true;
}

int ShopOffer::level() const {
    return userDefault->getIntegerForKey(_levels->levelKey);
}

bool ShopOffer::soldOut() const {
    return userDefault->getBoolForKey(_levels->soldOutKey);
}

void ShopOffer::placeIcon(const char* image) {
    // The icon beneath keeps its picture but not its words, which would show around the new one.
    if (iconItem)
        for (Node* word : iconItem->getChildren())
            word->setVisible(false);
    _iconImage = image;
    iconItem = MenuItemImage::create(image, image, CC_CALLBACK_1(ShopOffer::onBuy, this));
    InputMap::getInstance()->attach(_levels->control, iconItem);
    if (_iconImage == _levels->soldOutIcon) {
        PlateLabel::onButton(iconItem, PlateWords::kSoldOut);
    } else {
        const auto* at = std::find(std::begin(_levels->icons), std::end(_levels->icons), _iconImage);
        const int seconds = at == std::end(_levels->icons) ? 0 : _levels->seconds[at - _levels->icons];
        if (seconds > 0) PlateLabel::onButton(iconItem, PlateWords::kPlusSeconds)->setNumber(seconds);
    }
    iconMenu = OfferParts::menuFor(iconItem, 0.6f, _levels->iconX, 0.92);
    addChild(iconMenu);
}

void ShopOffer::showIcon(const char* image) {
    if (iconItem && _iconImage == image) return;
    placeIcon(image);
}

void ShopOffer::addLevel() {
    userDefault->setIntegerForKey(_levels->levelKey, level() + 1);
}

void ShopOffer::onBuy(Ref*) {
    auto* layer = hubOf<UpgradeLayer>(this);
    if (layer->isLeaving) return;
    const int balance = layer->userDefault->getIntegerForKey(keys::kCoinScore);
    if (soldOut()) {
        OfferParts::playRefused();
        return;
    }
    const int* prices = _levels->prices;
    const int* at = std::find(prices, prices + kLevels, price);
    // Entered with a level beyond the offer: nothing to sell, not even a refusal.
    if (at == prices + kLevels) return;
    if (balance < price) {
        OfferParts::playRefused();
        return;
    }
    // Every write of one purchase happens here, in one frame, so the store commits them together.
    const auto next = std::distance(prices, at) + 1;
    OfferParts::playBought();
    layer->spendCoins(price);
    if (next < kLevels) {
        price = prices[next];
        showIcon(_levels->icons[next]);
    } else {
        userDefault->setBoolForKey(_levels->soldOutKey, true);
        showIcon(_levels->soldOutIcon);
    }
    addLevel();
}
