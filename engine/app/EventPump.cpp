#include "engine/app/EventPump.h"

#include "engine/app/Application.h"
#include "engine/base/Log.h"
#include "engine/base/PlayerTexts.h"
#include "engine/input/InputMap.h"
#include "engine/platform/WindowState.h"
#include "engine/scene/Director.h"
#include "engine/scene/Overlay.h"
#include "engine/window/GLView.h"

namespace cocos2d {

namespace {
constexpr const char* kPausedNote = "paused";

// What a player's hands do: dropped while the game is paused.
bool isInput(const SDL_Event& e) {
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_FINGERDOWN:
    case SDL_FINGERMOTION:
    case SDL_FINGERUP:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
        return true;
    default:
        return false;
    }
}

bool takesWindowAway(const SDL_Event& e) {
    if (e.type != SDL_WINDOWEVENT) return false;
    return e.window.event == SDL_WINDOWEVENT_FOCUS_LOST || e.window.event == SDL_WINDOWEVENT_HIDDEN ||
           e.window.event == SDL_WINDOWEVENT_MINIMIZED;
}
} // namespace

EventPump::EventPump(ApplicationProtocol* app, bool gamepadsNow) : _app(app), _cursor(SDL_GetTicks()) {
    // A mouse is not a finger: no touch events made up from it.
    SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
    // Pad buttons by their place, not their label: the bottom one confirms on every pad.
    SDL_SetHint(SDL_HINT_GAMECONTROLLER_USE_BUTTON_LABELS, "0");
    InputMap::getInstance()->setRumbler(
        [this](float strength, float seconds) { _gamepads.rumble(strength, seconds); });
    if (gamepadsNow) openGamepads();
    _cursor.setPointerOnScreen([](CursorWatch::Place& where) {
        GLView* view = Director::getInstance()->getOpenGLView();
        if (!view || !view->hasWindow()) return false;
        // SDL keeps the desktop's pointer as of the last event, over the window; the screen's
        // own answer may be one it kept from before.
        int x = 0, y = 0;
        SDL_GetMouseState(&x, &y);
        SDL_GetWindowPosition(view->getWindow(), &where.windowX, &where.windowY);
        where.x = where.windowX + x;
        where.y = where.windowY + y;
        return true;
    });
}

void EventPump::openGamepads() {
    if (_gamepadsOpen) return;
    _gamepadsOpen = true;
    if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER) && SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        warn("no gamepads: %s", SDL_GetError());
}

EventPump::~EventPump() {
    InputMap::getInstance()->setRumbler(nullptr);
    InputMap::getInstance()->releaseAll();
}

bool EventPump::pump() {
    _batch.clear();
    SDL_Event e;
    while (SDL_PollEvent(&e))
        _batch.push_back(e);
    // SDL lets go of the held keys just before it says the focus is gone: those releases, and
    // any input that came with them, were cut short by the desktop and press nothing.
    std::size_t inputFrom = 0;
    for (std::size_t i = 0; i < _batch.size(); ++i)
        if (takesWindowAway(_batch[i])) inputFrom = i + 1;
    for (std::size_t i = 0; i < _batch.size(); ++i)
        if (i >= inputFrom || !isInput(_batch[i])) handle(_batch[i]);
    return !_quit;
}

Vec2 EventPump::designPoint(float x, float y) const {
    const Size design = Director::getInstance()->getWinSize();
    return Vec2(x, design.height - y);
}

void EventPump::handle(const SDL_Event& e) {
    Director* director = Director::getInstance();
    if (isPaused() && isInput(e)) {
        // Paused, only the pads keep count of where their sticks are, quietly.
        _gamepads.handle(e);
        return;
    }
    noteHands(e);
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
    case SDL_KEYUP: {
        // Held keys repeat: a control is pressed once per key press, unless it repeats too.
        const bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
        if (e.key.repeat) {
            if (e.type == SDL_KEYDOWN)
                InputMap::getInstance()->keyRepeated(e.key.keysym.scancode, e.key.keysym.sym, alt);
        } else {
            InputMap::getInstance()->keyChanged(e.key.keysym.scancode, e.key.keysym.sym, alt,
                                                e.type == SDL_KEYDOWN);
        }
        break;
    }
    case SDL_TEXTINPUT:
        InputMap::getInstance()->textTyped(e.text.text);
        break;
    case SDL_MOUSEWHEEL:
        InputMap::getInstance()->wheelTurned(e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y
                                                                                         : e.wheel.y);
        break;
    default:
        _gamepads.handle(e);
        break;
    }
}

void EventPump::windowEvent(const SDL_WindowEvent& e) {
    const bool wasPaused = isPaused();
    switch (e.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
        _minimized = true;
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        _minimized = false;
        break;
    case SDL_WINDOWEVENT_HIDDEN:
        _hidden = true;
        break;
    case SDL_WINDOWEVENT_SHOWN:
        // Some desktops bring a minimised window back with this alone.
        _hidden = false;
        _minimized = false;
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        _unfocused = true;
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        _unfocused = false;
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        if (GLView* view = Director::getInstance()->getOpenGLView()) view->keepSizeWithinLimits();
        Director::getInstance()->redraw();
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        Director::getInstance()->redraw();
        break;
    default:
        break;
    }
    follow(wasPaused);
}

void EventPump::follow(bool wasPaused) {
    // Minimised and out of focus at once is one pause, over only when both are over.
    if (!wasPaused && isPaused())
        pause();
    else if (wasPaused && !isPaused())
        resume();
}

void EventPump::watchScreenLock() {
    GLView* view = Director::getInstance()->getOpenGLView();
    // Watched from the first frame shown on: opening its own display connection need not delay it.
    if (!_lockWatched && view && view->hasWindow() && view->hasPresented()) {
        _lockWatched = true;
        _lockWatch = ScreenLockWatch::create(view->getWindow());
    }
    if (!_lockWatch) return;
    const bool wasPaused = isPaused();
    _locked = _lockWatch->locked(SDL_GetTicks());
    follow(wasPaused);
}

void EventPump::pause() {
    letGo();
    _gamepads.setPaused(true);
    Overlay::getInstance()->show(kPausedNote, PlayerTexts::get().paused, Overlay::Place::Centre);
    if (_app) _app->applicationDidEnterBackground();
}

void EventPump::resume() {
    Overlay::getInstance()->hide(kPausedNote);
    _gamepads.setPaused(false);
    if (_app) _app->applicationWillEnterForeground();
}

void EventPump::letGo() {
    InputMap::getInstance()->releaseAll();
    Director* director = Director::getInstance();
    if (_mouseDown) director->cancelTouch(0);
    _mouseDown = false;
    for (const auto& [finger, touch] : _fingers)
        director->cancelTouch(touch);
    _fingers.clear();
}

bool EventPump::isCursorShown() const {
    GLView* view = Director::getInstance()->getOpenGLView();
    const bool fullscreen = view && view->isFullscreen();
    return _cursor.shown(fullscreen, SDL_GetTicks());
}

void EventPump::tick() {
    _gamepads.tick();
    watchScreenLock();
    GLView* view = Director::getInstance()->getOpenGLView();
    if (!view || !view->hasWindow()) return;
    if (WindowState* state = view->windowState()) state->tick(SDL_GetTicks());
    const int cursor = isCursorShown() ? SDL_ENABLE : SDL_DISABLE;
    if (cursor != _cursorSet) _cursorSet = SDL_ShowCursor(cursor);
}

} // namespace cocos2d
