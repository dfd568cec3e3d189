// The input map at work: keys, pad buttons, sticks and the D-pad from the platform, each turned
// into its control's action or a press of what the scene shows for it.
#include "engine/input/InputMap.h"

#include "engine/input/InputNames.h"
#include "engine/scene/Director.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace cocos2d {

namespace {

// Touch ids for inputs start here, far from the mouse (0) and fingers.
constexpr int kFirstInputTouch = 1 << 20;
constexpr int kLastInputTouch = 1 << 29;

// Held sources: a key by scancode, a pad button by pad and button.
constexpr int kPadSource = 1 << 12;
// Sticks, the D-pad and a pad unplugged are one input each, apart from keys and buttons.
constexpr int kStickSource = 1 << 24;
constexpr int kDpadSource = kStickSource + 1;
constexpr int kUnplugSource = kStickSource + 2;
constexpr int kWheelSource = kStickSource + 3;
// Two inputs pressing one button within this many frames are one press: a key and the D-pad
// pressed together (the D-pad waits a few frames for a diagonal) enter the button once.
constexpr unsigned long long kAtOnceFrames = 6;
int padSource(int pad, int button) {
    return kPadSource + pad * SDL_CONTROLLER_BUTTON_MAX + button;
}

Vec2 unit(const Vec2& v) {
    const float length = std::hypot(v.x, v.y);
    return length > 0 ? Vec2(v.x / length, v.y / length) : Vec2();
}

bool isMenuMove(const std::string& control) {
    return control == InputMap::kMenuUp || control == InputMap::kMenuDown || control == InputMap::kMenuLeft ||
           control == InputMap::kMenuRight;
}
} // namespace

bool InputMap::available(const Control& control) const {
    Vec2 where;
    if (isMenuMove(control.name)) return !menuItems().empty();
    if (control.action) return !control.canAct || control.canAct();
    return pressPoint(control.name, where);
}

const InputMap::Control* InputMap::controlFor(const Match& match) const {
    for (const auto& c : _controls)
        if (std::any_of(c.inputs.begin(), c.inputs.end(), match) && available(c)) return &c;
    return nullptr;
}

bool InputMap::begin(int source, const Match& match, std::pair<int, Vec2>& touch) {
    const Control* control = controlFor(match);
    if (!control) return false;
    if (isMenuMove(control->name)) {
        const Vec2 step = control->name == kMenuUp     ? Vec2(0, 1)
                          : control->name == kMenuDown ? Vec2(0, -1)
                          : control->name == kMenuLeft ? Vec2(-1, 0)
                                                       : Vec2(1, 0);
        if (!isHighlightShown()) _hands = Hands::Keys;
        _highlight.move(menuItems(), step);
        return false;
    }
    if (control->action) {
        control->action();
        return false;
    }
    const unsigned long long frame = Director::getInstance()->getTotalFrames();
    const auto last = _lastPress.find(control->name);
    if (last != _lastPress.end() && last->second.second != source &&
        frame - last->second.first <= kAtOnceFrames)
        return false;
    _lastPress[control->name] = {frame, source};
    pressPoint(control->name, touch.second);
    touch.first = nextTouchId();
    Director::getInstance()->touchBegan(touch.first, touch.second);
    return true;
}

void InputMap::press(int source, const Match& match) {
    std::pair<int, Vec2> touch;
    if (!_held.count(source) && begin(source, match, touch)) _held[source] = touch;
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

void InputMap::tap(int source, const Match& match) {
    std::pair<int, Vec2> touch;
    if (begin(source, match, touch)) Director::getInstance()->touchEnded(touch.first, touch.second);
}

void InputMap::keyChanged(int scancode, int keycode, bool alt, bool pressed) {
    _untypedKey = -1;
    if (!pressed) {
        _typedLabel.erase(scancode);
        release(scancode);
        return;
    }
    if (captured(Device::Keys, SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode)))) return;
    auto keyIs = [scancode, keycode](const InputBinding& b) {
        return b.kind == InputBinding::Kind::Key &&
               (b.byLabel ? keycodeOf(b.name) == keycode : scancodeOf(b.name) == scancode);
    };
    // With Alt held, a binding that asks for Alt wins over the plain key.
    if (alt && controlFor([&](const InputBinding& b) { return keyIs(b) && b.alt; })) {
        press(scancode, [&](const InputBinding& b) { return keyIs(b) && b.alt; });
        return;
    }
    auto plain = [&](const InputBinding& b) { return keyIs(b) && !b.alt; };
    if (!alt && !controlFor(plain)) _untypedKey = scancode;
    press(scancode, plain);
}

void InputMap::textTyped(const std::string& text) {
    const int scancode = _untypedKey;
    _untypedKey = -1;
    if (isCapturing()) return;
    if (scancode < 0 || text.empty()) return;
    auto typed = [&text](const InputBinding& b) {
        return b.kind == InputBinding::Kind::Key && b.byLabel && !b.alt && b.name == text;
    };
    if (!controlFor(typed)) return;
    _typedLabel[scancode] = text;
    press(scancode, typed);
}

void InputMap::keyRepeated(int scancode, int keycode, bool alt) {
    if (isCapturing()) return;
    const auto typed = _typedLabel.find(scancode);
    const Control* control = controlFor([&](const InputBinding& b) {
        if (b.kind != InputBinding::Kind::Key || b.alt != alt) return false;
        if (typed != _typedLabel.end()) return b.byLabel && b.name == typed->second;
        return b.byLabel ? keycodeOf(b.name) == keycode : scancodeOf(b.name) == scancode;
    });
    if (control && control->repeats && control->action) control->action();
}

void InputMap::padButtonChanged(int pad, int button, bool pressed) {
    const int source = padSource(pad, button);
    if (!pressed) {
        release(source);
        return;
    }
    const char* name = SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
    if (captured(Device::Pad, name ? name : "")) return;
    press(source, [button](const InputBinding& b) {
        return b.kind == InputBinding::Kind::PadButton && padButtonOf(b.name) == button;
    });
}

void InputMap::stickFlicked(const Vec2& direction) {
    // The nearest direction bound to a stick among the controls that can act now: the ring's
    // six in play, a menu's four steps elsewhere.
    if (isCapturing()) return;
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
    tap(kStickSource, [nearest](const InputBinding& b) { return &b == nearest; });
}

void InputMap::dpadPressed(int dx, int dy) {
    if (isCapturing()) return;
    const Vec2 d(static_cast<float>(dx), static_cast<float>(dy));
    tap(kDpadSource, [d](const InputBinding& b) {
        return b.kind == InputBinding::Kind::Dpad && b.direction.x == d.x && b.direction.y == d.y;
    });
}

void InputMap::padUnplugged() {
    tap(kUnplugSource, [](const InputBinding& b) { return b.kind == InputBinding::Kind::PadUnplugged; });
}

void InputMap::wheelTurned(int notches) {
    const float toward = notches > 0 ? 1.0f : -1.0f;
    for (int i = 0; i < std::abs(notches); ++i)
        tap(kWheelSource, [toward](const InputBinding& b) {
            return b.kind == InputBinding::Kind::Wheel && b.direction.y == toward;
        });
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
    _typedLabel.clear();
    _untypedKey = -1;
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
