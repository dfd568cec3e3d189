#pragma once
// SDL's numbers for the names the input table is written in: 0 for a key, and -1 for a pad
// button, that SDL does not know.
#include <string>

namespace cocos2d {

int scancodeOf(const std::string& name);
int keycodeOf(const std::string& name);
int padButtonOf(const std::string& name);

} // namespace cocos2d
