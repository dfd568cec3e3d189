#include "engine/base/PoCatalog.h"

#include <cctype>

namespace cocos2d {

namespace {

struct Entry {
    std::string context;
    bool hasContext = false;
    std::string id;
    bool hasId = false;
    std::string idPlural;
    bool plural = false;
    std::vector<std::string> strings;
    bool fuzzy = false;
    // A string of it could not be read: the whole entry is left out.
    bool broken = false;
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One quoted string at the start of `text`, its escapes undone; false if it is not one.
bool unquote(std::string_view text, std::string& out) {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])))
        ++at;
    if (at == text.size() || text[at] != '"') return false;
    for (++at; at < text.size(); ++at) {
        char c = text[at];
        if (c == '"') {
            for (++at; at < text.size(); ++at)
                if (!std::isspace(static_cast<unsigned char>(text[at]))) return false;
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++at == text.size()) return false;
        c = text[at];
        switch (c) {
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case 'a':
            out += '\a';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'v':
            out += '\v';
            break;
        case 'x': {
            int value = 0, digits = 0;
            while (at + 1 < text.size() && hexDigit(text[at + 1]) >= 0 && digits < 2) {
                value = value * 16 + hexDigit(text[++at]);
                ++digits;
            }
            if (digits == 0) return false;
            out += static_cast<char>(value);
            break;
        }
        default:
            if (c >= '0' && c <= '7') {
                int value = c - '0';
                for (int digits = 1;
                     digits < 3 && at + 1 < text.size() && text[at + 1] >= '0' && text[at + 1] <= '7';
                     ++digits)
                    value = value * 8 + (text[++at] - '0');
                out += static_cast<char>(value);
            } else {
                // \" \\ \' \? and whatever else: the character itself.
                out += c;
            }
        }
    }
    return false;
}

bool startsWith(std::string_view line, std::string_view word) {
    return line.substr(0, word.size()) == word;
}

} // namespace

std::string PoCatalog::keyOf(std::string_view context, std::string_view msgid) {
    std::string key;
    key.reserve(context.size() + msgid.size() + 1);
    if (!context.empty()) (key += context) += '\x04';
    return key += msgid;
}

PoCatalog PoCatalog::parse(std::string_view text, std::vector<std::string>* problems) {
    PoCatalog catalog;
    Entry entry;
    std::string* target = nullptr;
    bool translated = false; // a msgstr seen: the next keyword starts another entry
    int lineNumber = 0;
    const auto complain = [&](const char* what) {
        if (problems) problems->push_back("line " + std::to_string(lineNumber) + ": " + what);
    };
    const auto finish = [&] {
        if (entry.hasId && entry.id.empty() && !entry.hasContext && !entry.strings.empty()) {
            // The header: only its plural rule matters here.
            const size_t at = entry.strings[0].find("Plural-Forms:");
            if (at != std::string::npos)
                catalog._plural = PluralRule::parse(std::string_view(entry.strings[0]).substr(at));
        } else if (entry.hasId && !entry.fuzzy && !entry.broken) {
            bool any = false;
            for (const auto& s : entry.strings)
                any = any || !s.empty();
            if (!entry.plural) entry.strings.resize(std::min<size_t>(entry.strings.size(), 1));
            if (any && !entry.strings.empty())
                catalog._entries[keyOf(entry.context, entry.id)] = std::move(entry.strings);
        }
        entry = Entry();
        target = nullptr;
        translated = false;
    };

    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front())))
            line.remove_prefix(1);
        while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
            line.remove_suffix(1);

        if (line.empty()) {
            finish();
            continue;
        }
        if (line[0] == '#') {
            if (translated) finish();
            // Flags: "#, fuzzy, c-format". Obsolete entries (#~) and earlier msgids (#|) are
            // comments here.
            if (startsWith(line, "#,") && line.find("fuzzy") != std::string_view::npos) entry.fuzzy = true;
            target = nullptr;
            continue;
        }
        if (line[0] == '"') {
            if (!target || !unquote(line, *target))
                complain("a string that continues nothing, or is not closed");
            continue;
        }
        std::string* next = nullptr;
        std::string_view rest;
        if (startsWith(line, "msgctxt")) {
            if (translated) finish();
            entry.hasContext = true;
            next = &entry.context;
            rest = line.substr(7);
        } else if (startsWith(line, "msgid_plural")) {
            entry.plural = true;
            next = &entry.idPlural;
            rest = line.substr(12);
        } else if (startsWith(line, "msgid")) {
            if (translated) finish();
            entry.hasId = true;
            next = &entry.id;
            rest = line.substr(5);
        } else if (startsWith(line, "msgstr[")) {
            const size_t close = line.find(']');
            size_t index = 0;
            bool number = close != std::string_view::npos && close > 7;
            for (size_t i = 7; number && i < close; ++i) {
                number = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
                index = index * 10 + static_cast<size_t>(line[i] - '0');
            }
            if (!number || index > 9) {
                complain("a msgstr[] without its form's number");
                target = nullptr;
                continue;
            }
            if (entry.strings.size() <= index) entry.strings.resize(index + 1);
            next = &entry.strings[index];
            rest = line.substr(close + 1);
            translated = true;
        } else if (startsWith(line, "msgstr")) {
            if (entry.strings.empty()) entry.strings.resize(1);
            next = &entry.strings[0];
            rest = line.substr(6);
            translated = true;
        }
        if (!next) {
            complain("a line that is none of msgctxt, msgid, msgstr or a string");
            target = nullptr;
            continue;
        }
        next->clear();
        target = next;
        if (!unquote(rest, *next)) {
            complain("a keyword without its quoted string");
            entry.broken = true;
            target = nullptr;
        }
    }
    finish();
    return catalog;
}

const std::string* PoCatalog::find(std::string_view context, std::string_view msgid) const {
    const auto found = _entries.find(keyOf(context, msgid));
    if (found == _entries.end() || found->second.empty() || found->second[0].empty()) return nullptr;
    return &found->second[0];
}

const std::string* PoCatalog::findPlural(std::string_view context, std::string_view msgid,
                                         unsigned long n) const {
    const auto found = _entries.find(keyOf(context, msgid));
    if (found == _entries.end()) return nullptr;
    const size_t form = static_cast<size_t>(_plural.formOf(n));
    if (form >= found->second.size() || found->second[form].empty()) return nullptr;
    return &found->second[form];
}

} // namespace cocos2d
