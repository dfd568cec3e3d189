#include "engine/input/Highlight.h"

#include <cmath>

namespace cocos2d {

namespace {
// Buttons this far apart across a step are in one row.
constexpr float kRowSlack = 60;
} // namespace

const Highlight::Item* Highlight::current(const std::vector<Item>& items) const {
    if (items.empty()) return nullptr;
    for (const auto& item : items)
        if (item.control == _control) return &item;
    return &items.front();
}

void Highlight::move(const std::vector<Item>& items, const Vec2& direction) {
    const Item* from = current(items);
    if (!from) return;
    const float length = std::hypot(direction.x, direction.y);
    if (length <= 0) return;
    const Vec2 d(direction.x / length, direction.y / length);
    // Menus are laid out in rows: a step along a row goes to the next button in it; a step
    // across rows goes to the next row, to its button nearest in line.
    const bool alongRow = std::abs(d.x) > std::abs(d.y);
    const Item* best = nullptr;
    float bestAhead = 0, bestAside = 0;
    for (const auto& item : items) {
        const Vec2 to = item.where - from->where;
        const float ahead = to.x * d.x + to.y * d.y;
        const float aside = std::abs(to.x * d.y - to.y * d.x);
        if (ahead <= kRowSlack && !(alongRow && ahead > 1)) continue;
        if (alongRow && aside > kRowSlack) continue;
        const bool nearerRow = !best || ahead < bestAhead - kRowSlack;
        const bool sameRow = best && std::abs(ahead - bestAhead) <= kRowSlack;
        if (nearerRow || (sameRow && (alongRow ? ahead < bestAhead : aside < bestAside))) {
            best = &item;
            bestAhead = ahead;
            bestAside = aside;
        }
    }
    _control = best ? best->control : from->control;
}

} // namespace cocos2d
