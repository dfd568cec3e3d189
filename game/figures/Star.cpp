#include "game/figures/Star.h"

USING_NS_CC;

bool Star::init() {
    if (!Sprite::init()) return false;
    initWithFile("GameScene/whiteStar.png");
    fadeTime = 0.7f;

    // A pale tint: every channel stays between 170 and 255.
    const int b = Random::uniformInt(0, 85);
    const int g = Random::uniformInt(0, 85);
    const int r = Random::uniformInt(0, 85);
    setColor(
        Color3B(static_cast<uint8_t>(r + 170), static_cast<uint8_t>(g + 170), static_cast<uint8_t>(b + 170)));

    // Each star waits its own while, so the field never blinks all at once.
    const int ranFade = Random::uniformInt(1, 10);
    twinkleDelay = static_cast<float>(ranFade) * 0.1f;
    scheduleOnce(CC_SCHEDULE_SELECTOR(Star::startTwinkle), twinkleDelay);
    return true;
}

void Star::startTwinkle(float) {
    fadeOut = FadeTo::create(fadeTime, 20);
    fadeIn = FadeTo::create(fadeTime, 255);
    twinkle = Sequence::create(fadeOut, fadeIn);
    repeatAction = RepeatForever::create(twinkle);
    runAction(repeatAction);
    // One jump per full twinkle.
    schedule(CC_SCHEDULE_SELECTOR(Star::relocate), fadeTime * 2);
}

Vec2 Star::randomSpot() {
    const int height = static_cast<int>(kDesignSize.height);
    const int width = static_cast<int>(kDesignSize.width);
    const int y = Random::nextInt() % height + 1;
    const int x = Random::nextInt() % width + 1;
    return Vec2(static_cast<float>(x), static_cast<float>(y));
}

void Star::relocate(float) {
    setPosition(randomSpot());
}
