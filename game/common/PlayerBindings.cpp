#include "game/common/PlayerBindings.h"

#include "game/common/Controls.h"
#include "game/common/GameTexts.h"
#include "game/common/SavedKeys.h"

USING_NS_CC;

namespace {

using Device = InputMap::Device;

// Where each control acts: controls of a scene in common can be live at the same time. The menu's
// steps and confirm, and the engine's sound and fullscreen, act wherever the player is.
struct Scenes {
    const char* control;
    std::vector<std::string> scenes;
};
const std::vector<Scenes>& scenes() {
    static const std::vector<Scenes> table = {
        {Controls::kTapAnywhere, {"title", "event"}},
        {Controls::kBack, {"round"}},
        {Controls::kPause, {"round"}},
        {Controls::kRetry, {"result"}},
        {Controls::kGoShop, {"result"}},
        {Controls::kBuyTime, {"shop"}},
        {Controls::kBuyLife, {"shop"}},
        {Controls::kStart, {"shop"}},
        {Controls::kGoTitle, {"shop"}},
        {Controls::kResume, {"pausePanel"}},
        {Controls::kLeaveRound, {"pausePanel"}},
        {Controls::kPanelBack, {"pausePanel", "quitPanel"}},
        {Controls::kQuitPanel, {"title", "quitPanel"}},
        {Controls::kQuit, {"quitPanel"}},
        {Controls::kOptions, {"title", "pausePanel"}},
    };
    return table;
}

std::string savedKey(const char* prefix, const char* control) {
    return std::string(prefix) + control;
}

} // namespace

const std::vector<PlayerBindings::Entry>& PlayerBindings::listed() {
    using namespace GameTexts;
    static const std::vector<Entry> list = [] {
        std::vector<Entry> l = {
            {InputMap::kConfirm, kControlConfirm}, {InputMap::kMenuUp, kControlUp},
            {InputMap::kMenuDown, kControlDown},   {InputMap::kMenuLeft, kControlLeft},
            {InputMap::kMenuRight, kControlRight}, {Controls::kTapAnywhere, kControlTapAnywhere}};
        for (int i = 0; i < 6; ++i)
            l.push_back({Controls::ring(i), kControlRing, i + 1});
        const std::vector<Entry> rest = {
            {Controls::kBack, kControlTakeBack},       {Controls::kPause, kControlPause},
            {Controls::kResume, kControlResume},       {Controls::kLeaveRound, kControlLeaveRound},
            {Controls::kPanelBack, kControlPanelBack}, {Controls::kRetry, kControlRetry},
            {Controls::kGoShop, kControlShop},         {Controls::kBuyTime, kControlBuyTime},
            {Controls::kBuyLife, kControlBuyLife},     {Controls::kStart, kControlStart},
            {Controls::kGoTitle, kControlTitle},       {Controls::kQuitPanel, kControlQuitPanel},
            {Controls::kOptions, kControlOptions},     {Controls::kQuit, kControlQuit},
            {InputMap::kMute, kControlMute},           {InputMap::kVolumeDown, kControlSoundDown},
            {InputMap::kVolumeUp, kControlSoundUp},    {InputMap::kFullscreen, kControlFullscreen}};
        l.insert(l.end(), rest.begin(), rest.end());
        return l;
    }();
    return list;
}

std::string PlayerBindings::nameOf(const std::string& control) {
    for (const auto& e : listed())
        if (control == e.control) {
            std::string name = GameTexts::tr(e.name);
            const auto at = name.find("%d");
            return at == std::string::npos ? name : name.replace(at, 2, std::to_string(e.number));
        }
    return "";
}

void PlayerBindings::install() {
    InputMap* map = InputMap::getInstance();
    for (const auto& s : scenes())
        map->setContexts(s.control, s.scenes);
    for (const char* everywhere : {InputMap::kConfirm, InputMap::kMenuUp, InputMap::kMenuDown,
                                   InputMap::kMenuLeft, InputMap::kMenuRight, InputMap::kMute,
                                   InputMap::kVolumeDown, InputMap::kVolumeUp, InputMap::kFullscreen})
        map->setContexts(everywhere, {"*"});
    for (int i = 0; i < 6; ++i)
        map->setContexts(Controls::ring(i), {"round"});
    // Escape leaves the browser's fullscreen and F11 enters it: both stay where the table has them.
    map->setFixedKeys({"Escape", "F11"});
    map->setGuarded({Controls::kPause, Controls::kOptions});
    map->keepDefaults();
    UserDefault* store = UserDefault::getInstance();
    for (const auto& e : listed())
        for (const auto& [prefix, device] : {std::pair{keys::kBindingKeyPrefix, Device::Keys},
                                             std::pair{keys::kBindingPadPrefix, Device::Pad}}) {
            const int code = store->getIntegerForKey(savedKey(prefix, e.control).c_str(), 0);
            if (code != 0 && !map->applySaved(e.control, device, code))
                log("bindings: saved input %d for %s passed over", code, e.control);
        }
    map->setNintendoByLabel(store->getBoolForKey(keys::kNintendoByLabel, true));
}

InputMap::Rebound PlayerBindings::rebind(const std::string& control, Device device, const std::string& name) {
    const InputMap::Rebound result = InputMap::getInstance()->rebind(control, device, name);
    if (result.refusal == InputMap::Refusal::None) save();
    return result;
}

void PlayerBindings::restoreDefaults() {
    InputMap::getInstance()->restoreDefaults();
    save();
}

void PlayerBindings::setNintendoByLabel(bool byLabel) {
    InputMap::getInstance()->setNintendoByLabel(byLabel);
    UserDefault::getInstance()->setBoolForKey(keys::kNintendoByLabel, byLabel);
}

void PlayerBindings::save() {
    const InputMap* map = InputMap::getInstance();
    UserDefault* store = UserDefault::getInstance();
    for (const auto& e : listed()) {
        store->setIntegerForKey(savedKey(keys::kBindingKeyPrefix, e.control).c_str(),
                                map->savedCode(e.control, Device::Keys));
        store->setIntegerForKey(savedKey(keys::kBindingPadPrefix, e.control).c_str(),
                                map->savedCode(e.control, Device::Pad));
    }
}

std::string PlayerBindings::refusalNote(const InputMap::Rebound& result, Device device) {
    using Refusal = InputMap::Refusal;
    switch (result.refusal) {
    case Refusal::None:
    case Refusal::Unknown:
        return "";
    case Refusal::Fixed:
        return GameTexts::tr(GameTexts::kKeyKeptByBrowser);
    case Refusal::LockOut:
        if (result.other == Controls::kPause)
            return GameTexts::tr(device == Device::Keys ? GameTexts::kKeyOpensPause
                                                        : GameTexts::kButtonOpensPause);
        return GameTexts::tr(device == Device::Keys ? GameTexts::kKeyOpensOptions
                                                    : GameTexts::kButtonOpensOptions);
    case Refusal::LastInput: {
        std::string note = GameTexts::tr(GameTexts::kOnlyInputOf);
        const auto at = note.find("%s");
        return at == std::string::npos ? note : note.replace(at, 2, nameOf(result.other));
    }
    }
    return "";
}
