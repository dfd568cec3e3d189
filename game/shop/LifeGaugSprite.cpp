#include "game/shop/LifeGaugSprite.h"

#include "game/common/Hub.h"
#include "game/common/SavedKeys.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeLifeNode.h"

USING_NS_CC;

bool LifeGaugSprite::init() {
    if (!Sprite::init()) return false;
    setScale(0.35f);
    setPosition(static_cast<float>(kDesignSize.width * 0.83), static_cast<float>(kDesignSize.height * 0.62));
    scheduleUpdate();
    return true;
}

void LifeGaugSprite::update(float) {
    static const char* const kImages[] = {"UpGradeScene/lifeGauge0.png", "UpGradeScene/lifeGauge1.png",
                                          "UpGradeScene/lifeGauge2.png", "UpGradeScene/lifeGauge3.png"};
    auto* offer = hubOf<UpgradeLayer>(this)->upgradeLifeNode;
    // Any other level keeps the picture the gauge has.
    const int level = offer->userDefault->getIntegerForKey(keys::kLifeLevel);
    if (level >= 0 && level <= 3) initWithFile(kImages[level]);
}
