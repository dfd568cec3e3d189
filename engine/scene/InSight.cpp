#include "engine/scene/InSight.h"

#include "engine/scene/Label.h"
#include "engine/scene/MenuItemImage.h"
#include "engine/scene/Node.h"

#include <algorithm>

namespace cocos2d {

Rect boxOnScreen(const Node* node) {
    const Size size = node->getContentSize();
    const Vec2 corners[] = {node->convertToWorldSpace(Vec2(0, 0)),
                            node->convertToWorldSpace(Vec2(size.width, 0)),
                            node->convertToWorldSpace(Vec2(0, size.height)),
                            node->convertToWorldSpace(Vec2(size.width, size.height))};
    float left = corners[0].x, right = left, bottom = corners[0].y, top = bottom;
    for (const Vec2& c : corners) {
        left = std::min(left, c.x);
        right = std::max(right, c.x);
        bottom = std::min(bottom, c.y);
        top = std::max(top, c.y);
    }
    return Rect(left, bottom, right - left, top - bottom);
}

void inSight(const Node* node, std::vector<Rect>& found, bool activeOnly) {
    if (!node->isVisible() || (activeOnly && node->isPausedForScheduling())) return;
    const Size size = node->getContentSize();
    const bool read =
        node->isKeptInSight() || dynamic_cast<const Label*>(node) || dynamic_cast<const MenuItemImage*>(node);
    if (read && size.width > 0 && size.height > 0) found.push_back(boxOnScreen(node));
    for (const Node* child : node->getChildren())
        inSight(child, found, activeOnly);
}

bool overlaps(const Rect& a, const Rect& b) {
    return a.origin.x < b.origin.x + b.size.width && b.origin.x < a.origin.x + a.size.width &&
           a.origin.y < b.origin.y + b.size.height && b.origin.y < a.origin.y + a.size.height;
}

} // namespace cocos2d
