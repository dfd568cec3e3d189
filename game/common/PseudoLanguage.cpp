#include "game/common/PseudoLanguage.h"

#include <cstring>

namespace {
// Only letters the game's font has (Latin-1 and a few beyond), so the words measure as a real
// translation's would.
const char* accented(char c) {
    static const char* const kLower[26] = {"á", "b", "ç", "ð", "é", "ƒ", "g", "h", "í", "j", "k", "ł", "m",
                                           "ñ", "ö", "þ", "q", "r", "š", "t", "ü", "v", "w", "x", "ý", "ž"};
    static const char* const kUpper[26] = {"Å", "B", "Ç", "Ð", "É", "F", "G", "H", "Î", "J", "K", "Ł", "M",
                                           "Ñ", "Ö", "Þ", "Q", "R", "Š", "T", "Ü", "V", "W", "X", "Ý", "Ž"};
    if (c >= 'a' && c <= 'z') return kLower[c - 'a'];
    if (c >= 'A' && c <= 'Z') return kUpper[c - 'A'];
    return nullptr;
}
} // namespace

std::string PseudoLanguage::from(const std::string& english) {
    std::string out = "[";
    int letters = 0;
    for (size_t i = 0; i < english.size(); ++i) {
        const char c = english[i];
        if (c == '%' && i + 1 < english.size()) {
            out += c;
            out += english[++i];
            continue;
        }
        if (const char* with = accented(c)) {
            out += with;
            ++letters;
        } else {
            out += c;
        }
    }
    // The longer languages run about 40 % over English: pad by as many letters.
    static const char* const kPad[] = {"à", "é", "î", "õ", "ü"};
    const int pad = (letters * 4 + 9) / 10;
    if (pad > 0) out += ' ';
    for (int i = 0; i < pad; ++i)
        out += kPad[i % 5];
    return out += "]";
}
