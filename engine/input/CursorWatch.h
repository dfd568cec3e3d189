#pragma once
// Whether the player's hands are on the mouse, and so whether its cursor shows. The cursor
// hides while keys, a pad or fingers play, and in fullscreen once the mouse has been still a
// while. Only the pointer moving on the screen and over the window is the mouse's: a window
// moved, resized or made fullscreen under a pointer nobody touched also reports motion (and
// some desktops carry the pointer along with the window), and that is no hand.
#include <cstdint>
#include <functional>

namespace cocos2d {

class CursorWatch {
  public:
    // In fullscreen the cursor hides after this long without the mouse moving.
    static constexpr std::uint32_t kHideAfterMs = 2000;
    // Where the pointer and the window's corner are on the screen.
    struct Place {
        int x = 0, y = 0, windowX = 0, windowY = 0;
        bool operator==(const Place&) const = default;
    };
    // False where the platform cannot say (then every motion counts as the mouse's).
    using PointerOnScreen = std::function<bool(Place& where)>;

    explicit CursorWatch(std::uint32_t now) : _lastMove(now) {}
    void setPointerOnScreen(PointerOnScreen where);
    // A motion of the mouse was reported: true when the pointer truly moved.
    bool moved(std::uint32_t now);
    // The pointer came over the window, perhaps because the window opened or moved under it: the
    // motion reported with it is where the pointer is, not a hand moving it.
    void entered() { _entering = true; }
    // A mouse button: hands on the mouse, wherever the pointer is.
    void clicked(std::uint32_t now);
    // Keys, a pad or a finger played.
    void handsOff() { _handsOff = true; }
    bool shown(bool fullscreen, std::uint32_t now) const;

  private:
    bool pointer(Place& where) const { return _where && _where(where); }
    PointerOnScreen _where;
    bool _known = false;
    bool _entering = false;
    Place _last;
    bool _handsOff = false;
    std::uint32_t _lastMove;
};

} // namespace cocos2d
