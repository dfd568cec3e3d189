// Keeping an eye on the save file while the game runs: is it still the file opened, and whole?
#include "engine/store/SaveFile.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cocos2d {

bool SaveFile::watch() {
    if (_watch >= 0) ::close(_watch);
    _watch = ::open(_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info {};
    if (_watch < 0 || fstat(_watch, &info) != 0) return false;
    _device = info.st_dev;
    _inode = info.st_ino;
    return true;
}

SaveFile::Health SaveFile::health() const {
    struct stat ours {
    }, there{};
    if (fstat(_watch, &ours) != 0) return Health::Intact;
    if (stat(_path.c_str(), &there) != 0) return errno == ENOENT ? Health::Gone : Health::Intact;
    if (there.st_dev != _device || there.st_ino != _inode) return Health::Replaced;
    if (_checkpointer->takeDamage()) return Health::Damaged;
    // The file changes under a checkpoint; judged only between them.
    const auto quiet = _checkpointer->quiet();
    if (!quiet) return Health::Intact;
    unsigned char header[100];
    if (pread(_watch, header, sizeof header, 0) != static_cast<ssize_t>(sizeof header))
        return Health::Damaged;
    if (std::memcmp(header, "SQLite format 3", 16) != 0) return Health::Damaged;
    const auto word = [&](int at) {
        return (std::uint32_t{header[at]} << 24) | (std::uint32_t{header[at + 1]} << 16) |
               (std::uint32_t{header[at + 2]} << 8) | header[at + 3];
    };
    std::uint64_t pageSize = (header[16] << 8) | header[17];
    if (pageSize == 1) pageSize = 65536;
    // The page count holds only when written by the same change as the counter beside it.
    if (word(92) == word(24) && static_cast<std::uint64_t>(ours.st_size) < word(28) * pageSize)
        return Health::Damaged;
    return Health::Intact;
}

SaveFile::Health SaveFile::verify() const {
    const Health found = health();
    if (found != Health::Intact) return found;
    std::string why;
    bool hasTable = false;
    const int rc = StoreReader::judge(_path, hasTable, why);
    // The table was made when the file was opened: a file without it has lost it.
    return StoreReader::isBadContent(rc) || (rc == SQLITE_OK && !hasTable) ? Health::Damaged : Health::Intact;
}

} // namespace cocos2d
