#include "LifeGaugSprite.h"

#include "UpgradeLayer.h"
#include "UpgradeLifeNode.h"

USING_NS_CC;

bool LifeGaugSprite::init() {
    if (!Sprite::init()) return false;
    setScale(0.35f);
    setPosition(static_cast<float>(kDesignSize.width * 0.83), static_cast<float>(kDesignSize.height * 0.62));
    scheduleUpdate();
    return true;
}

void LifeGaugSprite::update(float) {
    auto* offer = static_cast<UpgradeLayer*>(getParent())->upgradeLifeNode;
    switch (offer->userDefault->getIntegerForKey("lifeNo")) {
    case 0: initWithFile("UpGradeScene/lifeGauge0.png"); break;
    case 1: initWithFile("UpGradeScene/lifeGauge1.png"); break;
    case 2: initWithFile("UpGradeScene/lifeGauge2.png"); break;
    case 3: initWithFile("UpGradeScene/lifeGauge3.png"); break;
    default: break;
    }
}
