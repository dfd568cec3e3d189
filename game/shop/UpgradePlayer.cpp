#include "game/shop/UpgradePlayer.h"

USING_NS_CC;

bool UpgradePlayer::init() {
    if (!Sprite::init()) return false;
    const float x = static_cast<float>(kDesignSize.width * 0.85);
    moveUp = MoveTo::create(2.0f, Vec2(x, static_cast<float>(kDesignSize.height * 0.42)));
    moveDown = MoveTo::create(2.0f, Vec2(x, static_cast<float>(kDesignSize.height * 0.38)));
    floatSequence = Sequence::create(moveUp, moveDown);
    floatForever = RepeatForever::create(floatSequence);
    initWithFile("TitleScene/PlantNot.png");
    setScale(0.3f);
    setPosition(x, static_cast<float>(kDesignSize.height * 0.4));
    runAction(floatForever);
    return true;
}
