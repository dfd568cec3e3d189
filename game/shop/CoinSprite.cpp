#include "game/shop/CoinSprite.h"

USING_NS_CC;

bool CoinSprite::init() {
    if (!Sprite::init()) return false;
    initWithFile("UpGradeScene/coin.png");
    setPosition(kDesignSize.width / 4 * 3, static_cast<float>(kDesignSize.height * 0.9));
    setScale(0.7f);
    return true;
}
