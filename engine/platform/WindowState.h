#pragma once
// The window remembers where it was: its windowed size and place (of its inside, so the
// desktop's decorations never shift it), and whether it was maximised or fullscreen. Kept in
// the store, saved once a change has settled and at exit, and fitted at the next start to the
// displays attached then.
#include <vector>

struct SDL_Window;

namespace cocos2d {

// Desktop pixels; for a window, its inside.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
};

struct WindowPlacement {
    PixelRect windowed;
    bool maximized = false;
    bool fullscreen = false;
    bool operator==(const WindowPlacement&) const = default;
};

struct DisplayArea {
    PixelRect bounds;
    PixelRect usable; // without panels and docks
};

class WindowState {
  public:
    static constexpr const char* kXKey = "windowX";
    static constexpr const char* kYKey = "windowY";
    static constexpr const char* kWidthKey = "windowWidth";
    static constexpr const char* kHeightKey = "windowHeight";
    static constexpr const char* kMaximizedKey = "windowMaximized";
    static constexpr const char* kFullscreenKey = "windowFullscreen";
    // A drag or a resize is saved once the window has kept still this long.
    static constexpr unsigned kSettleMs = 400;
    // How long after first showing as a plain window the desktop may still shift it.
    static constexpr unsigned kPlacingMs = 1000;

    // The remembered placement fitted to the displays attached now (video must be running);
    // with nothing remembered, the default size centred on the primary display.
    static WindowPlacement restore(int defaultWidth, int defaultHeight);
    // `wanted` fitted to `displays`, the primary one first, so that it shows whole with room for
    // its frame and title bar. A place that no display shows at least half of falls back to
    // centred on the primary; one partly off its display moves onto it; a size larger than its
    // display shrinks, keeping its shape, and is centred there.
    static WindowPlacement fit(const WindowPlacement& wanted, const std::vector<DisplayArea>& displays);
    // False where the window is not the player's to size (the browser sizes the page's canvas):
    // no size limits are set on it, or the picture would be stretched to the page's shape.
    static bool playerSized();

    // Follows a window just opened at `placed`.
    WindowState(SDL_Window* window, const WindowPlacement& placed);
    // Once a frame, with the time in milliseconds.
    void tick(unsigned now);
    // Writes the state into the store now (at exit, or once a change has settled).
    void save();
    const WindowPlacement& current() const { return _placement; }

  private:
    struct Seen {
        PixelRect rect;
        unsigned flags = 0;
        bool operator==(const Seen&) const = default;
    };
    Seen look() const;
    static bool plain(const Seen& seen);
    void keepPlace(const Seen& seen, unsigned now);

    SDL_Window* _window;
    WindowPlacement _placement;
    Seen _seen;
    bool _changed = false;
    unsigned _changedAt = 0;
    // Until the desktop has shown the window where it was asked to be.
    bool _placing = true;
    bool _plainSeen = false;
    unsigned _plainSince = 0;
    int _placeTries = 0;
    unsigned _triedAt = 0;
};

} // namespace cocos2d
