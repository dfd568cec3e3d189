#include "Highlight.h"

#include <cmath>

namespace cocos2d {

const Highlight::Item* Highlight::current(const std::vector<Item>& items, const void* scene) const {
    if (items.empty()) return nullptr;
    if (scene == _scene)
        for (const auto& item : items)
            if (item.control == _control) return &item;
    return &items.front();
}

void Highlight::move(const std::vector<Item>& items, const void* scene, const Vec2& direction) {
    const Item* from = current(items, scene);
    if (!from) return;
    const float length = std::hypot(direction.x, direction.y);
    if (length <= 0) return;
    const Vec2 d(direction.x / length, direction.y / length);
    // The nearest item ahead, where straight ahead counts for more than off to a side.
    const Item* best = nullptr;
    float bestScore = 0;
    for (const auto& item : items) {
        const Vec2 to = item.where - from->where;
        const float ahead = to.x * d.x + to.y * d.y;
        const float aside = std::abs(to.x * d.y - to.y * d.x);
        // Within a wide cone ahead: a step down does not land on a button off to the side.
        if (ahead <= 1 || aside > 2 * ahead) continue;
        const float score = ahead + 2 * aside;
        if (!best || score < bestScore) {
            best = &item;
            bestScore = score;
        }
    }
    _scene = scene;
    _control = best ? best->control : from->control;
}

} // namespace cocos2d
