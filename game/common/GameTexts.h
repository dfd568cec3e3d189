#pragma once
// The game's own words on its panels and prompts, in one place.
namespace GameTexts {

constexpr const char* kPaused = "PAUSED";
constexpr const char* kGiveUpQuestion = "Give up this round?";
constexpr const char* kQuitQuestion = "Quit the game?";
// Beside the key that opens the quit panel, on the title.
constexpr const char* kQuitHint = "Quit";

} // namespace GameTexts
