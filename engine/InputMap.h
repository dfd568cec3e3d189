#pragma once
// Named controls and the inputs bound to them, in one table: keys, gamepad buttons, and the
// directions of a pad's sticks and D-pad. A control presses what the running scene shows for
// it, through the same touch path a finger uses, so a key does exactly what a tap would; or
// it runs an action of the engine's own (fullscreen, sound).
#include "Types.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace cocos2d {

class MenuItemImage;
class Node;

// One physical input, named the way players and documentation name it.
struct InputBinding {
    enum class Kind { Key, PadButton, Stick, Dpad };
    Kind kind = Kind::Key;
    // A key ("W", "Keypad 7", "Return") or a pad button ("a", "leftshoulder", "start").
    std::string name;
    // Keys only: the binding holds while Alt is down, and then wins over the plain key.
    bool alt = false;
    // Sticks and D-pad: the direction on screen (y up). A stick picks the nearest direction
    // bound; the D-pad needs its own eight-way direction.
    Vec2 direction;

    static InputBinding key(std::string name, bool alt = false);
    static InputBinding padButton(std::string name);
    static InputBinding stickToward(const Vec2& direction);
    static InputBinding dpadToward(int dx, int dy);
};

class InputMap {
  public:
    // The engine's own actions, for the table to bind.
    static constexpr const char* kFullscreen = "fullscreen";
    static constexpr const char* kMute = "mute";
    static constexpr const char* kVolumeDown = "volumeDown";
    static constexpr const char* kVolumeUp = "volumeUp";

    static InputMap* getInstance();

    // The table. Where one input is bound to several controls, the first control bound that
    // has something to press in the running scene takes it.
    void bind(const std::string& control, std::vector<InputBinding> inputs);
    // Unbinds every input; the engine's actions stay, waiting for inputs to be bound again.
    void clearBindings();
    const std::vector<InputBinding>* bindingsOf(const std::string& control) const;

    // What a control presses: the newest shown item attached to it...
    void attach(const std::string& control, MenuItemImage* item);
    // ...or a point on screen while `holder` is shown (screens that take a tap anywhere)...
    void attachPoint(const std::string& control, Node* holder, const Vec2& worldPoint);
    // ...or an engine action, run when one of its inputs goes down.
    void setAction(const std::string& control, std::function<void()> action);
    // A node going away is forgotten (nodes call this as they are destroyed).
    void forget(const Node* node);
    // Where a press of the control would land now; false when nothing takes it.
    bool pressPoint(const std::string& control, Vec2& where) const;

    // From the platform. Scancodes and pad buttons are SDL's numbers; `pad` is the pad's
    // instance id. A held input presses until it is released.
    void keyChanged(int scancode, bool alt, bool pressed);
    void padButtonChanged(int pad, int button, bool pressed);
    // A flick of a stick or a D-pad direction: one press and release.
    void stickFlicked(const Vec2& direction);
    void dpadPressed(int dx, int dy);
    // Every held input lets go without pressing anything (focus lost, pad unplugged).
    void releaseAll();
    void releasePad(int pad);

  private:
    struct Target {
        std::string control;
        const Node* node;
        MenuItemImage* item; // null for a point
        Vec2 point;
    };
    struct Control {
        std::string name;
        std::vector<InputBinding> inputs;
        std::function<void()> action;
    };
    using Match = std::function<bool(const InputBinding&)>;

    InputMap() = default;
    // The first control, in table order, whose inputs match and which can act now.
    const Control* controlFor(const Match& match) const;
    bool available(const Control& control) const;
    // Runs the control's action, or touches its target down (true, with the touch's id and place).
    bool begin(const Match& match, std::pair<int, Vec2>& touch);
    void press(int source, const Match& match);
    void release(int source);
    void tap(const Match& match);
    int nextTouchId();

    std::vector<Control> _controls;
    std::vector<Target> _targets; // oldest first
    // Held inputs by source, and the touch each one holds down.
    std::map<int, std::pair<int, Vec2>> _held;
    int _nextTouch = 1 << 20;
};

} // namespace cocos2d
