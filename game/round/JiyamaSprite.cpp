#include "JiyamaSprite.h"

USING_NS_CC;

bool JiyamaSprite::init() {
    if (!Sprite::init()) return false;
    schedule(CC_SCHEDULE_SELECTOR(JiyamaSprite::rollJiyama), 0.3f);
    scheduleUpdate();
    return true;
}

void JiyamaSprite::rollJiyama(float) { jiyamaNo = Random::uniformInt(1, 15); }

void JiyamaSprite::update(float) {
    // There is no picture 0: the obstruction stays blank until its first draw, and the
    // picture is only loaded again when the number has changed.
    if (jiyamaNo == shownNo || jiyamaNo < 1) return;
    initWithFile(__String::createWithFormat("GameScene/jiyama%d.png", jiyamaNo)->getCString());
    shownNo = jiyamaNo;
}
