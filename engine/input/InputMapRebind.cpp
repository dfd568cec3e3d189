// The player's own bindings: one key and one pad button per control, moved at run time, swapped
// with whatever shares a scene with it, kept from locking the player out, and captured from the
// next press.
//
// The rule for shared inputs: two controls may share an input only if they never act in the
// same scene (Escape pauses a round and closes a panel), or if the table made them share it (Enter
// presses the highlight and START, where the highlight starts). A binding the player makes never
// adds a sharing: any control of a scene in common that held the new input takes the old one in
// exchange, or simply lets it go when it keeps another input of that kind.
#include "engine/input/InputMap.h"

#include "engine/input/InputNames.h"

#include <SDL.h>
#include <algorithm>
#include <cctype>

namespace cocos2d {

namespace {

bool isKind(const InputBinding& b, InputMap::Device device) {
    return device == InputMap::Device::Keys ? b.kind == InputBinding::Kind::Key && !b.alt
                                            : b.kind == InputBinding::Kind::PadButton;
}

// The key's place: a key bound by its label is where that label is on the player's layout.
int placeOf(const InputBinding& key) {
    if (!key.byLabel) return scancodeOf(key.name);
    return static_cast<int>(SDL_GetScancodeFromKey(static_cast<SDL_Keycode>(keycodeOf(key.name))));
}

bool sameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return std::tolower(x) == std::tolower(y); });
}

bool sameInput(const InputBinding& a, const InputBinding& b) {
    if (a.kind != b.kind) return false;
    if (a.kind == InputBinding::Kind::PadButton) return a.name == b.name;
    if (a.kind != InputBinding::Kind::Key || a.alt != b.alt) return false;
    // A letter by its label and by its place is one key on the US layout, and wherever the
    // layout puts that label; a system that knows no layout still knows the names.
    const int place = placeOf(a);
    return sameName(a.name, b.name) || (place != 0 && place == placeOf(b));
}

bool holds(const std::vector<InputBinding>& inputs, const InputBinding& input) {
    return std::any_of(inputs.begin(), inputs.end(),
                       [&](const InputBinding& b) { return sameInput(b, input); });
}

bool isModifier(int scancode) {
    return scancode >= SDL_SCANCODE_LCTRL && scancode <= SDL_SCANCODE_RGUI;
}

} // namespace

InputMap::Control* InputMap::find(const std::string& name) {
    for (auto& c : _controls)
        if (c.name == name) return &c;
    return nullptr;
}

void InputMap::setContexts(const std::string& control, std::vector<std::string> contexts) {
    _contexts[control] = std::move(contexts);
}

bool InputMap::shareScene(const std::string& a, const std::string& b) const {
    const auto ca = _contexts.find(a), cb = _contexts.find(b);
    if (ca == _contexts.end() || cb == _contexts.end()) return true;
    for (const auto& x : ca->second)
        for (const auto& y : cb->second)
            if (x == "*" || y == "*" || x == y) return true;
    return false;
}

bool InputMap::isFixed(const InputBinding& input) const {
    if (input.kind != InputBinding::Kind::Key) return false;
    return std::any_of(_fixedKeys.begin(), _fixedKeys.end(),
                       [&](const std::string& k) { return sameInput(input, InputBinding::key(k)); });
}

int InputMap::playerSlot(const std::vector<InputBinding>& inputs, Device device) const {
    for (std::size_t i = 0; i < inputs.size(); ++i)
        if (isKind(inputs[i], device) && !isFixed(inputs[i])) return static_cast<int>(i);
    return -1;
}

const InputBinding* InputMap::playerInput(const std::string& control, Device device) const {
    const auto* inputs = bindingsOf(control);
    const int slot = inputs ? playerSlot(*inputs, device) : -1;
    return slot < 0 ? nullptr : &(*inputs)[static_cast<std::size_t>(slot)];
}

void InputMap::keepDefaults() {
    _defaults.clear();
    for (const auto& c : _controls)
        _defaults.emplace_back(c.name, c.inputs);
}

void InputMap::restoreDefaults() {
    for (const auto& [name, inputs] : _defaults)
        if (Control* c = find(name)) c->inputs = inputs;
}

