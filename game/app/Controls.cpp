#include "Controls.h"

#include "ButtonManager.h"

USING_NS_CC;

namespace {

const char* const kRing[ButtonManager::kButtons] = {"ring0", "ring1", "ring2", "ring3", "ring4", "ring5"};

// A stick points at a ring button from the middle of the six. Every button's picture sits at
// the same offset from its place, so the places alone give the directions.
Vec2 ringDirection(int i) {
    Vec2 centre;
    for (int j = 0; j < ButtonManager::kButtons; ++j)
        centre = centre + ButtonManager::buttonPosition(j) * (1.0f / ButtonManager::kButtons);
    return ButtonManager::buttonPosition(i) - centre;
}

} // namespace

const char* Controls::ring(int index) {
    return index >= 0 && index < ButtonManager::kButtons ? kRing[index] : "";
}

void Controls::install() {
    using B = InputBinding;
    InputMap* map = InputMap::getInstance();
    map->clearBindings();
    // Keys by their place on the keyboard: the hexagon around S, or the keypad's.
    const char* ringKeys[ButtonManager::kButtons] = {"W", "E", "D", "X", "Z", "A"};
    const char* ringKeypad[ButtonManager::kButtons] = {"Keypad 7", "Keypad 9", "Keypad 6",
                                                       "Keypad 3", "Keypad 1", "Keypad 4"};
    // The D-pad: left and right, and the four diagonals; up or down alone points at no button.
    const int dpad[ButtonManager::kButtons][2] = {{-1, 1}, {1, 1}, {1, 0}, {1, -1}, {-1, -1}, {-1, 0}};

    map->bind(kTapAnywhere, {B::key("Space"), B::key("Return"), B::key("Keypad Enter"), B::padButton("a"),
                             B::padButton("start")});
    for (int i = 0; i < ButtonManager::kButtons; ++i)
        map->bind(ring(i), {B::key(ringKeys[i]), B::key(ringKeypad[i]), B::stickToward(ringDirection(i)),
                            B::dpadToward(dpad[i][0], dpad[i][1])});
    map->bind(kBack, {B::key("Backspace"), B::padButton("b")});
    map->bind(kRetry, {B::key("R"), B::padButton("a")});
    map->bind(kGoShop, {B::key("S"), B::padButton("y")});
    map->bind(kBuyTime, {B::key("T"), B::padButton("leftshoulder")});
    map->bind(kBuyLife, {B::key("L"), B::padButton("rightshoulder")});
    map->bind(kStart, {B::key("Return"), B::key("Keypad Enter"), B::padButton("a"), B::padButton("start")});
    // Not Escape alone: the browser keeps it to leave fullscreen.
    map->bind(kGoTitle, {B::key("Escape"), B::key("Backspace"), B::padButton("b")});
    map->bind(InputMap::kFullscreen, {B::key("F11"), B::key("Return", true), B::key("Keypad Enter", true)});
    // Sound anywhere; "=" is the key that carries "+" on most layouts. Not B: it is "back" in play.
    map->bind(InputMap::kMute, {B::key("M"), B::padButton("back")});
    map->bind(InputMap::kVolumeDown, {B::key("-"), B::key("Keypad -")});
    map->bind(InputMap::kVolumeUp, {B::key("="), B::key("Keypad +")});
}
