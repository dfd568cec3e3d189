#include "game/figures/BackGround.h"

USING_NS_CC;

bool BackGround::init() {
    if (!Sprite::init()) return false;
    initWithFile("GameScene/newBack.png");
    setPosition(kScreenCentre);
    return true;
}
