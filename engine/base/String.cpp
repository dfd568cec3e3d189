#include "engine/base/String.h"

#include <cstdarg>
#include <cstdio>

namespace cocos2d {

std::string formatString(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text;
    if (needed > 0) {
        text.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(text.data(), text.size(), format, args);
        text.resize(static_cast<std::size_t>(needed));
    }
    return text;
}

__String* __String::createWithFormat(const char* format, ...) {
    auto* str = new __String;
    va_list args;
    va_start(args, format);
    str->_text = formatString(format, args);
    va_end(args);
    str->autorelease();
    return str;
}

__String* __String::create(const std::string& text) {
    auto* str = new __String;
    str->_text = text;
    str->autorelease();
    return str;
}

} // namespace cocos2d
