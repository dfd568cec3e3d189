#include "game/round/JiyamaSprite.h"

USING_NS_CC;

bool JiyamaSprite::init() {
    if (!Sprite::init()) return false;
    schedule(CC_SCHEDULE_SELECTOR(JiyamaSprite::rollJiyama), 0.3f);
    scheduleUpdate();
    return true;
}

void JiyamaSprite::rollJiyama(float) {
    jiyamaNo = Random::uniformInt(1, 15);
}

void JiyamaSprite::update(float) {
    // Loaded again only when the number has changed; the look is the same as every frame.
    if (jiyamaNo == shownNo) return;
    initWithFile(__String::createWithFormat("GameScene/jiyama%d.png", jiyamaNo)->getCString());
    shownNo = jiyamaNo;
}
