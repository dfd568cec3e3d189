#include "game/shop/OfferPrice.h"

#include "game/shop/OfferParts.h"
#include "game/shop/ShopOffer.h"

USING_NS_CC;

bool OfferPrice::initPrice(double fx) {
    if (!Label::init()) return false;
    setPosition(static_cast<float>(kDesignSize.width * fx), kDesignSize.height * 0.46f);
    setColor(Color3B::BLACK);
    scheduleUpdate();
    return true;
}

void OfferPrice::update(float) {
    ShopOffer* shown = offer();
    OfferParts::writePrice(this, text, shown->soldOut(), shown->price);
}
