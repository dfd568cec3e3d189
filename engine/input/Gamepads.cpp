#include "engine/input/Gamepads.h"

#include "engine/base/Log.h"
#include "engine/base/PlayerTexts.h"
#include "engine/input/InputMap.h"
#include "engine/scene/Director.h"
#include "engine/scene/Overlay.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {

namespace {

constexpr const char* kUnmappableNote = "unmappable pad";
constexpr float kUnmappableSeconds = 5;

int dpadIndex(int button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return 0;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return 1;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return 2;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return 3;
    default:
        return -1;
    }
}

bool any(const bool held[4]) {
    return held[0] || held[1] || held[2] || held[3];
}

} // namespace

Gamepads::~Gamepads() {
    for (auto& pad : _pads)
        SDL_GameControllerClose(pad.controller);
}

Gamepads::Pad* Gamepads::find(SDL_JoystickID id) {
    for (auto& pad : _pads)
        if (pad.id == id) return &pad;
    return nullptr;
}

void Gamepads::open(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        warn("cannot open game controller %d: %s", deviceIndex, SDL_GetError());
        return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (find(id)) {
        // Announced twice (present at start-up and reported again): one handle is enough.
        SDL_GameControllerClose(controller);
        return;
    }
    Pad pad;
    pad.controller = controller;
    pad.id = id;
    _pads.push_back(pad);
    // A pad plugged in is a hint of hands on it: its prompts show before its first press.
    InputMap::getInstance()->setHands(InputMap::Hands::Pad, familyOf(id));
}

void Gamepads::close(SDL_JoystickID id) {
    auto it = std::find_if(_pads.begin(), _pads.end(), [id](const Pad& p) { return p.id == id; });
    if (it == _pads.end()) return;
    InputMap::getInstance()->releasePad(id);
    SDL_GameControllerClose(it->controller);
    _pads.erase(it);
    InputMap::getInstance()->padUnplugged();
}

void Gamepads::unmappable(int deviceIndex) {
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(deviceIndex), guid, sizeof guid);
    if (std::find(_unmappableSaid.begin(), _unmappableSaid.end(), guid) != _unmappableSaid.end()) return;
    _unmappableSaid.emplace_back(guid);
    const char* name = SDL_JoystickNameForIndex(deviceIndex);
    warn("game controller \"%s\" (%s) has no known button layout: it is ignored", name ? name : "?", guid);
    Overlay::getInstance()->show(kUnmappableNote, PlayerTexts::get().padNotSupported,
                                 Overlay::Place::BottomLeft, kUnmappableSeconds);
}

bool Gamepads::handle(const SDL_Event& e) {
    switch (e.type) {
    case SDL_JOYDEVICEADDED:
        // A pad with a layout comes again as a controller; one without is never heard of again.
        if (!SDL_IsGameController(e.jdevice.which)) unmappable(e.jdevice.which);
        return true;
    case SDL_JOYDEVICEREMOVED:
        return true;
    case SDL_CONTROLLERDEVICEADDED:
        open(e.cdevice.which);
        return true;
    case SDL_CONTROLLERDEVICEREMOVED:
        close(e.cdevice.which);
        return true;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        Pad* pad = find(e.cbutton.which);
        if (!pad) return true;
        // Unplugged, a pad lets go of its buttons on its way out: that presses nothing.
        if (!SDL_GameControllerGetAttached(pad->controller)) {
            InputMap::getInstance()->releasePad(pad->id);
            return true;
        }
        if (_paused) return true;
        const bool pressed = e.type == SDL_CONTROLLERBUTTONDOWN;
        if (dpadIndex(e.cbutton.button) >= 0)
            dpadChanged(*pad, e.cbutton.button, pressed);
        else
            InputMap::getInstance()->padButtonChanged(pad->id, buttonPlayed(pad->id, e.cbutton.button),
                                                      pressed);
        return true;
    }
    case SDL_CONTROLLERAXISMOTION: {
        Pad* pad = find(e.caxis.which);
        if (pad) axisMoved(*pad, e.caxis.axis, std::clamp(e.caxis.value / 32767.0f, -1.0f, 1.0f));
        return true;
    }
    default:
        return false;
    }
}

void Gamepads::axisMoved(Pad& pad, int axis, float value) {
    if (axis < 0 || axis >= SDL_CONTROLLER_AXIS_MAX) return;
    pad.axes[axis] = value;
    if (axis == SDL_CONTROLLER_AXIS_LEFTX || axis == SDL_CONTROLLER_AXIS_LEFTY)
        judgeStick(pad, 0);
    else if (axis == SDL_CONTROLLER_AXIS_RIGHTX || axis == SDL_CONTROLLER_AXIS_RIGHTY)
        judgeStick(pad, 1);
}

