#pragma once
#include <functional>
#include <string>

namespace cocos2d {

// One debug line, printf-style, to standard error and to the observer if any.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void setLogObserver(std::function<void(const std::string&)> observer);

} // namespace cocos2d