InputMap::Rebound InputMap::rebind(const std::string& control, Device device, const std::string& name) {
    Control* target = find(control);
    const InputBinding fresh =
        device == Device::Keys ? InputBinding::key(name) : InputBinding::padButton(name);
    const bool known =
        device == Device::Keys ? scancodeOf(name) != 0 : padButtonOf(name) != SDL_CONTROLLER_BUTTON_INVALID;
    if (!target || !known) return {Refusal::Unknown, ""};
    if (isFixed(fresh)) return {Refusal::Fixed, ""};
    const int slot = playerSlot(target->inputs, device);
    const InputBinding* old = slot < 0 ? nullptr : &target->inputs[static_cast<std::size_t>(slot)];
    if (old && sameInput(*old, fresh)) return {};
    // What every control sharing a scene keeps, judged before anything changes.
    std::vector<std::pair<Control*, std::vector<InputBinding>>> changes;
    Rebound result;
    for (auto& c : _controls) {
        if (&c == target || !holds(c.inputs, fresh) || !shareScene(c.name, control)) continue;
        std::vector<InputBinding> kept;
        for (const auto& b : c.inputs)
            if (!sameInput(b, fresh))
                kept.push_back(b);
            else if (old && !holds(c.inputs, *old))
                kept.push_back(*old);
        const bool guarded = std::find(_guarded.begin(), _guarded.end(), c.name) != _guarded.end();
        if (guarded && playerSlot(kept, device) < 0) return {Refusal::LockOut, c.name};
        if (std::none_of(kept.begin(), kept.end(), [&](const InputBinding& b) { return isKind(b, device); }))
            return {Refusal::LastInput, c.name};
        changes.emplace_back(&c, std::move(kept));
        result.other = c.name;
    }
    for (auto& [c, kept] : changes)
        c->inputs = std::move(kept);
    // The control's own inputs: the new one in its player's place, no copy of it elsewhere.
    std::vector<InputBinding>& inputs = target->inputs;
    std::erase_if(inputs, [&](const InputBinding& b) { return sameInput(b, fresh); });
    const int at = playerSlot(inputs, device);
    if (at >= 0)
        inputs[static_cast<std::size_t>(at)] = fresh;
    else
        inputs.insert(inputs.begin(), fresh);
    return result;
}

int InputMap::savedCode(const std::string& control, Device device) const {
    const InputBinding* now = playerInput(control, device);
    const InputBinding* was = nullptr;
    for (const auto& [name, inputs] : _defaults)
        if (name == control) {
            const int slot = playerSlot(inputs, device);
            if (slot >= 0) was = &inputs[static_cast<std::size_t>(slot)];
        }
    if (!now) return was ? -1 : 0;
    if (was && sameInput(*now, *was)) return 0;
    return device == Device::Keys ? placeOf(*now) : padButtonOf(now->name) + 1;
}

bool InputMap::applySaved(const std::string& control, Device device, int code) {
    Control* c = find(control);
    if (!c || code == 0) return false;
    if (code == -1) {
        // None: the table's other inputs of the kind must still play it.
        std::vector<InputBinding> kept = c->inputs;
        const int slot = playerSlot(kept, device);
        if (slot < 0) return true;
        kept.erase(kept.begin() + slot);
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const InputBinding& b) { return isKind(b, device); }) ||
            std::find(_guarded.begin(), _guarded.end(), control) != _guarded.end())
            return false;
        c->inputs = std::move(kept);
        return true;
    }
    std::string name;
    if (device == Device::Keys && code > 0 && code < SDL_NUM_SCANCODES)
        name = SDL_GetScancodeName(static_cast<SDL_Scancode>(code));
    if (device == Device::Pad && code > 0 && code <= SDL_CONTROLLER_BUTTON_MAX) {
        const auto button = static_cast<SDL_GameControllerButton>(code - 1);
        // The D-pad plays directions, not buttons; the guide button is the system's.
        if (button < SDL_CONTROLLER_BUTTON_DPAD_UP && button != SDL_CONTROLLER_BUTTON_GUIDE)
            if (const char* s = SDL_GameControllerGetStringForButton(button)) name = s;
    }
    if (name.empty() || (device == Device::Keys && scancodeOf(name) != code)) return false;
    return rebind(control, device, name).refusal == Refusal::None;
}

void InputMap::capture(std::function<void(Device, const std::string&)> taken,
                       std::function<void()> cancelled) {
    _taken = std::move(taken);
    _cancelled = std::move(cancelled);
    releaseAll();
}

void InputMap::stopCapture() {
    auto cancelled = std::move(_cancelled);
    _taken = nullptr;
    _cancelled = nullptr;
    if (cancelled) cancelled();
}

bool InputMap::captured(Device device, const std::string& name) {
    if (!_taken) return false;
    if (device == Device::Keys) {
        const int scancode = scancodeOf(name);
        if (scancode == 0) return true;
        if (isModifier(scancode)) return true;
        if (scancode == SDL_SCANCODE_ESCAPE) {
            stopCapture();
            return true;
        }
    }
    if (device == Device::Pad && (name.empty() || name == "guide" || name.rfind("dp", 0) == 0)) return true;
    auto taken = std::move(_taken);
    _taken = nullptr;
    _cancelled = nullptr;
    taken(device, name);
    return true;
}

std::string InputMap::padButtonFor(const std::string& family, const std::string& button) const {
    // SDL names buttons by place, an Xbox pad's letters; a Nintendo pad prints A where the Xbox
    // pad has B, and B where it has A.
    if (family != "nintendo" || !_nintendoByLabel) return button;
    if (button == "a") return "b";
    if (button == "b") return "a";
    return button;
}

} // namespace cocos2d
