#include "game/title/TitleScene.h"

#include "game/common/PauseTree.h"
#include "game/options/OptionsPanel.h"
#include "game/title/QuitPanel.h"
#include "game/title/TitleLayer.h"

#include <memory>
#include <vector>

USING_NS_CC;

TitleScene::~TitleScene() = default;

bool TitleScene::init() {
    if (!Scene::init()) return false;
    titleLayer = TitleLayer::create();
    addChild(titleLayer);
    QuitPanel* quit = Application::canQuit() ? QuitPanel::create(titleLayer) : nullptr;
    if (quit) addChild(quit, 1);

    // The options, from a button on the right while the title waits for its tap.
    auto held = std::make_shared<std::vector<Node*>>();
    TitleLayer* layer = titleLayer;
    auto* options = OptionsPanel::create({
        .canOpen =
            [this, layer, quit] {
                return layer->canTap && (!quit || !quit->isOpen) &&
                       Director::getInstance()->getRunningScene() == this;
            },
        .hold = [layer, held](bool on) { on ? PauseTree::hold(layer, *held) : PauseTree::release(*held); },
        .giveUp = nullptr,
    });
    options->addOpener(options, Vec2(1720, 330), 0.7f);
    addChild(options, 2);
    return true;
}
