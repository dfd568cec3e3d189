#pragma once
// Every word the game puts before the player, in one table. The English words are the keys, as
// gettext's msgids are: the player's language gives each its text at run time, from the
// translations in assets/lang/<language>.po (the template, doviveduzuz.pot, lists them all).
// A word that reads two ways in English carries a context, given as the first argument of tr.
// Numbers go in through "%d" (trn for words that follow the number's plural form).
#include <string>

namespace GameTexts {

// Contexts, for the few words English uses twice.
constexpr const char* kButtonContext = "button"; // a button's label: TITLE is "back to the title"
constexpr const char* kKeyContext = "key";       // a key cap's name on a badge

// On the panels.
constexpr const char* kPaused = "PAUSED";
constexpr const char* kGiveUpQuestion = "Give up this round?";
constexpr const char* kQuitQuestion = "Quit the game?";
// Beside the key that opens the quit panel, on the title.
constexpr const char* kQuitHint = "Quit";

// The labels drawn over the buttons' and signs' plates.
constexpr const char* kStart = "START";
constexpr const char* kTitle = "TITLE"; // with kButtonContext: the button back to the title
constexpr const char* kRetry = "RETRY";
constexpr const char* kShop = "SHOP";
constexpr const char* kQuit = "QUIT";
constexpr const char* kResume = "RESUME";
constexpr const char* kMute = "MUTE";
constexpr const char* kFullscreen = "FULLSCREEN";
constexpr const char* kTapToStart = "TAP TO START";
constexpr const char* kScore = "SCORE";
constexpr const char* kBest = "BEST";
constexpr const char* kNewRecord = "NEW RECORD!";
constexpr const char* kSoldOut = "SOLD OUT";
constexpr const char* kBack = "BACK";
constexpr const char* kOptions = "OPTIONS";
// The time the shop sells, through trn: "+3 sec".
constexpr const char* kPlusSeconds = "+%d sec";
constexpr const char* kPlusSecondsPlural = "+%d sec"; // abbreviated, as in English for any number
// The shop's price plate once an upgrade is at its top level.
constexpr const char* kMax = "MAX";

// The result panel's lines, each followed by its number.
constexpr const char* kResultScore = "Score";
constexpr const char* kResultHighScore = "HighScore";

// The OPTIONS panel.
constexpr const char* kMusic = "Music";
constexpr const char* kEffects = "Effects";
constexpr const char* kFullscreenItem = "Fullscreen";
constexpr const char* kLanguage = "Language";
constexpr const char* kControls = "Controls";
constexpr const char* kStartOver = "Start over";
constexpr const char* kCredits = "Credits";
constexpr const char* kBackItem = "Back";
constexpr const char* kOn = "On";
constexpr const char* kOff = "Off";
constexpr const char* kPercent = "%d %%";
constexpr const char* kEraseQuestion = "Erase coins, upgrades and best score?";
constexpr const char* kCancel = "Cancel";
constexpr const char* kErase = "Erase";
constexpr const char* kVersion = "Version %s";
// The credits' headings.
constexpr const char* kCreditsCode = "Code";
constexpr const char* kCreditsPictures = "Pictures";
constexpr const char* kCreditsFont = "Font";
constexpr const char* kCreditsLicence = "Licence";

// Binding the controls again.
constexpr const char* kKeyboard = "Keyboard";
constexpr const char* kController = "Controller";
constexpr const char* kDefaults = "Defaults";
constexpr const char* kPressKey = "Press a key or button…";
constexpr const char* kEscapeCancels = "Escape cancels";
constexpr const char* kKeyOpensPause = "That key opens the pause panel and cannot be moved";
constexpr const char* kKeyOpensOptions = "That key opens the options panel and cannot be moved";
constexpr const char* kKeyKeptByBrowser = "The browser keeps that key for itself";
constexpr const char* kButtonOpensPause = "That button opens the pause panel and cannot be moved";
constexpr const char* kButtonOpensOptions = "That button opens the options panel and cannot be moved";
constexpr const char* kSwapped = "Swapped with %s";
constexpr const char* kConfirmWithLabel = "Confirm with A";
constexpr const char* kConfirmWithPosition = "Confirm with the bottom button";
// The controls by name, as the binding list shows them.
constexpr const char* kControlConfirm = "Confirm";
constexpr const char* kControlBack = "Back";
constexpr const char* kControlPause = "Pause";
constexpr const char* kControlRetry = "Retry";
constexpr const char* kControlShop = "Go to the shop";
constexpr const char* kControlBuyTime = "Buy time";
constexpr const char* kControlBuyLife = "Buy life";
constexpr const char* kControlStart = "Start";
constexpr const char* kControlTitle = "Back to the title";
constexpr const char* kControlLeaveRound = "Leave the round";
constexpr const char* kControlSoundDown = "Volume down";
constexpr const char* kControlSoundUp = "Volume up";
constexpr const char* kControlMute = "Mute";
constexpr const char* kControlQuit = "Quit the game";
constexpr const char* kControlUp = "Up";
constexpr const char* kControlDown = "Down";
constexpr const char* kControlLeft = "Left";
constexpr const char* kControlRight = "Right";
constexpr const char* kControlRing = "Ring button %d";

// The engine's own words (PlayerTexts), set again at each change of language.
constexpr const char* kWindowPaused = "Paused";
constexpr const char* kNotSaved = "Progress not saved";
constexpr const char* kSaveNotRead = "Save not read yet";
constexpr const char* kKeptAside = "Old save kept aside";
constexpr const char* kSoundOff = "Sound off";
constexpr const char* kVolume = "Volume %d %%";
constexpr const char* kPadNotSupported = "Controller not supported";
constexpr const char* kAlreadyRunning = "Doviveduzuz is already running.\nSwitch to its window to play.";
// Key caps that are words.
constexpr const char* kKeySpace = "Space"; // with kKeyContext
constexpr const char* kKeyEnter = "Enter"; // with kKeyContext

// The question before progress is erased, and the credits.
constexpr const char* kStartOverQuestion = "Erase all progress?";
constexpr const char* kStartOverDetail = "Coins, upgrades and best score go. Settings stay.";
constexpr const char* kStartOverInRound = "This round is given up too.";
constexpr const char* kCreditsMadeBy = "Made by";
constexpr const char* kCreditsMadeFor = "Code, pictures, music and sounds, all made for this game";
constexpr const char* kCreditsBuiltWith = "Built with";
constexpr const char* kCreditsCreditLine = "Credit:";
constexpr const char* kCreditsArtLicence = "Pictures, music and sounds";
constexpr const char* kCreditsVersion = "Version";
// The rest of the table, and why a binding is refused when no named panel is at stake.
constexpr const char* kControlsHeading = "CONTROLS";
constexpr const char* kControlTapAnywhere = "Start or skip";
constexpr const char* kControlTakeBack = "Take the last element back";
constexpr const char* kControlResume = "Resume";
constexpr const char* kControlPanelBack = "Close the panel";
constexpr const char* kControlQuitPanel = "Open the quit panel";
constexpr const char* kControlOptions = "Open the options";
constexpr const char* kControlFullscreen = "Fullscreen";
constexpr const char* kOnlyInputOf = "That is the last key or button of: %s";

// `msgid` in the player's language; the English itself where the language lacks it.
std::string tr(const char* msgid);
std::string tr(const char* context, const char* msgid);
// The form for `n` of a word that follows a number; "%d" in it becomes n.
std::string trn(const char* msgid, const char* plural, long n);
// `text` with its first "%d" (or "%s") given and "%%" made "%": a translation can only ever move
// its placeholder, never make the game read past what it was given.
std::string withNumber(const std::string& text, long n);
std::string withWord(const std::string& text, const std::string& word);

} // namespace GameTexts
