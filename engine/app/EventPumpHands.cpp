// The pointer's side of the event pump: fingers as touches, and whose hands play (the mouse,
// fingers, keys or a pad), which decides the prompts and the cursor.
#include "engine/app/EventPump.h"

#include "engine/input/InputMap.h"
#include "engine/scene/Director.h"

#include <algorithm>
#include <cstdlib>

namespace cocos2d {

namespace {
constexpr int kStickRest = 8000;
} // namespace

void EventPump::noteHands(const SDL_Event& e) {
    using Hands = InputMap::Hands;
    InputMap* map = InputMap::getInstance();
    switch (e.type) {
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        // A finger's copy of itself as a mouse is the finger's.
        if (e.button.which == SDL_TOUCH_MOUSEID) return;
        _cursor.clicked(SDL_GetTicks());
        map->setHands(Hands::Pointer);
        return;
    case SDL_MOUSEMOTION:
        if (e.motion.which != SDL_TOUCH_MOUSEID && _cursor.moved(SDL_GetTicks()))
            map->setHands(Hands::Pointer);
        return;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
        _cursor.handsOff();
        map->setHands(Hands::Pointer);
        return;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_ENTER) _cursor.entered();
        return;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        _cursor.handsOff();
        map->setHands(Hands::Keys);
        return;
    case SDL_CONTROLLERAXISMOTION:
        // A stick at rest still trembles: only a real push counts.
        if (std::abs(e.caxis.value) < kStickRest) return;
        _cursor.handsOff();
        map->setHands(Hands::Pad, _gamepads.familyOf(e.caxis.which));
        return;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        _cursor.handsOff();
        map->setHands(Hands::Pad, _gamepads.familyOf(e.cbutton.which));
        return;
    default:
        return;
    }
}

void EventPump::fingerEvent(const SDL_TouchFingerEvent& e) {
    // A mouse's copy of itself as a finger is the mouse's.
    if (e.touchId == SDL_MOUSE_TOUCHID) return;
    // Fingers arrive from 0 to 1 across the design area (the renderer maps them past the bars).
    const Size design = Director::getInstance()->getWinSize();
    const Vec2 where(e.x * design.width, (1 - e.y) * design.height);
    Director* director = Director::getInstance();
    if (e.type == SDL_FINGERDOWN) {
        if (_fingers.count(e.fingerId)) director->cancelTouch(_fingers[e.fingerId]);
        // The lowest id no other finger holds.
        int id = kFirstFingerTouch;
        while (std::any_of(_fingers.begin(), _fingers.end(), [id](const auto& f) { return f.second == id; }))
            ++id;
        _fingers[e.fingerId] = id;
        director->touchBegan(id, where);
        return;
    }
    auto it = _fingers.find(e.fingerId);
    if (it == _fingers.end()) return;
    if (e.type == SDL_FINGERMOTION) {
        director->touchMoved(it->second, where);
        return;
    }
    const int id = it->second;
    _fingers.erase(it);
    director->touchEnded(id, where);
}

} // namespace cocos2d
