#include "game/app/GameIdentity.h"

#include "engine/base/AppIdentity.h"
#include "engine/base/PlayerTexts.h"
#include "game/common/GameTexts.h"
#include "game/common/Language.h"

#include <string>

namespace {
// The engine's words in the language spoken now.
void setPlayerTexts() {
    using namespace GameTexts;
    cocos2d::PlayerTexts::set({
        .paused = tr(kWindowPaused),
        .notSaved = tr(kNotSaved),
        .saveNotRead = tr(kSaveNotRead),
        .keptAside = tr(kKeptAside),
        .soundOff = tr(kSoundOff),
        .volume = [](int percent) { return withNumber(tr(kVolume), percent); },
        .volumes =
            [](int music, int effects) {
                return tr(kMusic) + " " + withNumber(tr(kPercent), music) + "  " + tr(kEffects) + " " +
                       withNumber(tr(kPercent), effects);
            },
        .padNotSupported = tr(kPadNotSupported),
        .alreadyRunning = tr(kAlreadyRunning),
        // Only the caps that are words; "Esc" and the letters are as printed.
        .keyCap =
            [](const std::string& cap) {
                if (cap == kKeySpace || cap == kKeyEnter) return tr(kKeyContext, cap.c_str());
                return cap;
            },
    });
}
} // namespace

void GameIdentity::install() {
    // The file name is also the save folder: a player's progress lives under it.
    cocos2d::AppIdentity::set({"doviveduzuz", "DOVIVEDUZUZ"});
    setPlayerTexts();
    static const bool listening = (Language::whenChanged(&setPlayerTexts), true);
    static_cast<void>(listening);
}
