#pragma once
// The language the game speaks: English, or one of its translations, chosen by the player or
// at the first run from the system's own settings. A change shows at once: whatever draws the
// game's words asks again when generation() moves on.
#include <string>
#include <vector>

class Language {
  public:
    struct Choice {
        std::string code; // "en", "ja", "pt_BR", ...
        std::string name; // in its own words: "English", "日本語", ...
    };
    static const std::vector<Choice>& all();

    // Before the first scene: the saved choice, else the system's, else English.
    static void pickAtStart();
    static const std::string& current();
    // Takes effect at once and is saved.
    static void set(const std::string& code);
    // Moves on at every change, so a label can tell its words are stale.
    static int generation();
};
