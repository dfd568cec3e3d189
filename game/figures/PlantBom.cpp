#include "game/figures/PlantBom.h"

USING_NS_CC;

bool PlantBom::init() {
    if (!Sprite::init()) return false;
    initWithFile("GameScene/PlantBom1.png");
    setScale(0.7f);
    setPosition(static_cast<float>(kDesignSize.width * -0.15), kDesignSize.height / 2);

    auto* animation = Animation::create();
    animation->addSpriteFrameWithFileName("GameScene/PlantBom1.png");
    animation->addSpriteFrameWithFileName("GameScene/PlantBom2.png");
    animation->addSpriteFrameWithFileName("GameScene/PlantBom3.png");
    animation->setDelayPerUnit(0.4f);
    animation->setRestoreOriginalFrame(true);
    auto* loop = RepeatForever::create(Animate::create(animation));

    setColor(Color3B(255, 255, 255));
    runAction(loop);
    return true;
}

void PlantBom::enter() {
    runAction(
        MoveTo::create(1.0f, Vec2(static_cast<float>(kDesignSize.width * 0.55), kDesignSize.height / 2)));
}

void PlantBom::tintRight() {
    setColor(Color3B(255, 255, 255));
}

void PlantBom::tintWrong() {
    setColor(Color3B(255, 0, 0));
}
