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
// The rest of the table, and why a binding is refused when no named panel is at stake.
constexpr const char* kControlsHeading = "CONTROLS";
constexpr const char* kControlTapAnywhere = "Start or skip";
constexpr const char* kControlTakeBack = "Take the last element back";
constexpr const char* kControlResume = "Resume";
constexpr const char* kControlPanelBack = "Close the panel";
constexpr const char* kControlQuitPanel = "Open the quit panel";
constexpr const char* kControlFullscreen = "Fullscreen";
constexpr const char* kOnlyInputOf = "That is the last key or button of: %s";

// `msgid` in the player's language; the English itself where the language lacks it.
std::string tr(const char* msgid);

} // namespace GameTexts
