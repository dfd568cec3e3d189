#pragma once
// Who made what, under which licence, and the version: the credits' lines from top to bottom.
#include <string>
#include <vector>

namespace CreditsText {

struct Line {
    enum class Kind { Title, Heading, Text, Gap };
    Kind kind;
    std::string text;
};

// In the language chosen now: headings and sentences translated, names, licences and
// addresses as they are.
std::vector<Line> lines();

} // namespace CreditsText
