#pragma once
// Named controls and the inputs bound to them, in one table: keys, gamepad buttons, and the
// directions of a pad's sticks and D-pad. A control presses what the running scene shows for
// it, through the same touch path a finger uses, so a key does exactly what a tap would; or
// it runs an action of the engine's own (fullscreen, sound).
#include "engine/base/Types.h"
#include "engine/input/Badges.h"
#include "engine/input/Highlight.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace cocos2d {

class MenuItemImage;
class Node;
class Renderer;

// One physical input, named the way players and documentation name it.
struct InputBinding {
    enum class Kind { Key, PadButton, Stick, Dpad, PadUnplugged, Wheel };
    Kind kind = Kind::Key;
    // A key ("W", "Keypad 7", "Return") or a pad button ("a", "leftshoulder", "start").
    std::string name;
    // Keys only: the binding holds while Alt is down, and then wins over the plain key.
    bool alt = false;
    // Keys only: the key that shows this label on the player's layout, wherever it sits,
    // rather than the key in this place on a US keyboard.
    bool byLabel = false;
    // Sticks and D-pad: the direction on screen (y up). A stick picks the nearest direction
    // bound; the D-pad needs its own eight-way direction.
    Vec2 direction;

    static InputBinding key(std::string name, bool alt = false);
    static InputBinding label(std::string name);
    static InputBinding padButton(std::string name);
    static InputBinding stickToward(const Vec2& direction);
    static InputBinding dpadToward(int dx, int dy);
    // A pad unplugged while the game runs: one tap of its control.
    static InputBinding padUnplugged();
    // The mouse wheel turned a notch away from the player (1) or toward (-1).
    static InputBinding wheel(int dy);
};

class InputMap {
  public:
    // The engine's own actions, for the table to bind.
    static constexpr const char* kFullscreen = "fullscreen";
    static constexpr const char* kMute = "mute";
    static constexpr const char* kVolumeDown = "volumeDown";
    static constexpr const char* kVolumeUp = "volumeUp";
    // The menu's highlight: pressed, and moved by a step on screen.
    static constexpr const char* kConfirm = "confirm";
    static constexpr const char* kMenuUp = "menuUp";
    static constexpr const char* kMenuDown = "menuDown";
    static constexpr const char* kMenuLeft = "menuLeft";
    static constexpr const char* kMenuRight = "menuRight";

    static InputMap* getInstance();

    // The table. Where one input is bound to several controls, the first control bound that
    // has something to press in the running scene takes it.
    // A control that repeats runs its action again while its key is held, as typing does.
    void bind(const std::string& control, std::vector<InputBinding> inputs, bool repeats = false);
    // Unbinds every input and forgets the menu, the badges and whose hands played last; the
    // engine's actions stay, waiting for inputs to be bound again.
    void clearBindings();
    const std::vector<InputBinding>* bindingsOf(const std::string& control) const;

    // What a control presses: the newest shown item attached to it...
    void attach(const std::string& control, MenuItemImage* item);
    // ...or a point on screen while `holder` is shown (screens that take a tap anywhere)...
    void attachPoint(const std::string& control, Node* holder, const Vec2& worldPoint);
    // ...or an engine action, run when one of its inputs goes down; while `canAct` says no, the
    // input goes on to the next control bound to it.
    void setAction(const std::string& control, std::function<void()> action,
                   std::function<bool()> canAct = nullptr);
    // A node going away is forgotten: every node a control presses calls this as it is destroyed.
    void forget(const Node* node);
    static void forgetRemoved(const Node* node) { getInstance()->forget(node); }
    // Where a press of the control would land now; false when nothing takes it.
    bool pressPoint(const std::string& control, Vec2& where) const;

    // The controls whose buttons make up a menu, in the order the highlight prefers to start.
    void setMenu(std::vector<std::string> controls);
    // The button the highlight is on now, if a menu is shown.
    const MenuItemImage* highlighted() const;
    void drawHighlight(Renderer& renderer) const;
    // The highlight goes back to the first button of the menu shown next: a panel opening, a
    // new scene.
    void restartHighlight() { _highlight.restart(); }

