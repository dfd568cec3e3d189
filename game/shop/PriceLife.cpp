#include "game/shop/PriceLife.h"

#include "game/common/Hub.h"
#include "game/common/SavedKeys.h"
#include "game/shop/OfferParts.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeLifeNode.h"

USING_NS_CC;

bool PriceLife::init() {
    if (!Label::init()) return false;
    setPosition(static_cast<float>(kDesignSize.width * 0.55), kDesignSize.height * 0.46f);
    setColor(Color3B::BLACK);
    scheduleUpdate();
    return true;
}

void PriceLife::update(float) {
    auto* offer = hubOf<UpgradeLayer>(this)->upgradeLifeNode;
    OfferParts::writePrice(this, text, offer->userDefault->getBoolForKey(keys::kLifeSoldOut), offer->price);
}
