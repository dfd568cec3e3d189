#include "game/common/PanelParts.h"

#include "engine/audio/SimpleAudioEngine.h"

USING_NS_CC;

namespace PanelParts {

Node* create() {
    CocosDenshion::SimpleAudioEngine::getInstance()->preloadEffect(kClick);
    auto* panel = Node::create();
    panel->setVisible(false);
    return panel;
}

void fill(Node* panel, const char* plate, uint8_t dimOpacity) {
    if (auto* dim = Sprite::create("GameScene/black2.png")) {
        dim->setPosition(kScreenCentre);
        dim->setOpacity(dimOpacity);
        panel->addChild(dim);
    }
    if (auto* picture = Sprite::create(plate)) {
        picture->setPosition(kScreenCentre);
        panel->addChild(picture);
    }
}

Label* addText(Node* panel, const std::string& text, float size, const Vec2& at) {
    auto* label = Label::createWithTTF(text, kGameFont, size);
    label->setAnchorPoint(Vec2(0.5f, 0.5f));
    label->setPosition(at);
    panel->addChild(label);
    return label;
}

void setFittedText(Label* label, const std::string& text, float width) {
    label->setString(text);
    label->setScale(1);
    const float wide = label->getContentSize().width;
    if (wide > width) label->setScale(width / wide);
}

MenuItemImage* addButton(Node* panel, const char* picture, const char* pressed, const Vec2& at,
                         const ccMenuCallback& callback, const char* control, const PlateWord* word) {
    auto* item = MenuItemImage::create(picture, pressed, callback);
    if (word) PlateLabel::onButton(item, *word);
    InputMap::getInstance()->attach(control, item);
    auto* menu = Menu::create(item);
    menu->setPosition(at);
    panel->addChild(menu, 1);
    return item;
}

void playClick() {
    CocosDenshion::SimpleAudioEngine::getInstance()->playEffect(kClick, false, 1.0f, 0.0f, 1.0f);
}

void show(Node* panel, bool shown) {
    panel->setVisible(shown);
    if (shown) InputMap::getInstance()->restartHighlight();
}

} // namespace PanelParts
