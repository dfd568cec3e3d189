#include "TimeGaugSprite.h"

#include "UpgradeLayer.h"
#include "UpgradeNode.h"

USING_NS_CC;

bool TimeGaugSprite::init() {
    if (!Sprite::init()) return false;
    setScale(0.35f);
    setPosition(static_cast<float>(kDesignSize.width * 0.83), static_cast<float>(kDesignSize.height * 0.77));
    scheduleUpdate();
    return true;
}

void TimeGaugSprite::update(float) {
    auto* offer = static_cast<UpgradeLayer*>(getParent())->upgradeNode;
    switch (offer->userDefault->getIntegerForKey("timeNo")) {
    case 0: initWithFile("UpGradeScene/timeGauge0.png"); break;
    case 1: initWithFile("UpGradeScene/timeGauge1.png"); break;
    case 2: initWithFile("UpGradeScene/timeGauge2.png"); break;
    case 3: initWithFile("UpGradeScene/timeGauge3.png"); break;
    default: break;
    }
}
