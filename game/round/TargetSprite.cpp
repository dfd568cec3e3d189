#include "game/round/TargetSprite.h"

USING_NS_CC;

namespace {
const char* const kPlainImages[] = {"GameScene/water1.png", "GameScene/light1.png",
                                    "GameScene/soil1.png",  "GameScene/Seedling1.png",
                                    "GameScene/air1.png",   "GameScene/carbonDioxide1.png"};
const char* const kPressedImages[] = {"GameScene/water2-1.png", "GameScene/light2-1.png",
                                      "GameScene/soil2-1.png",  "GameScene/Seedling2-1.png",
                                      "GameScene/air2-1.png",   "GameScene/carbonDioxide2-1.png"};
} // namespace

const char* TargetSprite::plainImage(int id) {
    return isElement(id) ? kPlainImages[id - kFirstElement] : nullptr;
}

const char* TargetSprite::pressedImage(int id) {
    return isElement(id) ? kPressedImages[id - kFirstElement] : nullptr;
}

bool TargetSprite::init() {
    if (!Sprite::init()) return false;
    kind = 0;
    setRandomMaterial();
    return true;
}

void TargetSprite::setRandomMaterial() {
    // Every place draws on its own, so an element may repeat any number of times.
    const int materialNo = Random::uniformInt(kFirstElement, kLastElement);
    kind = materialNo;
    initWithFile(plainImage(kind));
    // The row to repeat: no note or key prompt may hide it.
    setKeptInSight(true);
}
