#include "game/title/TitleScene.h"

#include "game/title/QuitPanel.h"
#include "game/title/TitleLayer.h"

USING_NS_CC;

TitleScene::~TitleScene() = default;

bool TitleScene::init() {
    if (!Scene::init()) return false;
    titleLayer = TitleLayer::create();
    addChild(titleLayer);
    if (Application::canQuit()) addChild(QuitPanel::create(titleLayer), 1);
    return true;
}
