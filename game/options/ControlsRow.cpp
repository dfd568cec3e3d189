#include "game/options/ControlsRow.h"

#include "engine/scene/ColorRect.h"

#include "game/common/GameTexts.h"
#include "game/common/PanelParts.h"
#include "game/common/PlayerBindings.h"

#include <algorithm>
#include <new>

USING_NS_CC;

namespace {
// The badges at a little over half their size beside the buttons; the bar's picture, unseen,
// takes the clicks and the highlight.
constexpr float kBadgeScale = 0.55f;
constexpr float kNameSize = 30;
constexpr float kNameWidth = 470;
const Vec2 kKeyAt(150, 0), kPadAt(380, 0);
const Color3B kKeyInk(28, 20, 54);
constexpr const char* kBar = "GameScene/black2.png";

// A label no wider than `width`: a long name in a long language shrinks rather than overflow.
Label* fitted(const std::string& text, float size, float width) {
    auto* label = Label::createWithTTF("", kGameFont, size);
    PanelParts::setFittedText(label, text, width);
    return label;
}
} // namespace

std::string ControlsRow::menuControl(const std::string& control) {
    return "controlsRow." + control;
}

ControlsRow* ControlsRow::create(const std::string& control, const ccMenuCallback& picked) {
    auto* row = new (std::nothrow) ControlsRow();
    if (row && row->initWithControl(control, picked)) {
        row->autorelease();
        return row;
    }
    delete row;
    return nullptr;
}

bool ControlsRow::initWithControl(const std::string& theControl, const ccMenuCallback& picked) {
    if (!Node::init()) return false;
    control = theControl;
    bar = MenuItemImage::create(kBar, kBar, picked);
    if (!bar) return false;
    const Size picture = bar->getContentSize();
    bar->setScaleX(kWidth / std::max(1.0f, picture.width));
    bar->setScaleY(kHeight / std::max(1.0f, picture.height));
    bar->setOpacity(0);
    InputMap::getInstance()->attach(menuControl(control), bar);
    addChild(ColorRect::create(Size(kWidth, kHeight), Color3B(70, 56, 130), 200));
    auto* menu = Menu::create(bar);
    menu->setPosition(Vec2::ZERO);
    addChild(menu);
    badges = Node::create();
    addChild(badges, 1);
    show(false);
    return true;
}

void ControlsRow::show(bool waiting) {
    if (name) name->removeFromParent();
    name = fitted(PlayerBindings::nameOf(control), kNameSize, kNameWidth);
    name->setAnchorPoint(Vec2(0, 0.5f));
    name->setPosition(-kWidth / 2 + 20, 0);
    addChild(name, 1);
    badges->removeAllChildrenWithCleanup(true);
    const InputMap* map = InputMap::getInstance();
    std::string picture;
    keyText.clear();
    padPicture.clear();
    if (waiting) {
        auto* prompt = fitted(GameTexts::tr(GameTexts::kPressKey), kNameSize, kWidth / 2 - 20);
        prompt->setColor(Color3B(255, 226, 64));
        prompt->setPosition(kKeyAt.x + 80, 0);
        badges->addChild(prompt);
        return;
    }
    if (map->keyBadge(control, picture, keyText))
        if (auto* cap = Sprite::create(picture)) {
            cap->setScale(kBadgeScale);
            cap->setPosition(kKeyAt);
            badges->addChild(cap);
            auto* label = Label::createWithTTF(keyText, kGameFont, 38 * kBadgeScale);
            label->setColor(kKeyInk);
            label->setPosition(kKeyAt.x, kKeyAt.y + 2);
            badges->addChild(label);
        }
    if (map->padBadge(control, padPicture))
        if (auto* button = Sprite::create(padPicture)) {
            button->setScale(kBadgeScale);
            button->setPosition(kPadAt);
            badges->addChild(button);
        }
}
