// The input map's prompt badges: which key or pad button each button on screen shows, and where.
#include "InputMap.h"

#include "Director.h"
#include "MenuItemImage.h"

#include <SDL.h>
#include <algorithm>

namespace cocos2d {

namespace {
// Half a badge's picture: a key cap or pad button, and a wide key cap.
constexpr float kBadgeHalf = 42;
constexpr float kWideBadgeHalf = 110;
} // namespace

void InputMap::setHands(Hands hands, const std::string& padFamily) {
    _hands = hands;
    if (!padFamily.empty()) _padFamily = padFamily;
}

void InputMap::setBadgePictures(const std::string& prefix, const std::string& font) {
    _badgePrefix = prefix;
    _badges.setFont(font);
}

void InputMap::setBadgeLike(const std::string& control, const std::string& like) {
    _badgeLike[control] = like;
}

std::string InputMap::keyLabel(const InputBinding& key) {
    if (key.byLabel) return key.name;
    const SDL_Keycode code = SDL_GetKeyFromScancode(SDL_GetScancodeFromName(key.name.c_str()));
    std::string name = code == SDLK_UNKNOWN ? "" : SDL_GetKeyName(code);
    if (name.empty()) name = key.name;
    // The short names printed on most keyboards.
    if (name == "Return") return "Enter";
    if (name == "Escape") return "Esc";
    if (name == "Backspace") return "BkSp";
    return name;
}

bool InputMap::badgeOf(const std::string& control, std::string& picture, std::string& text) const {
    const auto like = _badgeLike.find(control);
    const std::vector<InputBinding>* inputs = bindingsOf(like == _badgeLike.end() ? control : like->second);
    if (!inputs || _hands == Hands::Pointer) return false;
    text.clear();
    for (const auto& b : *inputs) {
        if (_hands == Hands::Keys && b.kind == InputBinding::Kind::Key && !b.alt &&
            std::find(_keptKeys.begin(), _keptKeys.end(), b.name) == _keptKeys.end()) {
            text = keyLabel(b);
            picture = _badgePrefix + (text.size() <= 2 ? "key" : "keyWide") + ".png";
            return true;
        }
        if (_hands == Hands::Pad && b.kind == InputBinding::Kind::PadButton) {
            picture = _badgePrefix + _padFamily + "_" + b.name + ".png";
            return true;
        }
    }
    // A pad without a button for it: the D-pad's direction, if it has one.
    for (const auto& b : *inputs)
        if (_hands == Hands::Pad && b.kind == InputBinding::Kind::Dpad) {
            picture = _badgePrefix + "dpad_" + std::to_string(static_cast<int>(b.direction.x)) + "_" +
                      std::to_string(static_cast<int>(b.direction.y)) + ".png";
            return true;
        }
    return false;
}

std::vector<Badge> InputMap::badges() const {
    std::vector<Badge> out;
    if (_hands == Hands::Pointer || _badgePrefix.empty() || !sceneSettled()) return out;
    std::vector<std::string> seen;
    for (auto it = _targets.rbegin(); it != _targets.rend(); ++it) {
        if (std::find(seen.begin(), seen.end(), it->control) != seen.end()) continue;
        seen.push_back(it->control);
        Badge badge{it->control, "", "", Vec2()};
        MenuItemImage* item = nullptr;
        if (!pressPointOf(it->control, badge.where, &item) &&
            !pressPointOf(it->control, badge.where, nullptr))
            continue;
        if (!badgeOf(it->control, badge.picture, badge.text)) continue;
        if (item) {
            // On the button's top right corner, where no picture of ours has anything to read;
            // at the screen's right edge, its top left.
            const Size size = item->getContentSize();
            const Vec2 a = item->convertToWorldSpace(Vec2(0, 0)),
                       b = item->convertToWorldSpace(Vec2(size.width, size.height));
            const float half = badge.text.size() > 2 ? kWideBadgeHalf : kBadgeHalf;
            const float right = std::max(a.x, b.x), left = std::min(a.x, b.x), top = std::max(a.y, b.y);
            const Size screen = Director::getInstance()->getWinSize();
            badge.where = Vec2(right - 8 + half > screen.width ? left + 8 - half : right - 8,
                               std::min(top - 8, screen.height - kBadgeHalf));
        }
        out.push_back(badge);
    }
    return out;
}

void InputMap::drawBadges(Renderer& renderer) const {
    _badges.draw(renderer, badges());
}

} // namespace cocos2d
