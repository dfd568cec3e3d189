#include "engine/scene/MenuItemImage.h"

#include "engine/graphics/Renderer.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureCache.h"

#include <algorithm>

namespace cocos2d {

MenuItemImage::MenuItemImage() {
    _anchorPoint = Vec2::ANCHOR_MIDDLE;
    _cascadeOpacity = true;
    _cascadeColor = true;
}

MenuItemImage::~MenuItemImage() {
    if (_normal) _normal->release();
    if (_selectedTexture) _selectedTexture->release();
}

MenuItemImage* MenuItemImage::create(const std::string& normalImage, const std::string& selectedImage,
                                     const ccMenuCallback& callback) {
    auto* item = new MenuItemImage();
    item->_callback = callback;
    item->_normalFile = normalImage;
    item->_selectedFile = selectedImage;
    item->_normal = TextureCache::getInstance()->addImage(normalImage);
    item->_selectedTexture = TextureCache::getInstance()->addImage(selectedImage);
    if (item->_normal) {
        item->_normal->retain();
        item->setContentSize(item->_normal->getContentSize());
    }
    if (item->_selectedTexture) item->_selectedTexture->retain();
    item->autorelease();
    return item;
}

void MenuItemImage::selected() {
    _selected = true;
}
void MenuItemImage::unselected() {
    _selected = false;
}

void MenuItemImage::activate() {
    if (!_enabled || !_callback) return;
    // The callback may replace the scene and with it this item.
    retain();
    auto callback = _callback;
    callback(this);
    release();
}

bool MenuItemImage::containsWorldPoint(const Vec2& worldPoint) const {
    const Vec2 local = convertToNodeSpace(worldPoint);
    const float w = std::max(_contentSize.width, _hitSize.width),
                h = std::max(_contentSize.height, _hitSize.height);
    return Rect((_contentSize.width - w) / 2, (_contentSize.height - h) / 2, w, h).containsPoint(local);
}

void MenuItemImage::draw(Renderer& renderer, const AffineTransform& transform, uint8_t opacity,
                         const Color3B& color) {
    Texture2D* texture = _selected && _selectedTexture ? _selectedTexture : _normal;
    if (!texture) return;
    // The pressed picture is centred on the normal one, whatever its size.
    const Size s = texture->getContentSize();
    const Rect area((_contentSize.width - s.width) / 2, (_contentSize.height - s.height) / 2, s.width,
                    s.height);
    renderer.drawTexture(texture, transform, area, color, opacity);
}

} // namespace cocos2d
