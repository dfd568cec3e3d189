#include "game/shop/TimeGaugSprite.h"

#include "game/common/Hub.h"
#include "game/common/SavedKeys.h"
#include "game/shop/UpgradeLayer.h"
#include "game/shop/UpgradeNode.h"

USING_NS_CC;

bool TimeGaugSprite::init() {
    if (!Sprite::init()) return false;
    setScale(0.35f);
    setPosition(static_cast<float>(kDesignSize.width * 0.83), static_cast<float>(kDesignSize.height * 0.77));
    scheduleUpdate();
    return true;
}

void TimeGaugSprite::update(float) {
    static const char* const kImages[] = {"UpGradeScene/timeGauge0.png", "UpGradeScene/timeGauge1.png",
                                          "UpGradeScene/timeGauge2.png", "UpGradeScene/timeGauge3.png"};
    auto* offer = hubOf<UpgradeLayer>(this)->upgradeNode;
    // Any other level keeps the picture the gauge has.
    const int level = offer->userDefault->getIntegerForKey(keys::kTimeLevel);
    if (level >= 0 && level <= 3) initWithFile(kImages[level]);
}
