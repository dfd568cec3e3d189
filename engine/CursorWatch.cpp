#include "CursorWatch.h"

namespace cocos2d {

void CursorWatch::setPointerOnScreen(PointerOnScreen where) {
    _where = std::move(where);
    _known = pointer(_x, _y);
}

bool CursorWatch::moved(std::uint32_t now) {
    int x = 0, y = 0;
    if (pointer(x, y)) {
        if (_known && x == _x && y == _y) return false;
        _known = true;
        _x = x;
        _y = y;
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
