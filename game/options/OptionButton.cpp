#include "game/options/OptionButton.h"

USING_NS_CC;

namespace OptionButton {

namespace {
constexpr float kWordsSize = 46;
// The plate's face sits above its lip: the words go in the middle of the face.
constexpr float kFaceMiddle = 0.56f;
// Design units: 9 mm on a 7-inch screen.
constexpr float kFingerHigh = 124;
} // namespace

void fit(Label* label, float width, float drawnAt) {
    // Lettered at the size it shows at, then drawn at its own size: scaled letters would be
    // sampled unevenly from the font's pixel grid.
    const float base = 1 / drawnAt;
    label->setScale(base);
    const float wide = label->getContentSize().width * base;
    if (wide > width) label->setScale(base * width / wide);
}

MenuItemImage* add(Node* parent, const Plate& plate, const std::string& words, const Vec2& at, float scale,
                   const ccMenuCallback& callback, const char* control) {
    auto* item = MenuItemImage::create(plate.normal, plate.pressed, callback);
    item->setScale(scale);
    // However small it is drawn, a finger on a small screen can press it.
    item->setHitSize(Size(item->getContentSize().width, kFingerHigh / scale));
    auto* label = Label::createWithTTF(words, kGameFont, kWordsSize * scale);
    label->setAnchorPoint(Vec2(0.5f, 0.5f));
    const Size size = item->getContentSize();
    label->setPosition(size.width / 2, size.height * kFaceMiddle);
    fit(label, size.width * 0.86f, scale);
    item->addChild(label, 1);
    InputMap::getInstance()->attach(control, item);
    auto* menu = Menu::create(item);
    menu->setPosition(at);
    parent->addChild(menu, 1);
    return item;
}

void relabel(MenuItemImage* item, const std::string& words) {
    Label* label = nullptr;
    for (auto* child : item->getChildren())
        if (!label) label = dynamic_cast<Label*>(child);
    if (!label || label->getString() == words) return;
    label->setString(words);
    fit(label, item->getContentSize().width * 0.86f, item->getScale());
}

} // namespace OptionButton
