#include "engine/input/Badges.h"

#include "engine/graphics/Renderer.h"
#include "engine/scene/Label.h"
#include "engine/scene/Sprite.h"

namespace cocos2d {

namespace {
constexpr float kTextSize = 38;
const Color3B kKeyInk(28, 20, 54);
} // namespace

void Badges::draw(Renderer& renderer, const std::vector<Badge>& badges) const {
    for (const auto& badge : badges) {
        Sprite* picture = Sprite::create(badge.picture);
        if (!picture) continue;
        picture->setPosition(badge.where);
        picture->visit(renderer, AffineTransform::IDENTITY, 255, Color3B::WHITE);
        if (badge.text.empty() || _font.empty()) continue;
        Label* label = Label::createWithTTF(badge.text, _font, kTextSize);
        label->setAnchorPoint(Vec2(0.5f, 0.5f));
        label->setColor(kKeyInk);
        // The cap's face sits a little above its middle.
        label->setPosition(badge.where.x, badge.where.y + 4);
        label->visit(renderer, AffineTransform::IDENTITY, 255, Color3B::WHITE);
    }
}

} // namespace cocos2d
