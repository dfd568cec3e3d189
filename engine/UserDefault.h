#pragma once
// The saved key/value store, kept in SQLite under $XDG_DATA_HOME/NAME/ (by default
// ~/.local/share/NAME/), NAME being the program's file name. Reads come from memory.
// Everything set during a frame is committed together at the end of that frame, in one
// transaction, so a crash loses at most the frame in progress and never half of it. No frame
// waits on the file: a store that is busy, full or cannot be written keeps what was set and
// tries again on a later frame.
#include "StoreReader.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace cocos2d {

class UserDefault {
  public:
    using Value = StoreReader::Value;

    static UserDefault* getInstance();
    // Saves what it can and closes the store, saying on standard error what could not be
    // saved; the next getInstance() opens it again.
    static void destroyInstance();
    // The store file the next open uses, and its folder (both empty when there is no home).
    static std::string storePath();
    static std::string storeFolder();

    int getIntegerForKey(const char* key);
    int getIntegerForKey(const char* key, int defaultValue);
    void setIntegerForKey(const char* key, int value);
    bool getBoolForKey(const char* key);
    bool getBoolForKey(const char* key, bool defaultValue);
    void setBoolForKey(const char* key, bool value);

    // Commits what was set since the last commit, now, if the store is open.
    void flush();
    // The end of a frame of `seconds` (the director calls it; game code need not): commits
    // what the frame set. While the store cannot be opened or written it tries again every
    // few seconds; a store busy with another program, on the next frame.
    void endFrame(float seconds);
    bool hasPendingWrites() const { return !_pending.empty(); }
    // False while nothing can be written and the game plays on in memory.
    bool isPersistent() const { return _db != nullptr; }
    // What the player should know about saving, in a few words; empty while all is well.
    std::string trouble() const;
    const std::map<std::string, Value>& entries() const { return _values; }

  private:
    using Rows = StoreReader::Rows;
    UserDefault();
    ~UserDefault();
    // Opens the store, or says why not in _openFailure; `found` is what the file holds when it
    // could be read though not written.
    bool open(Rows& found);
    bool openAt(const std::string& path, Rows& rows);
    void adopt(Rows& rows);
    bool commit();
    void moveAside(const std::string& path, const char* why);
    // Keeps a copy of a file with rows this game cannot use; false when none could be made.
    bool setAsideBadRows(const std::string& path, const Rows& rows);
    void closeDb();
    void reportUnsaved() const;

    sqlite3* _db = nullptr;
    sqlite3_stmt* _insert = nullptr;
    std::map<std::string, Value> _values;
    std::map<std::string, Value> _pending;
    // Why the last open failed, and whether the file itself is to blame.
    std::string _openFailure;
    bool _badFile = false;
    bool _openBusy = false;
    // Rows this game cannot use were found and the file copied aside (or not); once a session.
    std::optional<bool> _badRowsCopied;
    // The file could not be read: what is in memory was made without it, and must never
    // be written over it.
    bool _unread = false;
    // There is somewhere to save (a home folder).
    bool _hasPlace = true;
    // Seconds until the next try to open or to commit; seconds commits have been failing.
    float _retryIn = 0;
    float _failingFor = 0;
    bool _failing = false;
    // Trouble already reported this session: opening, and commits by SQLite result code.
    bool _reportedOpen = false;
    std::vector<int> _reportedCommits;
};

} // namespace cocos2d
