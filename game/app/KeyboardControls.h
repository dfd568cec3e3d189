#pragma once
#include "GameConstants.h"

#include <map>

// Lets the keyboard stand in for taps: a key presses the control it stands for exactly as a
// finger would, by touching the control's centre while the key is held. A control that is
// hidden or not there yet takes no key, and nothing happens during a fade.
class KeyboardControls {
  public:
    // Installs the controls as the director's key handler.
    static void install();
    void onKey(int scancode, bool pressed);

  private:
    // Where the control for this key is on screen now; false when there is none to press.
    bool controlFor(int scancode, cocos2d::Vec2& where) const;
    // One touch per held key, numbered apart from the mouse's.
    std::map<int, cocos2d::Vec2> _held;
};
