#include "game/title/Title.h"

USING_NS_CC;

Title::~Title() = default;

bool Title::init() {
    if (!Sprite::init()) return false;
    initWithFile("TitleScene/TitlePlant.png");
    setScale(0.7f);
    setPosition(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 0.8));
    return true;
}

void Title::leave() {
    const Vec2 aboveScreen(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 1.5));
    runAction(Spawn::create(MoveTo::create(5.0f, aboveScreen), FadeTo::create(0.5f, 0)));
}
