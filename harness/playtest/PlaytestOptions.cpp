// The harness's `options` command: the options panel of the title or the round, driven through
// the panel's own operations, as its buttons call them.
#include "harness/playtest/Playtest.h"

#include "engine/app/SoundSettings.h"
#include "game/common/Language.h"
#include "game/options/CreditsPage.h"
#include "game/options/OptionsPanel.h"
#include "game/round/PausePanel.h"

#include <charconv>

USING_NS_CC;
using nlohmann::json;

namespace {

int percentOf(const std::vector<std::string>& words, const std::string& line) {
    int value = 0;
    const std::string& word = words.size() == 3 ? words[2] : "";
    auto [end, err] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (words.size() != 3 || err != std::errc() || end != word.data() + word.size())
        throw Playtest::BadCommand("options " + words[1] + " takes a percentage: " + line);
    return value;
}

} // namespace

std::string Playtest::optionsCommand(const std::vector<std::string>& words, const std::string& line) {
    if (words.size() < 2) throw BadCommand("options what? " + line);
    OptionsPanel* panel = find<OptionsPanel>();
    if (!panel) return "error: no options here";
    const std::string& what = words[1];
    if (what == "state") {
        auto* credits = findIn<CreditsPage>(panel);
        return json({{"open", panel->isOpen},
                     {"asking", panel->isAsking},
                     {"page", !panel->page ? ""
                              : credits    ? "credits"
                                           : "controls"},
                     {"creditsOffset", credits ? credits->offset : 0.0f},
                     {"music", SoundSettings::musicPercent()},
                     {"effects", SoundSettings::effectsPercent()},
                     {"muted", SoundSettings::isMuted()},
                     {"language", Language::current()}})
            .dump();
    }
    if (what == "music" || what == "effects") {
        const int percent = percentOf(words, line);
        what == "music" ? SoundSettings::setMusicPercent(percent) : SoundSettings::setEffectsPercent(percent);
        return "ok";
    }
    if (words.size() != 2) throw BadCommand("wrong number of arguments: " + line);
    if (what == "open") {
        // In a round the options open from the pause panel.
        if (auto* pause = find<PausePanel>(); pause && !pause->isOpen) pause->open(nullptr);
        panel->open(nullptr);
    } else if (what == "close") {
        panel->close(nullptr);
    } else if (what == "language") {
        panel->nextLanguage(nullptr);
    } else if (what == "startover") {
        panel->askStartOver(nullptr);
    } else if (what == "cancel") {
        panel->cancelStartOver(nullptr);
    } else if (what == "erase") {
        panel->eraseProgress(nullptr);
    } else if (what == "credits") {
        panel->openCredits(nullptr);
    } else if (what == "back") {
        panel->backToPanel();
    } else {
        throw BadCommand("unknown options command: " + line);
    }
    return "ok";
}
