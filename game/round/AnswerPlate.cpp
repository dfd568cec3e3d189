#include "game/round/AnswerPlate.h"

USING_NS_CC;

AnswerPlate::~AnswerPlate() = default;

bool AnswerPlate::init() {
    if (!Sprite::init()) return false;
    initWithFile("GameScene/answer.png");
    // What was entered so far: no note or key prompt may hide it.
    setKeptInSight(true);
    setScale(1.4f);
    setPosition(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 0.09));
    return true;
}
