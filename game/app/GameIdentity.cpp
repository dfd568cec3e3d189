#include "game/app/GameIdentity.h"

#include "engine/base/AppIdentity.h"
#include "engine/base/PlayerTexts.h"

#include <string>

void GameIdentity::install() {
    // The file name is also the save folder: a player's progress lives under it.
    cocos2d::AppIdentity::set({"doviveduzuz", "DOVIVEDUZUZ"});
    cocos2d::PlayerTexts::set({
        .paused = "Paused",
        .notSaved = "Progress not saved",
        .saveNotRead = "Save not read yet",
        .keptAside = "Old save kept aside",
        .soundOff = "Sound off",
        .volume = [](int percent) { return "Volume " + std::to_string(percent) + " %"; },
        .volumes =
            [](int music, int effects) {
                return "Music " + std::to_string(music) + " %  Effects " + std::to_string(effects) + " %";
            },
        .padNotSupported = "Controller not supported",
        .alreadyRunning = "Doviveduzuz is already running.\nSwitch to its window to play.",
    });
}
