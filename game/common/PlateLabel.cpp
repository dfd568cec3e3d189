#include "game/common/PlateLabel.h"

#include "game/common/GameTexts.h"
#include "game/common/Language.h"

#include <algorithm>
#include <cmath>

USING_NS_CC;

namespace {
// The pictures' outline colour.
const Color3B kInk(28, 20, 54);
// The font's capitals sit this share of the size below the middle of its line.
constexpr float kCapDrop = 0.055f;
// The pixel font's strokes are thin for a sign: the face is laid a little around itself too.
constexpr float kBold = 0.03f;

// The pictures' lettering: the face on an ink outline, a little thickened.
TextLook lookOf(const PlateWord& word) {
    TextLook look;
    look.face = word.face;
    look.ink = kInk;
    look.outline = static_cast<int>(std::lround(word.outline));
    look.shadow = static_cast<int>(std::lround(word.shadow));
    look.bold = static_cast<int>(std::lround(word.size * kBold));
    return look;
}

} // namespace

PlateLabel* PlateLabel::create(const PlateWord& word) {
    return create(word, nullptr);
}

PlateLabel* PlateLabel::create(const PlateWord& word, std::function<std::string()> words) {
    auto* label = new PlateLabel();
    label->initWith(word, std::move(words));
    label->autorelease();
    return label;
}

PlateLabel* PlateLabel::onButton(MenuItemImage* item, const PlateWord& word) {
    auto* label = create(word);
    label->_button = item;
    item->addChild(label, 1);
    return label;
}

bool PlateLabel::initWith(const PlateWord& word, std::function<std::string()> words) {
    if (!Node::init()) return false;
    _word = word;
    _words = std::move(words);
    setPosition(word.centre);
    setRotation(word.rotation);
    setCascadeOpacityEnabled(true);
    _label = Label::createWithTTF("", kGameFont, word.size);
    _label->setLook(lookOf(word));
    addChild(_label);
    refresh();
    // Asked at each frame, and at each drawing for a plate whose scene stands paused under a panel.
    scheduleUpdate();
    return true;
}

float PlateLabel::fitFor(const PlateWord& word, const std::string& text) {
    auto* probe = Label::createWithTTF(text, kGameFont, word.size);
    probe->setLook(lookOf(word));
    const float width = probe->getContentSize().width;
    float fit = std::min(1.0f, word.box.height / (word.size + 2 * word.outline));
    if (width > 0) fit = std::min(fit, word.box.width / width);
    return fit;
}

void PlateLabel::setNumber(int n) {
    _number = n;
    _numbered = true;
    refresh();
}

void PlateLabel::refresh() {
    _generation = Language::generation();
    std::string text;
    if (_words)
        text = _words();
    else if (_word.plural)
        text = GameTexts::trn(_word.msgid, _word.plural, _numbered ? _number : 1);
    else
        text = GameTexts::tr(_word.context, _word.msgid);
    if (_numbered && !_word.plural) text = GameTexts::withNumber(text, _number);
    _text = text;
    _label->setString(_text);
    _fit = fitFor(_word, _text);
    const float roomForHeight = _word.box.height / (_word.size + 2 * _word.outline);
    _tall = std::min({1.0f, roomForHeight, std::max(_fit, kMinScale)});
    _label->setScaleX(_fit);
    _label->setScaleY(_tall);
    // The letters' corner on whole units, as every copy of them below: a prompt drawn at its own
    // size and half faded must not blend its copies across pixels.
    const float halfWidth = _label->getContentSize().width * _fit / 2;
    const float halfHeight = _label->getContentSize().height * _tall / 2;
    // The shadow hangs below the letters: their middle is above the picture's.
    const float lift = (_word.size * kCapDrop + _word.shadow / 2) * _tall;
    _label->setPosition(
        Vec2(halfWidth - std::round(halfWidth), std::round(lift) + halfHeight - std::round(halfHeight)));
}

void PlateLabel::update(float) {
    if (_generation != Language::generation()) refresh();
}

void PlateLabel::visit(Renderer& renderer, const AffineTransform& parentTransform, uint8_t parentOpacity,
                       const Color3B& parentColor) {
    if (_generation != Language::generation()) refresh();
    const float drop = _button && _button->isSelected() ? _word.pressedDrop : 0;
    setPosition(Vec2(_word.centre.x, _word.centre.y - drop));
    Node::visit(renderer, parentTransform, parentOpacity, parentColor);
}
