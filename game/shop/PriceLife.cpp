#include "PriceLife.h"

#include "Hub.h"
#include "OfferParts.h"
#include "SavedKeys.h"
#include "UpgradeLayer.h"
#include "UpgradeLifeNode.h"

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
