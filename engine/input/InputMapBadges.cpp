// The input map's prompt badges: which key or pad button each button on screen shows, and where.
#include "engine/input/InputMap.h"

#include "engine/base/PlayerTexts.h"
#include "engine/graphics/Texture2D.h"
#include "engine/graphics/TextureCache.h"
#include "engine/scene/Director.h"
#include "engine/scene/InSight.h"
#include "engine/scene/MenuItemImage.h"
#include "engine/scene/Scene.h"

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
    if (name == "Return") name = "Enter";
    if (name == "Escape") name = "Esc";
    if (name == "Backspace") name = "BkSp";
    const auto& cap = PlayerTexts::get().keyCap;
    return cap ? cap(name) : name;
}

bool InputMap::badgeOf(const std::string& control, std::string& picture, std::string& text) const {
    const auto like = _badgeLike.find(control);
    const std::vector<InputBinding>* inputs = bindingsOf(like == _badgeLike.end() ? control : like->second);
    if (!inputs || _hands == Hands::Pointer) return false;
    // Nothing used yet: a keyboard is the one thing sure to be there.
    const Hands hands = _hands == Hands::None ? Hands::Keys : _hands;
    text.clear();
    for (const auto& b : *inputs) {
        if (hands == Hands::Keys && b.kind == InputBinding::Kind::Key && !b.alt &&
            std::find(_keptKeys.begin(), _keptKeys.end(), b.name) == _keptKeys.end()) {
            text = keyLabel(b);
            picture = _badgePrefix + (text.size() <= 2 ? "key" : "keyWide") + ".png";
            return true;
        }
        if (hands == Hands::Pad && b.kind == InputBinding::Kind::PadButton) {
            picture = _badgePrefix + _padFamily + "_" + padButtonFor(_padFamily, b.name) + ".png";
            return true;
        }
    }
    // A pad without a button for it: the D-pad's direction, if it has one.
    for (const auto& b : *inputs)
        if (hands == Hands::Pad && b.kind == InputBinding::Kind::Dpad) {
            picture = _badgePrefix + "dpad_" + std::to_string(static_cast<int>(b.direction.x)) + "_" +
                      std::to_string(static_cast<int>(b.direction.y)) + ".png";
            return true;
        }
    return false;
}

bool InputMap::keyBadge(const std::string& control, std::string& picture, std::string& text) const {
    const InputBinding* key = playerInput(control, Device::Keys);
    if (!key) return false;
    text = keyLabel(*key);
    picture = _badgePrefix + (text.size() <= 2 ? "key" : "keyWide") + ".png";
    return true;
}

bool InputMap::padBadge(const std::string& control, std::string& picture) const {
    const InputBinding* button = playerInput(control, Device::Pad);
    if (!button) return false;
    picture = _badgePrefix + _padFamily + "_" + padButtonFor(_padFamily, button->name) + ".png";
    return true;
}

namespace {
// The room a badge keeps from its button: clear of the highlight's frame round it.
constexpr float kBesideGap = 20;

Size pictureSize(const std::string& picture, bool wide) {
    if (const Texture2D* texture = Director::getInstance()->getTextureCache()->addImage(picture))
        return texture->getContentSize();
    return Size(2 * (wide ? kWideBadgeHalf : kBadgeHalf), 2 * kBadgeHalf);
}

float overlapArea(const Rect& a, const std::vector<Rect>& others) {
    float area = 0;
    for (const Rect& o : others) {
        const float w =
            std::min(a.origin.x + a.size.width, o.origin.x + o.size.width) - std::max(a.origin.x, o.origin.x);
        const float h = std::min(a.origin.y + a.size.height, o.origin.y + o.size.height) -
                        std::max(a.origin.y, o.origin.y);
        if (w > 0 && h > 0) area += w * h;
    }
    return area;
}

// Beside the button (or the point) `box`: the first place round it, whole on screen, that
// covers no button, word or number nor another badge; failing that, the one on screen that
// covers least.
Vec2 besideOf(const Rect& box, const Size& badge, const Size& screen, const std::vector<Rect>& clear) {
    const float w = badge.width, h = badge.height, g = kBesideGap;
    const float x0 = box.origin.x, x1 = x0 + box.size.width, y0 = box.origin.y, y1 = y0 + box.size.height;
    const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const Vec2 places[] = {
        {x1 + g + w / 2, y1 - h / 2}, {x0 - g - w / 2, y1 - h / 2}, {x1 + g + w / 2, cy},
        {x0 - g - w / 2, cy},         {x1 - w / 2, y1 + g + h / 2}, {x0 + w / 2, y1 + g + h / 2},
        {cx, y1 + g + h / 2},         {x1 - w / 2, y0 - g - h / 2}, {x0 + w / 2, y0 - g - h / 2},
        {cx, y0 - g - h / 2},         {x1 + g + w / 2, y0 + h / 2}, {x0 - g - w / 2, y0 + h / 2}};
    const Vec2* best = nullptr;
    float least = 0;
    for (const Vec2& p : places) {
        const Rect r(p.x - w / 2, p.y - h / 2, w, h);
        if (r.origin.x < 0 || r.origin.y < 0 || r.origin.x + w > screen.width ||
            r.origin.y + h > screen.height)
            continue;
        const float covered = overlapArea(r, clear);
        if (covered <= 0) return p;
        if (!best || covered < least) {
            best = &p;
            least = covered;
        }
    }
    if (best) return *best;
    return Vec2(std::clamp(places[0].x, w / 2, screen.width - w / 2),
                std::clamp(places[0].y, h / 2, screen.height - h / 2));
}
} // namespace

std::vector<Badge> InputMap::badges() const {
    std::vector<Badge> out;
    if (_hands == Hands::Pointer || _badgePrefix.empty() || !sceneSettled()) return out;
    const Size screen = Director::getInstance()->getWinSize();
    std::vector<Rect> clear;
    inSight(Director::getInstance()->getRunningScene(), clear, true);
    std::vector<std::string> seen;
    for (auto it = _targets.rbegin(); it != _targets.rend(); ++it) {
        if (std::find(seen.begin(), seen.end(), it->control) != seen.end()) continue;
        seen.push_back(it->control);
        Badge badge{it->control, "", "", Vec2()};
        MenuItemImage* item = nullptr;
        const bool button = pressPointOf(it->control, badge.where, &item);
        if (button ? _hands == Hands::None : !pressPointOf(it->control, badge.where, nullptr)) continue;
        if (!badgeOf(it->control, badge.picture, badge.text)) continue;
        const Rect box = item ? boxOnScreen(item) : Rect(badge.where.x, badge.where.y, 0, 0);
        const Size size = pictureSize(badge.picture, badge.text.size() > 2);
        badge.where = besideOf(box, size, screen, clear);
        // The next badge keeps clear of this one too.
        clear.emplace_back(badge.where.x - size.width / 2, badge.where.y - size.height / 2, size.width,
                           size.height);
        out.push_back(badge);
    }
    return out;
}

void InputMap::drawBadges(Renderer& renderer) const {
    _badges.draw(renderer, badges());
}

} // namespace cocos2d
