#include "engine/input/CursorWatch.h"

namespace cocos2d {

void CursorWatch::setPointerOnScreen(PointerOnScreen where) {
    _where = std::move(where);
    _known = pointer(_last);
}

bool CursorWatch::moved(std::uint32_t now) {
    Place place;
    if (pointer(place)) {
        const bool stillOnScreen = place.x == _last.x && place.y == _last.y;
        const bool stillOverWindow = place.x - place.windowX == _last.x - _last.windowX &&
                                     place.y - place.windowY == _last.y - _last.windowY;
        const bool known = _known, entering = _entering;
        _known = true;
        _entering = false;
        _last = place;
        if (entering || (known && (stillOnScreen || stillOverWindow))) return false;
    }
    clicked(now);
    return true;
}

void CursorWatch::clicked(std::uint32_t now) {
    _handsOff = false;
    _lastMove = now;
}

bool CursorWatch::shown(bool fullscreen, std::uint32_t now) const {
    return !_handsOff && !(fullscreen && now - _lastMove > kHideAfterMs);
}

} // namespace cocos2d
