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

// The options panel: its items, the question before progress is erased, and the credits.
constexpr const char* kOptions = "OPTIONS";
constexpr const char* kMusic = "Music";
constexpr const char* kEffects = "Effects";
constexpr const char* kFullscreen = "Fullscreen";
constexpr const char* kLanguage = "Language";
constexpr const char* kControls = "Controls";
constexpr const char* kStartOver = "Start over";
constexpr const char* kCredits = "Credits";
constexpr const char* kBack = "Back";
constexpr const char* kCancel = "Cancel";
constexpr const char* kErase = "Erase";
constexpr const char* kStartOverQuestion = "Erase all progress?";
constexpr const char* kStartOverDetail = "Coins, upgrades and best score go. Settings stay.";
constexpr const char* kStartOverInRound = "This round is given up too.";
constexpr const char* kCreditsMadeBy = "Made by";
constexpr const char* kCreditsMadeFor = "Code, pictures, music and sounds, all made for this game";
constexpr const char* kCreditsBuiltWith = "Built with";
constexpr const char* kCreditsCreditLine = "Credit:";
constexpr const char* kCreditsCodeLicence = "Code";
constexpr const char* kCreditsArtLicence = "Pictures, music and sounds";
constexpr const char* kCreditsFontLicence = "Font";
constexpr const char* kCreditsVersion = "Version";

// `msgid` in the player's language; the English itself where the language lacks it.
std::string tr(const char* msgid);

} // namespace GameTexts
