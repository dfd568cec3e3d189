#pragma once
#include "game/common/GameConstants.h"

#include <string>
#include <vector>

// The controls the player may bind again, in the order the controls page lists them, the scenes
// each acts in (so a new binding never leaves two controls of one scene on the same input),
// and the player's bindings and Nintendo choice kept in the store. The controls table itself
// stays the defaults.
class PlayerBindings {
  public:
    struct Entry {
        const char* control;
        // The name the page shows (a GameTexts msgid); ring buttons give their number to it.
        const char* name;
        int number = 0;
    };
    static const std::vector<Entry>& listed();
    // The player's word for a control of the list; empty for one not listed.
    static std::string nameOf(const std::string& control);
    // After the table: its scenes and guards, then the player's saved bindings over it. A
    // saved number that reads as no input, or that the table no longer allows, is passed over.
    static void install();
    // Each saves what it changed.
    static cocos2d::InputMap::Rebound rebind(const std::string& control, cocos2d::InputMap::Device device,
                                             const std::string& name);
    static void restoreDefaults();
    static void setNintendoByLabel(bool byLabel);
    // The words that say why a binding was refused; empty when it was made.
    static std::string refusalNote(const cocos2d::InputMap::Rebound& result,
                                   cocos2d::InputMap::Device device);

  private:
    static void save();
};
