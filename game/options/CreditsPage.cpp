#include "game/options/CreditsPage.h"

#include "game/common/Controls.h"
#include "game/common/GameTexts.h"
#include "game/options/CreditsText.h"
#include "game/options/OptionButton.h"

#include <algorithm>
#include <new>

USING_NS_CC;

namespace {
// The lines show between the heading and BACK, fading out at either edge.
constexpr float kTop = 930, kBottom = 150, kFade = 70;
constexpr float kWidth = 1700;
} // namespace

CreditsPage* CreditsPage::create(std::function<void()> onClose) {
    auto* page = new (std::nothrow) CreditsPage();
    if (page && page->initWithClose(std::move(onClose))) {
        page->autorelease();
        return page;
    }
    delete page;
    return nullptr;
}

CreditsPage::~CreditsPage() = default;

bool CreditsPage::initWithClose(std::function<void()> close) {
    if (!Node::init()) return false;
    onClose = std::move(close);
    if (auto* dim = Sprite::create("GameScene/black2.png")) {
        dim->setPosition(kScreenCentre);
        dim->setOpacity(245);
        addChild(dim);
    }
    auto* heading = Label::createWithTTF(GameTexts::tr(GameTexts::kCredits), kGameFont, 72);
    heading->setPosition(960, 1010);
    addChild(heading, 1);

    column = Node::create();
    addChild(column);
    float y = 0;
    for (const auto& line : CreditsText::lines()) {
        using K = CreditsText::Line::Kind;
        const float size = line.kind == K::Title ? 64 : line.kind == K::Heading ? 46 : 36;
        y -= line.kind == K::Gap ? 50 : size * 1.5f;
        if (line.kind == K::Gap) continue;
        auto* label = Label::createWithTTF(line.text, kGameFont, size);
        label->setPosition(960, y);
        if (line.kind == K::Heading) label->setColor(Color3B(255, 226, 64));
        OptionButton::fit(label, kWidth);
        column->addChild(label);
    }
    height = -y;

    OptionButton::add(this, OptionButton::kPlain, GameTexts::tr(GameTexts::kBackItem), Vec2(960, 75), 0.7f,
                      CC_CALLBACK_1(CreditsPage::back, this), Controls::kOptionsBack);

    // A drag moves the lines with the finger or the mouse.
    auto* listener = EventListenerTouchOneByOne::create();
    listener->setSwallowTouches(true);
    listener->onTouchBegan = [this](Touch*, Event*) { return isShown(); };
    listener->onTouchMoved = [this](Touch* touch, Event*) {
        scrollBy(touch->getLocation().y - touch->getPreviousLocation().y);
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, this);
    // The top of the page first, still for a moment.
    restFor = kRestSeconds;
    place();
    scheduleUpdate();
    return true;
}

void CreditsPage::onEnter() {
    Node::onEnter();
    InputMap* map = InputMap::getInstance();
    map->setAction(Controls::kScrollUp, [this] { scrollBy(-kStep); });
    map->setAction(Controls::kScrollDown, [this] { scrollBy(kStep); });
}

void CreditsPage::onExit() {
    InputMap* map = InputMap::getInstance();
    map->setAction(Controls::kScrollUp, nullptr);
    map->setAction(Controls::kScrollDown, nullptr);
    Node::onExit();
}

void CreditsPage::update(float dt) {
    if (restFor > 0) {
        restFor = std::max(0.0f, restFor - dt);
    } else {
        offset += kRollPerSecond * dt;
        // Once the last line has gone by, the first comes up again from below.
        if (offset > height) offset = kBottom - kTop;
    }
    place();
}

void CreditsPage::scrollBy(float units) {
    offset = std::clamp(offset + units, kBottom - kTop, height);
    restFor = kRestSeconds;
    place();
}

void CreditsPage::place() {
    // At 0 the first line is at the top of the window.
    column->setPosition(0, kTop + offset);
    for (auto* child : column->getChildren()) {
        const float y = column->getPositionY() + child->getPositionY();
        const float inside = std::min(kTop - y, y - kBottom);
        child->setVisible(inside > 0);
        child->setOpacity(static_cast<uint8_t>(255 * std::clamp(inside / kFade, 0.0f, 1.0f)));
    }
}

void CreditsPage::back(Ref*) {
    if (onClose) onClose();
}
