#include "engine/scene/Label.h"

#include "engine/graphics/Renderer.h"
#include "engine/graphics/TextCache.h"
#include "engine/graphics/Texture2D.h"

#include <cmath>

namespace cocos2d {

Label::Label(TextHAlignment hAlignment, TextVAlignment vAlignment)
    : _hAlignment(hAlignment), _vAlignment(vAlignment) {
    _anchorPoint = Vec2::ANCHOR_MIDDLE;
}

Label::~Label() {
    if (_texture) _texture->release();
}

Label* Label::createWithTTF(const std::string& text, const std::string& fontFile, float fontSize,
                            const Size& dimensions, TextHAlignment hAlignment, TextVAlignment vAlignment) {
    auto* label = new Label(hAlignment, vAlignment);
    label->initWithTTF(text, fontFile, fontSize, dimensions, hAlignment, vAlignment);
    label->autorelease();
    return label;
}

bool Label::init() {
    return Node::init();
}

bool Label::initWithTTF(const std::string& text, const std::string& fontFile, float fontSize, const Size&,
                        TextHAlignment hAlignment, TextVAlignment vAlignment) {
    _fontFile = fontFile;
    _fontSize = static_cast<int>(std::lround(fontSize));
    _hAlignment = hAlignment;
    _vAlignment = vAlignment;
    _text = text;
    refresh();
    return true;
}

void Label::setString(const std::string& text) {
    if (text == _text) return;
    _text = text;
    refresh();
}

void Label::setLook(const TextLook& look) {
    _look = look;
    _looked = true;
    refresh();
}

void Label::refresh() {
    TextCache* cache = TextCache::getInstance();
    Texture2D* texture = _fontFile.empty() ? nullptr
                         : _looked         ? cache->render(_fontFile, _fontSize, _text, _look)
                                           : cache->render(_fontFile, _fontSize, _text);
    if (texture != _texture) {
        if (texture) texture->retain();
        if (_texture) _texture->release();
        _texture = texture;
    }
    setContentSize(_texture ? _texture->getContentSize() : Size::ZERO);
}

void Label::draw(Renderer& renderer, const AffineTransform& transform, uint8_t opacity,
                 const Color3B& color) {
    renderer.drawTexture(_texture, transform, Rect(0, 0, _contentSize.width, _contentSize.height), color,
                         opacity);
}

} // namespace cocos2d
