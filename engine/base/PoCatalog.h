#pragma once
// A translation as gettext's .po files hold it, the format translators and their tools edit:
// entries of msgctxt (optional), msgid, msgid_plural and msgstr (msgstr[i] for each plural form),
// strings in C's quotes and escapes that may run on over several lines. Fuzzy entries (a
// translator's guess not yet checked) and obsolete ones (#~) are left out, as are entries not
// translated: a look-up finds nothing and the caller keeps its own words. The header is read
// only for the plural rule.
#include "engine/base/PluralRule.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace cocos2d {

class PoCatalog {
  public:
    // Never fails: what cannot be read is left out, and a line saying where goes to `problems`
    // when given.
    static PoCatalog parse(std::string_view text, std::vector<std::string>* problems = nullptr);

    // The translation of `msgid` (in `context`, empty for none); nullptr where there is none.
    const std::string* find(std::string_view context, std::string_view msgid) const;
    // The form for n of a word with plural forms; nullptr where that form is not translated.
    const std::string* findPlural(std::string_view context, std::string_view msgid, unsigned long n) const;

    size_t size() const { return _entries.size(); }
    const PluralRule& pluralRule() const { return _plural; }

  private:
    // gettext's own key: the context and the msgid joined by EOT.
    static std::string keyOf(std::string_view context, std::string_view msgid);

    std::unordered_map<std::string, std::vector<std::string>> _entries;
    PluralRule _plural;
};

} // namespace cocos2d
