#include "harness/playtest/VirtualInput.h"

#include <algorithm>
#include <cmath>
#include <utility>

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

std::string VirtualInput::key(const std::string& name, bool alt, bool pressed, bool repeat) {
    const SDL_Scancode code = SDL_GetScancodeFromName(name.c_str());
    if (code == SDL_SCANCODE_UNKNOWN) return "unknown key: " + name;
    SDL_Event e{};
    e.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.scancode = code;
    const auto relabelled = _layout.find(code);
    // Without a video driver SDL has no keymap: a US keyboard's labels, then.
    SDL_Keycode sym = SDL_GetKeyFromScancode(code);
    if (sym == SDLK_UNKNOWN) sym = SDL_GetKeyFromName(SDL_GetScancodeName(code));
    e.key.keysym.sym = relabelled != _layout.end() ? relabelled->second : sym;
    e.key.keysym.mod = alt ? KMOD_LALT : KMOD_NONE;
    push(e);
    // The text the key types, as SDL sends it after the key (without Alt, a character).
    const auto printed = _printed.find(code);
    const std::string text = printed != _printed.end() ? printed->second
                             : e.key.keysym.sym > 32 && e.key.keysym.sym < 127
                                 ? std::string(1, static_cast<char>(e.key.keysym.sym))
                                 : "";
    if (pressed && !alt && !text.empty()) {
        SDL_Event t{};
        t.type = SDL_TEXTINPUT;
        SDL_strlcpy(t.text.text, text.c_str(), sizeof t.text.text);
        push(t);
    }
    if (pressed)
        _keysDown.insert(code);
    else
        _keysDown.erase(code);
    return "";
}

std::string VirtualInput::layout(const std::string& name) {
    // Only the keys whose labels differ from a US keyboard's.
    _printed.clear();
    if (name == "us") {
        _layout = {};
    } else if (name == "fr") {
        _layout = {{SDL_SCANCODE_A, 'q'},     {SDL_SCANCODE_Q, 'a'},         {SDL_SCANCODE_W, 'z'},
                   {SDL_SCANCODE_Z, 'w'},     {SDL_SCANCODE_SEMICOLON, 'm'}, {SDL_SCANCODE_M, ','},
                   {SDL_SCANCODE_COMMA, ';'}, {SDL_SCANCODE_MINUS, ')'},     {SDL_SCANCODE_PERIOD, ':'},
                   {SDL_SCANCODE_SLASH, '!'}};
        // The top row keeps the digits' codes though it prints symbols unshifted.
        const char* row[] = {"&", "\xc3\xa9", "\"", "'", "(", "-", "\xc3\xa8", "_", "\xc3\xa7", "\xc3\xa0"};
        for (int i = 0; i < 10; ++i)
            _printed[static_cast<SDL_Scancode>(SDL_SCANCODE_1 + i)] = row[i];
    } else if (name == "de") {
        _layout = {{SDL_SCANCODE_Y, 'z'},
                   {SDL_SCANCODE_Z, 'y'},
                   {SDL_SCANCODE_MINUS, 0xdf},
                   {SDL_SCANCODE_EQUALS, 0xb4},
                   {SDL_SCANCODE_RIGHTBRACKET, '+'},
                   {SDL_SCANCODE_SLASH, '-'},
                   {SDL_SCANCODE_LEFTBRACKET, 0xfc},
                   {SDL_SCANCODE_SEMICOLON, 0xf6}};
    } else {
        return "no such layout: " + name;
    }
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

void VirtualInput::mouseMove(int x, int y) {
    _pointerX = _windowX + x;
    _pointerY = _windowY + y;
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    push(e);
}

void VirtualInput::wheel(int notches) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = notches;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    push(e);
}

