// The browser's side: the page's navigator, which lists what the player set in the browser.
#include "engine/platform/SystemLanguages.h"

#include <emscripten.h>

namespace cocos2d {

namespace {
EM_JS(void, browserLanguages, (char* out, int size), {
    const list =
        navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language || ""];
    stringToUTF8(list.join(","), out, size);
});
EM_JS(void, addressLanguage, (char* out, int size), {
    const wanted = new URLSearchParams(location.search).get("lang");
    stringToUTF8(wanted || "", out, size);
});
} // namespace

std::string SystemLanguages::forced() {
    char code[32] = {};
    addressLanguage(code, sizeof code);
    return code;
}

std::vector<std::string> SystemLanguages::preferred() {
    // A few tags; what does not fit is the least wanted.
    char joined[512] = {};
    browserLanguages(joined, sizeof joined);
    const std::string list = joined;
    std::vector<std::string> wanted;
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(',', start);
        if (end == std::string::npos) end = list.size();
        if (end > start) wanted.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return wanted;
}

} // namespace cocos2d
