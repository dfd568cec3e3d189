#include "engine/scene/Sprite.h"

#include "engine/graphics/Renderer.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureCache.h"

namespace cocos2d {

namespace {
const std::string kNoFile;
}

Sprite::Sprite() {
    _anchorPoint = Vec2::ANCHOR_MIDDLE;
}

Sprite::~Sprite() {
    if (_texture) _texture->release();
}

Sprite* Sprite::create(const std::string& file) {
    auto* sprite = new Sprite();
    sprite->initWithFile(file);
    sprite->autorelease();
    return sprite;
}

bool Sprite::init() {
    return Node::init();
}

bool Sprite::initWithFile(const std::string& file) {
    Texture2D* texture = TextureCache::getInstance()->addImage(file);
    setTexture(texture);
    return texture != nullptr;
}

void Sprite::setTexture(Texture2D* texture) {
    if (texture == _texture) return;
    if (texture) texture->retain();
    if (_texture) _texture->release();
    _texture = texture;
    setContentSize(texture ? texture->getContentSize() : Size::ZERO);
}

const std::string& Sprite::getFileName() const {
    return _texture ? _texture->getName() : kNoFile;
}

void Sprite::draw(Renderer& renderer, const AffineTransform& transform, uint8_t opacity,
                  const Color3B& color) {
    renderer.drawTexture(_texture, transform, Rect(0, 0, _contentSize.width, _contentSize.height), color,
                         opacity);
}

} // namespace cocos2d