void VirtualInput::windowMoved(int dx, int dy) {
    _windowX += dx;
    _windowY += dy;
    window(SDL_WINDOWEVENT_MOVED);
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = _pointerX - _windowX;
    e.motion.y = _pointerY - _windowY;
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

int VirtualInput::rumbled(void* userdata, Uint16 low, Uint16 high) {
    // SDL ends a rumble by itself in real time: only the starts are the game's.
    auto* pad = static_cast<Pad*>(userdata);
    if (low || high)
        pad->owner->_rumbles.push_back("pad " + std::to_string(pad->number) + " " + std::to_string(low) +
                                       " " + std::to_string(high));
    return 0;
}

std::vector<std::string> VirtualInput::rumbles() {
    return std::exchange(_rumbles, {});
}

std::string VirtualInput::padAttach(int pad, const std::string& family) {
    if (find(pad)) return "pad " + std::to_string(pad) + " is attached already";
    // Makers' USB ids: SDL tells a pad's family from them.
    const std::map<std::string, std::pair<Uint16, Uint16>> ids = {{"xbox", {0x045e, 0x028e}},
                                                                  {"playstation", {0x054c, 0x09cc}},
                                                                  {"nintendo", {0x057e, 0x2009}},
                                                                  {"unknown", {0x1234, 0x0001}}};
    const auto id = ids.find(family);
    if (id == ids.end()) return "no such pad family: " + family;
    const bool mappable = family != "unknown";
    Pad& slot = _pads[pad];
    slot.owner = this;
    slot.number = pad;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = mappable ? SDL_JOYSTICK_TYPE_GAMECONTROLLER : SDL_JOYSTICK_TYPE_UNKNOWN;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.vendor_id = id->second.first;
    desc.product_id = id->second.second;
    desc.name = mappable ? "Playtest pad" : "Playtest joystick";
    desc.userdata = &slot;
    desc.Rumble = &VirtualInput::rumbled;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) {
        _pads.erase(pad);
        return std::string("cannot attach a virtual pad: ") + SDL_GetError();
    }
    if (!mappable) {
        slot.joystick = SDL_JoystickOpen(index);
        return "";
    }
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
    Pad& p = slot;
    p.joystick = SDL_JoystickOpen(index);
    p.controller = SDL_GameControllerOpen(index);
    if (!p.joystick || !p.controller) {
        std::string error = std::string("cannot open the virtual pad: ") + SDL_GetError();
        if (p.controller) SDL_GameControllerClose(p.controller);
        if (p.joystick) SDL_JoystickClose(p.joystick);
        SDL_JoystickDetachVirtual(index);
        _pads.erase(pad);
        return error;
    }
    return "";
}

std::string VirtualInput::padDetach(int pad) {
    Pad* p = find(pad);
    if (!p) return "no pad " + std::to_string(pad);
    const int index = deviceIndexOf(p->joystick);
    if (p->controller) SDL_GameControllerClose(p->controller);
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
    if (!p || !p->controller) return "no pad " + std::to_string(pad);
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    if (button == SDL_CONTROLLER_BUTTON_INVALID) return "unknown pad button: " + name;
    const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForButton(p->controller, button);
    if (bind.bindType != SDL_CONTROLLER_BINDTYPE_BUTTON) return "the pad has no " + name;
    SDL_JoystickSetVirtualButton(p->joystick, bind.value.button, pressed ? SDL_PRESSED : SDL_RELEASED);
    return "";
}

std::string VirtualInput::padAxis(int pad, const std::string& name, float value) {
    Pad* p = find(pad);
    if (!p || !p->controller) return "no pad " + std::to_string(pad);
    const SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name.c_str());
    if (axis == SDL_CONTROLLER_AXIS_INVALID) return "unknown pad axis: " + name;
    const SDL_GameControllerButtonBind bind = SDL_GameControllerGetBindForAxis(p->controller, axis);
    if (bind.bindType != SDL_CONTROLLER_BINDTYPE_AXIS) return "the pad has no " + name;
    const float clamped = std::clamp(value, -1.0f, 1.0f);
    SDL_JoystickSetVirtualAxis(p->joystick, bind.value.axis,
                               static_cast<Sint16>(std::lround(clamped * 32767)));
    return "";
}
