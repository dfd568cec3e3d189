#include "game/common/GameTexts.h"

namespace {
// The first placeholder of `kind` ('d' or 's') given `value`; "%%" becomes "%" throughout.
std::string fill(const std::string& text, char kind, const std::string& value) {
    std::string out;
    out.reserve(text.size() + value.size());
    bool filled = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[i + 1];
        if (next == '%') {
            out += '%';
        } else if (next == kind && !filled) {
            out += value;
            filled = true;
        } else {
            out += text[i];
            continue;
        }
        ++i;
    }
    return out;
}
} // namespace

std::string GameTexts::withNumber(const std::string& text, long n) {
    return fill(text, 'd', std::to_string(n));
}

std::string GameTexts::withWord(const std::string& text, const std::string& word) {
    return fill(text, 's', word);
}
