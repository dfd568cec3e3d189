#include "game/shop/LifeGaugSprite.h"

#include "game/common/Hub.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeLifeNode.h"

bool LifeGaugSprite::init() {
    static const char* const kImages[] = {"UpGradeScene/lifeGauge0.png", "UpGradeScene/lifeGauge1.png",
                                          "UpGradeScene/lifeGauge2.png", "UpGradeScene/lifeGauge3.png"};
    return initGauge(0.62, kImages);
}

ShopOffer* LifeGaugSprite::offer() const {
    return hubOf<UpgradeLayer>(this)->upgradeLifeNode;
}
