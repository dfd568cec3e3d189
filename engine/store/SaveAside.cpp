#include "engine/store/SaveAside.h"

#include "engine/base/Log.h"

#include <ctime>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace cocos2d {

namespace {

constexpr const char* kCompanions[] = {"-wal", "-shm", "-journal"};

std::string freeName(const std::string& path) {
    const std::string stamp = path + ".bad-" + std::to_string(static_cast<long long>(std::time(nullptr)));
    std::string target = stamp;
    std::error_code ec;
    for (int n = 1; fs::exists(fs::symlink_status(target, ec)); ++n)
        target = stamp + "-" + std::to_string(n);
    return target;
}

} // namespace

std::string SaveAside::move(const std::string& path, const std::string& why) {
    const std::string target = freeName(path);
    std::error_code ec;
    fs::rename(path, target, ec);
    if (ec) {
        warn("saved progress at %s is unusable (%s) and could not be moved aside (%s): progress will not be "
             "saved",
             path.c_str(), why.c_str(), ec.message().c_str());
        return {};
    }
    // A stale WAL beside a fresh store would be replayed into it, so the companions go too.
    for (const char* suffix : kCompanions) {
        std::error_code companion;
        if (fs::exists(fs::symlink_status(path + suffix, companion)))
            fs::rename(path + suffix, target + suffix, companion);
    }
    warn("saved progress at %s was unusable (%s); moved it to %s and started afresh", path.c_str(),
         why.c_str(), target.c_str());
    return target;
}

std::string SaveAside::copy(const std::string& path, std::string& error) {
    const std::string target = freeName(path);
    std::error_code ec;
    fs::copy_file(path, target, ec);
    if (!ec && fs::exists(path + "-wal")) fs::copy_file(path + "-wal", target + "-wal", ec);
    if (ec) {
        error = ec.message();
        return {};
    }
    return target;
}

void SaveAside::dropCompanions(const std::string& path) {
    for (const char* suffix : kCompanions) {
        std::error_code ec;
        fs::remove(path + suffix, ec);
    }
}

} // namespace cocos2d
