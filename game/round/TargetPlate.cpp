#include "game/round/TargetPlate.h"

USING_NS_CC;

bool TargetPlate::init() {
    if (!Sprite::init()) return false;
    initWithFile("GameScene/supportPlate1.png");
    setPosition(static_cast<float>(kDesignSize.width * 0.22), static_cast<float>(kDesignSize.height * 0.9));
    setScale(0.3f);

    animation = Animation::create();
    animation->addSpriteFrameWithFileName("GameScene/supportPlate0.png");
    animation->addSpriteFrameWithFileName("GameScene/supportPlate1.png");
    animation->addSpriteFrameWithFileName("GameScene/supportPlate2.png");
    animation->addSpriteFrameWithFileName("GameScene/supportPlate3.png");
    animation->setDelayPerUnit(0.4f);
    animation->setRestoreOriginalFrame(true);
    animate = Animate::create(animation);
    repeatAction = RepeatForever::create(animate);
    runAction(repeatAction);
    return true;
}
