#include "game/common/Language.h"

#include "engine/app/Application.h"
#include "engine/base/FileUtils.h"
#include "engine/base/Log.h"
#include "engine/base/PoCatalog.h"
#include "engine/store/UserDefault.h"
#include "game/common/GameTexts.h"
#include "game/common/PseudoLanguage.h"
#include "game/common/SavedKeys.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

struct Spoken {
    std::string code = "en";
    int generation = 0;
    cocos2d::PoCatalog catalog;
    std::vector<std::function<void()>> listeners;
};

Spoken& spoken() {
    static Spoken state;
    return state;
}

bool known(const std::string& code) {
    if (code == Language::kPseudo) return true;
    for (const auto& choice : Language::all())
        if (choice.code == code) return true;
    return false;
}

// The catalogue for `code`, empty for English and the pseudo-language (both made from the msgids).
cocos2d::PoCatalog load(const std::string& code) {
    if (code == "en" || code == Language::kPseudo) return {};
    auto* files = cocos2d::FileUtils::getInstance();
    std::ifstream in(files->fullPathForFilename("lang/" + code + ".po"), std::ios::binary);
    if (!in) {
        cocos2d::warn("no translation for %s: the game speaks English", code.c_str());
        return {};
    }
    files->countRead();
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::string> problems;
    cocos2d::PoCatalog catalog = cocos2d::PoCatalog::parse(text.str(), &problems);
    for (const auto& problem : problems)
        cocos2d::warn("lang/%s.po %s", code.c_str(), problem.c_str());
    return catalog;
}

void speak(const std::string& code) {
    Spoken& state = spoken();
    const std::string next = known(code) ? code : "en";
    if (next != state.code || state.catalog.size() == 0) state.catalog = load(next);
    state.code = next;
    ++state.generation;
    for (const auto& listener : state.listeners)
        listener();
}

// "de_DE.UTF-8@euro" and "de-de" as "de_DE"; "C" stays itself.
std::string normal(const std::string& tag) {
    std::string out = tag.substr(0, tag.find_first_of(".@"));
    bool region = false;
    for (char& c : out) {
        if (c == '-') c = '_';
        if (c == '_') region = true;
        c = static_cast<char>(region ? std::toupper(static_cast<unsigned char>(c))
                                     : std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

} // namespace

const std::vector<Language::Choice>& Language::all() {
    static const std::vector<Choice> kAll = {
        {"en", "English"}, {"ja", "日本語"},  {"fr", "Français"},
        {"de", "Deutsch"}, {"es", "Español"}, {"pt_BR", "Português (Brasil)"},
        {"ru", "Русский"},
    };
    return kAll;
}

std::string Language::match(const std::vector<std::string>& wanted) {
    for (const auto& raw : wanted) {
        if (raw == "C" || raw == "POSIX" || raw.rfind("C.", 0) == 0) return "en";
        const std::string tag = normal(raw);
        if (tag.empty()) continue;
        if (tag == kPseudo) return tag;
        const std::string language = tag.substr(0, tag.find('_'));
        // The region's own first ("pt_BR"), then any of the language ("pt", "pt_PT", "de_AT").
        for (const auto& choice : all())
            if (choice.code == tag) return choice.code;
        for (const auto& choice : all())
            if (choice.code.substr(0, choice.code.find('_')) == language) return choice.code;
    }
    return "en";
}

std::string Language::choose(int saved, const std::vector<std::string>& system) {
    const std::string chosen = unpacked(saved);
    if (!chosen.empty() && known(chosen)) return chosen;
    return match(system);
}

int Language::packed(const std::string& code) {
    if (code.size() > 6) return 0;
    int value = 0;
    for (char c : code) {
        const int letter = c == '_' ? 27
                           : std::isalpha(static_cast<unsigned char>(c))
                               ? std::tolower(static_cast<unsigned char>(c)) - 'a' + 1
                               : 0;
        if (letter == 0) return 0;
        value = value * 32 + letter;
    }
    return value;
}

std::string Language::unpacked(int value) {
    std::string code;
    bool region = false;
    for (; value > 0; value /= 32) {
        const int letter = value % 32;
        if (letter < 1 || letter > 27) return "";
        code.insert(code.begin(), letter == 27 ? '_' : static_cast<char>('a' + letter - 1));
    }
    // The region is written in capitals, as in "pt_BR".
    for (char& c : code) {
        if (c == '_')
            region = true;
        else if (region)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return code;
}

namespace {
std::string forcedLanguage() {
    const std::string forced = normal(cocos2d::Application::forcedLanguage());
    return known(forced) ? forced : "";
}
} // namespace

void Language::pickAtStart() {
    if (const std::string forced = forcedLanguage(); !forced.empty()) return speak(forced);
    const int saved = cocos2d::UserDefault::getInstance()->getIntegerForKey(keys::kLanguage, 0);
    speak(choose(saved, cocos2d::Application::preferredLanguages()));
}

void Language::pickFromSystem() {
    const std::string forced = forcedLanguage();
    speak(forced.empty() ? match(cocos2d::Application::preferredLanguages()) : forced);
}

const std::string& Language::current() {
    return spoken().code;
}

void Language::set(const std::string& code) {
    speak(code);
    cocos2d::UserDefault::getInstance()->setIntegerForKey(keys::kLanguage, packed(spoken().code));
}

int Language::generation() {
    return spoken().generation;
}

void Language::whenChanged(std::function<void()> listener) {
    spoken().listeners.push_back(std::move(listener));
}

std::string GameTexts::tr(const char* msgid) {
    return tr("", msgid);
}

std::string GameTexts::tr(const char* context, const char* msgid) {
    const Spoken& state = spoken();
    if (state.code == Language::kPseudo) return PseudoLanguage::from(msgid);
    const std::string* text = state.catalog.find(context ? context : "", msgid);
    return text ? *text : msgid;
}

std::string GameTexts::trn(const char* msgid, const char* plural, long n) {
    const Spoken& state = spoken();
    const unsigned long count = n < 0 ? static_cast<unsigned long>(-n) : static_cast<unsigned long>(n);
    if (state.code == Language::kPseudo)
        return withNumber(PseudoLanguage::from(count == 1 ? msgid : plural), n);
    const std::string* text = state.catalog.findPlural("", msgid, count);
    return withNumber(text ? *text : count == 1 ? msgid : plural, n);
}
