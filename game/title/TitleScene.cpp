#include "TitleScene.h"

#include "TitleLayer.h"

USING_NS_CC;

TitleScene::~TitleScene() = default;

bool TitleScene::init() {
    if (!Scene::init()) return false;
    titleLayer = TitleLayer::create();
    addChild(titleLayer);
    return true;
}
