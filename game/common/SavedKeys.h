#pragma once
// Every key the game keeps in the store, named once. The strings are what earlier saves hold:
// changing one loses that value for every player who already has a save.

namespace keys {

// The shop: coin balance, the two upgrade levels and their sold-out flags.
inline constexpr const char* kCoinScore = "coinScore";
inline constexpr const char* kTimeLevel = "timeNo";
inline constexpr const char* kLifeLevel = "lifeNo";
inline constexpr const char* kTimeSoldOut = "Button1";
inline constexpr const char* kLifeSoldOut = "Button2";

// The progress carried through the cut-scene.
inline constexpr const char* kEventCoins = "scores";
inline constexpr const char* kEventTimeLevel = "time";
inline constexpr const char* kEventLifeLevel = "life";

// The round: its coins (banked at game over) and its levels, for a retry.
inline constexpr const char* kRoundCoins = "scoreMoney";
inline constexpr const char* kRoundTimeLevel = "gaug1";
inline constexpr const char* kRoundLifeLevel = "gaug2";

inline constexpr const char* kHighScore = "HS";

// Coins finished rounds won that the shop's balance has not taken in yet: the shop adds them
// when it opens, so closing the game on the result panel loses nothing.
inline constexpr const char* kRoundWinnings = "roundWinnings";

// Everything above is the player's progress, and starting over sets it all back; the sound, the
// window, the language and the controls are settings, kept elsewhere, and stay.
inline constexpr const char* kProgressNumbers[] = {
    kCoinScore,  kTimeLevel,      kLifeLevel,      kEventCoins, kEventTimeLevel, kEventLifeLevel,
    kRoundCoins, kRoundTimeLevel, kRoundLifeLevel, kHighScore,  kRoundWinnings};
inline constexpr const char* kProgressFlags[] = {kTimeSoldOut, kLifeSoldOut};

// The language the player chose in the options, its code packed in a number (Language::packed);
// missing or 0 while the player has never chosen: the game then follows the system's.
inline constexpr const char* kLanguage = "language";

// The player's bindings, one number per control and kind under these prefixes and the
// control's name ("bindKey.ring0"): 0 or none for the table's own, -1 for none, else the
// key's place or the pad button (InputMap::savedCode). A Nintendo pad confirms with A.
inline constexpr const char* kBindingKeyPrefix = "bindKey.";
inline constexpr const char* kBindingPadPrefix = "bindPad.";
inline constexpr const char* kNintendoByLabel = "nintendoByLabel";

} // namespace keys
