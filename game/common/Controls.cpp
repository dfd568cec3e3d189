#include "game/common/Controls.h"

#include "game/common/PlayerBindings.h"
#include "game/common/RingPlaces.h"

USING_NS_CC;

namespace {

const char* const kRing[RingPlaces::kButtons] = {"ring0", "ring1", "ring2", "ring3", "ring4", "ring5"};

// A stick points at a ring button from the middle of the six. Every button's picture sits at
// the same offset from its place, so the places alone give the directions.
Vec2 ringDirection(int i) {
    Vec2 centre;
    for (int j = 0; j < RingPlaces::kButtons; ++j)
        centre = centre + RingPlaces::position(j) * (1.0f / RingPlaces::kButtons);
    return RingPlaces::position(i) - centre;
}

} // namespace

const char* Controls::ring(int index) {
    return index >= 0 && index < RingPlaces::kButtons ? kRing[index] : "";
}

void Controls::install() {
    using B = InputBinding;
    InputMap* map = InputMap::getInstance();
    map->clearBindings();
    // Keys by their place on the keyboard: the hexagon around S, or the keypad's.
    const char* ringKeys[RingPlaces::kButtons] = {"W", "E", "D", "X", "Z", "A"};
    const char* ringKeypad[RingPlaces::kButtons] = {"Keypad 7", "Keypad 9", "Keypad 6",
                                                    "Keypad 3", "Keypad 1", "Keypad 4"};
    // The D-pad: left and right, and the four diagonals; up or down alone points at no button.
    const int dpad[RingPlaces::kButtons][2] = {{-1, 1}, {1, 1}, {1, 0}, {1, -1}, {-1, -1}, {-1, 0}};

    // A menu's highlight goes first: Enter or A presses what it is on, which is where each
    // menu starts it (START, RETRY, RESUME, a panel's BACK), so pressing them at once does what it
    // always did, and never quits or gives a round up.
    map->bind(InputMap::kConfirm,
              {B::key("Return"), B::key("Keypad Enter"), B::key("Space"), B::padButton("a")});
    map->setMenu({kStart,     kRetry,        kResume,      kPanelBack,  kOptionsBack,
                  kQuit,      kBuyTime,      kBuyLife,     kGoTitle,    kGoShop,
                  kSoundDown, kSoundUp,      kSoundMute,   kFullscreen, kLeaveRound,
                  kMusicDown, kMusicUp,      kEffectsDown, kEffectsUp,  kOptionsFullscreen,
                  kLanguage,  kControlsPage, kStartOver,   kCredits,    kErase});

    map->bind(kTapAnywhere, {B::key("Space"), B::key("Return"), B::key("Keypad Enter"), B::padButton("a"),
                             B::padButton("start")});
    for (int i = 0; i < RingPlaces::kButtons; ++i)
        map->bind(ring(i), {B::key(ringKeys[i]), B::key(ringKeypad[i]), B::stickToward(ringDirection(i)),
                            B::dpadToward(dpad[i][0], dpad[i][1])});
    map->bind(kBack, {B::key("Backspace"), B::padButton("b")});
    // Letters and symbols follow the label printed on the key, on whatever layout.
    map->bind(kRetry, {B::label("R"), B::padButton("a")});
    map->bind(kGoShop, {B::label("S"), B::padButton("y")});
    map->bind(kBuyTime, {B::label("T"), B::padButton("leftshoulder")});
    map->bind(kBuyLife, {B::label("L"), B::padButton("rightshoulder")});
    map->bind(kStart, {B::key("Return"), B::key("Keypad Enter"), B::padButton("a"), B::padButton("start")});
    // Not Escape alone: the browser keeps it to leave fullscreen.
    map->bind(kGoTitle, {B::key("Escape"), B::key("Backspace"), B::padButton("b")});
    // A pad unplugged mid-round pauses it: the player's hands are off the game.
    map->bind(kPause, {B::key("Escape"), B::label("P"), B::padButton("start"), B::padUnplugged()});
    map->bind(kResume, {B::key("Escape"), B::label("P"), B::padButton("start"), B::padButton("b")});
    map->bind(kPanelBack, {B::key("Escape"), B::padButton("b")});
    // Before the title's quit panel: over the options, Escape closes them. Backspace where the
    // browser keeps Escape, as in the shop.
    map->bind(kOptionsBack, {B::key("Escape"), B::key("Backspace"), B::padButton("b")});
    map->bind(kOptions, {B::label("O"), B::padButton("x")});
    // The credits scroll; ahead of the menu's steps, which have nothing to step through there.
    map->bind(kScrollUp,
              {B::key("Up"), B::key("PageUp"), B::dpadToward(0, 1), B::stickToward(Vec2(0, 1)), B::wheel(1)},
              true);
    map->bind(
        kScrollDown,
        {B::key("Down"), B::key("PageDown"), B::dpadToward(0, -1), B::stickToward(Vec2(0, -1)), B::wheel(-1)},
        true);
    map->bind(kLeaveRound, {B::label("T"), B::padButton("y")});
    map->bind(kQuitPanel, {B::key("Escape"), B::padButton("b")});
    // Not a key that starts the game: one slip on the title must not end it.
    map->bind(kQuit, {B::label("Q"), B::padButton("y")});
    // Through a menu: arrows, the D-pad and either stick. In play the ring has them first.
    const std::pair<const char*, Vec2> steps[] = {{InputMap::kMenuUp, Vec2(0, 1)},
                                                  {InputMap::kMenuDown, Vec2(0, -1)},
                                                  {InputMap::kMenuLeft, Vec2(-1, 0)},
                                                  {InputMap::kMenuRight, Vec2(1, 0)}};
    const char* arrows[] = {"Up", "Down", "Left", "Right"};
    for (int i = 0; i < 4; ++i) {
        const auto& [control, toward] = steps[i];
        map->bind(control,
                  {B::key(arrows[i]), B::dpadToward(static_cast<int>(toward.x), static_cast<int>(toward.y)),
                   B::stickToward(toward)});
    }
    // Prompts beside the buttons: the pad's or the key's, in pictures of our own.
    // Read now, with the first scene's pictures: no picture is read in the middle of a scene.
    const std::string badges = std::string("GameScene") + "/badge_";
    auto* pictures = Director::getInstance()->getTextureCache();
    for (const char* family : {"xbox_", "playstation_", "nintendo_"})
        for (const char* button : {"a", "b", "x", "y", "leftshoulder", "rightshoulder", "start", "back"})
            pictures->addImage(badges + family + button + ".png");
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy)
            if (dx || dy)
                pictures->addImage(badges + "dpad_" + std::to_string(dx) + "_" + std::to_string(dy) + ".png");
    pictures->addImage(badges + "key.png");
    pictures->addImage(badges + "keyWide.png");
    map->setBadgePictures(badges, kGameFont);
    map->setBadgeLike(kSoundDown, InputMap::kVolumeDown);
    map->setBadgeLike(kSoundUp, InputMap::kVolumeUp);
    map->setBadgeLike(kSoundMute, InputMap::kMute);
    map->setBadgeLike(kFullscreen, InputMap::kFullscreen);
    map->setBadgeLike(kOptionsFullscreen, InputMap::kFullscreen);
    map->bind(InputMap::kFullscreen, {B::key("F11"), B::key("Return", true), B::key("Keypad Enter", true)});
    // Sound anywhere; on a US layout "+" is the shifted "=". Not B: it is "back" in play. The
    // volume steps on while its key is held.
    map->bind(InputMap::kMute, {B::label("M"), B::padButton("back")});
    map->bind(InputMap::kVolumeDown, {B::label("-"), B::key("Keypad -")}, true);
    map->bind(InputMap::kVolumeUp, {B::label("+"), B::label("="), B::key("Keypad +")}, true);
    // This table is the defaults; the player's own bindings go over it.
    PlayerBindings::install();
}
