#pragma once
// What a player's hands do, made into the events SDL would send, so that the game's own
// event pump handles them as it handles a real desktop's: keys, fingers (with the mouse
// events SDL makes up for the first finger), window changes, and gamepads (SDL's virtual
// joysticks opened as game controllers).
#include <SDL.h>
#include <map>
#include <set>
#include <string>
#include <vector>

class VirtualInput {
  public:
    VirtualInput() = default;
    ~VirtualInput();
    VirtualInput(const VirtualInput&) = delete;
    VirtualInput& operator=(const VirtualInput&) = delete;

    // Each returns an empty string, or what is wrong with the request.
    // A key by SDL's name for its place ("W", "Keypad 7"), optionally held with Alt; `repeat`
    // is the system's repeat of a held key.
    std::string key(const std::string& name, bool alt, bool pressed, bool repeat = false);
    // The labels the keys carry: "us" (SDL's own), "fr" (AZERTY) or "de" (QWERTZ).
    std::string layout(const std::string& name);
    // x, y in design units (origin bottom left) over a design area of this size.
    std::string finger(long long id, const std::string& what, float x, float y, float width, float height);
    void window(Uint8 windowEvent);
    // The mouse moved to x, y in window pixels (y down).
    void mouseMove(int x, int y);
    void wheel(int notches);
    // The window moved by dx, dy on the screen (or was resized, or went fullscreen) under a
    // pointer nobody touched: the desktop reports the pointer at its new place in the window.
    void windowMoved(int dx, int dy);
    // Where the pointer is on the screen.
    bool pointerOnScreen(int& x, int& y, int& windowX, int& windowY) const {
        x = _pointerX;
        y = _pointerY;
        windowX = _windowX;
        windowY = _windowY;
        return true;
    }
    // The window losing or gaining the keyboard's focus. As SDL does, the keys held are let go
    // of just before the loss is told.
    void focus(bool gained);

    // A pad of a family ("xbox", "playstation", "nintendo"), or "unknown": a joystick SDL
    // has no controller layout for.
    std::string padAttach(int pad, const std::string& family = "xbox");
    // The rumbles begun on the pads since the last call: "pad N LOW HIGH" (0-65535 each).
    std::vector<std::string> rumbles();
    std::string padDetach(int pad);
    std::string padButton(int pad, const std::string& name, bool pressed);
    std::string padAxis(int pad, const std::string& name, float value);
    // Every virtual pad unplugged (before SDL shuts down).
    void detachAll();

  private:
    struct Pad {
        SDL_Joystick* joystick = nullptr;
        SDL_GameController* controller = nullptr;
        VirtualInput* owner = nullptr;
        int number = 0;
    };
    Pad* find(int pad);
    static int rumbled(void* pad, Uint16 low, Uint16 high);
    std::map<int, Pad> _pads;
    std::map<SDL_Scancode, SDL_Keycode> _layout;
    // What keys type where it is not their code's character (French digits print symbols).
    std::map<SDL_Scancode, std::string> _printed;
    int _pointerX = 0, _pointerY = 0, _windowX = 0, _windowY = 0;
    std::vector<std::string> _rumbles;
    std::set<long long> _fingers;
    std::set<SDL_Scancode> _keysDown;
};
