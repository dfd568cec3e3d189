#pragma once
// Every connected game controller, plugged in or out at any time, turned into presses of the
// input map: buttons press while held; a stick flicked far enough is one tap toward where it
// points, judged once a frame when all its axes have moved; the D-pad waits a moment so that
// a diagonal, which arrives as two buttons, counts as one direction.
#include "engine/base/Types.h"

#include <SDL.h>
#include <string>
#include <vector>

namespace cocos2d {

class Gamepads {
  public:
    // Past this share of its travel a stick flicks; it must come back under the second
    // before it flicks again.
    static constexpr float kFlickAt = 0.6f;
    static constexpr float kRearmAt = 0.3f;
    // Frames the D-pad waits, after its first button, for the second button of a diagonal.
    static constexpr int kDpadWait = 3;

    Gamepads() = default;
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Takes the controller events; false for any other event.
    bool handle(const SDL_Event& event);
    // Once a frame.
    void tick();
    // While paused nothing presses: buttons are ignored and a stick moved meanwhile only
    // counts where it is, so a stick held through the pause does not flick on return.
    void setPaused(bool paused);
    std::size_t count() const { return _pads.size(); }
    // The family of a pad's buttons, for prompts: "xbox", "playstation" or "nintendo" (the
    // first also for any other pad, most of which copy its layout).
    std::string familyOf(SDL_JoystickID id);
    // Every pad that can rumbles, strength 0 to 1.
    void rumble(float strength, float seconds);

  private:
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        float axes[SDL_CONTROLLER_AXIS_MAX] = {};
        bool stickArmed[2] = {true, true};
        // A stick past the flick line this frame, and the furthest place it reached: a diagonal
        // arrives as two axis events, and only both together say where it points.
        bool stickOut[2] = {};
        Vec2 stickToward[2];
        // Held D-pad buttons: up, down, left, right.
        bool dpad[4] = {};
        int dpadWait = 0;
        bool dpadPending = false;
        // The scene the D-pad press began in: one that changes meanwhile takes nothing.
        const void* dpadScene = nullptr;
    };
    Pad* find(SDL_JoystickID id);
    void open(int deviceIndex);
    void close(SDL_JoystickID id);
    // The button of the table a press on this pad plays: a Nintendo pad's letters by label.
    int buttonPlayed(SDL_JoystickID id, int button);
    void axisMoved(Pad& pad, int axis, float value);
    void judgeStick(Pad& pad, int stick);
    void dpadChanged(Pad& pad, int button, bool pressed);
    void dpadAct(Pad& pad, const bool held[4]);
    // A joystick SDL knows no game controller layout for: said once per kind of device.
    void unmappable(int deviceIndex);
    std::vector<Pad> _pads;
    std::vector<std::string> _unmappableSaid;
    bool _paused = false;
};

} // namespace cocos2d
