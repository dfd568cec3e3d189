#include "VirtualInput.h"

#include <algorithm>
#include <cmath>

namespace {

void push(SDL_Event& e) {
    e.common.timestamp = SDL_GetTicks();
    SDL_PushEvent(&e);
}

// The device index SDL gives a joystick now (indices shift as pads come and go).
int deviceIndexOf(SDL_Joystick* joystick) {
    const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) return i;
    return -1;
}

} // namespace

VirtualInput::~VirtualInput() {
    detachAll();
}

std::string VirtualInput::key(const std::string& name, bool alt, bool pressed) {
    const SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
    if (code == SDL_SCANCODE_UNKNOWN) return "unknown key: " + name;
    SDL_Event e{};
    e.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = SDL_GetKeyFromScancode(code);
    e.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
    push(e);
    if (pressed)
        _keysDown.insert(code);
    else
        _keysDown.erase(code);
    return "";
}

std::string VirtualInput::finger(long long id, const std::string& what, float x, float y, float width,
                                 float height) {
    Uint32 fingerType, mouseType;
    if (what == "down") {
        fingerType = SDL_FINGERDOWN;
        mouseType = SDL_MOUSEBUTTONDOWN;
    } else if (what == "move") {
        fingerType = SDL_FINGERMOTION;
        mouseType = SDL_MOUSEMOTION;
    } else if (what == "up") {
        fingerType = SDL_FINGERUP;
        mouseType = SDL_MOUSEBUTTONUP;
    } else {
        return "a finger goes down, move or up, not " + what;
    }
    // SDL gives the first finger on the screen a mouse twin.
    const bool first = what == "down" ? _fingers.empty() : (!_fingers.empty() && *_fingers.begin() == id);
    if (what == "down") _fingers.insert(id);
    if (what == "up") _fingers.erase(id);

    SDL_Event e{};
    e.type = fingerType;
    e.tfinger.touchId = 1;
    e.tfinger.fingerId = id;
    e.tfinger.x = x / width;
    e.tfinger.y = 1 - y / height;
    e.tfinger.pressure = what == "up" ? 0 : 1;
    push(e);
    if (!first) return "";
    SDL_Event m{};
    m.type = mouseType;
    const int mx = static_cast<int>(std::lround(x)), my = static_cast<int>(std::lround(height - y));
    if (mouseType == SDL_MOUSEMOTION) {
        m.motion.which = SDL_TOUCH_MOUSEID;
        m.motion.state = SDL_BUTTON_LMASK;
        m.motion.x = mx;
        m.motion.y = my;
    } else {
        m.button.which = SDL_TOUCH_MOUSEID;
        m.button.button = SDL_BUTTON_LEFT;
        m.button.state = mouseType == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        m.button.clicks = 1;
        m.button.x = mx;
        m.button.y = my;
    }
    push(m);
    return "";
}

void VirtualInput::window(Uint8 windowEvent) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = windowEvent;
    push(e);
}

void VirtualInput::focus(bool gained) {
    if (!gained) {
        const std::set<SDL_Scancode> held = _keysDown;
        for (const SDL_Scancode code : held)
            key(SDL_GetScancodeName(code), false, false);
    }
    window(gained ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_FOCUS_LOST);
}

VirtualInput::Pad* VirtualInput::find(int pad) {
    auto it = _pads.find(pad);
    return it == _pads.end() ? nullptr : &it->second;
}

std::string VirtualInput::padAttach(int pad) {
    if (find(pad)) return "pad " + std::to_string(pad) + " is attached already";
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Playtest pad";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return std::string("cannot attach a virtual pad: ") + SDL_GetError();
    if (!SDL_IsGameController(index)) {
        // Where SDL knows no layout for it, the pad's buttons and axes go in SDL's order.
        char guid[64];
        SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof guid);
        std::string mapping = std::string(guid) + ",Playtest pad,";
        for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b)
            if (const char* n =
                    SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(b)))
                mapping += std::string(n) + ":b" + std::to_string(b) + ",";
        for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; ++a)
            if (const char* n = SDL_GameControllerGetStringForAxis(static_cast<SDL_GameControllerAxis>(a)))
                mapping += std::string(n) + ":a" + std::to_string(a) + ",";
        SDL_GameControllerAddMapping(mapping.c_str());
    }
    Pad p;
    p.joystick = SDL_JoystickOpen(index);
    p.controller = SDL_GameControllerOpen(index);
    if (!p.joystick || !p.controller) {
        std::string error = std::string("cannot open the virtual pad: ") + SDL_GetError();
        if (p.controller) SDL_GameControllerClose(p.controller);
        if (p.joystick) SDL_JoystickClose(p.joystick);
        SDL_JoystickDetachVirtual(index);
        return error;
    }
    _pads[pad] = p;
    return "";
}

std::string VirtualInput::padDetach(int pad) {
    Pad* p = find(pad);
    if (!p) return "no pad " + std::to_string(pad);
    const int index = deviceIndexOf(p->joystick);
    SDL_GameControllerClose(p->controller);
    SDL_JoystickClose(p->joystick);
    if (index >= 0) SDL_JoystickDetachVirtual(index);
    _pads.erase(pad);
    return "";
}

void VirtualInput::detachAll() {
    while (!_pads.empty())
        padDetach(_pads.begin()->first);
}

std::string VirtualInput::padButton(int pad, const std::string& name, bool pressed) {
    Pad* p = find(pad);
    if (!p) return "no pad " + std::to_string(pad);
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    if (button == SDL_CONTROLLER_BUTTON_INVALID) return "unknown pad button: " + name;
    const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForButton(p->controller, button);
    if (bind.bindType != SDL_CONTROLLER_BINDTYPE_BUTTON) return "the pad has no " + name;
    SDL_JoystickSetVirtualButton(p->joystick, bind.value.button, pressed ? SDL_PRESSED : SDL_RELEASED);
    return "";
}

std::string VirtualInput::padAxis(int pad, const std::string& name, float value) {
    Pad* p = find(pad);
    if (!p) return "no pad " + std::to_string(pad);
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
    if (axis == SDL_CONTROLLER_AXIS_INVALID) return "unknown pad axis: " + name;
    const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForAxis(p->controller, axis);
    if (bind.bindType != SDL_CONTROLLER_BINDTYPE_AXIS) return "the pad has no " + name;
    const float clamped = std::clamp(value, -1.0f, 1.0f);
    SDL_JoystickSetVirtualAxis(p->joystick, bind.value.axis,
                               static_cast<Sint16>(std::lround(clamped * 32767)));
    return "";
}
