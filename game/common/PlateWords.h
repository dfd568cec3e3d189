#pragma once
#include "game/common/PlateLabel.h"

#include <vector>

// Where each plate of the game carries its word, measured on its picture (tools/assets/art.py
// draws the plates; the rooms leave the plates' rounded ends and rims clear).
namespace PlateWords {

extern const PlateWord kRetry;
extern const PlateWord kShop;
extern const PlateWord kTitle; // the shop's and the give-up panel's TITLE
extern const PlateWord kStart;
extern const PlateWord kResume;
extern const PlateWord kMute;
extern const PlateWord kFullscreen;
extern const PlateWord kQuit;
extern const PlateWord kBack;
extern const PlateWord kScore;       // the round's score plate
extern const PlateWord kNewRecord;   // the ribbon of the new-record badge
extern const PlateWord kTapToStart;  // the title's prompt
extern const PlateWord kPlusSeconds; // under the time offer's clock, "%d" the seconds
extern const PlateWord kSoldOut;     // the band across a sold-out offer

// Every one of them, for the checks that every language fits.
const std::vector<const PlateWord*>& all();

} // namespace PlateWords
