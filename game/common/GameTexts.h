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

// `msgid` in the player's language; the English itself where the language lacks it.
std::string tr(const char* msgid);

} // namespace GameTexts