void Gamepads::judgeStick(Pad& pad, int stick) {
    const float x = pad.axes[stick == 0 ? SDL_CONTROLLER_AXIS_LEFTX : SDL_CONTROLLER_AXIS_RIGHTX];
    const float y = pad.axes[stick == 0 ? SDL_CONTROLLER_AXIS_LEFTY : SDL_CONTROLLER_AXIS_RIGHTY];
    const float reach = std::hypot(x, y);
    if (pad.stickArmed[stick] && reach > kFlickAt) {
        // Paused, a stick pushed out only counts as out: it flicks nothing on return.
        if (_paused) {
            pad.stickArmed[stick] = false;
            return;
        }
        // The furthest it went this frame: a stick let go of passes back through one axis.
        const Vec2& out = pad.stickToward[stick];
        if (pad.stickOut[stick] && std::hypot(out.x, out.y) >= reach) return;
        pad.stickOut[stick] = true;
        // Pads report y growing downwards; the screen's y grows upwards.
        pad.stickToward[stick] = Vec2(x, -y);
    } else if (!pad.stickArmed[stick] && reach < kRearmAt) {
        pad.stickArmed[stick] = true;
    }
}

void Gamepads::dpadChanged(Pad& pad, int button, bool pressed) {
    const int i = dpadIndex(button);
    const bool wasHeld = any(pad.dpad);
    if (pressed) {
        pad.dpad[i] = true;
        if (!wasHeld) {
            pad.dpadPending = true;
            pad.dpadWait = kDpadWait;
            pad.dpadScene = Director::getInstance()->getRunningScene();
        }
        return;
    }
    // Let go before the wait was over: the direction held up to now counts.
    if (pad.dpadPending) dpadAct(pad, pad.dpad);
    pad.dpad[i] = false;
}

void Gamepads::dpadAct(Pad& pad, const bool held[4]) {
    pad.dpadPending = false;
    // Begun under a fade, or before one: a key pressed then would not reach the next scene.
    if (pad.dpadScene != Director::getInstance()->getRunningScene()) return;
    const int dx = (held[3] ? 1 : 0) - (held[2] ? 1 : 0);
    const int dy = (held[0] ? 1 : 0) - (held[1] ? 1 : 0);
    if (dx != 0 || dy != 0) InputMap::getInstance()->dpadPressed(dx, dy);
}

void Gamepads::setPaused(bool paused) {
    _paused = paused;
    if (!paused) return;
    // A D-pad press under way when the pause began never lands.
    for (auto& pad : _pads) {
        std::fill(std::begin(pad.dpad), std::end(pad.dpad), false);
        pad.dpadPending = false;
        for (int stick = 0; stick < 2; ++stick)
            if (pad.stickOut[stick]) {
                pad.stickOut[stick] = false;
                pad.stickArmed[stick] = false;
            }
    }
}

std::string Gamepads::familyOf(SDL_JoystickID id) {
    const Pad* pad = find(id);
    if (!pad) return "xbox";
    switch (SDL_GameControllerGetType(pad->controller)) {
    case SDL_CONTROLLER_TYPE_PS3:
    case SDL_CONTROLLER_TYPE_PS4:
    case SDL_CONTROLLER_TYPE_PS5:
        return "playstation";
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_PRO:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_LEFT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_RIGHT:
    case SDL_CONTROLLER_TYPE_NINTENDO_SWITCH_JOYCON_PAIR:
        return "nintendo";
    case SDL_CONTROLLER_TYPE_XBOX360:
    case SDL_CONTROLLER_TYPE_XBOXONE:
        return "xbox";
    default:
        break;
    }
    // A type SDL does not tell (a virtual or unknown pad): its maker's USB id.
    switch (SDL_GameControllerGetVendor(pad->controller)) {
    case 0x054c:
        return "playstation";
    case 0x057e:
        return "nintendo";
    default:
        return "xbox";
    }
}

int Gamepads::buttonPlayed(SDL_JoystickID id, int button) {
    // The same swap the badges show: the button's place on this pad, as the table names it.
    const char* name = SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(button));
    if (!name) return button;
    const std::string played = InputMap::getInstance()->padButtonFor(familyOf(id), name);
    return SDL_GameControllerGetButtonFromString(played.c_str());
}

void Gamepads::rumble(float strength, float seconds) {
    const auto level = static_cast<Uint16>(std::clamp(strength, 0.0f, 1.0f) * 0xffff);
    const auto ms = static_cast<Uint32>(std::max(0.0f, seconds) * 1000);
    // A pad without a motor says no; nothing else to do about it.
    for (auto& pad : _pads)
        SDL_GameControllerRumble(pad.controller, level, level, ms);
}

void Gamepads::tick() {
    for (auto& pad : _pads) {
        if (pad.dpadPending && --pad.dpadWait <= 0) dpadAct(pad, pad.dpad);
        for (int stick = 0; stick < 2; ++stick) {
            if (!pad.stickOut[stick]) continue;
            pad.stickOut[stick] = false;
            pad.stickArmed[stick] = false;
            InputMap::getInstance()->stickFlicked(pad.stickToward[stick]);
            // Out and back within the frame: ready for the next flick.
            judgeStick(pad, stick);
        }
    }
}

} // namespace cocos2d
