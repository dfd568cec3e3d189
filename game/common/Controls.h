#pragma once
#include "game/common/GameConstants.h"

// Every way to play, in one table: the game's controls by name, and the keys, gamepad
// buttons and stick or D-pad directions bound to each. A scene attaches the button a control
// presses when it makes it; a bound input then presses that button exactly as a finger would.
class Controls {
  public:
    // The title and the cut-scene take a tap anywhere.
    static constexpr const char* kTapAnywhere = "tapAnywhere";
    // The round's ring of element buttons, 0 (top left) clockwise to 5 (left), and back.
    static const char* ring(int index);
    static constexpr const char* kBack = "back";
    // The result panel.
    static constexpr const char* kRetry = "retry";
    static constexpr const char* kGoShop = "goShop";
    // The shop.
    static constexpr const char* kBuyTime = "buyTime";
    static constexpr const char* kBuyLife = "buyLife";
    static constexpr const char* kStart = "start";
    static constexpr const char* kGoTitle = "goTitle";
    // The round's pause button, and its panel's RESUME and TITLE.
    static constexpr const char* kPause = "pause";
    static constexpr const char* kResume = "resume";
    static constexpr const char* kLeaveRound = "leaveRound";
    static constexpr const char* kSoundDown = "soundDown";
    static constexpr const char* kSoundUp = "soundUp";
    static constexpr const char* kSoundMute = "soundMute";
    static constexpr const char* kFullscreen = "fullscreenButton";
    // The title's quit panel: opened and closed, and its QUIT.
    static constexpr const char* kQuitPanel = "quitPanel";
    static constexpr const char* kQuit = "quit";
    // The options panel: opened from the title and the pause panel, closed by its BACK (and
    // the confirmation's CANCEL, the credits' BACK); its items, reached by the highlight; the
    // credits' scrolling.
    static constexpr const char* kOptions = "options";
    static constexpr const char* kOptionsBack = "optionsBack";
    static constexpr const char* kMusicDown = "musicDown";
    static constexpr const char* kMusicUp = "musicUp";
    static constexpr const char* kEffectsDown = "effectsDown";
    static constexpr const char* kEffectsUp = "effectsUp";
    static constexpr const char* kOptionsFullscreen = "optionsFullscreen";
    static constexpr const char* kLanguage = "language";
    static constexpr const char* kControlsPage = "controlsPage";
    static constexpr const char* kStartOver = "startOver";
    static constexpr const char* kCredits = "credits";
    static constexpr const char* kErase = "erase";
    static constexpr const char* kScrollUp = "scrollUp";
    static constexpr const char* kScrollDown = "scrollDown";
    // A panel's way back to where the player was: the quit panel's, or the question before a
    // round is given up.
    static constexpr const char* kPanelBack = "panelBack";

    // Writes the table into the engine's input map.
    static void install();
};