    // What the player's hands were on last. With the mouse or a finger, no highlight and no
    // badges are drawn; with a pad, its badges are of its family ("xbox", "playstation",
    // "nintendo"). Before anything is used, only a screen that takes any press says which key
    // does it: a button says what it does, a blank screen does not.
    enum class Hands { None, Pointer, Keys, Pad };
    void setHands(Hands hands, const std::string& padFamily = "");
    Hands hands() const { return _hands; }
    bool isPointerInUse() const { return _hands == Hands::Pointer; }
    // Whether the highlight is drawn: keys or a pad in use.
    bool isHighlightShown() const { return _hands == Hands::Keys || _hands == Hands::Pad; }
    // Badge pictures are this prefix followed by "key", "keyWide", "<family>_<button>" or
    // "dpad_<dx>_<dy>", then ".png"; a key's label is written in `font`.
    void setBadgePictures(const std::string& prefix, const std::string& font);
    // A button whose control has no input of its own shows the badge of one that does the same.
    void setBadgeLike(const std::string& control, const std::string& like);
    // Keys the platform keeps for itself (the browser's Escape): a badge shows the next key.
    void setKeptKeys(std::vector<std::string> names) { _keptKeys = std::move(names); }
    // The badges to show now, one beside each button that has an input for the hands in use.
    std::vector<Badge> badges() const;
    void drawBadges(Renderer& renderer) const;
    // The label a key bound by place carries on the player's layout.
    static std::string keyLabel(const InputBinding& key);
    // Runs an engine action by its control's name (a button of the game's that does the same).
    void runAction(const std::string& control) const;

    // From the platform. Scancodes, keycodes and pad buttons are SDL's numbers; `pad` is the
    // pad's instance id. A held input presses until it is released.
    void keyChanged(int scancode, int keycode, bool alt, bool pressed);
    // The system's repeat of a held key.
    void keyRepeated(int scancode, int keycode, bool alt);
    // The text the key pressed last typed. Some layouts give a key the code of the digit in
    // its place though it prints a symbol (the French "-" is the 6 key): a key whose code
    // pressed nothing presses what is bound to the label it printed.
    void textTyped(const std::string& text);
    void padButtonChanged(int pad, int button, bool pressed);
    // A flick of a stick or a D-pad direction: one press and release.
    void stickFlicked(const Vec2& direction);
    void dpadPressed(int dx, int dy);
    void padUnplugged();
    // The wheel's notches, positive away from the player: one tap per notch.
    void wheelTurned(int notches);
    // A rumble of the pads, strength 0 to 1, where the platform has a way to make one.
    void rumble(float strength, float seconds) const;
    void setRumbler(std::function<void(float strength, float seconds)> rumbler);

