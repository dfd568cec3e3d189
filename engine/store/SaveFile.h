#pragma once
// The store's file on disk, open for writing: judged before anything is written to it, then
// kept an eye on, since a player or another program may delete, replace or cut it short while
// the game runs. One object per open file; the store holds at most one.
#include "engine/platform/Checkpointer.h"
#include "engine/store/SqliteHandle.h"
#include "engine/store/StoreReader.h"

#include <map>
#include <memory>
#include <string>
#include <sys/types.h>

namespace cocos2d {

class SaveFile {
  public:
    using Rows = StoreReader::Rows;
    using Values = std::map<std::string, StoreReader::Value>;

    // What an attempt to open found.
    struct Opening {
        enum class Outcome {
            Opened,
            // Held by another program (or another copy of the game): worth trying again soon.
            Busy,
            // Read (or known to be absent) but not writable; `rows` hold what it has.
            Unwritable,
            // Neither read nor written: nothing of it is known.
            Unreadable,
            // Unusable and it could not be moved aside: nothing will change that by itself.
            Stuck,
            // Another running copy of the game holds the save folder or the file: this copy must
            // never write there.
            Taken,
        };
        Outcome outcome = Outcome::Unreadable;
        Rows rows;
        std::string why;
        // Where an unusable file was moved, or a copy of one with unusable rows was made.
        std::string keptAside;
    };

    enum class Health { Intact, Gone, Replaced, Damaged };

    // Opens (creating) the store at `path`; null when it cannot, with the reason in `opening`.
    static std::unique_ptr<SaveFile> open(const std::string& path, Opening& opening);
    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    // Writes the values in one transaction; an SQLite result code, with `why` when it failed.
    int commit(const Values& values, std::string& why);
    // Whether the file at the path is still the one opened, and whole as far as a glance (and
    // the last reading after a sync) can tell.
    Health health() const;
    // Whether the next start could read the file: read afresh, checked whole. Slower than
    // health(): at exit, and when SQLite says the file is damaged.
    Health verify() const;
    // False while the file is still being readied on the checkpoint thread: commits wait.
    bool ready() const;
    // The file is no longer ours: closing must not touch whatever is at the path now.
    void abandon();

  private:
    SaveFile() = default;
    // Opens, judges and readies the file at _path; an SQLite result code.
    int connect(Rows& rows, std::string& why);
    void warnBadRows(const Rows& rows, const std::string& error) const;
    bool watch();

    std::string _path;
    SqliteDb _db;
    SqliteStatement _upsert;
    // Open on the file itself, to tell it from one put in its place.
    int _watch = -1;
    dev_t _device = 0;
    ino_t _inode = 0;
    std::unique_ptr<Checkpointer> _checkpointer;
    std::string _keptAside;
    bool _taken = false;
    // The file has been found in WAL mode, where commits need no sync of their own.
    bool _inWal = false;
};

} // namespace cocos2d
