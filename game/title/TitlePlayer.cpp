#include "game/title/TitlePlayer.h"

#include "game/flow/SceneFlow.h"

USING_NS_CC;

TitlePlayer::~TitlePlayer() = default;

bool TitlePlayer::init() {
    if (!Sprite::init()) return false;
    canChangeScene = true;
    initWithFile("TitleScene/PlantNot.png");
    setScale(0.25f);
    setPosition(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 0.52));
    scheduleUpdate();
    return true;
}

void TitlePlayer::launch() {
    const Vec2 aboveScreen(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 1.5));
    runAction(Sequence::create(DelayTime::create(1.0f), MoveTo::create(2.0f, aboveScreen)));
}

void TitlePlayer::update(float) {
    // update keeps running under the fade, so the change is asked for only once.
    if (canChangeScene && getPositionY() > kDesignSize.height * 0.7) {
        SceneFlow::toShop(0);
        canChangeScene = false;
    }
}
