#include "game/shop/OfferGauge.h"

#include "game/shop/ShopOffer.h"

USING_NS_CC;

bool OfferGauge::initGauge(double fy, const char* const (&images)[4]) {
    if (!Sprite::init()) return false;
    _images = images;
    setScale(0.35f);
    setPosition(static_cast<float>(kDesignSize.width * 0.83), static_cast<float>(kDesignSize.height * fy));
    scheduleUpdate();
    return true;
}

void OfferGauge::update(float) {
    // Any other level keeps the picture the gauge has.
    const int level = offer()->level();
    if (level >= 0 && level <= 3) initWithFile(_images[level]);
}
