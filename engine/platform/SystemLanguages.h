#pragma once
// The languages the player's system asks programs to speak, most wanted first, written as the
// system writes them: "de_DE.UTF-8" or "pt-BR", and "C" or "POSIX" for a system that asks for
// the programs' own language. Empty when the system says nothing.
//
// On the desktop, gettext's variables: LANGUAGE's list (colons between), then the locale for
// messages, the first set of LC_ALL, LC_MESSAGES and LANG. A locale set to C or POSIX wins over
// LANGUAGE, as gettext has it; C.UTF-8 or none at all does not, so LANGUAGE=ja asks for Japanese.
// In the browser, navigator.languages (navigator.language where that is missing).
#include <string>
#include <vector>

namespace cocos2d {
namespace SystemLanguages {

std::vector<std::string> preferred();
// A tester's language, over whatever the player chose and never saved: NAME_LANGUAGE in the
// environment on the desktop, "?lang=CODE" in the page's address in the browser. Empty if none.
std::string forced();

} // namespace SystemLanguages
} // namespace cocos2d
