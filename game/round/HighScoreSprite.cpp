#include "game/round/HighScoreSprite.h"

#include "game/common/PlateWords.h"

USING_NS_CC;

bool HighScoreSprite::init() {
    if (!Sprite::init()) return false;
    // Read now, so the badge appears without a pause.
    Director::getInstance()->getTextureCache()->addImage("GameScene/newHighScore.png");
    return true;
}

void HighScoreSprite::showNewHighScore() {
    shrink = ScaleTo::create(0.5f, 0.3f);
    grow = ScaleTo::create(0.5f, 0.4f);
    pulse = Sequence::create(grow, shrink);
    repeatAction = RepeatForever::create(pulse);

    initWithFile("GameScene/newHighScore.png");
    if (getChildren().empty()) addChild(PlateLabel::create(PlateWords::kNewRecord));
    setPosition(static_cast<float>(kDesignSize.width * 0.1), static_cast<float>(kDesignSize.height * 0.6));
    setScale(0.3f);
    runAction(repeatAction);
}
