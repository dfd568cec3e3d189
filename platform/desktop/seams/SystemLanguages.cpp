#include "engine/platform/SystemLanguages.h"

#include "engine/base/AppIdentity.h"

#include <cstdlib>

namespace cocos2d {

namespace {
std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}
} // namespace

std::vector<std::string> SystemLanguages::preferred() {
    std::string locale;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (locale = variable(name); !locale.empty()) break;
    // As gettext: only the bare C or POSIX locale silences LANGUAGE; C.UTF-8 (a container's
    // usual) does not.
    const bool plain = locale == "C" || locale == "POSIX";
    std::vector<std::string> wanted;
    if (!plain) {
        const std::string list = variable("LANGUAGE");
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find(':', start);
            if (end == std::string::npos) end = list.size();
            if (end > start) wanted.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    if (!locale.empty()) wanted.push_back(locale);
    return wanted;
}

std::string SystemLanguages::forced() {
    return variable(AppIdentity::environmentVariable("LANGUAGE").c_str());
}

} // namespace cocos2d
