// The game's languages: which one the system asks for, what a save keeps, and a change of
// language reaching every word at once (the engine's own included).
#include "engine/app/Application.h"
#include "engine/base/PlayerTexts.h"
#include "engine/store/UserDefault.h"
#include "game/common/GameTexts.h"
#include "game/common/Language.h"
#include "game/common/SavedKeys.h"
#include "tests/support/test_loop_fixture.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

namespace {

// Sets gettext's variables for one case (unset where not given) and puts the old ones back.
class SystemLocale {
  public:
    explicit SystemLocale(const std::map<std::string, std::string>& set) {
        for (const char* name : kNames) {
            if (const char* value = std::getenv(name)) _saved[name] = value;
            unsetenv(name);
        }
        for (const auto& [name, value] : set)
            setenv(name.c_str(), value.c_str(), 1);
    }
    ~SystemLocale() {
        for (const char* name : kNames)
            unsetenv(name);
        for (const auto& [name, value] : _saved)
            setenv(name.c_str(), value.c_str(), 1);
    }

  private:
    static constexpr const char* kNames[] = {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"};
    std::map<std::string, std::string> _saved;
};

std::string systemPick(const std::map<std::string, std::string>& set) {
    SystemLocale locale(set);
    return Language::match(cocos2d::Application::preferredLanguages());
}

} // namespace

TEST(Language, TheSystemsLanguageAsGettextsVariablesGiveIt) {
    EXPECT_EQ(systemPick({}), "en");
    EXPECT_EQ(systemPick({{"LANG", "de_DE.UTF-8"}}), "de");
    EXPECT_EQ(systemPick({{"LANG", "ru_RU.KOI8-R@cyrillic"}}), "ru");
    // LANGUAGE's list first, each in turn until one the game speaks; then the locale.
    EXPECT_EQ(systemPick({{"LANGUAGE", "eo:fr_CA:de"}, {"LANG", "es_ES.UTF-8"}}), "fr");
    EXPECT_EQ(systemPick({{"LANGUAGE", "eo:"}, {"LANG", "es_ES.UTF-8"}}), "es");
    EXPECT_EQ(systemPick({{"LANGUAGE", "ja"}}), "ja");
    // English anywhere in the list is a choice, not a miss.
    EXPECT_EQ(systemPick({{"LANGUAGE", "en_GB:de"}}), "en");
    // LC_ALL over LC_MESSAGES over LANG.
    EXPECT_EQ(systemPick({{"LC_ALL", "ja_JP.UTF-8"}, {"LC_MESSAGES", "de_DE"}, {"LANG", "fr_FR"}}), "ja");
    EXPECT_EQ(systemPick({{"LC_MESSAGES", "de_DE"}, {"LANG", "fr_FR"}}), "de");
    // A locale set to C or POSIX asks for the program's own words, LANGUAGE or not.
    EXPECT_EQ(systemPick({{"LANGUAGE", "de"}, {"LC_ALL", "C"}}), "en");
    EXPECT_EQ(systemPick({{"LANGUAGE", "de"}, {"LANG", "POSIX"}}), "en");
    EXPECT_EQ(systemPick({{"LANG", "C.UTF-8"}}), "en");
    // C.UTF-8, a container's usual, is no such request: gettext reads LANGUAGE over it.
    EXPECT_EQ(systemPick({{"LANGUAGE", "de"}, {"LANG", "C.UTF-8"}}), "de");
    // Brazil's Portuguese is the one the game has: Portugal's and the bare language take it.
    EXPECT_EQ(systemPick({{"LANG", "pt_BR.UTF-8"}}), "pt_BR");
    EXPECT_EQ(systemPick({{"LANGUAGE", "pt"}, {"LANG", "en_US.UTF-8"}}), "pt_BR");
    EXPECT_EQ(systemPick({{"LANG", "pt_PT.UTF-8"}}), "pt_BR");
    // The browser's way of writing them.
    EXPECT_EQ(Language::match({"pt-BR", "en-US"}), "pt_BR");
    EXPECT_EQ(Language::match({"zh-CN", "de-AT", "en"}), "de");
    EXPECT_EQ(Language::match({"zh-CN", "pl"}), "en");
}

TEST(Language, ASaveKeepsThePlayersChoiceAndAnOlderSaveFollowsTheSystem) {
    // A save from before languages has no choice in it: the system decides, English by default.
    EXPECT_EQ(Language::choose(0, {"C.UTF-8"}), "en");
    EXPECT_EQ(Language::choose(0, {}), "en");
    EXPECT_EQ(Language::choose(0, {"de_DE.UTF-8"}), "de");
    // A choice made in the options outlasts what the system says.
    EXPECT_EQ(Language::choose(Language::packed("ja"), {"de_DE.UTF-8"}), "ja");
    EXPECT_EQ(Language::choose(Language::packed("en"), {"de_DE.UTF-8"}), "en");
    // A number the game never wrote is no choice.
    EXPECT_EQ(Language::choose(-5, {"fr"}), "fr");
    EXPECT_EQ(Language::choose(Language::packed("xx"), {"fr"}), "fr");
    for (const auto& choice : Language::all()) {
        EXPECT_GT(Language::packed(choice.code), 0) << choice.code;
        EXPECT_EQ(Language::unpacked(Language::packed(choice.code)), choice.code);
    }
}

TEST(Language, AChangeReachesEveryWordAtOnceAndIsSaved) {
    using namespace GameTexts;
    const int before = Language::generation();
    Language::set("de");
    EXPECT_EQ(Language::current(), "de");
    EXPECT_GT(Language::generation(), before);
    EXPECT_EQ(tr(kPaused), "PAUSE");
    EXPECT_EQ(tr(kButtonContext, kTitle), "TITEL");
    EXPECT_EQ(cocos2d::PlayerTexts::get().paused, "Pausiert");
    EXPECT_EQ(cocos2d::PlayerTexts::get().volume(70), "Lautstärke 70 %");
    EXPECT_EQ(cocos2d::PlayerTexts::get().keyCap("Space"), "Leer");
    EXPECT_EQ(cocos2d::PlayerTexts::get().keyCap("Esc"), "Esc");
    EXPECT_EQ(cocos2d::UserDefault::getInstance()->getIntegerForKey(keys::kLanguage), Language::packed("de"));

    Language::set("ru");
    EXPECT_EQ(trn(kPlusSeconds, kPlusSecondsPlural, 3), "+3 сек.");
    EXPECT_EQ(cocos2d::PlayerTexts::get().alreadyRunning.find("Doviveduzuz уже запущена.\n"), 0u);

    // The testers' language: letters accented where the font has the accent, longer, bracketed, the
    // placeholders kept.
    Language::set(Language::kPseudo);
    const std::string pseudo = trn(kPlusSeconds, kPlusSecondsPlural, 3);
    EXPECT_EQ(pseudo.front(), '[');
    EXPECT_EQ(pseudo.back(), ']');
    EXPECT_NE(pseudo.find("+3 "), std::string::npos) << pseudo;
    EXPECT_EQ(tr(kQuitQuestion).rfind("[Qüít thé gámé?", 0), 0u) << tr(kQuitQuestion);
    EXPECT_GE(tr(kQuitQuestion).size(), std::string(kQuitQuestion).size() * 14 / 10);

    // A code the game does not know is English, as is a language whose file is missing words.
    Language::set("xx");
    EXPECT_EQ(Language::current(), "en");
    EXPECT_EQ(tr(kPaused), kPaused);
    EXPECT_EQ(cocos2d::PlayerTexts::get().volume(70), "Volume 70 %");
    EXPECT_EQ(withWord(withNumber("%d of %s, 100 %%", 3), "five"), "3 of five, 100 %");
}

// Through the harness, as the options will do it: the words on screen change at once and the
// choice is the one the next start picks.
TEST_F(LoopTest, AChosenLanguageIsDrawnAtOnceAndOutlivesARestart) {
    ASSERT_EQ(pt->execute("language"), "en") << "the harness's system asks for no language";
    pt->step(2);
    EXPECT_NE(pt->execute("badges").find("\"Space\""), std::string::npos) << pt->execute("badges");
    ASSERT_EQ(pt->execute("language ja"), "ja");
    pt->step(2);
    EXPECT_NE(pt->execute("badges").find("\"スペース\""), std::string::npos) << pt->execute("badges");
    restart();
    EXPECT_EQ(pt->execute("language"), "ja");
}
