#include "game/round/Answer.h"

#include "game/common/Hub.h"
#include "game/round/ButtonManager.h"
#include "game/round/GameLayer.h"
#include "game/round/TargetSprite.h"

USING_NS_CC;

Answer::~Answer() = default;

bool Answer::init() {
    return Sprite::init();
}

void Answer::takeLastKind() {
    auto* layer = hubOf<GameLayer>(getParent());
    if (!layer || !layer->buttonManager) return;
    kind = layer->buttonManager->lastKind;
    if (TargetSprite::isElement(kind)) initWithFile(TargetSprite::plainImage(kind));
}
