#include "engine/platform/WindowState.h"

#include "engine/store/UserDefault.h"

#include <SDL.h>
#include <algorithm>
#include <cmath>

namespace cocos2d {

namespace {

// Anything smaller was never a window of ours: a damaged or hand-edited store.
constexpr int kSmallestSide = 64;
// A window too large for its display comes back at this share of the free area.
constexpr double kShrunkShare = 0.9;
// Moves to put the window back where it was asked to be, and the time between them.
constexpr int kPlaceTries = 3;
constexpr unsigned kPlaceRetryMs = 150;

// Room kept for the desktop's frame around the inside: a title bar above, thin edges elsewhere.
constexpr int kTitleBar = 40;
constexpr int kFrameEdge = 8;

// Hand-edited values reach the int limits: all sums are taken in 64 bits.
long long overlap(const PixelRect& a, const PixelRect& b) {
    const long long w = std::min(0LL + a.x + a.width, 0LL + b.x + b.width) - std::max(a.x, b.x);
    const long long h = std::min(0LL + a.y + a.height, 0LL + b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

void centre(PixelRect& rect, const PixelRect& on) {
    rect.x = static_cast<int>(on.x + (0LL + on.width - rect.width) / 2);
    rect.y = static_cast<int>(on.y + (0LL + on.height - rect.height) / 2);
}

// Where the inside may go so that the frame shows whole too.
PixelRect insideRoom(const PixelRect& usable) {
    const int width = std::max(kSmallestSide, usable.width - 2 * kFrameEdge);
    const int height = std::max(kSmallestSide, usable.height - kTitleBar - kFrameEdge);
    return {usable.x + kFrameEdge, usable.y + kTitleBar, width, height};
}

std::vector<DisplayArea> attachedDisplays() {
    std::vector<DisplayArea> displays;
    const int count = SDL_GetNumVideoDisplays();
    for (int i = 0; i < count; ++i) {
        SDL_Rect bounds, usable;
        if (SDL_GetDisplayBounds(i, &bounds) != 0) continue;
        if (SDL_GetDisplayUsableBounds(i, &usable) != 0) usable = bounds;
        displays.push_back(
            {{bounds.x, bounds.y, bounds.w, bounds.h}, {usable.x, usable.y, usable.w, usable.h}});
    }
    return displays;
}

} // namespace

WindowPlacement WindowState::restore(int defaultWidth, int defaultHeight) {
    UserDefault* store = UserDefault::getInstance();
    WindowPlacement wanted;
    wanted.windowed = {store->getIntegerForKey(kXKey), store->getIntegerForKey(kYKey),
                       store->getIntegerForKey(kWidthKey), store->getIntegerForKey(kHeightKey)};
    wanted.maximized = store->getBoolForKey(kMaximizedKey);
    wanted.fullscreen = store->getBoolForKey(kFullscreenKey);
    const std::vector<DisplayArea> displays = attachedDisplays();
    if (wanted.windowed.width < kSmallestSide || wanted.windowed.height < kSmallestSide) {
        wanted = WindowPlacement{};
        wanted.windowed = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, defaultWidth, defaultHeight};
        if (displays.empty()) return wanted;
        centre(wanted.windowed, displays.front().usable);
    }
    return fit(wanted, displays);
}

bool WindowState::playerSized() {
    return true;
}

WindowPlacement WindowState::fit(const WindowPlacement& wanted, const std::vector<DisplayArea>& displays) {
    if (displays.empty()) return wanted;
    WindowPlacement fitted = wanted;
    PixelRect& rect = fitted.windowed;
    const DisplayArea* on = nullptr;
    long long shown = 0;
    for (const auto& display : displays)
        if (const long long area = overlap(rect, display.bounds); area > shown) {
            shown = area;
            on = &display;
        }
    // A monitor unplugged since, or a place no one can reach to drag the window back.
    bool centred = false;
    if (!on || 2 * shown < static_cast<long long>(rect.width) * rect.height) {
        on = &displays.front();
        centred = true;
    }
    const PixelRect room = insideRoom(on->usable);
    if (rect.width > room.width || rect.height > room.height) {
        const double scale = kShrunkShare * std::min(static_cast<double>(room.width) / rect.width,
                                                     static_cast<double>(room.height) / rect.height);
        rect.width = std::max(1, static_cast<int>(std::lround(rect.width * scale)));
        rect.height = std::max(1, static_cast<int>(std::lround(rect.height * scale)));
        centred = true;
    }
    if (centred) {
        centre(rect, room);
        return fitted;
    }
    // Partly off its display: moved the least that brings it, title bar and all, back whole.
    rect.x = static_cast<int>(std::clamp<long long>(rect.x, room.x, 0LL + room.x + room.width - rect.width));
    rect.y =
        static_cast<int>(std::clamp<long long>(rect.y, room.y, 0LL + room.y + room.height - rect.height));
    return fitted;
}

WindowState::WindowState(SDL_Window* window, const WindowPlacement& placed)
    : _window(window), _placement(placed), _seen(look()) {}

WindowState::Seen WindowState::look() const {
    Seen seen;
    SDL_GetWindowPosition(_window, &seen.rect.x, &seen.rect.y);
    SDL_GetWindowSize(_window, &seen.rect.width, &seen.rect.height);
    seen.flags = SDL_GetWindowFlags(_window);
    return seen;
}

bool WindowState::plain(const Seen& seen) {
    return !(seen.flags &
             (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_MAXIMIZED | SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN));
}

void WindowState::tick(unsigned now) {
    const Seen seen = look();
    if (!(seen == _seen)) {
        _seen = seen;
        _changed = true;
        _changedAt = now;
    }
    if (_placing) keepPlace(seen, now);
    // Until it is placed, where the window shows is the desktop's doing, not the player's.
    if (_changed && !_placing && now - _changedAt >= kSettleMs) save();
}

void WindowState::keepPlace(const Seen& seen, unsigned now) {
    // A desktop puts its frame where the window asked to be, which pushes the inside down and
    // right by exactly the frame's edges; moved again (by its inside), the window stays where
    // it was left. Only that shift is undone: a player's own move is never taken back.
    if (!plain(seen)) return;
    if (!_plainSeen) {
        _plainSeen = true;
        _plainSince = now;
    }
    int top = 0, left = 0;
    SDL_GetWindowBordersSize(_window, &top, &left, nullptr, nullptr);
    const PixelRect& wanted = _placement.windowed;
    const bool pushed = (left || top) && seen.rect.x == wanted.x + left && seen.rect.y == wanted.y + top;
    if (pushed && _placeTries < kPlaceTries && (_placeTries == 0 || now - _triedAt >= kPlaceRetryMs)) {
        SDL_SetWindowPosition(_window, wanted.x, wanted.y);
        ++_placeTries;
        _triedAt = now;
    }
    if (now - _plainSince >= kPlacingMs) _placing = false;
}

void WindowState::save() {
    const Seen seen = look();
    _changed = false;
    // A minimised window says nothing about how it wants to come back.
    if (seen.flags & SDL_WINDOW_MINIMIZED) return;
    _placement.fullscreen = (seen.flags & SDL_WINDOW_FULLSCREEN) != 0;
    // Fullscreen keeps the maximised state and the place it goes back to.
    if (!_placement.fullscreen) _placement.maximized = (seen.flags & SDL_WINDOW_MAXIMIZED) != 0;
    if (plain(seen) && !_placing) {
        // Copied first: GCC 12 mistakes the direct assignment for the use of a dangling pointer.
        const PixelRect rect = seen.rect;
        _placement.windowed = rect;
    }

    UserDefault* store = UserDefault::getInstance();
    const PixelRect& w = _placement.windowed;
    store->setIntegerForKey(kXKey, w.x);
    store->setIntegerForKey(kYKey, w.y);
    store->setIntegerForKey(kWidthKey, w.width);
    store->setIntegerForKey(kHeightKey, w.height);
    store->setBoolForKey(kMaximizedKey, _placement.maximized);
    store->setBoolForKey(kFullscreenKey, _placement.fullscreen);
}

} // namespace cocos2d
