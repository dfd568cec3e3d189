#pragma once
// Every word the game puts before the player, in one table. The English words are the keys, as
// gettext's msgids are: the player's language gives each its text at run time, from the
// translations in assets/lang/<language>.po.
#include <string>

namespace GameTexts {

constexpr const char* kPaused = "PAUSED";
constexpr const char* kGiveUpQuestion = "Give up this round?";
constexpr const char* kQuitQuestion = "Quit the game?";
// Beside the key that opens the quit panel, on the title.
constexpr const char* kQuitHint = "Quit";

// The words drawn over the buttons' and signs' plates.
constexpr const char* kStart = "START";
constexpr const char* kTitle = "TITLE";
constexpr const char* kRetry = "RETRY";
constexpr const char* kShop = "SHOP";
constexpr const char* kQuit = "QUIT";
constexpr const char* kResume = "RESUME";
constexpr const char* kMute = "MUTE";
constexpr const char* kFullscreen = "FULLSCREEN";
constexpr const char* kTapToStart = "TAP TO START";
constexpr const char* kScore = "SCORE";
constexpr const char* kNewRecord = "NEW RECORD!";
constexpr const char* kSoldOut = "SOLD OUT";
constexpr const char* kBack = "BACK";
// Under the shop's clock: "+3 sec".
constexpr const char* kPlusSeconds = "+%d sec";

// `msgid` in the player's language; the English itself where the language lacks it.
std::string tr(const char* msgid);

} // namespace GameTexts
