#include "InputMap.h"

#include "Director.h"
#include "Log.h"
#include "MenuItemImage.h"
#include "Node.h"
#include "Renderer.h"
#include "TransitionFade.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>

namespace cocos2d {

namespace {

// Half a badge's picture: a key cap or pad button, and a wide key cap.
constexpr float kBadgeHalf = 42;
constexpr float kWideBadgeHalf = 110;

// Touch ids for inputs start here, far from the mouse (0) and fingers.
constexpr int kFirstInputTouch = 1 << 20;
constexpr int kLastInputTouch = 1 << 29;

// Held sources: a key by scancode, a pad button by pad and button.
constexpr int kPadSource = 1 << 12;
int padSource(int pad, int button) {
    return kPadSource + pad * SDL_CONTROLLER_BUTTON_MAX + button;
}

int scancodeOf(const std::string& name) {
    return static_cast<int>(SDL_GetScancodeFromName(name.c_str()));
}
int keycodeOf(const std::string& name) {
    return static_cast<int>(SDL_GetKeyFromName(name.c_str()));
}
int padButtonOf(const std::string& name) {
    return static_cast<int>(SDL_GameControllerGetButtonFromString(name.c_str()));
}

Vec2 unit(const Vec2& v) {
    const float length = std::hypot(v.x, v.y);
    return length > 0 ? Vec2(v.x / length, v.y / length) : Vec2();
}

} // namespace

InputBinding InputBinding::key(std::string name, bool alt) {
    InputBinding b;
    b.kind = Kind::Key;
    b.name = std::move(name);
    b.alt = alt;
    return b;
}

InputBinding InputBinding::label(std::string name) {
    InputBinding b = key(std::move(name));
    b.byLabel = true;
    return b;
}

InputBinding InputBinding::padButton(std::string name) {
    InputBinding b;
    b.kind = Kind::PadButton;
    b.name = std::move(name);
    return b;
}

InputBinding InputBinding::stickToward(const Vec2& direction) {
    InputBinding b;
    b.kind = Kind::Stick;
    b.direction = direction;
    return b;
}

InputBinding InputBinding::dpadToward(int dx, int dy) {
    InputBinding b;
    b.kind = Kind::Dpad;
    b.direction = Vec2(static_cast<float>(dx), static_cast<float>(dy));
    return b;
}

InputBinding InputBinding::padUnplugged() {
    InputBinding b;
    b.kind = Kind::PadUnplugged;
    return b;
}

InputMap* InputMap::getInstance() {
    // Never destroyed: nodes released during static destruction still reach it.
    static InputMap* map = new InputMap();
    return map;
}

void InputMap::bind(const std::string& control, std::vector<InputBinding> inputs, bool repeats) {
    for (const auto& input : inputs) {
        const bool unknown = (input.kind == InputBinding::Kind::Key &&
                              (input.byLabel ? keycodeOf(input.name) : scancodeOf(input.name)) == 0) ||
                             (input.kind == InputBinding::Kind::PadButton &&
                              padButtonOf(input.name) == SDL_CONTROLLER_BUTTON_INVALID);
        if (unknown) warn("input map: no such input \"%s\" for %s", input.name.c_str(), control.c_str());
    }
    for (auto& c : _controls)
        if (c.name == control) {
            c.inputs = std::move(inputs);
            c.repeats = repeats;
            return;
        }
    _controls.push_back({control, std::move(inputs), nullptr, repeats});
}

void InputMap::clearBindings() {
    std::erase_if(_controls, [](const Control& c) { return !c.action; });
    for (auto& c : _controls) {
        c.inputs.clear();
        c.repeats = false;
    }
    _menu.clear();
    _highlight = Highlight();
    _hands = Hands::Pointer;
    _badgeLike.clear();
}

const std::vector<InputBinding>* InputMap::bindingsOf(const std::string& control) const {
    for (const auto& c : _controls)
        if (c.name == control) return &c.inputs;
    return nullptr;
}

void InputMap::attach(const std::string& control, MenuItemImage* item) {
    if (!item) return;
    item->_inputAttached = true;
    _targets.push_back({control, item, item, Vec2()});
}

void InputMap::attachPoint(const std::string& control, Node* holder, const Vec2& worldPoint) {
    if (!holder) return;
    holder->_inputAttached = true;
    _targets.push_back({control, holder, nullptr, worldPoint});
}

void InputMap::setAction(const std::string& control, std::function<void()> action) {
    for (auto& c : _controls)
        if (c.name == control) {
            c.action = std::move(action);
            return;
        }
    _controls.push_back({control, {}, std::move(action), false});
}

void InputMap::forget(const Node* node) {
    std::erase_if(_targets, [node](const Target& t) { return t.node == node; });
}

bool InputMap::pressPoint(const std::string& control, Vec2& where) const {
    if (control == kConfirm) {
        const auto items = menuItems();
        const Highlight::Item* on = _highlight.current(items, Director::getInstance()->getRunningScene());
        if (on) where = on->where;
        return on != nullptr;
    }
    return pressPointOf(control, where, nullptr);
}

bool InputMap::pressPointOf(const std::string& control, Vec2& where, MenuItemImage** item) const {
    // The newest target wins: a button redrawn with a new picture lies on top of its old ones.
    for (auto it = _targets.rbegin(); it != _targets.rend(); ++it) {
        if (it->control != control) continue;
        const Node* node = it->node;
        if (!node->isRunning() || !node->isShown() || node->isPausedForScheduling()) continue;
        if (!it->item) {
            where = it->point;
            return !item; // a point is no button of a menu
        }
        if (!it->item->isEnabled()) continue;
        const Size s = it->item->getContentSize();
        where = it->item->convertToWorldSpace(Vec2(s.width / 2, s.height / 2));
        if (item) *item = it->item;
        return true;
    }
    return false;
}

void InputMap::setMenu(std::vector<std::string> controls) {
    _menu = std::move(controls);
}

std::vector<Highlight::Item> InputMap::menuItems() const {
    std::vector<Highlight::Item> items;
    for (const auto& control : _menu) {
        Highlight::Item item{control, Vec2(), nullptr};
        if (pressPointOf(control, item.where, &item.item)) items.push_back(item);
    }
    return items;
}

const MenuItemImage* InputMap::highlighted() const {
    const auto items = menuItems();
    const Highlight::Item* on = _highlight.current(items, Director::getInstance()->getRunningScene());
    return on ? on->item : nullptr;
}

void InputMap::drawHighlight(Renderer& renderer) const {
    const MenuItemImage* item = isPointerInUse() || !sceneSettled() ? nullptr : highlighted();
    if (!item) return;
    // A frame round the button, clear of its edge.
    constexpr float kGap = 10, kLine = 8;
    const Size s = item->getContentSize();
    const Vec2 a = item->convertToWorldSpace(Vec2(0, 0)),
               b = item->convertToWorldSpace(Vec2(s.width, s.height));
    const float x0 = std::min(a.x, b.x) - kGap - kLine, x1 = std::max(a.x, b.x) + kGap + kLine;
    const float y0 = std::min(a.y, b.y) - kGap - kLine, y1 = std::max(a.y, b.y) + kGap + kLine;
    const Color3B colour(255, 226, 64);
    renderer.fillRect(Rect(x0, y0, x1 - x0, kLine), colour, 255);
    renderer.fillRect(Rect(x0, y1 - kLine, x1 - x0, kLine), colour, 255);
    renderer.fillRect(Rect(x0, y0, kLine, y1 - y0), colour, 255);
    renderer.fillRect(Rect(x1 - kLine, y0, kLine, y1 - y0), colour, 255);
}

void InputMap::runAction(const std::string& control) const {
    for (const auto& c : _controls)
        if (c.name == control && c.action) c.action();
}

bool InputMap::sceneSettled() {
    const Node* scene = Director::getInstance()->getRunningScene();
    return scene && !dynamic_cast<const TransitionFade*>(scene);
}

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
        if (_hands == Hands::Keys && b.kind == InputBinding::Kind::Key && !b.alt) {
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

namespace {
bool isMenuMove(const std::string& control) {
    return control == InputMap::kMenuUp || control == InputMap::kMenuDown || control == InputMap::kMenuLeft ||
           control == InputMap::kMenuRight;
}
} // namespace

bool InputMap::available(const Control& control) const {
    Vec2 where;
    if (isMenuMove(control.name)) return !menuItems().empty();
    return control.action || pressPoint(control.name, where);
}

const InputMap::Control* InputMap::controlFor(const Match& match) const {
    for (const auto& c : _controls)
        if (std::any_of(c.inputs.begin(), c.inputs.end(), match) && available(c)) return &c;
    return nullptr;
}

bool InputMap::begin(const Match& match, std::pair<int, Vec2>& touch) {
    const Control* control = controlFor(match);
    if (!control) return false;
    if (isMenuMove(control->name)) {
        const Vec2 step = control->name == kMenuUp     ? Vec2(0, 1)
                          : control->name == kMenuDown ? Vec2(0, -1)
                          : control->name == kMenuLeft ? Vec2(-1, 0)
                                                       : Vec2(1, 0);
        if (_hands == Hands::Pointer) _hands = Hands::Keys;
        _highlight.move(menuItems(), Director::getInstance()->getRunningScene(), step);
        return false;
    }
    if (control->action) {
        control->action();
        return false;
    }
    pressPoint(control->name, touch.second);
    touch.first = nextTouchId();
    Director::getInstance()->touchBegan(touch.first, touch.second);
    return true;
}

void InputMap::press(int source, const Match& match) {
    std::pair<int, Vec2> touch;
    if (!_held.count(source) && begin(match, touch)) _held[source] = touch;
}

void InputMap::release(int source) {
    auto it = _held.find(source);
    if (it == _held.end()) return;
    const auto [touch, where] = it->second;
    _held.erase(it);
    // A touch cancelled meanwhile (a scene change, focus lost) is unknown by now: nothing happens.
    Director::getInstance()->touchEnded(touch, where);
}

int InputMap::nextTouchId() {
    if (_nextTouch >= kLastInputTouch) _nextTouch = kFirstInputTouch;
    return _nextTouch++;
}

void InputMap::tap(const Match& match) {
    std::pair<int, Vec2> touch;
    if (begin(match, touch)) Director::getInstance()->touchEnded(touch.first, touch.second);
}

void InputMap::keyChanged(int scancode, int keycode, bool alt, bool pressed) {
    if (!pressed) {
        release(scancode);
        return;
    }
    auto keyIs = [scancode, keycode](const InputBinding& b) {
        return b.kind == InputBinding::Kind::Key &&
               (b.byLabel ? keycodeOf(b.name) == keycode : scancodeOf(b.name) == scancode);
    };
    // With Alt held, a binding that asks for Alt wins over the plain key.
    if (alt && controlFor([&](const InputBinding& b) { return keyIs(b) && b.alt; })) {
        press(scancode, [&](const InputBinding& b) { return keyIs(b) && b.alt; });
        return;
    }
    press(scancode, [&](const InputBinding& b) { return keyIs(b) && !b.alt; });
}

void InputMap::keyRepeated(int scancode, int keycode, bool alt) {
    const Control* control = controlFor([&](const InputBinding& b) {
        return b.kind == InputBinding::Kind::Key && b.alt == alt &&
               (b.byLabel ? keycodeOf(b.name) == keycode : scancodeOf(b.name) == scancode);
    });
    if (control && control->repeats && control->action) control->action();
}

void InputMap::padButtonChanged(int pad, int button, bool pressed) {
    const int source = padSource(pad, button);
    if (!pressed) {
        release(source);
        return;
    }
    press(source, [button](const InputBinding& b) {
        return b.kind == InputBinding::Kind::PadButton && padButtonOf(b.name) == button;
    });
}

void InputMap::stickFlicked(const Vec2& direction) {
    // The nearest direction bound to a stick among the controls that can act now: the ring's
    // six in play, a menu's four steps elsewhere.
    const Vec2 toward = unit(direction);
    const InputBinding* nearest = nullptr;
    float best = -2;
    for (const auto& c : _controls) {
        if (!available(c)) continue;
        for (const auto& b : c.inputs) {
            if (b.kind != InputBinding::Kind::Stick) continue;
            const Vec2 d = unit(b.direction);
            const float dot = d.x * toward.x + d.y * toward.y;
            if (dot > best) {
                best = dot;
                nearest = &b;
            }
        }
    }
    if (!nearest) return;
    tap([nearest](const InputBinding& b) { return &b == nearest; });
}

void InputMap::dpadPressed(int dx, int dy) {
    const Vec2 d(static_cast<float>(dx), static_cast<float>(dy));
    tap([d](const InputBinding& b) {
        return b.kind == InputBinding::Kind::Dpad && b.direction.x == d.x && b.direction.y == d.y;
    });
}

void InputMap::padUnplugged() {
    tap([](const InputBinding& b) { return b.kind == InputBinding::Kind::PadUnplugged; });
}

void InputMap::rumble(float strength, float seconds) const {
    if (_rumbler) _rumbler(strength, seconds);
}

void InputMap::setRumbler(std::function<void(float, float)> rumbler) {
    _rumbler = std::move(rumbler);
}

void InputMap::releaseAll() {
    // Let go without pressing: a press that ends this way never fires.
    Director* director = Director::getInstance();
    for (const auto& [source, held] : _held)
        director->cancelTouch(held.first);
    _held.clear();
}

void InputMap::releasePad(int pad) {
    Director* director = Director::getInstance();
    for (auto it = _held.begin(); it != _held.end();) {
        const int source = it->first;
        if (source >= padSource(pad, 0) && source < padSource(pad + 1, 0)) {
            director->cancelTouch(it->second.first);
            it = _held.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace cocos2d
