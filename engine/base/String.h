#pragma once
#include "engine/base/Ref.h"

#include <cstdarg>
#include <string>

namespace cocos2d {

// printf-style formatting into a std::string, any length.
std::string formatString(const char* format, va_list args);

// An autoreleased string object, as the game formats numbers for labels.
class __String : public Ref {
  public:
    static __String* createWithFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));
    static __String* create(const std::string& text);
    const char* getCString() const { return _text.c_str(); }

  private:
    __String() = default;
    std::string _text;
};

} // namespace cocos2d
