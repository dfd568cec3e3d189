#pragma once
// The language the game speaks: English, or one of its translations, chosen by the player or
// at the first run from the system's own settings. A change shows at once: whatever draws the
// game's words asks again when generation() moves on.
#include <functional>
#include <string>
#include <vector>

class Language {
  public:
    struct Choice {
        std::string code; // "en", "ja", "pt_BR", ...
        std::string name; // in its own words: "English", "日本語", ...
    };
    // The player's list. The pseudo-language (kPseudo) is not in it: testers ask for it by
    // set(), by DOVIVEDUZUZ_LANGUAGE=qps or by "?lang=qps" in the page's address.
    static const std::vector<Choice>& all();
    static constexpr const char* kPseudo = "qps";

    // Before the first scene: a tester's language, else the player's saved choice, else the
    // system's, else English. Only a choice made through set() is saved, so a player who never
    // chose follows the system.
    static void pickAtStart();
    // The same without the saved choice, for words needed before the store may be read.
    static void pickFromSystem();
    static const std::string& current();
    // Takes effect at once and is saved; an unknown code means English.
    static void set(const std::string& code);
    // Moves on at every change, so a label can tell its words are stale.
    static int generation();
    // Called after every change (the engine's own words are set again there).
    static void whenChanged(std::function<void()> listener);

    // The language for the system's list ("de_DE.UTF-8", "pt-BR", "C", most wanted first):
    // the first this game speaks, "en" where none is.
    static std::string match(const std::vector<std::string>& wanted);
    // What pickAtStart settles on, from the saved choice (0: none) and the system's list.
    static std::string choose(int saved, const std::vector<std::string>& system);
    // The store keeps numbers only: a code as one, five bits a letter, and back ("" if none).
    static int packed(const std::string& code);
    static std::string unpacked(int value);
};
