#pragma once
// Everything the desktop sends, turned into what the engine understands: the window's state
// for the application, the mouse and fingers as touches, keys and gamepads through the input
// map. The real main loop and the playtest harness run the same pump.
//
// The game's time stands still while its window is minimised, hidden or out of focus, or the
// screen is locked over it: a stage timer running behind another window would end the round
// unseen. A small "Paused" note stays
// over the last picture, and what was held when the window went away presses nothing.
#include "engine/base/Types.h"
#include "engine/input/CursorWatch.h"
#include "engine/input/Gamepads.h"
#include "engine/platform/ScreenLockWatch.h"

#include <SDL.h>
#include <map>
#include <memory>
#include <vector>

namespace cocos2d {

class ApplicationProtocol;
class GLView;

class EventPump {
  public:
    // The application hears of the window going to the background and coming back. Gamepads
    // are looked for now, or on the first openGamepads().
    explicit EventPump(ApplicationProtocol* app, bool gamepadsNow = true);
    ~EventPump();
    EventPump(const EventPump&) = delete;
    EventPump& operator=(const EventPump&) = delete;

    // Handles every event waiting. False once the window has been asked to close.
    bool pump();
    void handle(const SDL_Event& event);
    // Once a frame, after pump(): what depends on frames passing (the D-pad, the cursor).
    void tick();
    // Starts listening for gamepads (once; later calls do nothing).
    void openGamepads();

    bool quitRequested() const { return _quit; }
    bool isMinimized() const { return _minimized; }
    bool isPaused() const { return _minimized || _hidden || _unfocused || _locked; }
    const Gamepads& gamepads() const { return _gamepads; }
    // The mouse cursor hides while keys, a pad or fingers play, and in fullscreen once the
    // mouse has been still a while; moving the mouse shows it.
    bool isCursorShown() const;
    // Where the pointer is on the screen (by default the desktop's word for it, with a window).
    void setPointerOnScreen(CursorWatch::PointerOnScreen where) {
        _cursor.setPointerOnScreen(std::move(where));
    }

    // Touch ids of fingers start here, apart from the mouse (0) and the input map's.
    static constexpr int kFirstFingerTouch = 1 << 16;

  private:
    void windowEvent(const SDL_WindowEvent& event);
    // Pauses or resumes after a change of isPaused() from `wasPaused`.
    void follow(bool wasPaused);
    void watchScreenLock();
    void pause();
    void resume();
    // Lets go of every held key, button, mouse press and finger without pressing anything.
    void letGo();
    void fingerEvent(const SDL_TouchFingerEvent& event);
    // Whose hands play now (the mouse, fingers, keys or a pad), for the prompts and the cursor.
    void noteHands(const SDL_Event& event);
    Vec2 designPoint(float x, float y) const;

    ApplicationProtocol* _app;
    Gamepads _gamepads;
    bool _gamepadsOpen = false;
    bool _quit = false;
    bool _minimized = false;
    bool _hidden = false;
    bool _unfocused = false;
    bool _locked = false;
    std::unique_ptr<ScreenLockWatch> _lockWatch;
    bool _lockWatched = false;
    bool _mouseDown = false;
    CursorWatch _cursor;
    // What SDL was last told, so the cursor is set only when it changes (each setting goes to
    // the display).
    int _cursorSet = -1;
    std::map<SDL_FingerID, int> _fingers;
    std::vector<SDL_Event> _batch;
};

} // namespace cocos2d
