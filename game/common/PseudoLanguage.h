#pragma once
// The testers' language: English with every letter accented, about 40 % longer and in brackets,
// so that a word never put through the table, a label clipped or a plate too small shows at a
// glance. Placeholders ("%d", "%s", "%%") and line breaks stay as they are.
#include <string>

namespace PseudoLanguage {

std::string from(const std::string& english);

} // namespace PseudoLanguage
