#include "engine/input/Badges.h"

#include "engine/graphics/Renderer.h"
#include "engine/scene/Label.h"
#include "engine/scene/Sprite.h"

namespace cocos2d {

namespace {
constexpr float kTextSize = 38;
// The cap's rim on both sides together, where no letter goes.
constexpr float kCapMargin = 28;
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
        // A key's name in a longer language ("Пробел") shrinks to stay on its cap.
        const float room = picture->getContentSize().width - kCapMargin;
        if (label->getContentSize().width > room) label->setScale(room / label->getContentSize().width);
        // The cap's face sits a little above its middle.
        label->setPosition(badge.where.x, badge.where.y + 4);
        label->visit(renderer, AffineTransform::IDENTITY, 255, Color3B::WHITE);
    }
}

} // namespace cocos2d