    // The player's own bindings (InputMapRebind.cpp). Each control has one key and one pad
    // button of the player's (its first key, and first pad button); its other inputs, the
    // fixed keys, sticks and D-pad stay as the table has them.
    enum class Device { Keys, Pad };
    // Why a binding was refused: a fixed key; the last key or button of another control that
    // can act at the same time; the last way into a guarded control; an unknown input.
    enum class Refusal { None, Fixed, LastInput, LockOut, Unknown };
    struct Rebound {
        Refusal refusal = Refusal::None;
        // The control that gave its input up (swapped or left with its others), or that refused.
        std::string other;
    };
    // The scenes a control acts in: controls sharing one can be live together, so never share
    // an input after a rebinding. "*" (and a control given none) shares every scene.
    void setContexts(const std::string& control, std::vector<std::string> contexts);
    // Keys the platforms keep for themselves (Escape, F11): never moved, never taken.
    void setFixedKeys(std::vector<std::string> names) { _fixedKeys = std::move(names); }
    // Controls that must keep a key other than the fixed ones and a pad button: the ways into
    // the panels a player must always reach.
    void setGuarded(std::vector<std::string> controls) { _guarded = std::move(controls); }
    // The table as installed is the defaults; restoreDefaults brings it back.
    void keepDefaults();
    void restoreDefaults();
    // Binds the player's key (by SDL's name for its place) or pad button. An input held by a
    // control of a shared scene moves to the old input of `control` (a swap), or leaves that
    // control if it has another; otherwise the binding is refused and nothing changes.
    Rebound rebind(const std::string& control, Device device, const std::string& name);
    // The player's input of that kind, or null.
    const InputBinding* playerInput(const std::string& control, Device device) const;
    // The store's numbers: 0 for the default, -1 for none, else the input's code.
    int savedCode(const std::string& control, Device device) const;
    // A saved number put back; false (and nothing changed) for a code that reads as no input.
    bool applySaved(const std::string& control, Device device, int code);
    // The next key or pad button pressed goes to `taken` instead of playing; Escape, a modifier
    // alone or the end of the capture (stopCapture) goes to `cancelled`.
    void capture(std::function<void(Device, const std::string&)> taken, std::function<void()> cancelled);
    void stopCapture();
    bool isCapturing() const { return static_cast<bool>(_taken); }
    // A Nintendo pad confirms with the button labelled A (true) or the bottom one (false).
    void setNintendoByLabel(bool byLabel) { _nintendoByLabel = byLabel; }
    bool nintendoByLabel() const { return _nintendoByLabel; }
    // The pad button that plays `button` of the table on a pad of this family.
    std::string padButtonFor(const std::string& family, const std::string& button) const;
    // The badges of a control's player's key and pad button (of the family in use last).
    bool keyBadge(const std::string& control, std::string& picture, std::string& text) const;
    bool padBadge(const std::string& control, std::string& picture) const;
    const std::string& padFamily() const { return _padFamily; }
    const std::vector<std::string>& menu() const { return _menu; }

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
        std::function<bool()> canAct;
        bool repeats = false;
    };
    using Match = std::function<bool(const InputBinding&)>;

    InputMap();
    std::vector<Highlight::Item> menuItems() const;
    bool pressPointOf(const std::string& control, Vec2& where, MenuItemImage** item) const;
    // The badge picture and text for a control and the hands in use; false for none.
    bool badgeOf(const std::string& control, std::string& picture, std::string& text) const;
    // No badge or highlight is drawn during a fade, nor with no scene.
    static bool sceneSettled();
    // The first control, in table order, whose inputs match and which can act now.
    const Control* controlFor(const Match& match) const;
    bool available(const Control& control) const;
    Control* find(const std::string& name);
    bool shareScene(const std::string& a, const std::string& b) const;
    bool isFixed(const InputBinding& input) const;
    // Where the player's input of that kind sits in `inputs`, or -1.
    int playerSlot(const std::vector<InputBinding>& inputs, Device device) const;
    // Hands a key or pad button to a capture under way; true when it took it.
    bool captured(Device device, const std::string& name);
    // Runs the control's action, or touches its target down (true, with the touch's id and place).
    // `source` is the input doing it: one button pressed by two inputs at once is one press.
    bool begin(int source, const Match& match, std::pair<int, Vec2>& touch);
    void press(int source, const Match& match);
    void release(int source);
    void tap(int source, const Match& match);
    int nextTouchId();

    std::function<void(float, float)> _rumbler;
    std::vector<std::string> _menu;
    Highlight _highlight;
    Hands _hands = Hands::None;
    std::string _padFamily = "xbox";
    std::string _badgePrefix;
    std::map<std::string, std::string> _badgeLike;
    std::vector<std::string> _keptKeys;
    Badges _badges;
    std::vector<Control> _controls;
    std::vector<Target> _targets; // oldest first
    std::map<std::string, std::vector<std::string>> _contexts;
    std::vector<std::string> _fixedKeys, _guarded;
    std::vector<std::pair<std::string, std::vector<InputBinding>>> _defaults;
    bool _nintendoByLabel = true;
    std::function<void(Device, const std::string&)> _taken;
    std::function<void()> _cancelled;
    // Held inputs by source, and the touch each one holds down.
    std::map<int, std::pair<int, Vec2>> _held;
    // The key whose code pressed nothing, waiting for the text it types; the keys held that
    // pressed by their text, and that text.
    int _untypedKey = -1;
    std::map<int, std::string> _typedLabel;
    // The last press of each control: the frame it came in and the input that made it.
    std::map<std::string, std::pair<unsigned long long, int>> _lastPress;
    int _nextTouch = 1 << 20;
};

} // namespace cocos2d
