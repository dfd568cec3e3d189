#include "game/title/TitleBackGround.h"

USING_NS_CC;

TitleBackGround::~TitleBackGround() = default;

bool TitleBackGround::init() {
    if (!Sprite::init()) return false;
    initWithFile("TitleScene/tutiOne.png");
    setScale(1.0f);
    setPosition(kDesignSize.width / 2, kDesignSize.height / 2);
    return true;
}
