#include "game/round/ScorePlate.h"

#include "game/common/PlateWords.h"

USING_NS_CC;

bool ScorePlate::init() {
    if (!Sprite::init()) return false;
    initWithFile("GameScene/Plate.png");
    addChild(PlateLabel::create(PlateWords::kScore));
    setKeptInSight(true);
    setScale(0.3f);
    setPosition(static_cast<float>(kDesignSize.width * 0.1), static_cast<float>(kDesignSize.height * 0.87));
    return true;
}
