#include "game/title/QuitPanel.h"

#include "game/common/Controls.h"
#include "game/common/GameTexts.h"
#include "game/common/PanelParts.h"
#include "game/common/PauseTree.h"
#include "game/common/PlateWords.h"
#include "game/title/TitleLayer.h"

#include <new>

USING_NS_CC;

namespace {
// The hint's key badge in the top left corner, its word to the right of the widest badge.
const Vec2 kHintBadgeAt(150, kDesignSize.height - 70);
constexpr float kHintWordX = 290;
} // namespace

QuitPanel* QuitPanel::create(TitleLayer* title) {
    auto* panel = new (std::nothrow) QuitPanel();
    if (panel && panel->initWithTitle(title)) {
        panel->autorelease();
        return panel;
    }
    delete panel;
    return nullptr;
}

QuitPanel::~QuitPanel() = default;

bool QuitPanel::initWithTitle(TitleLayer* titleLayer) {
    if (!Layer::init()) return false;
    title = titleLayer;
    // The panel's pictures are read when it first opens.
    panel = PanelParts::create();
    addChild(panel, 1);

    hint = Node::create();
    auto* word = Label::createWithTTF(GameTexts::tr(GameTexts::kQuitHint), kGameFont, 48);
    word->setAnchorPoint(Vec2(0, 0.5f));
    word->setPosition(kHintWordX, kHintBadgeAt.y);
    hint->addChild(word);
    hint->setVisible(false);
    addChild(hint);
    InputMap::getInstance()->attachPoint(Controls::kQuitPanel, hint, kHintBadgeAt);

    // While open, a touch beside the panel closes it and reaches nothing underneath.
    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](Touch*, Event*) { return isOpen; };
    listener->onTouchEnded = [this](Touch*, Event*) {
        if (isOpen) toggle();
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    scheduleUpdate();
    return true;
}

void QuitPanel::onEnter() {
    Layer::onEnter();
    // Not once the title is on its way out, nor under the fade to the shop, nor while another
    // panel or page (the options, the controls) lies over the title and holds it still: Escape is
    // that one's then.
    InputMap::getInstance()->setAction(
        Controls::kQuitPanel, [this] { toggle(); },
        [this] {
            return title->canTap && Director::getInstance()->getRunningScene() == getParent() &&
                   !isPausedForScheduling() && (isOpen || !title->isPausedForScheduling());
        });
}

void QuitPanel::onExit() {
    InputMap::getInstance()->setAction(Controls::kQuitPanel, nullptr);
    Layer::onExit();
}

void QuitPanel::update(float) {
    // With the prompts: keys or a pad, or nothing used yet; not for the mouse.
    hint->setVisible(!isOpen && title->canTap && !title->isPausedForScheduling() &&
                     !InputMap::getInstance()->isPointerInUse());
}

void QuitPanel::toggle() {
    isOpen = !isOpen;
    if (isOpen && panel->getChildren().empty()) {
        PanelParts::fill(panel, "TitleScene/quitPlate.png", 140);
        PanelParts::addText(panel, GameTexts::tr(GameTexts::kQuitQuestion), 64, Vec2(960, 640));
        PanelParts::addButton(panel, "GameScene/backButton1.png", "GameScene/backButton2.png", Vec2(720, 450),
                              CC_CALLBACK_1(QuitPanel::back, this), Controls::kPanelBack, &PlateWords::kBack);
        PanelParts::addButton(panel, "TitleScene/quitButton1.png", "TitleScene/quitButton2.png",
                              Vec2(1180, 450), CC_CALLBACK_1(QuitPanel::quit, this), Controls::kQuit,
                              &PlateWords::kQuit);
    }
    PanelParts::show(panel, isOpen);
    update(0);
    if (isOpen)
        PauseTree::hold(title, held);
    else
        PauseTree::release(held);
}

void QuitPanel::back(Ref*) {
    if (!isOpen) return;
    PanelParts::playClick();
    toggle();
}

void QuitPanel::quit(Ref*) {
    if (!isOpen) return;
    PanelParts::playClick();
    Application::requestQuit();
}
