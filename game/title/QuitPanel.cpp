#include "QuitPanel.h"

#include "Controls.h"
#include "PauseTree.h"
#include "SimpleAudioEngine.h"

#include <new>

USING_NS_CC;
using CocosDenshion::SimpleAudioEngine;

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
    SimpleAudioEngine::getInstance()->preloadEffect("Music/botton.mp3");

    panel = Node::create();
    panel->setVisible(false);
    addChild(panel);
    auto* dim = Sprite::create("GameScene/black2.png");
    dim->setPosition(kScreenCentre);
    dim->setOpacity(140);
    panel->addChild(dim);
    auto* plate = Sprite::create("TitleScene/quitPlate.png");
    plate->setPosition(kScreenCentre);
    panel->addChild(plate);
    auto* question = Label::createWithTTF("Quit the game?", "fonts/PixelMplus10-Regular.ttf", 64);
    question->setAnchorPoint(Vec2(0.5f, 0.5f));
    question->setPosition(960, 640);
    panel->addChild(question);
    auto* item = MenuItemImage::create("TitleScene/quitButton1.png", "TitleScene/quitButton2.png",
                                       CC_CALLBACK_1(QuitPanel::quit, this));
    InputMap::getInstance()->attach(Controls::kQuit, item);
    auto* menu = Menu::create(item);
    menu->setPosition(960, 460);
    panel->addChild(menu, 1);

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
    panel->setVisible(isOpen);
    if (isOpen)
        PauseTree::hold(title, held);
    else
        PauseTree::release(held);
}

void QuitPanel::quit(Ref*) {
    if (!isOpen) return;
    SimpleAudioEngine::getInstance()->playEffect("Music/botton.mp3", false, 1.0f, 0.0f, 1.0f);
    Application::requestQuit();
}
