#include "engine/input/InputMap.h"

#include "engine/base/Log.h"
#include "engine/graphics/Renderer.h"
#include "engine/input/InputNames.h"
#include "engine/scene/Director.h"
#include "engine/scene/MenuItemImage.h"
#include "engine/scene/Node.h"
#include "engine/scene/TransitionFade.h"

#include <SDL.h>
#include <algorithm>

namespace cocos2d {

int scancodeOf(const std::string& name) {
    return static_cast<int>(SDL_GetScancodeFromName(name.c_str()));
}
int keycodeOf(const std::string& name) {
    return static_cast<int>(SDL_GetKeyFromName(name.c_str()));
}
int padButtonOf(const std::string& name) {
    return static_cast<int>(SDL_GameControllerGetButtonFromString(name.c_str()));
}

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

InputBinding InputBinding::wheel(int dy) {
    InputBinding b;
    b.kind = Kind::Wheel;
    b.direction = Vec2(0, dy > 0 ? 1.0f : -1.0f);
    return b;
}

InputMap::InputMap() {
    // The highlight and the badges lie over the scene and under the notes; a new scene's menu
    // starts afresh, so no choice made in the last one is pressed by mistake.
    Director* director = Director::getInstance();
    director->addDrawnOver([this](Renderer& renderer) {
        drawHighlight(renderer);
        drawBadges(renderer);
    });
    director->addSceneArrived([this] { restartHighlight(); });
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
    _controls.push_back({control, std::move(inputs), nullptr, nullptr, repeats});
}

void InputMap::clearBindings() {
    std::erase_if(_controls, [](const Control& c) { return !c.action; });
    for (auto& c : _controls) {
        c.inputs.clear();
        c.repeats = false;
    }
    _menu.clear();
    _highlight = Highlight();
    _hands = Hands::None;
    _badgeLike.clear();
    _lastPress.clear();
}

const std::vector<InputBinding>* InputMap::bindingsOf(const std::string& control) const {
    for (const auto& c : _controls)
        if (c.name == control) return &c.inputs;
    return nullptr;
}

void InputMap::attach(const std::string& control, MenuItemImage* item) {
    if (!item) return;
    item->setRemovedHook(&InputMap::forgetRemoved);
    _targets.push_back({control, item, item, Vec2()});
}

void InputMap::attachPoint(const std::string& control, Node* holder, const Vec2& worldPoint) {
    if (!holder) return;
    holder->setRemovedHook(&InputMap::forgetRemoved);
    _targets.push_back({control, holder, nullptr, worldPoint});
}

void InputMap::setAction(const std::string& control, std::function<void()> action,
                         std::function<bool()> canAct) {
    for (auto& c : _controls)
        if (c.name == control) {
            c.action = std::move(action);
            c.canAct = std::move(canAct);
            return;
        }
    _controls.push_back({control, {}, std::move(action), std::move(canAct), false});
}

void InputMap::forget(const Node* node) {
    std::erase_if(_targets, [node](const Target& t) { return t.node == node; });
}

bool InputMap::pressPoint(const std::string& control, Vec2& where) const {
    if (control == kConfirm) {
        const auto items = menuItems();
        const Highlight::Item* on = _highlight.current(items);
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
    const Highlight::Item* on = _highlight.current(items);
    return on ? on->item : nullptr;
}

void InputMap::drawHighlight(Renderer& renderer) const {
    const MenuItemImage* item = !isHighlightShown() || !sceneSettled() ? nullptr : highlighted();
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

} // namespace cocos2d
