#include "game/figures/SpeedGround.h"

USING_NS_CC;

bool SpeedGround::init() {
    if (!Sprite::init()) return false;
    speed = 20;

    groundA = Sprite::create("GameScene/SpeedP.png");
    groundA->setPosition(kScreenCentre);
    addChild(groundA);

    groundB = Sprite::create("GameScene/SpeedP.png");
    groundB->setPosition(static_cast<float>(kDesignSize.width * 1.5), kDesignSize.height / 2);
    addChild(groundB);

    scheduleUpdate();
    return true;
}

void SpeedGround::update(float) {
    // A fixed step per frame, not scaled by the frame time.
    groundA->setPositionX(groundA->getPositionX() - speed);
    groundB->setPositionX(groundB->getPositionX() - speed);

    const float leftEdge = static_cast<float>(kDesignSize.width * -0.5);
    const float reEntry = static_cast<float>(kDesignSize.width * 1.5);
    if (groundA->getPositionX() < leftEdge) groundA->setPositionX(reEntry);
    if (groundB->getPositionX() < leftEdge) groundB->setPositionX(reEntry);
}
