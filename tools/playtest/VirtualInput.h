#pragma once
// What a player's hands do, made into the events SDL would send, so that the game's own
// event pump handles them as it handles a real desktop's: keys, fingers (with the mouse
// events SDL makes up for the first finger), window changes, and gamepads (SDL's virtual
// joysticks opened as game controllers).
#include <SDL.h>
#include <map>
#include <set>
#include <string>

class VirtualInput {
  public:
    VirtualInput() = default;
    ~VirtualInput();
    VirtualInput(const VirtualInput&) = delete;
    VirtualInput& operator=(const VirtualInput&) = delete;

    // Each returns an empty string, or what is wrong with the request.
    // A key by SDL's name ("W", "Keypad 7"), optionally held with Alt.
    std::string key(const std::string& name, bool alt, bool pressed);
    // x, y in design units (origin bottom left) over a design area of this size.
    std::string finger(long long id, const std::string& what, float x, float y, float width, float height);
    void window(Uint8 windowEvent);
    // The window losing or gaining the keyboard's focus. As SDL does, the keys held are let go
    // of just before the loss is told.
    void focus(bool gained);

    std::string padAttach(int pad);
    std::string padDetach(int pad);
    std::string padButton(int pad, const std::string& name, bool pressed);
    std::string padAxis(int pad, const std::string& name, float value);
    // Every virtual pad unplugged (before SDL shuts down).
    void detachAll();

  private:
    struct Pad {
        SDL_Joystick* joystick = nullptr;
        SDL_GameController* controller = nullptr;
    };
    Pad* find(int pad);
    std::map<int, Pad> _pads;
    std::set<long long> _fingers;
    std::set<SDL_Scancode> _keysDown;
};
