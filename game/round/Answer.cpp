#include "Answer.h"

#include "ButtonManager.h"
#include "GameLayer.h"
#include "Hub.h"
#include "TargetSprite.h"

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
