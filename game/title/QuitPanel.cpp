#include "QuitPanel.h"

#include "Controls.h"
#include "PanelParts.h"
#include "PauseTree.h"

#include <new>

USING_NS_CC;

QuitPanel* QuitPanel::create(Node* title) {
    auto* panel = new (std::nothrow) QuitPanel();
    if (panel && panel->initWithTitle(title)) {
        panel->autorelease();
        return panel;
    }
    delete panel;
    return nullptr;
}

QuitPanel::~QuitPanel() = default;

bool QuitPanel::initWithTitle(Node* titleLayer) {
    if (!Layer::init()) return false;
    title = titleLayer;
    // The panel's pictures are read when it first opens.
    panel = PanelParts::create();
    addChild(panel);

    // While open, a touch beside the panel closes it and reaches nothing underneath.
    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](Touch*, Event*) { return isOpen; };
    listener->onTouchEnded = [this](Touch*, Event*) {
        if (isOpen) toggle();
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    return true;
}

void QuitPanel::onEnter() {
    Layer::onEnter();
    InputMap::getInstance()->setAction(Controls::kQuitPanel, [this] {
        // Not under the fade to the shop: the title is on its way out.
        if (Director::getInstance()->getRunningScene() == getParent()) toggle();
    });
}

void QuitPanel::onExit() {
    InputMap::getInstance()->setAction(Controls::kQuitPanel, nullptr);
    Layer::onExit();
}

void QuitPanel::toggle() {
    isOpen = !isOpen;
    if (isOpen && panel->getChildren().empty()) {
        PanelParts::fill(panel, "TitleScene/quitPlate.png", 140);
        PanelParts::addText(panel, "Quit the game?", 64, Vec2(960, 640));
        PanelParts::addButton(panel, "TitleScene/quitButton1.png", "TitleScene/quitButton2.png",
                              Vec2(960, 460), CC_CALLBACK_1(QuitPanel::quit, this), Controls::kQuit);
    }
    panel->setVisible(isOpen);
    if (isOpen)
        PauseTree::hold(title, held);
    else
        PauseTree::release(held);
}

void QuitPanel::quit(Ref*) {
    if (!isOpen) return;
    PanelParts::playClick();
    Application::requestQuit();
}
