#include "InputMap.h"

#include "Director.h"
#include "Log.h"
#include "MenuItemImage.h"
#include "Node.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>

namespace cocos2d {

namespace {

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

InputMap* InputMap::getInstance() {
    // Never destroyed: nodes released during static destruction still reach it.
    static InputMap* map = new InputMap();
    return map;
}

void InputMap::bind(const std::string& control, std::vector<InputBinding> inputs) {
    for (const auto& input : inputs) {
        const bool unknown = (input.kind == InputBinding::Kind::Key && scancodeOf(input.name) == 0) ||
                             (input.kind == InputBinding::Kind::PadButton &&
                              padButtonOf(input.name) == SDL_CONTROLLER_BUTTON_INVALID);
        if (unknown) warn("input map: no such input \"%s\" for %s", input.name.c_str(), control.c_str());
    }
    for (auto& c : _controls)
        if (c.name == control) {
            c.inputs = std::move(inputs);
            return;
        }
    _controls.push_back({control, std::move(inputs), nullptr});
}

void InputMap::clearBindings() {
    std::erase_if(_controls, [](const Control& c) { return !c.action; });
    for (auto& c : _controls)
        c.inputs.clear();
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
    _controls.push_back({control, {}, std::move(action)});
}

void InputMap::forget(const Node* node) {
    std::erase_if(_targets, [node](const Target& t) { return t.node == node; });
}

bool InputMap::pressPoint(const std::string& control, Vec2& where) const {
    // The newest target wins: a button redrawn with a new picture lies on top of its old ones.
    for (auto it = _targets.rbegin(); it != _targets.rend(); ++it) {
        if (it->control != control) continue;
        const Node* node = it->node;
        if (!node->isRunning() || !node->isShown() || node->isPausedForScheduling()) continue;
        if (!it->item) {
            where = it->point;
            return true;
        }
        if (!it->item->isEnabled()) continue;
        const Size s = it->item->getContentSize();
        where = it->item->convertToWorldSpace(Vec2(s.width / 2, s.height / 2));
        return true;
    }
    return false;
}

bool InputMap::available(const Control& control) const {
    Vec2 where;
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

void InputMap::keyChanged(int scancode, bool alt, bool pressed) {
    if (!pressed) {
        release(scancode);
        return;
    }
    auto keyIs = [scancode](const InputBinding& b) {
        return b.kind == InputBinding::Kind::Key && scancodeOf(b.name) == scancode;
    };
    // With Alt held, a binding that asks for Alt wins over the plain key.
    if (alt && controlFor([&](const InputBinding& b) { return keyIs(b) && b.alt; })) {
        press(scancode, [&](const InputBinding& b) { return keyIs(b) && b.alt; });
        return;
    }
    press(scancode, [&](const InputBinding& b) { return keyIs(b) && !b.alt; });
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
    // The nearest direction bound to any stick, whether or not its control can act now.
    const Vec2 toward = unit(direction);
    const InputBinding* nearest = nullptr;
    float best = -2;
    for (const auto& c : _controls)
        for (const auto& b : c.inputs) {
            if (b.kind != InputBinding::Kind::Stick) continue;
            const Vec2 d = unit(b.direction);
            const float dot = d.x * toward.x + d.y * toward.y;
            if (dot > best) {
                best = dot;
                nearest = &b;
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
