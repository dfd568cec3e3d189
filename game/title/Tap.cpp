#include "game/title/Tap.h"

#include "game/common/PlateWords.h"

USING_NS_CC;

Tap::~Tap() = default;

bool Tap::init() {
    if (!Sprite::init()) return false;
    initWithFile("TitleScene/tap.png");
    addChild(PlateLabel::create(PlateWords::kTapToStart));
    // The prompt blinks, and its words with it.
    setCascadeOpacityEnabled(true);
    setScale(1.0f);
    setPosition(kDesignSize.width / 2, static_cast<float>(kDesignSize.height * 0.15));
    fadeOut = FadeTo::create(1.0f, 0);
    fadeIn = FadeTo::create(1.0f, 255);
    blinkSequence = Sequence::create(fadeOut, fadeIn);
    blink = RepeatForever::create(blinkSequence);
    runAction(blink);
    return true;
}

void Tap::stopBlink() {
    if (!blink) return;
    stopAction(blink);
    // Stopping released the blink and the actions inside it.
    blink = nullptr;
    blinkSequence = nullptr;
    fadeOut = nullptr;
    fadeIn = nullptr;
    runAction(FadeTo::create(0.5f, 0));
}
