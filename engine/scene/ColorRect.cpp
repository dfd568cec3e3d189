#include "engine/scene/ColorRect.h"

#include "engine/graphics/Renderer.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace cocos2d {

ColorRect* ColorRect::create(const Size& size, const Color3B& color, uint8_t opacity) {
    auto* rect = new (std::nothrow) ColorRect();
    if (!rect || !rect->init()) {
        delete rect;
        return nullptr;
    }
    rect->setContentSize(size);
    rect->_fill = color;
    rect->_fillOpacity = opacity;
    rect->autorelease();
    return rect;
}

void ColorRect::draw(Renderer& renderer, const AffineTransform&, uint8_t opacity, const Color3B&) {
    const Size s = getContentSize();
    const Vec2 a = convertToWorldSpace(Vec2(-s.width / 2, -s.height / 2)),
               b = convertToWorldSpace(Vec2(s.width / 2, s.height / 2));
    const Rect area(std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y));
    renderer.fillRect(area, _fill, static_cast<uint8_t>(opacity * _fillOpacity / 255));
}

} // namespace cocos2d
