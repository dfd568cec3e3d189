#include "game/common/Language.h"

#include "game/common/GameTexts.h"

namespace {
std::string gCurrent = "en";
int gGeneration = 0;
} // namespace

const std::vector<Language::Choice>& Language::all() {
    static const std::vector<Choice> kAll = {{"en", "English"}};
    return kAll;
}

void Language::pickAtStart() {}

const std::string& Language::current() { return gCurrent; }

void Language::set(const std::string& code) {
    gCurrent = code;
    ++gGeneration;
}

int Language::generation() { return gGeneration; }

std::string GameTexts::tr(const char* msgid) { return msgid; }
