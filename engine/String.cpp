#include "String.h"

#include <cstdarg>
#include <cstdio>

namespace cocos2d {

__String* __String::createWithFormat(const char* format, ...) {
    auto* str = new __String;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (needed > 0) {
        str->_text.resize(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(str->_text.data(), str->_text.size(), format, args);
        str->_text.resize(static_cast<std::size_t>(needed));
    }
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
