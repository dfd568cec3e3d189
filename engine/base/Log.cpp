#include "engine/base/Log.h"

#include "engine/base/AppIdentity.h"
#include "engine/base/String.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <utility>

namespace cocos2d {

namespace {
std::mutex g_logMutex;
std::function<void(const std::string&)> g_observer;

bool debugWanted() {
    const char* value = std::getenv(AppIdentity::environmentVariable("DEBUG").c_str());
    return value && *value && std::strcmp(value, "0") != 0;
}

void emit(const std::string& line, bool toStandardError) {
    std::function<void(const std::string&)> observer;
    {
        std::lock_guard<std::mutex> lock(g_logMutex);
        if (toStandardError) std::fprintf(stderr, "%s: %s\n", AppIdentity::get().name.c_str(), line.c_str());
        observer = g_observer;
    }
    // Called outside the lock so an observer may log or replace itself.
    if (observer) observer(line);
}
} // namespace

void log(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string line = formatString(format, args);
    va_end(args);
    emit(line, debugWanted());
}

void warn(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string line = formatString(format, args);
    va_end(args);
    emit(line, true);
}

void setLogObserver(std::function<void(const std::string&)> observer) {
    std::lock_guard<std::mutex> lock(g_logMutex);
    g_observer = std::move(observer);
}

} // namespace cocos2d
