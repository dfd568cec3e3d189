#include "game/shop/PriceTime.h"

#include "game/common/Hub.h"
#include "game/common/SavedKeys.h"
#include "game/shop/OfferParts.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeNode.h"

USING_NS_CC;

bool PriceTime::init() {
    if (!Label::init()) return false;
    setPosition(static_cast<float>(kDesignSize.width * 0.23), kDesignSize.height * 0.46f);
    setColor(Color3B::BLACK);
    scheduleUpdate();
    return true;
}

void PriceTime::update(float) {
    auto* offer = hubOf<UpgradeLayer>(this)->upgradeNode;
    OfferParts::writePrice(this, text, offer->userDefault->getBoolForKey(keys::kTimeSoldOut), offer->price);
}
