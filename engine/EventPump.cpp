#include "EventPump.h"

#include "Application.h"
#include "Director.h"
#include "GLView.h"
#include "InputMap.h"
#include "Log.h"
#include "WindowState.h"

#include <algorithm>

namespace cocos2d {

namespace {
// In fullscreen the mouse cursor hides after this long without moving.
constexpr Uint32 kCursorHideMs = 2000;
} // namespace

EventPump::EventPump(ApplicationProtocol* app) : _app(app), _lastMouseMove(SDL_GetTicks()) {
    // A mouse is not a finger: no touch events made up from it.
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        log("no gamepads: %s", SDL_GetError());
}

EventPump::~EventPump() {
    InputMap::getInstance()->releaseAll();
}

bool EventPump::pump() {
    SDL_Event e;
    while (SDL_PollEvent(&e))
        handle(e);
    return !_quit;
}

Vec2 EventPump::designPoint(float x, float y) const {
    const Size design = Director::getInstance()->getWinSize();
    return Vec2(x, design.height - y);
}

void EventPump::handle(const SDL_Event& e) {
    Director* director = Director::getInstance();
    switch (e.type) {
    case SDL_QUIT:
        _quit = true;
        break;
    case SDL_WINDOWEVENT:
        windowEvent(e.window);
        break;
    // The mouse arrives in design units, since the renderer has a logical size. A finger's
    // copy of itself as a mouse is left out: the finger is already a touch.
    case SDL_MOUSEBUTTONDOWN:
        if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID) {
            _mouseDown = true;
            director->touchBegan(0,
                                 designPoint(static_cast<float>(e.button.x), static_cast<float>(e.button.y)));
        }
        break;
    case SDL_MOUSEMOTION:
        if (e.motion.which == SDL_TOUCH_MOUSEID) break;
        _lastMouseMove = SDL_GetTicks();
        SDL_ShowCursor(SDL_ENABLE);
        if (_mouseDown)
            director->touchMoved(0,
                                 designPoint(static_cast<float>(e.motion.x), static_cast<float>(e.motion.y)));
        break;
    case SDL_MOUSEBUTTONUP:
        if (e.button.button == SDL_BUTTON_LEFT && e.button.which != SDL_TOUCH_MOUSEID && _mouseDown) {
            _mouseDown = false;
            director->touchEnded(0,
                                 designPoint(static_cast<float>(e.button.x), static_cast<float>(e.button.y)));
        }
        break;
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
        fingerEvent(e.tfinger);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        // Held keys repeat; a control is pressed once per key press.
        if (!e.key.repeat)
            InputMap::getInstance()->keyChanged(e.key.keysym.scancode, (e.key.keysym.mod & KMOD_ALT) != 0,
                                                e.type == SDL_KEYDOWN);
        break;
    default:
        _gamepads.handle(e);
        break;
    }
}

void EventPump::windowEvent(const SDL_WindowEvent& e) {
    if (e.event == SDL_WINDOWEVENT_MINIMIZED && !_minimized) {
        _minimized = true;
        if (_app) _app->applicationDidEnterBackground();
    } else if ((e.event == SDL_WINDOWEVENT_RESTORED || e.event == SDL_WINDOWEVENT_SHOWN) && _minimized) {
        _minimized = false;
        if (_app) _app->applicationWillEnterForeground();
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

void EventPump::tick() {
    _gamepads.tick();
    GLView* view = Director::getInstance()->getOpenGLView();
    if (!view || !view->hasWindow()) return;
    if (WindowState* state = view->windowState()) state->tick(SDL_GetTicks());
    if (view->isFullscreen() && SDL_GetTicks() - _lastMouseMove > kCursorHideMs)
        SDL_ShowCursor(SDL_DISABLE);
    else if (!view->isFullscreen())
        SDL_ShowCursor(SDL_ENABLE);
}

} // namespace cocos2d
