#pragma once
#include <functional>
#include <string>

namespace cocos2d {

// One debug line of the game's, printf-style: always to the observer, and to standard error
// only when the program's NAME_DEBUG is set (to anything but "0"), so a key storm does not fill it.
void log(const char* format, ...) __attribute__((format(printf, 1, 2)));
// One line a player or packager needs (a store set aside, no display, cannot save): always to
// standard error, and to the observer.
void warn(const char* format, ...) __attribute__((format(printf, 1, 2)));
void setLogObserver(std::function<void(const std::string&)> observer);

} // namespace cocos2d
